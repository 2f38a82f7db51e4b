#include "migration/LeitorGrade.h"

namespace zuv {

LeitorGrade::Celulas LeitorGrade::deTextoColado(const std::string& texto) {
  Celulas linhas(1);
  std::string celula;
  bool entreAspas = false, inicioDeCelula = true;
  auto fechaCelula = [&] {
    linhas.back().push_back(std::move(celula));
    celula.clear();
    inicioDeCelula = true;
  };
  for (size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (entreAspas) {
      if (c == '"' && i + 1 < texto.size() && texto[i + 1] == '"') {
        celula += '"';
        ++i;
      } else if (c == '"') {
        entreAspas = false;
      } else {
        celula += c;
      }
      continue;
    }
    if (c == '"' && inicioDeCelula) {
      entreAspas = true;
      inicioDeCelula = false;
    } else if (c == '\t') {
      fechaCelula();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
      fechaCelula();
      linhas.emplace_back();
    } else {
      celula += c;
      inicioDeCelula = false;
    }
  }
  if (!celula.empty() || !linhas.back().empty()) fechaCelula();
  while (!linhas.empty() &&
         (linhas.back().empty() || (linhas.back().size() == 1 && linhas.back()[0].empty())))
    linhas.pop_back();
  return linhas;
}

std::string LeitorGrade::celula(int linha, int coluna) {
  if (linha < 1 || linha > int(linhas_.size())) return {};
  const auto& l = linhas_[linha - 1];
  return coluna >= 1 && coluna <= int(l.size()) ? l[coluna - 1] : std::string();
}

int LeitorGrade::ultimaColuna(int linha) {
  if (linha < 1 || linha > int(linhas_.size())) return 0;
  const auto& l = linhas_[linha - 1];
  int ultima = int(l.size());
  while (ultima > 0 && l[ultima - 1].empty())
    --ultima;
  return ultima;
}

}  // namespace zuv
