// The wipe orders of the catalogue (clean mode of the product import, the migration's destination
// cleanup and catalogue deletion), run against a database with linked rows in every table: the
// fixture's foreign keys accept them in this order and refuse parents deleted before their children.
#include <gtest/gtest.h>

#include <iterator>

#include "schema/Tabelas.h"
#include "support/BancoDeTeste.h"

namespace zuv::teste {
namespace {

// The statements as one isql script.
template <size_t N>
std::string script(const char* const (&instrucoes)[N]) {
  std::string s;
  for (const char* i : instrucoes)
    s += std::string(i) + ";\n";
  return s;
}

TEST(SequenciasDeLimpeza, PaisAntesDosFilhosSaoRecusadosELimpaBaseDeProdutosPassa) {
  BancoDeTeste banco;
  banco.carregaFixture("zuv_populado.sql");
  for (const char* t : {"ProdutoEstoque", "ContaDet", "AcompPedidoDet", "Comanda", "NFSaida", "TribCFOP"})
    EXPECT_THROW(banco.executaIsql("Delete from " + std::string(t) + ";"), std::runtime_error) << t;
  banco.executaIsql(script(kLimpaBaseProdutos));
  EXPECT_EQ(banco.valor("select count(*) from PRODUTOESTOQUE"), "0");
}

TEST(SequenciasDeLimpeza, LimpezaDoDestinoEDoCatalogoRodamEmOrdem) {
  BancoDeTeste banco;
  banco.carregaFixture("zuv_populado.sql");
  EXPECT_EQ(std::size(kLimpaBancoDestino), 46u);
  banco.executaIsql(script(kLimpaBancoDestino));
  // The stock items stay, with their manufacturer and NCM cleared; their history, which the
  // cleanup does not touch, keeps the catalogue deletion from running.
  EXPECT_EQ(banco.valor("select count(*) from PRODUTOESTOQUE where IDFABRICANTE is null and IDNCM is null"),
            "2");
  EXPECT_THROW(banco.executaIsql(script(kExcluiCatalogoDestino)), std::runtime_error);
  std::string historico;
  for (const char* t : {"PRODUTOMOVIMENTO", "PRODUTOCUSTO", "PRODUTOESTOQUECHECK", "PRODCHECKZERADO",
                        "INSUMO", "CAMINHOBALANCA", "PEDIDOCOMPRAITEM"})
    historico += "Delete from " + std::string(t) + ";\n";
  banco.executaIsql(historico + script(kExcluiCatalogoDestino));
}

}  // namespace
}  // namespace zuv::teste
