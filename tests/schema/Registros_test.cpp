#include "schema/Registros.h"

#include <gtest/gtest.h>

#include "common/Erro.h"
#include "platform/BancoVazio.h"

namespace zuv {
namespace {

TEST(Registros, ProxCodigoEConsultaParametro) {
  teste::BancoVazio banco;
  Conexao conexao(banco.conexao());
  conexao.executa("CREATE TABLE ProdutoGrupo (IDPRODGRUPO INTEGER)");
  conexao.executa("CREATE TABLE CLIDONO3 (ID INTEGER, ProdutoEstoqueAliqICMS CHAR(1), OUTRA CHAR(1))");
  auto prox = [&] { return ProxCodigo(conexao, "IdProdGrupo", "ProdutoGrupo"); };
  EXPECT_EQ(prox(), 1);
  conexao.executa("insert into ProdutoGrupo values (41)");
  conexao.executa("insert into ProdutoGrupo values (7)");
  EXPECT_EQ(prox(), 42);
  conexao.executa("insert into ProdutoGrupo values (2147483647)");
  EXPECT_THROW(prox(), ErroConversao) << "no code past the largest integer";

  EXPECT_EQ(ConsultaParametro(conexao, "ProdutoEstoqueAliqICMS"), "N");  // no row
  conexao.executa("insert into CliDono3 values (1, 'N', 'S')");
  EXPECT_EQ(ConsultaParametro(conexao, "ProdutoEstoqueAliqICMS"), "N");
  conexao.executa("insert into CliDono3 values (2, 'S', 'N')");
  EXPECT_EQ(ConsultaParametro(conexao, "ProdutoEstoqueAliqICMS"), "S");
}

// A table the atomic run holds for protected write: one Select Max, then identifiers counted in memory
// (two calls without an insert in between give two numbers); a rollback to a savepoint asks again.
TEST(Registros, ProxCodigoEmMemoriaSoComATabelaReservada) {
  teste::BancoVazio banco;
  Conexao conexao(banco.conexao());
  conexao.executa("CREATE TABLE ProdutoGrupo (IDPRODGRUPO INTEGER)");
  conexao.executa("insert into ProdutoGrupo values (41)");
  auto prox = [&] { return ProxCodigo(conexao, "IdProdGrupo", "ProdutoGrupo"); };
  conexao.defineAtomica(true);
  EXPECT_EQ(prox(), 42);
  EXPECT_EQ(prox(), 42) << "not reserved: every call asks the table";
  conexao.desfazAtomica();
  conexao.defineAtomica(true, {"ProdutoGrupo"});
  EXPECT_EQ(prox(), 42);
  EXPECT_EQ(prox(), 43);
  // A rollback to a savepoint gives back the identifiers taken since it began, and only those.
  conexao.iniciaTransacao();
  EXPECT_EQ(prox(), 44);
  conexao.executa("insert into ProdutoGrupo values (44)");
  conexao.desfaz();
  EXPECT_EQ(prox(), 44);
  conexao.defineAtomica(false);
  EXPECT_FALSE(conexao.reservada("ProdutoGrupo"));
}

}  // namespace
}  // namespace zuv
