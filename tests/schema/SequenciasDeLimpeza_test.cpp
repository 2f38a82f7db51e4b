// The wipe orders of the catalogue import (clean mode) and of the database-to-database cleanup, run
// against a database with linked rows in every table: the fixture's foreign keys accept them in this
// order and refuse parents deleted before their children.
#include <gtest/gtest.h>

#include <sstream>

#include "support/BancoDeTeste.h"

namespace zuv::teste {
namespace {

// "Delete from T" for each table T named, in order (each one that runs empties its table);
// T.C stands for "Update T set C = Null".
std::string apaga(const std::string& tabelas) {
  std::string s;
  std::istringstream in(tabelas);
  for (std::string t; in >> t;)
    s += t.find('.') == std::string::npos ? "Delete from " + t + ";\n"
                                          : "Update " + t.replace(t.find('.'), 1, " set ") + " = Null;\n";
  return s;
}

// Clean mode of the product workbook import.
const std::string kLimpaBaseProdutos = apaga(
    "ProdCheckZerado comandamovimentodia vendacancelada ContaDet.ProvPagar ContaDet ContacLIENTE Conta "
    "ItemSaida "
    "NfSaidaPedido NFSaida NFSaidaPedido Comanda2 MovimentoOBs servico EntregaDet Entregacomanda "
    "AcompPedidoDet.idAcompDetFluxo AcompPedidoDet ComandaObsGrupo ComandaRecupera caminhobalanca comanda "
    "Produtofornecedor estoqueValidadeDet estoquemovdetalhe EstoqueMov PedidoCompraItem ProdutoMovimento "
    "ProdutoCusto ProdutoEstoqueCheck Insumo ProdutoEstoque Produto ProdutoGrupo LOCALPRODUTO SubGrupo "
    "ECFLetra "
    "CLIDONO.idTribCFOP TribCFOP NCM");

// Destination cleanup of the database-to-database migration (its repeated statements left out).
const std::string kLimpaBancoDestino = apaga(
    "EstoqueValidadeDet ProdutoFornecedor estoqueMov EstoqueMovDetalhe Contadet.provpagar ContadiarioDet "
    "Contadet Conta ContaDiario ContaDiariodet EstoqueValidade PedidoCompraForn PedidoCompra ITEMSAIDA "
    "NFSAIDAPEDIDO NFSAIDA MovimentoCaixa Caixa VendaCancelada COMANDARECUPERA comanda2 comandaMOVIMENTODIA "
    "comandaMOVIMENTO SERVICO SERVICODIA MovimentoObs EntregaDet EntregaComanda Entrega comanda "
    "caixaFechamento FABRICANTE NCM");

// What the predefined migration runs after the cleanup: the catalogue deletion.
const std::string kLimpaCatalogoDestino =
    apaga("ProdutoEstoque Produto NCM PRODUTOgrupo CLIDONO.IDTRIBCFOP TRIBCFOP");

TEST(SequenciasDeLimpeza, PaisAntesDosFilhosSaoRecusadosELimpaBaseDeProdutosPassa) {
  BancoDeTeste banco;
  banco.carregaFixture("zuv_populado.sql");
  for (const char* t : {"ProdutoEstoque", "ContaDet", "AcompPedidoDet", "Comanda", "NFSaida", "TribCFOP"})
    EXPECT_THROW(banco.executaIsql(apaga(t)), std::runtime_error) << t;
  banco.executaIsql(kLimpaBaseProdutos);
}

TEST(SequenciasDeLimpeza, LimpezaDoDestinoRecusadaEnquantoHaItensEmOrdemSoFilhosPrimeiro) {
  BancoDeTeste banco;
  banco.carregaFixture("zuv_populado.sql");
  // Manufacturers and NCM records are still named by the stock items, and the stock items by
  // their history, which the cleanup does not touch.
  EXPECT_THROW(banco.executaIsql(kLimpaBancoDestino), std::runtime_error);
  EXPECT_THROW(banco.executaIsql(kLimpaCatalogoDestino), std::runtime_error);
  banco.executaIsql(apaga("PRODUTOMOVIMENTO PRODUTOCUSTO PRODUTOESTOQUECHECK PRODCHECKZERADO INSUMO "
                          "CAMINHOBALANCA PEDIDOCOMPRAITEM EstoqueValidadeDet ProdutoFornecedor "
                          "EstoqueMovDetalhe ITEMSAIDA VendaCancelada comandaMOVIMENTODIA EntregaDet") +
                    kLimpaCatalogoDestino + apaga("FABRICANTE"));
  EXPECT_EQ(banco.valor("select count(*) from PRODUTOESTOQUE"), "0");
}

}  // namespace
}  // namespace zuv::teste
