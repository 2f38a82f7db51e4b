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
  // The catalogue alone is refused while the stock items' history remains; after the cleanup,
  // which empties that history children first, it runs.
  EXPECT_THROW(banco.executaIsql(script(kExcluiCatalogoDestino)), std::runtime_error);
  banco.executaIsql(script(kLimpaBancoDestino) + script(kExcluiCatalogoDestino));
  for (const char* t : {"PRODUTOESTOQUE", "PRODUTO", "FABRICANTE", "NCM", "TRIBCFOP", "PRODUTOMOVIMENTO"})
    EXPECT_EQ(banco.valor("select count(*) from " + std::string(t)), "0") << t;
}

}  // namespace
}  // namespace zuv::teste
