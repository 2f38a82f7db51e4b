#pragma once
// The stock-item INSERT of the database copy, shared by the keep-products migration (57 columns,
// ending with VENDAPORPLANNEGOCIO) and the predefined migration (the first 56, closed by
// IDGRADESIMILAR):
//   " Insert Into ProdutoEstoque (        " + the columns joined by " , " + " ) " + "  Values ( "
//   + each value followed by its separator + ")"
// A value's separator is " , " up to column 50 and "," after it; the last value has none. Every
// value starts as the origin row's column through LiteralCopia with the column's type; a run
// replaces the ones it computes.
#include <array>
#include <string>
#include <vector>

#include "dbcopy/LiteraisCopia.h"

namespace zuv {

class Recordset;

struct ColunaEstoque {
  const char* nome;  // as the statements spell it
  TipoCopia tipo;
};

inline constexpr int kColunasEstoqueInclui = 57;
inline constexpr int kColunasEstoquePredefinido = 56;
extern const std::array<ColunaEstoque, kColunasEstoqueInclui> kColunasEstoque;

// The origin's select list of stock-item columns: the 56 columns with TamanhoGrade read a second
// time before IDGRADESIMILAR, each with the prefix ("A." or ""), joined by ",".
std::string listaLeituraEstoque(const std::string& prefixo);

// Column numbers (from 1) the runs replace.
namespace coluna_estoque {
inline constexpr int IDITEMPRODUTO = 1, IDPRODUTO = 2, IDPRODGRUPO = 3, IDSUBGRUPO = 4, IDFABRICANTE = 5,
                     IDLOCAL = 6, IDUNIDADE = 20, IDTRIBCFOP = 33, BARRA = 39, IDNCM = 51,
                     IDGRADESIMILAR = 56, VENDAPORPLANNEGOCIO = 57;
}

class InsercaoEstoque {
 public:
  // The first `colunas` columns (kColunasEstoqueInclui or kColunasEstoquePredefinido), each value
  // read from the current row of `linha` by the column's name. Throws ErroConversao as
  // LiteralCopia does, ErroBanco when the row lacks a column.
  InsercaoEstoque(const Recordset& linha, int colunas);

  // Replaces the literal of column n (from 1), keeping its separator.
  InsercaoEstoque& valor(int coluna, std::string literal);
  // Replaces the literal and the separator written after it ("NULL, " carries its own: "").
  InsercaoEstoque& valor(int coluna, std::string literal, std::string separador);

  std::string sql() const;

 private:
  struct Entrada {
    std::string literal, separador;
  };
  std::vector<Entrada> valores_;
};

}  // namespace zuv
