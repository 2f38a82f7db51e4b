#include "common/InstrucaoSQL.h"

#include <utility>

namespace zuv {

Insercao::Insercao(std::string cabeca) : cabeca_(std::move(cabeca)) {}

Insercao& Insercao::campo(std::string coluna, std::string literal) {
  entradas_.push_back({std::move(coluna), std::move(literal), false, {}, {}});
  return *this;
}

Insercao& Insercao::campo(std::string coluna, const Valor& v, TipoSQL tipo) {
  return campo(std::move(coluna), ConverteSQL(v, tipo));
}

Insercao& Insercao::separadoresDoUltimo(std::string aposColuna, std::string aposValor) {
  if (!entradas_.empty()) {
    Entrada& e = entradas_.back();
    e.separadoresProprios = true;
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
    colunas += e.separadoresProprios ? e.aposColuna : entreColunas_;
    valores += e.separadoresProprios ? e.aposValor : entreValores_;
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
