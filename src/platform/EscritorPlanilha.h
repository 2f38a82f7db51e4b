#pragma once
// The workbook export: a new .xlsx written with libxlsxwriter.
#include <memory>
#include <string>

namespace zuv {

// Writes a new .xlsx: all cells text-formatted ("@"), row 1 bold. Cells may be written in any
// order (the last write of a cell wins); they are kept compactly and streamed into the file by
// salva(), so big sheets cost little more memory than their text.
class EscritorPlanilha {
 public:
  EscritorPlanilha();
  ~EscritorPlanilha();
  EscritorPlanilha(const EscritorPlanilha&) = delete;
  EscritorPlanilha& operator=(const EscritorPlanilha&) = delete;

  void escreve(int linha, int coluna, const std::string& texto);
  // A number cell (in the text-formatted sheet, as a spreadsheet application stores a number
  // assigned to such a cell); read back as the number's text under the regional style.
  void escreveNumero(int linha, int coluna, double numero);
  void larguraColuna(int coluna, double largura);  // 0 hides the column
  void alinhaDireita(int linha, int coluna);
  // Saves under the full path, replacing an existing file (the new file is written beside it and
  // renamed over it, so a failed save leaves the old one intact). Throws ErroPlanilha.
  void salva(const std::string& caminho);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zuv
