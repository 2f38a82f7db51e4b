#include "platform/Recordset.h"

#include <algorithm>

#include "common/Erro.h"
#include "common/Texto.h"

namespace zuv {

struct Recordset::Dados {
  std::vector<Campo> campos;
  std::vector<Valor> celulas;                      // row after row
  std::vector<std::pair<std::string, int>> nomes;  // upper-case name -> first position, sorted
  size_t linhas = 0;
};

Recordset::Recordset(std::vector<Campo> campos, std::vector<std::vector<Valor>> linhas) {
  std::vector<Valor> celulas;
  celulas.reserve(linhas.size() * campos.size());
  for (auto& linha : linhas) {
    linha.resize(campos.size());
    for (auto& v : linha)
      celulas.push_back(std::move(v));
  }
  *this = Recordset(std::move(campos), std::move(celulas));
}

Recordset::Recordset(std::vector<Campo> campos, std::vector<Valor> celulas) {
  auto d = std::make_shared<Dados>();
  d->campos = std::move(campos);
  d->celulas = std::move(celulas);
  const size_t n = d->campos.size();
  d->linhas = n == 0 ? 0 : d->celulas.size() / n;
  d->celulas.resize(d->linhas * n);
  for (size_t i = 0; i < n; ++i)
    d->nomes.emplace_back(maiusculas(d->campos[i].nome), static_cast<int>(i));
  // Stable, so that of two fields with the same name the first one is found.
  std::stable_sort(d->nomes.begin(), d->nomes.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  dados_ = std::move(d);
}

bool Recordset::eof() const {
  return !dados_ || posicao_ >= dados_->linhas;
}

void Recordset::proximo() {
  if (eof()) throw ErroBanco("O registro atual está no fim do conjunto de registros.");
  ++posicao_;
}

void Recordset::primeiro() {
  posicao_ = 0;
}

long Recordset::totalRegistros() const {
  return dados_ ? static_cast<long>(dados_->linhas) : 0;
}

int Recordset::totalCampos() const {
  return dados_ ? static_cast<int>(dados_->campos.size()) : 0;
}

const Campo& Recordset::campo(int posicao) const {
  if (posicao < 0 || posicao >= totalCampos())
    throw ErroBanco("Campo " + std::to_string(posicao) + " não existe no conjunto de registros.");
  return dados_->campos[posicao];
}

const Valor& Recordset::valor(int posicao) const {
  if (!dados_) throw ErroBanco("O conjunto de registros está fechado.");
  campo(posicao);
  if (eof()) throw ErroBanco("Não há registro atual: o conjunto de registros está no fim.");
  return dados_->celulas[posicao_ * dados_->campos.size() + posicao];
}

int Recordset::posicaoCampo(const std::string& nome) const {
  if (!dados_) return -1;
  const std::string chave = maiusculas(apara(nome));
  auto it = std::lower_bound(dados_->nomes.begin(), dados_->nomes.end(), chave,
                             [](const auto& a, const std::string& b) { return a.first < b; });
  return it != dados_->nomes.end() && it->first == chave ? it->second : -1;
}

const Valor& Recordset::valor(const std::string& nome) const {
  if (!dados_) throw ErroBanco("O conjunto de registros está fechado.");
  const int i = posicaoCampo(nome);
  if (i < 0) throw ErroBanco("Campo \"" + nome + "\" não existe no conjunto de registros.");
  return valor(i);
}

Recordset Recordset::clone() const {
  Recordset r;
  r.dados_ = dados_;
  return r;
}

void Recordset::fecha() {
  dados_.reset();
  posicao_ = 0;
}

bool Recordset::aberto() const {
  return dados_ != nullptr;
}

}  // namespace zuv
