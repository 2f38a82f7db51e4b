#pragma once
// One row of the product workbook (or of the form's grid) as the product import reads it: the
// columns by position, prepared the way each source needs, and the numbers of the row read by one
// strict parser.
#include <cstdint>
#include <optional>
#include <string>

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

// Codes typed as numbers lose their leading zeros and codes are often written with dots
// ("0901.21.00"): the dots go, the text is cut to `tamanho`, and an all-digit text is left-padded
// with zeros to `tamanho`.
std::string normalizaCodigo(const std::string& texto, size_t tamanho);

// A number of a cell under the regional style (1 Brazilian, 2 English), rounded half away from
// zero to `casas` decimals. Blanks, "R$" and "%" are ignored; an empty text is 0. With both "."
// and "," the last one is the decimal separator; a lone separator is the decimal one unless it is
// the style's grouping symbol followed by exactly three digits ("12.50" is 12,5 and "1.234" is 1234
// under the Brazilian style). Anything else throws ErroConversao naming the text.
Decimal leNumero(const std::string& texto, int estilo, int casas = 2);

// "#,###,###,##0.00" under the style: 1.234,50 (Brazilian) or 1,234.50 (English).
std::string formataPreco(const Decimal& valor, int estilo);

// The value with `casas` decimals and a decimal point, no blank: "1234.50", "-3.00".
std::string numeroSQL(const Decimal& valor);

// The rounded value of v with `casas` decimals.
Decimal arredonda(double v, int casas);

}  // namespace zuv
