// Statement forms the importers send that the connection tests do not use, through the program's
// own connection on a ZUV database: text dates, a number into a text column, a column added and
// used on the same connection, a correlated sub-select, and nested CASEs.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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

// The SYSPDV fixture has every table and column the product extraction reads.
TEST(Comandos, BancoSyspdvDoFixture) {
  BancoDeTeste pasta;
  const std::string caminho = (pasta.pastaDados() / "SYSPDV.FDB").string();
  Conexao::criaBancoDeDados(caminho);
  std::ifstream fixture(std::string(ZUV_FIXTURES_DIR) + "/syspdv_schema.sql");
  BancoDeTeste::executaIsql(caminho, std::string(std::istreambuf_iterator<char>(fixture), {}));
  Conexao c(" data source=" + caminho + "; user id=sysdba;password=quartzine; ctype=none");
  EXPECT_TRUE(c.abre("Select Coalesce((Select First 1 ProcoDaux From PRODUTOAUX Where Produto.ProCod = "
                     "PRODUTOAUX.ProCod),ProCod) Barra, Prodes, ProUnid, ProPRCCST, ProPRC1, ProNCM, TRBID, "
                     "ProCest, (Select GrPDes From Grupo Where Produto.GrpCod = Grupo.GrpCod And "
                     "Produto.SecCod = Grupo.SecCod) Grupo From pRODUTO")
                  .eof());
}

}  // namespace
}  // namespace zuv::teste
