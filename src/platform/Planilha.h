#pragma once
// Workbooks: reading the active sheet of an .xlsx (streaming) or .xls file cell by cell as text,
// and writing an .xlsx export. Rows and columns count from 1.
#include <cstdint>
#include <memory>
#include <string>

namespace zuv {

// Reads the active sheet. Cells come back as a spreadsheet application shows their value as text
// under the regional style remembered for the process; an empty or missing cell is "".
class LeitorPlanilha {
 public:
  virtual ~LeitorPlanilha() = default;
  // The text of a cell. Access is cheapest row by row in increasing order; going back to an
  // earlier row restarts the stream. Throws ErroPlanilha on a malformed file.
  virtual std::string celula(int linha, int coluna) = 0;
  // The last row that holds any cell (0 for an empty sheet).
  virtual int ultimaLinha() = 0;
};

struct LimitesLeitura {
  uint64_t bytesDescomprimidos = 2ull << 30;  // per part of the zip
  int64_t celulas = 50'000'000;
  int colunas = 16384;
};

// Opens a workbook by its full path; the file's content (zip or OLE2 signature) picks the reader.
// Throws ErroPlanilha with a message naming the problem (missing, not a workbook, encrypted, ...).
std::unique_ptr<LeitorPlanilha> abrePlanilha(const std::string& caminho, LimitesLeitura limites = {});

// Writes a new .xlsx: all cells text-formatted ("@"), row 1 bold. Cells may be written in any
// order; the file is produced by salva().
class EscritorPlanilha {
 public:
  EscritorPlanilha();
  ~EscritorPlanilha();
  EscritorPlanilha(const EscritorPlanilha&) = delete;
  EscritorPlanilha& operator=(const EscritorPlanilha&) = delete;

  void escreve(int linha, int coluna, const std::string& texto);
  void larguraColuna(int coluna, double largura);  // 0 hides the column
  void alinhaDireita(int linha, int coluna);
  // Saves under the full path, replacing an existing file. Throws ErroPlanilha.
  void salva(const std::string& caminho);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zuv
