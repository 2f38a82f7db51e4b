#pragma once
// The catalogue wipe of the product import: every movement, sale and account table that refers to
// the stock items, then the catalogue and its reference tables, children first.
#include "migration/ImportacaoProduto.h"

namespace zuv {

inline constexpr PassoLimpeza kLimpezaProdutos[] = {
    {"Delete from ProdCheckZerado"},
    {"Delete from comandamovimentodia"},
    {"Delete from vendacancelada"},
    {"Update ContaDet SET ProvPagar =Null", true},
    {"Delete from ContaDet "},
    {"Delete from ContacLIENTE"},
    {"Delete from Conta"},
    {"Delete from ItemSaida"},
    {"Delete from NfSaidaPedido"},
    {"Delete from NFSaida"},
    {"Delete from NFSaidaPedido"},
    {"Delete from Comanda2"},
    {"Delete from MovimentoOBs"},
    {"Delete from servico"},
    {"Delete from EntregaDet"},
    {"Delete from Entregacomanda"},
    {"Update  AcompPedidoDet set idAcompDetFluxo = Null", true},
    {"Delete from AcompPedidoDet"},
    {"Delete from ComandaObsGrupo"},
    {"Delete from ComandaRecupera"},
    {"Delete from caminhobalanca"},
    {"Delete from comanda"},
    {"Delete from Produtofornecedor"},
    {"Delete from estoqueValidadeDet"},
    {"Delete from estoquemovdetalhe"},
    {"Delete from EstoqueMov"},
    {"Delete from PedidoCompraItem"},
    {"Delete from ProdutoMovimento"},
    {"Delete from ProdutoCusto"},
    {"Delete from ProdutoEstoqueCheck"},
    {"Delete from Insumo"},
    {"Delete from ProdutoEstoque"},
    {"Delete from Produto"},
    {"Delete from ProdutoGrupo"},
    {"Delete from LOCALPRODUTO"},
    {"Delete from SubGrupo"},
    {"Delete from ECFLetra"},
    {"UPDATE CLIDONO SET  idTribCFOP = NULL", true},
    {"Delete from TribCFOP"},
    {"Delete from NCM"},
};

}  // namespace zuv
