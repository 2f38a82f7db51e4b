#pragma once
// The form's grid as a row source of the product import: a snapshot of its cell texts, taken on the
// user-interface thread before the run starts, read like a worksheet (rows and columns from 1; row
// 1 holds the headings).
#include <string>
#include <vector>

#include "platform/Planilha.h"

namespace zuv {

class LeitorGrade : public LeitorPlanilha {
 public:
  using Celulas = std::vector<std::vector<std::string>>;
  explicit LeitorGrade(Celulas linhas) : linhas_(std::move(linhas)) {}

  // Text as a spreadsheet puts it on the clipboard: rows by line breaks, cells by tabs; a cell
  // between double quotes may hold tabs, line breaks and doubled quotes.
  static Celulas deTextoColado(const std::string& texto);

  std::string celula(int linha, int coluna) override;
  int ultimaLinha() override { return int(linhas_.size()); }
  int ultimaColuna(int linha) override;

 private:
  Celulas linhas_;
};

}  // namespace zuv
