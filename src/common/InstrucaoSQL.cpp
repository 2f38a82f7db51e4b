#include "common/InstrucaoSQL.h"

#include <cstdlib>
#include <utility>

#include "common/Erro.h"

namespace zuv {

Valor valorDoLiteral(std::string_view literal) {
  if (literal == "Null") return Valor();
  if (literal.size() >= 2 && literal.front() == '\'' && literal.back() == '\'') {
    std::string texto;
    for (size_t i = 1; i + 1 < literal.size(); ++i) {
      texto += literal[i];
      if (literal[i] == '\'') ++i;  // the second of a doubled quote
    }
    return Valor(std::move(texto));
  }
  std::string_view n = literal;
  if (!n.empty() && n.front() == ' ') n.remove_prefix(1);
  const bool negativo = !n.empty() && n.front() == '-';
  if (negativo) n.remove_prefix(1);
  const size_t ponto = n.find('.');
  const std::string_view inteira = n.substr(0, ponto);
  const std::string_view fracao = ponto == std::string_view::npos ? std::string_view() : n.substr(ponto + 1);
  auto digitos = [](std::string_view d) {
    return d.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!inteira.empty() && digitos(inteira) && digitos(fracao) && inteira.size() + fracao.size() <= 18) {
    const std::string todos = std::string(inteira) + std::string(fracao);
    const int64_t v = std::strtoll(todos.c_str(), nullptr, 10) * (negativo ? -1 : 1);
    if (ponto == std::string_view::npos) return Valor(v);
    return Valor(Decimal{v, static_cast<int>(fracao.size())});
  }
  // A magnitude ConverteSQL writes with an exponent (1E+16).
  const std::string texto(literal);
  char* fim = nullptr;
  const double d = std::strtod(texto.c_str(), &fim);
  if (!texto.empty() && fim == texto.c_str() + texto.size() && texto.find_first_of("Ee") != std::string::npos)
    return Valor(d);
  throw ErroConversao("\"" + texto + "\" não é um literal de SQL.");
}

Insercao::Insercao(std::string cabeca) : cabeca_(std::move(cabeca)) {}

Insercao::Insercao(std::string cabeca, std::span<const ColunaSQL> colunas) : cabeca_(std::move(cabeca)) {
  entradas_.reserve(colunas.size());
  for (const ColunaSQL& c : colunas) {
    Entrada e{c.nome, c.literal ? c.literal : "", false, {}, {}, c.tipo};
    if (c.aposColuna) e.aposColuna = c.aposColuna;
    if (c.aposValor) e.aposValor = c.aposValor;
    entradas_.push_back(std::move(e));
  }
}

size_t Insercao::posicao(std::string_view coluna) const {
  for (size_t i = 0; i < entradas_.size(); ++i)
    if (entradas_[i].coluna == coluna) return i;
  throw Erro("A instrução não tem a coluna " + std::string(coluna) + ".");
}

Insercao& Insercao::valor(size_t posicao, std::string literal) {
  Entrada& e = entradas_.at(posicao);
  e.valor = std::move(literal);
  e.variavel = true;
  return *this;
}

Insercao& Insercao::valor(std::string_view coluna, std::string literal) {
  return valor(posicao(coluna), std::move(literal));
}

Insercao& Insercao::converte(std::string_view coluna, const Valor& v) {
  const size_t p = posicao(coluna);
  return valor(p, ConverteSQL(v, entradas_[p].tipo));
}

Insercao& Insercao::valor(size_t posicao, std::string literal, std::string aposValor) {
  valor(posicao, std::move(literal));
  entradas_[posicao].aposValor = std::move(aposValor);
  return *this;
}

Insercao& Insercao::campo(std::string coluna, std::string literal) {
  entradas_.push_back({std::move(coluna), std::move(literal), false, {}, {}, TipoSQL::CH});
  return *this;
}

Insercao& Insercao::campo(std::string coluna, const Valor& v, TipoSQL tipo) {
  return variavel(std::move(coluna), ConverteSQL(v, tipo));
}

Insercao& Insercao::variavel(std::string coluna, std::string literal) {
  entradas_.push_back({std::move(coluna), std::move(literal), true, {}, {}, TipoSQL::CH});
  return *this;
}

Insercao& Insercao::separadoresDoUltimo(std::string aposColuna, std::string aposValor) {
  if (!entradas_.empty()) {
    Entrada& e = entradas_.back();
    e.aposColuna = std::move(aposColuna);
    e.aposValor = std::move(aposValor);
  }
  return *this;
}

Insercao& Insercao::fim(std::string meio, std::string cauda) {
  meio_ = std::move(meio);
  cauda_ = std::move(cauda);
  return *this;
}

Insercao& Insercao::separadores(std::string entreColunas, std::string entreValores) {
  entreColunas_ = std::move(entreColunas);
  entreValores_ = std::move(entreValores);
  return *this;
}

std::string Insercao::monta(const std::string& meio, const std::string& cauda, bool comParametros) const {
  std::string colunas, valores;
  for (size_t i = 0; i < entradas_.size(); ++i) {
    const Entrada& e = entradas_[i];
    colunas += e.coluna;
    valores += comParametros && e.variavel ? "?" : e.valor;
    if (i + 1 == entradas_.size()) break;
    colunas += e.aposColuna ? *e.aposColuna : entreColunas_;
    valores += e.aposValor ? *e.aposValor : entreValores_;
  }
  return cabeca_ + colunas + meio + valores + cauda;
}

std::string Insercao::sql(const std::string& meio, const std::string& cauda) const {
  return monta(meio, cauda, false);
}

std::string Insercao::sqlComParametros(const std::string& meio, const std::string& cauda) const {
  return monta(meio, cauda, true);
}

std::vector<Valor> Insercao::parametros() const {
  std::vector<Valor> v;
  for (const Entrada& e : entradas_)
    if (e.variavel) v.push_back(valorDoLiteral(e.valor));
  return v;
}

Atualizacao::Atualizacao(std::string cabeca) : cabeca_(std::move(cabeca)) {}

Atualizacao& Atualizacao::campo(std::string atribuicao) {
  atribuicoes_.push_back({std::move(atribuicao), {}, false});
  return *this;
}

Atualizacao& Atualizacao::campo(const std::string& prefixo, const Valor& v, TipoSQL tipo) {
  return variavel(prefixo, ConverteSQL(v, tipo));
}

Atualizacao& Atualizacao::variavel(std::string prefixo, std::string literal) {
  atribuicoes_.push_back({std::move(prefixo), std::move(literal), true});
  return *this;
}

Atualizacao& Atualizacao::condicao(std::string prefixo, std::string literal) {
  condicao_ = {std::move(prefixo), std::move(literal), true};
  temCondicao_ = true;
  return *this;
}

Atualizacao& Atualizacao::separador(std::string entre) {
  separador_ = std::move(entre);
  return *this;
}

std::string Atualizacao::monta(const std::string& cauda, bool comParametros) const {
  std::string s = cabeca_;
  for (size_t i = 0; i < atribuicoes_.size(); ++i) {
    const Atribuicao& a = atribuicoes_[i];
    s += (i ? separador_ : "") + a.prefixo + (comParametros && a.variavel ? "?" : a.valor);
  }
  if (temCondicao_) s += condicao_.prefixo + (comParametros ? "?" : condicao_.valor);
  return s + cauda;
}

std::string Atualizacao::sql(const std::string& cauda) const {
  return monta(cauda, false);
}

std::string Atualizacao::sqlComParametros(const std::string& cauda) const {
  return monta(cauda, true);
}

std::vector<Valor> Atualizacao::parametros() const {
  std::vector<Valor> v;
  for (const Atribuicao& a : atribuicoes_)
    if (a.variavel) v.push_back(valorDoLiteral(a.valor));
  if (temCondicao_) v.push_back(valorDoLiteral(condicao_.valor));
  return v;
}

}  // namespace zuv
