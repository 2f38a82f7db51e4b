#include "common/Registros.h"

#include <gtest/gtest.h>

#include "common/Erro.h"
#include "platform/BancoVazio.h"

namespace zuv {
namespace {

class RegistrosTest : public ::testing::Test {
 protected:
  void SetUp() override {
    conexao = std::make_unique<Conexao>(banco.conexao());
    conexao->executa("CREATE TABLE ProdutoGrupo (IDPRODGRUPO INTEGER, DESCRICAO VARCHAR(40))");
    conexao->executa(
        "CREATE TABLE CLIDONO3 (IDCLIDONO3 INTEGER, ProdutoEstoqueAliqICMS CHAR(1), OUTRAFLAG CHAR(1))");
  }
  teste::BancoVazio banco;
  std::unique_ptr<Conexao> conexao;
};

TEST_F(RegistrosTest, ProxCodigoEOMaiorMaisUm) {
  EXPECT_EQ(ProxCodigo(*conexao, "IdProdGrupo", "ProdutoGrupo"), 1);
  conexao->executa("insert into ProdutoGrupo (IDPRODGRUPO) values (NULL)");
  EXPECT_EQ(ProxCodigo(*conexao, "IdProdGrupo", "ProdutoGrupo"), 1);
  conexao->executa("insert into ProdutoGrupo (IDPRODGRUPO) values (41)");
  conexao->executa("insert into ProdutoGrupo (IDPRODGRUPO) values (7)");
  EXPECT_EQ(ProxCodigo(*conexao, "IdProdGrupo", "ProdutoGrupo"), 42);
  EXPECT_EQ(ProxCodigoDestino(*conexao, "IDPRODGRUPO", "PRODUTOGRUPO"), 42);  // nothing is reserved
  EXPECT_THROW(ProxCodigo(*conexao, "IdProdGrupo", "ProdutoGrupoX"), ErroBanco);
  conexao->executa("insert into ProdutoGrupo (IDPRODGRUPO) values (2147483647)");
  EXPECT_THROW(ProxCodigo(*conexao, "IdProdGrupo", "ProdutoGrupo"), ErroConversao);
}

TEST_F(RegistrosTest, ConsultaParametroLeAFlagDeCliDono3) {
  EXPECT_EQ(ConsultaParametro(*conexao, "ProdutoEstoqueAliqICMS"), "N");
  conexao->executa("insert into CliDono3 values (1, 'N', 'S')");
  EXPECT_EQ(ConsultaParametro(*conexao, "ProdutoEstoqueAliqICMS"), "N");
  conexao->executa("insert into CliDono3 values (2, 'S', 'N')");
  EXPECT_EQ(ConsultaParametro(*conexao, "ProdutoEstoqueAliqICMS"), "S");
  EXPECT_THROW(ConsultaParametro(*conexao, "NaoExiste"), ErroBanco);
}

}  // namespace
}  // namespace zuv
