#pragma once
// Workbooks: reading the active sheet of an .xlsx (streaming) or .xls file cell by cell as text,
// and writing an .xlsx export. Rows and columns count from 1.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace zuv {

// Reads the active sheet. Cells come back as a spreadsheet application shows their value as text
// under the regional style remembered for the process; an empty or missing cell is "".
//   numbers: up to 15 significant digits, whole numbers in full ("7891234567890", "3,5")
//   date formats: "05/03/2024"; with a time in the format "05/03/2024 10:11:12"; time only "10:11:12"
//   booleans: "VERDADEIRO"/"FALSO" (Brazilian style), "TRUE"/"FALSE" (English style)
//   error cells: their text ("#N/A", "#DIV/0!")
class LeitorPlanilha {
 public:
  virtual ~LeitorPlanilha() = default;
  // The text of a cell. Access is cheapest row by row in increasing order; going back more than a
  // few rows restarts the stream. Throws ErroPlanilha on a malformed file.
  virtual std::string celula(int linha, int coluna) = 0;
  // The last row that holds a non-empty cell (0 for an empty sheet). A full pass over the sheet.
  virtual int ultimaLinha() = 0;
  // The last column of the row that holds a non-empty cell (0 for an empty or missing row).
  virtual int ultimaColuna(int linha) = 0;
};

struct LimitesLeitura {
  uint64_t bytesDescomprimidos = 2ull << 30;  // per part of the zip
  int64_t celulas = 50'000'000;               // cells of the sheet (and entries of the string table)
  int colunas = 16384;
  // A part that inflates past bytesSemSuspeita at more than this many bytes per compressed byte is
  // taken for a zip bomb. Real sheets stay far below it.
  uint64_t bytesSemSuspeita = 32ull << 20;
  double razaoCompressao = 250;
  // An .xls is read by FreeXL in a child process that must answer within this time.
  int segundosXls = 120;
};

// Opens a workbook by its full path; the file's content (zip or OLE2 signature) picks the reader.
// Throws ErroPlanilha with a message naming the file and the problem (missing, not a workbook,
// protected by a password, damaged, over the limits).
std::unique_ptr<LeitorPlanilha> abrePlanilha(const std::string& caminho, LimitesLeitura limites = {});

// Writes "row<TAB>column<TAB>text" for every non-empty cell of the first maxLinhas rows (all rows
// when maxLinhas <= 0), exactly as the readers return them. Tabs, line breaks and backslashes in a
// text are written as \t, \n, \r and \\ so that each cell stays on one line; other control
// characters and lone surrogates as \u0000, \uD800, bytes that are not UTF-8 as \xFF.
void listaCelulas(const std::string& caminho, int maxLinhas, std::ostream& saida);

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
  void larguraColuna(int coluna, double largura);  // 0 hides the column
  void alinhaDireita(int linha, int coluna);
  // Saves under the full path, replacing an existing file (the new file is written beside it and
  // renamed over it, so a failed save leaves the old one intact). Throws ErroPlanilha.
  void salva(const std::string& caminho);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// "Leave the workbook on screen": the front ends decide how (the GUI opens it with the desktop's
// default program, the command line prints its path). Called by the exports after salva(); it
// never waits. Without a front end's handler it does nothing.
using MostradorPlanilha = std::function<void(const std::string& caminho)>;
void defineMostradorPlanilha(MostradorPlanilha mostrador);
void mostraPlanilha(const std::string& caminho);

}  // namespace zuv
