#pragma once
// The statements that write a product row: the PRODUTO and PRODUTOESTOQUE inserts of a new item and
// the rewrite of an existing stock item under the form's field boxes.
#include <cstdint>
#include <optional>
#include <string>

#include "common/Valor.h"

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

// What the update of an existing item may rewrite: the ticked boxes, and which cells of the row hold
// something (an empty cell never zeroes or clears a stored value).
struct CamposAtualizacao {
  bool precoCusto = false, precoVenda = false, estoque = false, cfopSat = false, aliqEcf = false, ncm = false,
       grupo = false;
  bool temCusto = false, temVenda = false, temEstoque = false, temAtacado = false, temGrupo = false;
};

std::string insercaoProduto(int32_t idProduto, const std::string& descricao);
std::string insercaoEstoque(const ItemProduto& item);
// "" when nothing is to be rewritten. `barraGravada` is the barcode as the stock item holds it.
std::string atualizacaoEstoque(const ItemProduto& item, const CamposAtualizacao& campos,
                               const std::string& barraGravada);

}  // namespace zuv
