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

}  // namespace
}  // namespace zuv
