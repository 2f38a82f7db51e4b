// The test database helper: fresh, independent databases with a program folder, and
// Windows-1252 text under character set NONE.
#include "support/BancoDeTeste.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace zuv::teste {
namespace {

TEST(BancoDeTeste, CadaBancoENovoEIndependenteESomeNoFim) {
  std::filesystem::path pasta;
  {
    BancoDeTeste a;
    BancoDeTeste b;
    pasta = a.pasta();
    EXPECT_NE(a.caminho(), b.caminho());
    a.executaIsql("insert into UNIDADE (IDUNIDADE, DESCRICAO) values (1, 'UN')");
    EXPECT_EQ(a.valor("select count(*) from UNIDADE"), "1");
    EXPECT_EQ(b.valor("select count(*) from UNIDADE"), "0");
    // The configuration rows every ZUV database has.
    EXPECT_EQ(b.consulta("select IDCLIDONO, IDTRIBCFOP from CLIDONO"),
              (BancoDeTeste::Linhas{{"1", "<null>"}}));
    EXPECT_EQ(b.valor("select PRODUTOESTOQUEALIQICMS from CLIDONO3"), "N");

    std::ifstream ini(a.pastaPrograma() / "zuv.ini");
    std::string primeira;
    std::getline(ini, primeira);
    EXPECT_EQ(primeira, a.pastaDados().string());
    EXPECT_EQ(a.textoConexao(), " provider=LCPI.IBProvider.1;data source=" + a.caminho().string() +
                                    "; user id=sysdba;password=quartzine; ctype=none;auto_commit=true;"
                                    "Persist Security Info=True");
  }
  EXPECT_FALSE(std::filesystem::exists(pasta));
}

TEST(BancoDeTeste, TextoAcentuadoGravadoEmWindows1252) {
  BancoDeTeste banco;
  banco.executaIsql("insert into CLIENTE (IDCLIENTE, CLIENTE) values (1, 'AÇÃO € “CIA”')");
  // One byte per character in the database; read back as the same UTF-8 text.
  EXPECT_EQ(banco.consulta("select CLIENTE, octet_length(CLIENTE) from CLIENTE"),
            (BancoDeTeste::Linhas{{"AÇÃO € “CIA”", "12"}}));
  EXPECT_EQ(banco.valor("select ascii_val(substring(CLIENTE from 2 for 1)) from CLIENTE"), "199");
  // A character that Windows-1252 lacks arrives as '?'.
  EXPECT_EQ(utf8ParaWin1252("ŁÓDŹ"),
            "?\xD3"
            "D?");
}

TEST(BancoDeTeste, ErroDeComandoTrazMensagemDoIsql) {
  BancoDeTeste banco;
  try {
    banco.executaIsql(
        "insert into UNIDADE (IDUNIDADE) values (1);\ninsert into UNIDADE (IDUNIDADE) values (1);");
    FAIL() << "duplicate key accepted";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("PK_UNIDADE"), std::string::npos) << e.what();
  }
  // The script stops at the failing statement and nothing of it is committed.
  EXPECT_EQ(banco.valor("select count(*) from UNIDADE"), "0");
  EXPECT_THROW(banco.consulta("select x from TABELA_QUE_NAO_EXISTE"), std::runtime_error);
}

TEST(BancoDeTeste, ConsultaSemLinhasEComValoresVazios) {
  BancoDeTeste banco;
  EXPECT_TRUE(banco.consulta("select * from PRODUTO").empty());
  EXPECT_EQ(banco.valor("select IDPRODUTO from PRODUTO"), "");
  banco.executaIsql("insert into PRODUTO (IDPRODUTO, DESCRICAO, DESCRICAOIMP) values (1, '', '  A B')");
  EXPECT_EQ(banco.consulta("select DESCRICAO, DESCRICAOIMP, 12.5 from PRODUTO"),
            (BancoDeTeste::Linhas{{"", "  A B", "12.5"}}));
}

TEST(BancoDeTeste, LiberaParaOUsuarioDoServidor) {
  BancoDeTeste banco;
  banco.liberaParaServidor();
  using std::filesystem::perms;
  EXPECT_EQ(std::filesystem::status(banco.pastaDados()).permissions() & perms::others_all, perms::others_all);
  EXPECT_EQ(std::filesystem::status(banco.caminho()).permissions() & perms::others_all,
            perms::others_read | perms::others_write);
}

TEST(BancoDeTeste, BancoSyspdvEOutrosCaminhos) {
  BancoDeTeste banco;
  auto origem = banco.pastaPrograma() / "BancoOrigem" / "syspdv_srv.fdb";
  BancoDeTeste::criaBanco(origem, kFixtureSYSPDV);
  BancoDeTeste::executaIsql(origem,
                            "insert into GRUPO (GRPCOD, SECCOD, GRPDES) values ('01', '01', 'BEBIDAS')");
  EXPECT_EQ(BancoDeTeste::consulta(origem, "select GRPDES from GRUPO"), (BancoDeTeste::Linhas{{"BEBIDAS"}}));
}

}  // namespace
}  // namespace zuv::teste
