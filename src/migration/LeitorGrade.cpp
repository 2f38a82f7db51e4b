#include "migration/LeitorGrade.h"

namespace zuv {

int LeitorGrade::ultimaColuna(int linha) {
  for (int coluna = GradeProduto::kColunas; coluna > 0; --coluna)
    if (!grade_->texto(linha, coluna).empty()) return coluna;
  return 0;
}

}  // namespace zuv
