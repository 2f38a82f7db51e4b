#pragma once
// The table catalogue of the ZUV database as data: the orders in which the database accepts the
// wipes the runs perform (children before their parents), statement by statement and exactly as
// the runs send them, blanks included. A run that wipes takes its sequence from here.
#include <cstddef>

namespace zuv {

// Customer deletion: the dependent tables emptied for one customer before the customer itself, in
// this order; each text is followed by the customer's identifier.
inline constexpr const char* kExclusoesCliente[] = {
    "Delete From ClienteCobranca where idcliente = ", "Delete From ClienteEntrega where idcliente = ",
    "Delete From cliconta where idcliente = ",        "Delete From CliTrab where idcliente = ",
    "Delete From CLIREF where idcliente = ",          "Delete From ClienteAnotacao where idcliente = ",
    "Delete From Contacliente where idcliente = ",    "Delete From Cliente where idcliente = ",
};

// Clean mode of the product workbook import: the movement side, then the product side, then the
// tax tables. Each statement runs on its own; one that fails is skipped.
inline constexpr const char* kLimpaBaseProdutos[] = {
    "Delete from ProdCheckZerado",
    "Delete from comandamovimentodia",
    "Delete from vendacancelada",
    "Update ContaDet SET ProvPagar =Null",
    "Delete from ContaDet ",
    "Delete from ContacLIENTE",
    "Delete from Conta",
    "Delete from ItemSaida",
    "Delete from NfSaidaPedido",
    "Delete from NFSaida",
    "Delete from NFSaidaPedido",
    "Delete from Comanda2",
    "Delete from MovimentoOBs",
    "Delete from servico",
    "Delete from EntregaDet",
    "Delete from Entregacomanda",
    "Update  AcompPedidoDet set idAcompDetFluxo = Null",
    "Delete from AcompPedidoDet",
    "Delete from ComandaObsGrupo",
    "Delete from ComandaRecupera",
    "Delete from caminhobalanca",
    "Delete from comanda",
    "Delete from Produtofornecedor",
    "Delete from estoqueValidadeDet",
    "Delete from estoquemovdetalhe",
    "Delete from EstoqueMov",
    "Delete from PedidoCompraItem",
    "Delete from ProdutoMovimento",
    "Delete from ProdutoCusto",
    "Delete from ProdutoEstoqueCheck",
    "Delete from Insumo",
    "Delete from ProdutoEstoque",
    "Delete from Produto",
    "Delete from ProdutoGrupo",
    "Delete from LOCALPRODUTO",
    "Delete from SubGrupo",
    "Delete from ECFLetra",
    "UPDATE CLIDONO SET  idTribCFOP = NULL",
    "Delete from TribCFOP",
    "Delete from NCM",
};

// The statements of kLimpaBaseProdutos that only clear a link to the rows the next statement
// deletes: when that one is refused, they are undone with it.
inline constexpr const char* kLimpaBaseProdutosPreparam[] = {
    "Update ContaDet SET ProvPagar =Null",
    "Update  AcompPedidoDet set idAcompDetFluxo = Null",
    "UPDATE CLIDONO SET  idTribCFOP = NULL",
};

// Destination cleanup of the database-to-database migration: the movement side and the stock
// items' history, children always before the rows they point to (details before headers, the
// order lines and sale notes before their orders and invoices, cash closings before the cash
// registers). The texts are the ZUV cleanup's own; some tables appear twice (the second finds
// them empty). Run in the migration's one destination transaction.
inline constexpr const char* kLimpaBancoDestino[] = {
    " Delete from EstoqueValidadeDet",
    " Delete from ProdutoFornecedor",
    " Delete from EstoqueMovDetalhe",  // the details before their movement header
    " Delete from estoqueMov",
    " update Contadet set provpagar = Null where provpagar is not  null ",
    " Delete from ContadiarioDet ",
    " Delete from Contadet ",
    "Delete from ContacLIENTE",  // customers' links to the accounts deleted next
    " Delete from Conta",
    " Delete from ContaDiario",
    " Delete from ContaDiariodet",
    "Delete From ProdutoFornecedor ",
    "Delete From EstoqueValidadeDet ",
    "Delete From EstoqueValidade ",
    "Delete From EstoqueMovDetalhe ",
    "Delete From EstoqueMov ",
    "Delete From PedidoCompraForn ",
    "Delete from PedidoCompraItem",  // order lines before their orders
    "Delete From PedidoCompra  ",
    "Delete From PRODUTOFORNECEDOR  ",
    " Delete from ITEMSAIDA",
    " Delete from NFSAIDAPEDIDO",
    " Delete from MovimentoObs",  // sale notes before their invoices
    " Delete from NFSAIDA",
    " Delete from MovimentoCaixa",
    " Delete from caixaFechamento",  // closings before their cash registers
    " Delete from Caixa",
    " Delete from VendaCancelada",
    " Delete from COMANDARECUPERA",
    " Delete from comanda2",
    " Delete from EstoqueValidadeDet",
    " Delete from EstoqueValidade",
    " Delete from comandaMOVIMENTODIA",
    " Delete from comandaMOVIMENTO",
    " Delete from ITEMSAIDA",
    " Delete from NFSAIDAPEDIDO",
    " Delete from NFSAIDA",
    " Delete from SERVICO",
    " Delete from SERVICODIA",
    " Delete from EntregaDet",
    " Delete from EntregaComanda",
    " Delete from Entrega",
    " Delete from comanda",
    " Delete from MovimentoCaixa",
    " Delete from ENTREGADET",
    " Delete from ENTREGA",
    // The rest of the stock items' history, which the tables above do not cover.
    "Delete from ProdutoMovimento",
    "Delete from ProdutoCusto",
    "Delete from ProdutoEstoqueCheck",
    "Delete from ProdCheckZerado",
    "Delete from Insumo",
    "Delete from caminhobalanca",
};

// The catalogue deletion after the cleanup: stock items and products, then what they point to
// (manufacturers and NCM records only once no stock item names them).
inline constexpr const char* kExcluiCatalogoDestino[] = {
    "Delete from ProdutoEstoque",
    "Delete from Produto",
    " Delete from FABRICANTE",
    " Delete from NCM",
    "Delete From NCM",
    "Delete From PRODUTOgrupo",
    "update CLIDONO set IDTRIBCFOP = NULL",
    "Delete From TRIBCFOP",
};

}  // namespace zuv
