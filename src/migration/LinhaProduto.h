#pragma once
// One row of the product workbook (or of the form's grid) as the product import reads it: the
// columns by position, prepared the way each source needs, and the numbers of the row read by one
// strict parser.
#include <cstdint>
#include <optional>
#include <string>

#include "common/LeituraDeCelulas.h"
#include "common/Valor.h"

namespace zuv {

class LeitorPlanilha;

// Columns of produto.xlsx, from 1.
namespace coluna {
inline constexpr int kBarra = 1, kDescricao = 2, kUnidade = 3, kCusto = 4, kVenda = 5, kEstoque = 6,
                     kGrupo = 7, kSubGrupo = 8, kNcm = 9, kAliquota = 10, kCfop = 11, kCsosn = 12,
                     kCestGrade = 13, kCest = 14, kAtacado = 15, kAtacado2 = 16;
}

// The texts of one row after the preparation of its source (upper case; in the workbook trimmed
// and cleaned; codes without dots, cut and zero-padded).
struct LinhaProduto {
  std::string barra, descricao, unidade, custo, venda, estoque, grupo, subGrupo, ncm, aliquota, cfop, csosn,
      cest, atacado, atacado2;
  // Unit, group and sub-group upper-cased and trimmed but not cleaned: the form a record written by
  // the ZUV system itself may have ("AÇOUGUE").
  std::string unidadeEscrita, grupoEscrito, subGrupoEscrito;
  // Both the barcode and the description empty: the end of the data.
  bool fim() const { return barra.empty() && descricao.empty(); }
};

// Reads sheet row `linha`. `planilha` says whether the source is produto.xlsx (true) or the grid
// (false): the grid keeps its texts as typed but trimmed, and holds the CEST in column 13.
LinhaProduto leLinhaProduto(LeitorPlanilha& fonte, int linha, bool planilha);

// leNumero and normalizaCodigo, which read the numbers and codes of a row: common/LeituraDeCelulas.h.

// "#,###,###,##0.00" under the style: 1.234,50 (Brazilian) or 1,234.50 (English).
std::string formataPreco(const Decimal& valor, int estilo);

// The value with `casas` decimals and a decimal point, no blank: "1234.50", "-3.00".
std::string numeroSQL(const Decimal& valor);

// The rounded value of v with `casas` decimals.
Decimal arredonda(double v, int casas);

}  // namespace zuv
