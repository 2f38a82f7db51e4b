#pragma once
// Workbooks: reading the active sheet of an .xlsx (streaming) or .xls file cell by cell as text,
// and writing an .xlsx export. Rows and columns count from 1.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace zuv {

// The largest row number of a sheet (.xlsx).
inline constexpr int kMaxLinhas = 1'048'576;

// Every problem of a workbook being read: names the file and says what is wrong. Throws ErroPlanilha.
[[noreturn]] void falhaLeitura(const std::string& caminho, const std::string& problema);

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
  uint64_t bytesDescomprimidos = 2ull << 30;  // per part of the zip; the size of an .xls
  int64_t celulas = 50'000'000;               // cells of the sheet (and entries of the string table)
  int colunas = 16384;
  // A part that inflates past bytesSemSuspeita at more than this many bytes per compressed byte is
  // taken for a zip bomb. Real sheets stay far below it.
  uint64_t bytesSemSuspeita = 32ull << 20;
  double razaoCompressao = 250;
};

// Opens a workbook by its full path; the file's content (zip or OLE2 signature) picks the reader.
// Throws ErroPlanilha with a message naming the file and the problem (missing, not a workbook,
// protected by a password, damaged, over the limits).
std::unique_ptr<LeitorPlanilha> abrePlanilha(const std::string& caminho, LimitesLeitura limites = {});

// Gives "row<TAB>column<TAB>text" for every non-empty cell of the first maxLinhas rows (all rows
// when maxLinhas <= 0), exactly as the readers return them, one line at a time as the sheet is
// read. Tabs, line breaks and backslashes in a text are written as \t, \n, \r and \\ so that each
// cell stays on one line; other control characters and lone surrogates as \u0000, \uD800, bytes
// that are not UTF-8 as \xFF.
void listaCelulas(const std::string& caminho, int maxLinhas,
                  const std::function<void(const std::string&)>& linha);
// The same lines, each ended by '\n', written to saida.
void listaCelulas(const std::string& caminho, int maxLinhas, std::ostream& saida);

}  // namespace zuv

// The export side, declared with the readers until it got its own header.
#include "platform/EscritorPlanilha.h"
