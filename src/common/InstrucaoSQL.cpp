#include "common/InstrucaoSQL.h"

#include <utility>

#include "common/Erro.h"

namespace zuv {

Insercao::Insercao(std::string cabeca) : cabeca_(std::move(cabeca)) {}

Insercao::Insercao(std::string cabeca, std::span<const ColunaSQL> colunas) : cabeca_(std::move(cabeca)) {
  entradas_.reserve(colunas.size());
  for (const ColunaSQL& c : colunas) {
    Entrada e{c.nome, c.literal ? c.literal : "", {}, {}, c.tipo};
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
  entradas_.at(posicao).valor = std::move(literal);
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
  Entrada& e = entradas_.at(posicao);
  e.valor = std::move(literal);
  e.aposValor = std::move(aposValor);
  return *this;
}

Insercao& Insercao::campo(std::string coluna, std::string literal) {
  entradas_.push_back({std::move(coluna), std::move(literal), {}, {}, TipoSQL::CH});
  return *this;
}

Insercao& Insercao::campo(std::string coluna, const Valor& v, TipoSQL tipo) {
  return campo(std::move(coluna), ConverteSQL(v, tipo));
}

Insercao& Insercao::separadoresDoUltimo(std::string aposColuna, std::string aposValor) {
  if (!entradas_.empty()) {
    Entrada& e = entradas_.back();
    e.aposColuna = std::move(aposColuna);
    e.aposValor = std::move(aposValor);
  }
  return *this;
}

Insercao& Insercao::separadores(std::string entreColunas, std::string entreValores) {
  entreColunas_ = std::move(entreColunas);
  entreValores_ = std::move(entreValores);
  return *this;
}

std::string Insercao::sql(const std::string& meio, const std::string& cauda) const {
  std::string colunas, valores;
  for (size_t i = 0; i < entradas_.size(); ++i) {
    const Entrada& e = entradas_[i];
    colunas += e.coluna;
    valores += e.valor;
    if (i + 1 == entradas_.size()) break;
    colunas += e.aposColuna ? *e.aposColuna : entreColunas_;
    valores += e.aposValor ? *e.aposValor : entreValores_;
  }
  return cabeca_ + colunas + meio + valores + cauda;
}

Atualizacao::Atualizacao(std::string cabeca) : cabeca_(std::move(cabeca)) {}

Atualizacao& Atualizacao::campo(std::string atribuicao) {
  atribuicoes_.push_back(std::move(atribuicao));
  return *this;
}

Atualizacao& Atualizacao::campo(const std::string& prefixo, const Valor& v, TipoSQL tipo) {
  return campo(prefixo + ConverteSQL(v, tipo));
}

Atualizacao& Atualizacao::separador(std::string entre) {
  separador_ = std::move(entre);
  return *this;
}

std::string Atualizacao::sql(const std::string& cauda) const {
  std::string s = cabeca_;
  for (size_t i = 0; i < atribuicoes_.size(); ++i)
    s += (i ? separador_ : "") + atribuicoes_[i];
  return s + cauda;
}

}  // namespace zuv
