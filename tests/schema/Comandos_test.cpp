// Statement forms the importers send that the connection tests do not use, through the program's
// own connection on a ZUV database: text dates, a number into a text column, a column added and
// used on the same connection, a correlated sub-select, and nested CASEs.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/Conexao.h"
#include "support/BancoDeTeste.h"

namespace zuv::teste {
namespace {

TEST(Comandos, FormasDosImportadores) {
  BancoDeTeste banco;
  Conexao c(banco.textoConexao());
  c.executa("alter table CLIENTE ADD OBSERVACAO Varchar(50)");
  c.executa(
      " INSERT INTO Cliente (PF,Ativo,CLIENTE,DATACADASTRO,OBSERVACAO,IDCLIENTE) "
      "VALUES ('J','S',Null,'03/15/2024 09:00',Null,4)");
  c.executa("Update Cliente Set OBSERVACAO = 'VIP', CLIENTE = Null Where IDCLIENTE = 4");
  c.executa(" Insert Into NCM ( IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO ) Values (3,'04012010',2,1)");
  auto rs = c.abre(
      "select C.DATACADASTRO, C.OBSERVACAO, Coalesce((Select First 1 N.DESCRICAO From NCM N "
      "Where N.IDNCM = 3), C.IDCLIENTE) D, Coalesce((Select First 1 N.DESCRICAO From NCM N "
      "Where N.IDNCM = 9), C.IDCLIENTE) SEM, "
      "Case When C.PF = 'F' Then '0,00' Else Case When C.PF = 'J' Then '00' End End TAXA from CLIENTE C");
  EXPECT_EQ(rs.valor("DATACADASTRO").comoDataHora(), (DataHora{{2024, 3, 15}, {9, 0, 0, 0}}));
  EXPECT_EQ(rs.valor("OBSERVACAO").comoTexto(), "VIP");
  EXPECT_EQ(rs.valor("D").comoTexto(), "2");
  EXPECT_EQ(rs.valor("SEM").comoTexto(), "4");
  // A CASE takes the type of its longest branch: a short branch comes back blank-padded.
  EXPECT_EQ(rs.valor("TAXA").comoTexto(), "00  ");
}

// The SYSPDV fixture holds what the product extraction reads: the extra barcode wins over the
// product code, and the group name comes from the (group, section) pair.
TEST(Comandos, BancoSyspdvDoFixture) {
  BancoDeTeste pasta;
  const std::string caminho = (pasta.pastaDados() / "SYSPDV.FDB").string();
  Conexao::criaBancoDeDados(caminho);
  std::ifstream fixture(std::string(ZUV_FIXTURES_DIR) + "/syspdv_schema.sql");
  std::stringstream script;
  script
      << fixture.rdbuf()
      << "insert into GRUPO (GRPCOD, SECCOD, GRPDES) values ('01', '01', 'BEBIDAS');\n"
         "insert into PRODUTO (PROCOD, PRODES, GRPCOD, SECCOD) values ('000123', 'GUARANÁ 2L', '01', '01');\n"
         "insert into PRODUTO (PROCOD, PRODES) values ('000124', 'SABÃO EM PÓ');\n"
         "insert into PRODUTOAUX (PROCODAUX, PROCOD) values ('7894900011517', '000123');\n";
  BancoDeTeste::executaIsql(caminho, script.str());
  Conexao c(" data source=" + caminho + "; user id=sysdba;password=quartzine; ctype=none;auto_commit=true");
  auto rs = c.abre(
      " Select Coalesce((Select First 1 ProcoDaux From PRODUTOAUX  Where Produto.ProCod = PRODUTOAUX.ProCod),"
      "ProCod) Barra, Prodes Nome_Produto, (Select GrPDes From Grupo Where  Produto.GrpCod = Grupo.GrpCod "
      "And Produto.SecCod = Grupo.SecCod) Grupo_Produto From pRODUTO order by 1");
  EXPECT_EQ(rs.valor("BARRA").comoTexto(), "000124");
  EXPECT_EQ(rs.valor("NOME_PRODUTO").comoTexto(), "SABÃO EM PÓ");
  EXPECT_TRUE(rs.valor("GRUPO_PRODUTO").nulo());
  rs.proximo();
  EXPECT_EQ(rs.valor("BARRA").comoTexto(), "7894900011517");
  EXPECT_EQ(rs.valor("GRUPO_PRODUTO").comoTexto(), "BEBIDAS");
}

}  // namespace
}  // namespace zuv::teste
