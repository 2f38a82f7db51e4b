#pragma once
// The form's grid as a row source of the product import: a snapshot of its cells (taken on the
// user-interface thread before the run starts) read like a worksheet, rows and columns from 1, row
// 1 holding the headings.
#include <memory>
#include <string>

#include "migration/GradeProduto.h"
#include "platform/Planilha.h"

namespace zuv {

class LeitorGrade : public LeitorPlanilha {
 public:
  explicit LeitorGrade(std::shared_ptr<const GradeProduto> grade) : grade_(std::move(grade)) {}

  std::string celula(int linha, int coluna) override { return grade_->texto(linha, coluna); }
  int ultimaLinha() override { return grade_->ultimaLinha(); }
  int ultimaColuna(int linha) override;

 private:
  std::shared_ptr<const GradeProduto> grade_;
};

}  // namespace zuv
