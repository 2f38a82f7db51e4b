#pragma once
// The stock-item INSERT of the database copy, shared by the keep-products migration (57 columns,
// ending with VENDAPORPLANNEGOCIO) and the predefined migration (the first 56, closed by
// IDGRADESIMILAR):
//   " Insert Into ProdutoEstoque (        " + the columns joined by " , " + " )   Values ( "
//   + each value followed by its separator + ")"
// A value's separator is " , " up to column 50 and "," after it; the last value has none. Every
// value starts as the origin row's column through LiteralCopia with the column's type; a run
// replaces the ones it computes.
#include <array>
#include <string>

#include "common/InstrucaoSQL.h"

namespace zuv {

class Recordset;

inline constexpr int kColunasEstoqueInclui = 57;
inline constexpr int kColunasEstoquePredefinido = 56;
extern const std::array<ColunaSQL, kColunasEstoqueInclui> kColunasEstoque;

// What follows the column list.
inline constexpr const char* kMeioInsercaoEstoque = " )   Values ( ";

// The origin's select list of stock-item columns: the 56 columns with TamanhoGrade read a second
// time before IDGRADESIMILAR, each with the prefix ("A." or ""), joined by ",".
std::string listaLeituraEstoque(const std::string& prefixo);

// Positions (from 0) of the columns the runs replace, in the insert and in a row of the origin's
// select list.
namespace coluna_estoque {
inline constexpr int IDITEMPRODUTO = 0, IDPRODUTO = 1, IDPRODGRUPO = 2, IDSUBGRUPO = 3, IDFABRICANTE = 4,
                     IDLOCAL = 5, IDUNIDADE = 19, IDTRIBCFOP = 32, BARRA = 38, IDNCM = 50,
                     VENDAPORPLANNEGOCIO = 56;
}

// The insert of the first `colunas` columns (kColunasEstoqueInclui or kColunasEstoquePredefinido),
// each value read from the current row of `linha` by the column's name; finish it with
// sql(kMeioInsercaoEstoque). Throws ErroConversao as LiteralCopia does, ErroBanco when the row
// lacks a column.
Insercao insercaoEstoque(const Recordset& linha, int colunas);

}  // namespace zuv
