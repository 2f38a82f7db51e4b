// The wipe orders of the migration's destination cleanup and catalogue deletion, run against a
// database with linked rows in every table (the fixture's foreign keys refuse parents deleted before
// their children), and the count told before a wipe. The product import's wipe runs in its own tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "platform/Conexao.h"
#include "schema/ContagemExclusao.h"
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

// What the question before a wipe says, counted on the populated fixture and in words: the known
// tables by name (singular, plural, gender of one row alone), the rest together.
TEST(SequenciasDeLimpeza, AExclusaoEContadaEDitaAntes) {
  BancoDeTeste banco;
  banco.carregaFixture("zuv_populado.sql");
  Conexao c(banco.textoConexao());
  const auto contagens = contaExclusao(c, {std::begin(kLimpaBaseProdutos), std::end(kLimpaBaseProdutos)});
  ASSERT_FALSE(contagens.empty());
  EXPECT_EQ(contagens.front(), (std::pair<std::string, long long>{"PRODCHECKZERADO", 1}));
  EXPECT_EQ(
      std::count_if(contagens.begin(), contagens.end(), [](const auto& p) { return p.first == "CLIDONO"; }),
      0)
      << "an UPDATE deletes nothing";
  using C = std::vector<std::pair<std::string, long long>>;
  const std::pair<C, const char*> casos[] = {
      {{{"CONTA", 310}, {"PRODUTO", 3378}, {"NFSAIDA", 12040}},
       "3 378 produtos, 12 040 vendas e 310 contas serão excluídos"},
      {{{"NFSAIDA", 1}}, "1 venda será excluída"},
      {{{"PRODUTO", 1}}, "1 produto será excluído"},
      {{{"ITEMSAIDA", 1}}, "1 outro registro (ITEMSAIDA) será excluído"},
      {{{"ITEMSAIDA", 5}, {"PRODUTOESTOQUE", 1}, {"CONTADET", 2}},
       "1 item de estoque e 7 outros registros (ITEMSAIDA, CONTADET) serão excluídos"},
      {{}, ""},
  };
  for (const auto& [contagem, texto] : casos)
    EXPECT_EQ(textoExclusao(contagem), texto);
  EXPECT_EQ(textoExclusao({{"NCM", 2}}, true), "2 cadastros de NCM seriam excluídos");
}

}  // namespace
}  // namespace zuv::teste
