#pragma once
// The statements that write a product row: the PRODUTO and PRODUTOESTOQUE inserts of a new item and
// the rewrite of an existing stock item under the form's field boxes.
#include <cstdint>
#include <optional>
#include <string>

#include <vector>

#include "common/InstrucaoSQL.h"
#include "common/Valor.h"
#include "platform/Recordset.h"

namespace zuv {

// The numbers and identifiers of one row, ready for its statements.
struct ItemProduto {
  int32_t idItemProduto = 0, idProduto = 0, idUnidade = 0;
  int32_t idTribCFOP = 0, idNCM = 0, idProdGrupo = 0;  // 0: none
  std::optional<int32_t> idECFLetra, idSubGrupo;
  Decimal custo{0, 2}, venda{0, 2}, margem{0, 2};
  double margemPorc = 100;
  Decimal atacado{0, 2}, venda2{0, 2}, atacado2{0, 2};
  Decimal estoque{0, 3};
  std::string barra;
  Data cadastro;
};

// What the update of an existing item rewrites: each field that is set. A field is set only when
// its box is ticked and its own cell holds something (an empty cell never zeroes or clears a stored
// value), or, for the margin, when the cost or the sale price is rewritten.
struct AlteracaoEstoque {
  std::optional<Decimal> atacado{}, custo{}, venda{}, margem{};
  std::optional<double> margemPorc{};
  std::optional<Decimal> estoque{};
  std::optional<int32_t> idTribCFOP{}, idECFLetra{}, idNCM{}, idProdGrupo{}, idSubGrupo{};
};

// A stored stock item as a row is compared with it: its identifiers, its barcode as stored, and
// the values a rewrite may change (NaN for null).
struct ItemGravado {
  int32_t idItemProduto = 0;
  std::optional<int32_t> idProduto;
  std::string barra;
  double custo = 0, venda = 0, atacado = 0, margem = 0, margemPorc = 0, estoque = 0;
  std::optional<int32_t> idTribCFOP, idECFLetra, idNCM, idProdGrupo, idSubGrupo;
};

// The digits after the point of the stored numbers (the database's column scales; -1 for a column
// of floating type), so that a value is compared as the column would store it.
struct EscalasItem {
  int custo = 4, venda = 2, atacado = 2, margem = 2, margemPorc = 4, estoque = 3;
};

// The columns of PRODUTOESTOQUE an ItemGravado holds, for a SELECT.
inline constexpr const char* kColunasItemGravado =
    "IdItemProduto, IdProduto, Barra, CustoLiquido, VendaAtual, VendaAtacado, MargemVenda, "
    "MargemVendaPorc, EstoqueAtual, IdTribCFOP, IdECFLetra, IdNCM, IdProdGrupo, IdSubGrupo";

// The current record of a recordset holding those columns (by name), or a row of them in that
// order (by position).
ItemGravado itemGravado(const Recordset& rs);
ItemGravado itemGravado(const std::vector<Valor>& linha);
EscalasItem escalasItem(const Recordset& rs);

// Whether the rewrite changes something of the stored item.
bool alteraItem(const AlteracaoEstoque& alteracao, const ItemGravado& item, const EscalasItem& escalas);

// The statements, as the system writes them (sql()), or with the row's values as parameters.
Insercao insercaoProduto(int32_t idProduto, const std::string& descricao);
Insercao insercaoEstoque(const ItemProduto& item);
// The assignments of the rewrite, without its condition; empty when nothing is to be rewritten.
// The system's statement ends with condicao(" Where Barra = ", aspas(barra as the item holds it)).
Atualizacao atualizacaoEstoque(const AlteracaoEstoque& alteracao);
// "update produto set descricao = ..." of the description rewrite.
Atualizacao atualizacaoDescricao(const std::string& descricao, int32_t idProduto);

}  // namespace zuv
