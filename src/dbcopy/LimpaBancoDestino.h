#pragma once
// Emptying of the destination database before the predefined migration copies the origin's
// catalogue into it: movement, financial, purchasing, sales, cash and comanda tables, the stock
// items' history, then the catalogue itself (stock items, products, manufacturers, NCM, product
// groups, fiscal operations). Children always go before the rows they point to, so a database
// whose foreign keys are all enforced accepts every statement; units, sub-groups and locations
// stay (the copy overwrites them under the origin's identifiers).
#include <string>

namespace zuv {

class Conexao;

// The movement side and the catalogue's dependants, in the order the statements run. The texts
// are the ZUV cleanup's own; some tables appear twice (harmless: the second finds them empty).
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

// The catalogue, after its dependants: stock items and products, then what they point to.
inline constexpr const char* kApagaCatalogoDestino[] = {
    "Delete from ProdutoEstoque",
    "Delete from Produto",
    " Delete from FABRICANTE",
    " Delete from NCM",
    "Delete From NCM",
    "Delete From PRODUTOgrupo",
    "update CLIDONO set IDTRIBCFOP = NULL",
    "Delete From TRIBCFOP",
};

// Why the destination cannot be emptied without losing what the copy cannot rebuild, or "" when
// nothing stands in the way: pairs of fiscal operations in TribCFOPVinculo would keep TRIBCFOP
// from being emptied (and the origin's records replace them under other meanings).
std::string impedimentoLimpezaDestino(Conexao& destino);

// Runs kLimpaBancoDestino and then kApagaCatalogoDestino on the destination, inside whatever
// transaction the caller holds. The first refused statement throws ErroBanco.
void LimpaBancoDestino(Conexao& destino);

}  // namespace zuv
