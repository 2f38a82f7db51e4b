#pragma once
// The cells of the form's grid fpSpread1, the product import's second row source: 945 025 rows by
// 16 columns (the columns of produto.xlsx), of which only the filled cells are kept. Rows and
// columns count from 1. A plain value: the form hands a copy to the run, so the run reads a
// snapshot while the person may go on editing the grid.
#include <cstdint>
#include <string>
#include <unordered_map>

namespace zuv {

class GradeProduto {
 public:
  static constexpr int kLinhas = 945'025;
  static constexpr int kColunas = 16;

  // "" for an empty cell or one outside the grid.
  std::string texto(int linha, int coluna) const;
  // An empty text empties the cell. Cells outside the grid are ignored.
  void defineTexto(int linha, int coluna, const std::string& texto);

  // Pastes tab-separated text (lines ending in LF or CR LF, as spreadsheets copy them) with its
  // first cell at (linha, coluna). Values in quotes may hold tabs, line breaks and doubled quotes.
  // Cells past the grid's edges are dropped. Returns the rows and columns the text covered inside
  // the grid, for the view to repaint.
  struct Area {
    int linhas = 0, colunas = 0;
  };
  Area colaTexto(int linha, int coluna, const std::string& texto);
  // The text of a file to paste: UTF-8 without its byte-order mark, or, when the bytes are not
  // UTF-8 (a file saved by a Windows program), read as Windows-1252.
  static std::string textoDeArquivo(std::string bytes);

  void limpa();
  // Filled cells.
  size_t celulas() const { return celulas_.size(); }
  // The last row holding a filled cell (0 when the grid is empty).
  int ultimaLinha() const;

 private:
  static uint64_t chave(int linha, int coluna) {
    return (static_cast<uint64_t>(linha) << 8) | static_cast<uint64_t>(coluna);
  }
  std::unordered_map<uint64_t, std::string> celulas_;
};

}  // namespace zuv
