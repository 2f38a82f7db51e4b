#include "migration/GradeProduto.h"

#include <algorithm>
#include <vector>

#include "platform/Windows1252.h"

namespace zuv {

namespace {

using Linha = std::vector<std::string>;

bool fimDeCampo(const std::string& t, size_t i) {
  return i >= t.size() || t[i] == '\t' || t[i] == '\n' || t[i] == '\r';
}

// A field in quotes from t[i] (the opening quote): its text and the position after the closing
// quote, or npos when the quotes do not close a field (then the quote is just a character).
size_t campoEntreAspas(const std::string& t, size_t i, std::string& campo) {
  campo.clear();
  for (size_t j = i + 1; j < t.size(); ++j) {
    if (t[j] != '"') {
      campo += t[j];
    } else if (j + 1 < t.size() && t[j + 1] == '"') {
      campo += '"';
      ++j;
    } else if (fimDeCampo(t, j + 1)) {
      return j + 1;
    } else {
      return std::string::npos;
    }
  }
  return std::string::npos;
}

// Rows of tab-separated fields; a last empty line (the line break after the last row) is dropped.
std::vector<Linha> separa(const std::string& t) {
  std::vector<Linha> linhas(1, Linha(1));
  size_t i = 0;
  while (i < t.size()) {
    std::string& campo = linhas.back().back();
    if (t[i] == '"' && campo.empty()) {
      std::string entreAspas;
      const size_t fim = campoEntreAspas(t, i, entreAspas);
      if (fim != std::string::npos) {
        campo = std::move(entreAspas);
        i = fim;
        continue;
      }
    }
    if (t[i] == '\t') {
      linhas.back().emplace_back();
    } else if (t[i] == '\n' || t[i] == '\r') {
      if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
      linhas.emplace_back(1);
    } else {
      campo += t[i];
    }
    ++i;
  }
  if (linhas.size() > 1 && linhas.back().size() == 1 && linhas.back()[0].empty()) linhas.pop_back();
  return linhas;
}

}  // namespace

std::string GradeProduto::texto(int linha, int coluna) const {
  if (linha < 1 || linha > kLinhas || coluna < 1 || coluna > kColunas) return {};
  auto it = celulas_.find(chave(linha, coluna));
  return it == celulas_.end() ? std::string() : it->second;
}

void GradeProduto::defineTexto(int linha, int coluna, const std::string& texto) {
  if (linha < 1 || linha > kLinhas || coluna < 1 || coluna > kColunas) return;
  if (texto.empty())
    celulas_.erase(chave(linha, coluna));
  else
    celulas_[chave(linha, coluna)] = texto;
}

GradeProduto::Area GradeProduto::colaTexto(int linha, int coluna, const std::string& texto) {
  Area area;
  if (texto.empty() || linha < 1 || linha > kLinhas || coluna < 1 || coluna > kColunas) return area;
  const std::vector<Linha> linhas = separa(texto);
  for (size_t l = 0; l < linhas.size() && linha + static_cast<int>(l) <= kLinhas; ++l) {
    const Linha& campos = linhas[l];
    for (size_t c = 0; c < campos.size() && coluna + static_cast<int>(c) <= kColunas; ++c)
      defineTexto(linha + static_cast<int>(l), coluna + static_cast<int>(c), campos[c]);
    area.linhas = static_cast<int>(l) + 1;
    area.colunas = std::max(area.colunas, std::min(static_cast<int>(campos.size()), kColunas - coluna + 1));
  }
  return area;
}

void GradeProduto::limpa() {
  celulas_.clear();
}

int GradeProduto::ultimaLinha() const {
  int ultima = 0;
  for (const auto& [k, v] : celulas_)
    ultima = std::max(ultima, static_cast<int>(k >> 8));
  return ultima;
}

std::string GradeProduto::textoDeArquivo(std::string bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
  return utf8Valido(bytes) ? bytes : de1252(bytes);
}

}  // namespace zuv
