// The wipe sequences of the catalogue import and of the database-to-database cleanup, run as
// the program sends them against a database with rows in every table: the foreign keys of the
// schema accept them in this order and refuse parents deleted before their children.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/BancoDeTeste.h"

namespace zuv::teste {
namespace {

// Clean mode of the product workbook import.
const std::vector<std::string> kLimpaBaseProdutos = {"Delete from ProdCheckZerado",
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
                                                     "Delete from NCM"};

// Destination cleanup of the database-to-database migration.
const std::vector<std::string> kLimpaBancoDestino = {
    " Delete from EstoqueValidadeDet",
    " Delete from ProdutoFornecedor",
    " Delete from estoqueMov",
    " Delete from EstoqueMovDetalhe",
    " update Contadet set provpagar = Null where provpagar is not  null ",
    " Delete from ContadiarioDet ",
    " Delete from Contadet ",
    " Delete from Conta",
    " Delete from ContaDiario",
    " Delete from ContaDiariodet",
    "Delete From ProdutoFornecedor ",
    "Delete From EstoqueValidadeDet ",
    "Delete From EstoqueValidade ",
    "Delete From EstoqueMovDetalhe ",
    "Delete From EstoqueMov ",
    "Delete From PedidoCompraForn ",
    "Delete From PedidoCompra  ",
    "Delete From PRODUTOFORNECEDOR  ",
    " Delete from ITEMSAIDA",
    " Delete from NFSAIDAPEDIDO",
    " Delete from NFSAIDA",
    " Delete from MovimentoCaixa",
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
    " Delete from MovimentoObs",
    " Delete from EntregaDet",
    " Delete from EntregaComanda",
    " Delete from Entrega",
    " Delete from comanda",
    " Delete from caixaFechamento",
    " Delete from MovimentoCaixa",
    " Delete from ENTREGADET",
    " Delete from ENTREGA",
    " Delete from FABRICANTE",
    " Delete from NCM"};

// What the predefined migration runs after the cleanup: generator reset and catalogue deletion.
const std::vector<std::string> kLimpaCatalogoDestino = {"set GENERATOR GEN_ID_ComandaMovimentoDia TO 0",
                                                        "set GENERATOR GEN_ID_ComandaPr TO 0",
                                                        "Delete from ProdutoEstoque",
                                                        "Delete from Produto",
                                                        "Delete From NCM",
                                                        "Delete From PRODUTOgrupo",
                                                        "update CLIDONO set IDTRIBCFOP = NULL",
                                                        "Delete From TRIBCFOP"};

// Stock history the destination cleanup leaves alone.
const std::vector<std::string> kHistoricoDoItem = {"PRODUTOMOVIMENTO", "PRODUTOCUSTO", "PRODUTOESTOQUECHECK",
                                                   "PRODCHECKZERADO",  "INSUMO",       "CAMINHOBALANCA",
                                                   "PEDIDOCOMPRAITEM"};

std::string script(const std::vector<std::string>& comandos) {
  std::string s;
  for (const auto& c : comandos)
    s += c + ";\n";
  return s;
}

int contagem(const BancoDeTeste& banco, const std::string& tabela) {
  return std::stoi(banco.valor("select count(*) from " + tabela));
}

// Tables of the list that still hold rows (one isql-fb run for all of them).
std::vector<std::string> naoVazias(const BancoDeTeste& banco, const std::vector<std::string>& tabelas) {
  std::string sql = "select ";
  for (size_t i = 0; i < tabelas.size(); ++i)
    sql += (i ? ", " : "") + std::string("(select count(*) from ") + tabelas[i] + ")";
  auto contagens = banco.consulta(sql + " from rdb$database").at(0);
  std::vector<std::string> resto;
  for (size_t i = 0; i < tabelas.size(); ++i)
    if (contagens.at(i) != "0") resto.push_back(tabelas[i]);
  return resto;
}

class SequenciasDeLimpeza : public ::testing::Test {
 protected:
  void SetUp() override { banco.carregaFixture("zuv_populado.sql"); }
  BancoDeTeste banco;
};

TEST_F(SequenciasDeLimpeza, LimpaBaseDeProdutosEsvaziaCatalogoEMovimento) {
  ASSERT_NO_THROW(banco.executaIsql(script(kLimpaBaseProdutos)));
  EXPECT_EQ(naoVazias(banco, {"PRODUTOESTOQUE", "PRODUTO", "PRODUTOGRUPO", "SUBGRUPO", "LOCALPRODUTO",
                              "ECFLETRA", "TRIBCFOP", "NCM", "COMANDA", "COMANDAMOVIMENTODIA", "NFSAIDA",
                              "CONTA", "CONTADET", "ACOMPPEDIDODET", "PRODUTOMOVIMENTO", "CAMINHOBALANCA"}),
            std::vector<std::string>{});
  // Units, customers and the store owner's record stay.
  EXPECT_EQ(banco.consulta("select (select count(*) from UNIDADE), (select count(*) from CLIENTE), "
                           "IDTRIBCFOP from CLIDONO"),
            (BancoDeTeste::Linhas{{"2", "3", "<null>"}}));
}

TEST_F(SequenciasDeLimpeza, LimpezaDoDestinoEDoCatalogoRodamEmOrdem) {
  std::string historico;
  for (const auto& t : kHistoricoDoItem)
    historico += "delete from " + t + ";\n";
  ASSERT_NO_THROW(banco.executaIsql(historico + script(kLimpaBancoDestino)));
  // The cleanup runs while the stock items still exist: their manufacturer and NCM are cleared.
  EXPECT_EQ(banco.valor("select count(*) from PRODUTOESTOQUE where IDFABRICANTE is null and IDNCM is null"),
            "2");
  ASSERT_NO_THROW(banco.executaIsql(script(kLimpaCatalogoDestino)));
  EXPECT_EQ(naoVazias(banco, {"PRODUTOESTOQUE", "PRODUTO", "PRODUTOGRUPO", "TRIBCFOP", "NCM", "FABRICANTE",
                              "COMANDA", "ENTREGA", "CAIXA", "PEDIDOCOMPRA", "CONTADIARIO", "SERVICODIA"}),
            std::vector<std::string>{});
  EXPECT_EQ(banco.consulta("select gen_id(GEN_ID_COMANDAMOVIMENTODIA, 0), gen_id(GEN_ID_COMANDAPR, 0) "
                           "from rdb$database"),
            (BancoDeTeste::Linhas{{"0", "0"}}));
}

TEST_F(SequenciasDeLimpeza, PaisAntesDosFilhosSaoRecusados) {
  // Each statement alone, on the populated database: the database refuses it.
  for (const char* sql : {"Delete from ProdutoEstoque", "Delete from ContaDet", "Delete from AcompPedidoDet",
                          "Delete from Comanda", "Delete from NFSaida", "Delete from TribCFOP",
                          "Delete from Produto", "Delete from Unidade"}) {
    EXPECT_THROW(banco.executaIsql(sql), std::runtime_error) << sql;
  }
  // Stock history that the destination cleanup does not touch keeps the catalogue deletion
  // of the predefined migration from running.
  banco.executaIsql(script(kLimpaBancoDestino));
  EXPECT_THROW(banco.executaIsql("Delete from ProdutoEstoque"), std::runtime_error);
}

TEST_F(SequenciasDeLimpeza, VinculoDeCfopImpedeExclusao) {
  banco.executaIsql("UPDATE PRODUTOESTOQUE SET IDTRIBCFOP = NULL, idTribCFOPEntradada = NULL");
  banco.executaIsql("UPDATE CLIDONO SET IDTRIBCFOP = NULL");
  banco.executaIsql("insert into TribCFOPVinculo (IDCFOPENTRADA, IDCFOPSAIDA) values (2, 1)");
  EXPECT_EQ(
      banco.consulta(" SELECT  IDCFOPENTRADA, IDCFOPSAIDA  FROM   TribCFOPVinculo where  IDCFOPSAIDA = 1"),
      (BancoDeTeste::Linhas{{"2", "1"}}));
  EXPECT_TRUE(banco.consulta(" SELECT  idTribCFOP FROM   Clidono where  idTribCFOP = 1").empty());
  EXPECT_THROW(banco.executaIsql("DELETE FROM TRIBCFOP"), std::runtime_error);
  banco.executaIsql("Delete From TRIBCFOP Where idTribCFOP  = 9");
  EXPECT_EQ(contagem(banco, "TRIBCFOP"), 2);
}

TEST_F(SequenciasDeLimpeza, ClienteComVendaNaoPodeSerExcluido) {
  const std::vector<std::string> dependentes = {
      "Delete From ClienteCobranca where idcliente = ", "Delete From ClienteEntrega where idcliente = ",
      "Delete From cliconta where idcliente = ",        "Delete From CliTrab where idcliente = ",
      "Delete From CLIREF where idcliente = ",          "Delete From ClienteAnotacao where idcliente = ",
      "Delete From Contacliente where idcliente = "};
  for (const char* id : {"1", "2", "3"}) {
    std::string s;
    for (const auto& d : dependentes)
      s += d + id + ";\n";
    banco.executaIsql(s);
  }
  EXPECT_NO_THROW(banco.executaIsql("Delete From Cliente where idcliente = 1"));
  EXPECT_THROW(banco.executaIsql("Delete From Cliente where idcliente = 2"), std::runtime_error);
  EXPECT_NO_THROW(banco.executaIsql("Delete From Cliente where idcliente = 3"));
  EXPECT_EQ(banco.valor("select count(*) from ClienteAnotacao"), "0");
  EXPECT_EQ(banco.consulta("select idcliente from cliente"), BancoDeTeste::Linhas{{"2"}});
}

}  // namespace
}  // namespace zuv::teste
