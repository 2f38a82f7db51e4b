#include "platform/Conexao.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "common/Erro.h"
#include "platform/BancoVazio.h"

namespace zuv {
namespace {

using teste::BancoVazio;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

TEST(ParametrosConexao, LeAsChavesDaCadeiaDoZUV) {
  auto p = ParametrosConexao::deTexto(
      " provider=LCPI.IBProvider.1;data source=C:\\ZUV\\Dados\\VENDAS.FDB; user id=sysdba;"
      "password=quartzine; ctype=none;auto_commit=true;Persist Security Info=True");
  EXPECT_TRUE(p.usuario == "sysdba" && p.autoCommit && p.textoWindows1252());
  // The database pair writes the path followed by " ;"; keys in any case, blanks around them.
  p = ParametrosConexao::deTexto("Data Source = \\srv\\zuv\\ORIGEM.FDB ;USER ID=a; Auto_Commit = False;x=y");
  EXPECT_TRUE(p.caminhoBanco() == "/srv/zuv/ORIGEM.FDB" && p.usuario == "a" && !p.autoCommit);
  for (std::string servidor : {"localhost:/dados/VENDAS.FDB", "servidor/3051:C:\\ZUV\\VENDAS.FDB"})
    EXPECT_EQ(ParametrosConexao::deTexto("data source=" + servidor).caminhoBanco(), servidor);
  EXPECT_THROW(ParametrosConexao::deTexto("user id=sysdba;password=x"), ErroConfiguracao);
  EXPECT_THROW(ParametrosConexao::deTexto("data source=/a;auto_commit=talvez"), ErroConfiguracao);
}

// Two connections a and b to a database with one table.
class ConexaoTest : public ::testing::Test {
 protected:
  static std::string comTabela(const BancoVazio& banco) {
    Conexao c(banco.conexao());
    c.executa(
        "create table UNIDADE (IDUNIDADE int not null primary key, DESCRICAO varchar(20), "
        "QTDECIMAL numeric(15,4))");
    return banco.conexao();
  }
  static int conta(Conexao& c) {
    return static_cast<int>(c.abre("select count(*) from UNIDADE").valor(0).comoInteiro());
  }
  static void insere(Conexao& c, int id) {
    c.executa("insert into UNIDADE (IDUNIDADE) values (" + std::to_string(id) + ")");
  }
  BancoVazio banco;
  Conexao a{comTabela(banco)};
  Conexao b{banco.conexao()};
};

TEST_F(ConexaoTest, AutoCommitTransacoesExplicitasEDesfazAoFechar) {
  insere(a, 1);
  EXPECT_EQ(conta(b), 1);
  EXPECT_THROW(insere(a, 1), ErroBanco);  // what ran before a failure stays
  // Without auto_commit the statements wait for confirma; closing drops what was not confirmed.
  std::string texto = banco.conexao();
  Conexao m(texto.replace(texto.find("auto_commit=true"), 16, "auto_commit=false"));
  insere(m, 2);
  EXPECT_EQ(conta(b), 1);
  m.confirma();
  insere(m, 3);
  m.fecha();
  EXPECT_EQ(conta(b), 2);

  // An explicit transaction is confirmed in batches, and undone by desfaz, fecha or destruction.
  a.iniciaTransacao();
  EXPECT_THROW(a.iniciaTransacao(), ErroBanco);
  for (int i = 3; i <= 5; ++i)
    insere(a, i);
  EXPECT_EQ(conta(a), 5);  // its own rows are visible inside the transaction
  EXPECT_EQ(conta(b), 2);
  a.confirma();
  EXPECT_EQ(conta(b), 5);
  a.iniciaTransacao();
  a.executa("delete from UNIDADE");
  a.desfaz();
  EXPECT_EQ(conta(b), 5);
  a.iniciaTransacao();
  a.executa("delete from UNIDADE");
  a.fecha();  // closing with a transaction open rolls it back
  {
    Conexao c(banco.conexao());
    c.iniciaTransacao();
    c.executa("delete from UNIDADE");
  }  // and so does destroying it
  EXPECT_EQ(conta(b), 5);
}

TEST_F(ConexaoTest, ModoAtomicoSoConfirmaNoFim) {
  a.defineAtomica(true);
  insere(a, 1);
  a.iniciaTransacao();  // the run's own batches do not end the whole-run transaction
  insere(a, 2);
  a.confirma();
  EXPECT_EQ(conta(b), 0);
  a.desfazAtomica();
  a.defineAtomica(true);
  insere(a, 3);
  a.defineAtomica(false);
  EXPECT_EQ(conta(b), 1);
  a.defineAtomica(true);
  insere(a, 4);
  a.fecha();  // a run that never finished
  EXPECT_EQ(conta(b), 1);
}

TEST_F(ConexaoTest, RecordsetInstantaneoComNomesSemCaixaEValoresExatos) {
  a.executa("insert into UNIDADE values (1, 'UN', 1234567890.1234)");
  auto rs = a.abre("select IdUnidade, Descricao as Nome, QTDECIMAL from unidade order by 1");
  a.executa("delete from unidade");  // the snapshot does not change when the table does
  EXPECT_EQ(rs.valor(" nome ").comoTexto(), "UN");
  EXPECT_EQ(rs.valor("qtdecimal").comoDecimal(), (Decimal{12345678901234, 4}));
  EXPECT_THROW(rs.valor("Descricao"), ErroBanco);

  a.executa("create table T (N2 NUMERIC(15,2), N9 DECIMAL(18,2), U CHAR(4) CHARACTER SET UTF8)");
  a.executa("insert into T values (0.1 + 0.2, 9999999999999999.99, 'ab')");
  rs = a.abre("select * from T");
  EXPECT_EQ(rs.valor("N2").comoDecimal(), (Decimal{30, 2}));  // exactly, not as a double
  EXPECT_EQ(rs.valor("N9").comoDecimal(), (Decimal{999999999999999999, 2}));
  EXPECT_EQ(rs.valor("U").comoTexto(), "ab  ");  // CHAR keeps its blanks, one per character
}

TEST_F(ConexaoTest, TextoViajaEmWindows1252) {
  a.executa("insert into UNIDADE (IdUnidade, Descricao) values (1, 'Ação € ñ')");
  auto rs = a.abre(
      "select Descricao, octet_length(Descricao), ascii_val(substring(Descricao from 6 for 1)) "
      "from UNIDADE where Descricao like 'Aç%'");
  EXPECT_EQ(rs.valor(0).comoTexto(), "Ação € ñ");
  EXPECT_EQ(rs.valor(1).comoInteiro(), 8);     // one byte per character
  EXPECT_EQ(rs.valor(2).comoInteiro(), 0x80);  // €
  // A character Windows-1252 does not have stops the statement with a clear error.
  EXPECT_THAT([&] { a.executa("insert into UNIDADE values (2, 'Caixa ✓', 0)"); },
              ThrowsMessage<ErroConversao>(HasSubstr("U+2713")));
  EXPECT_THAT(a.descricaoErro(), HasSubstr("U+2713"));
  EXPECT_EQ(conta(a), 1);
}

// Statement forms of the ZUV system. abre runs plain selects in read-only transactions; what writes
// or locks still commits.
TEST_F(ConexaoTest, ComandosComoOSistemaOsEscreve) {
  a.executa("CREATE GENERATOR GEN_UNIDADE");
  a.executa("set GENERATOR GEN_UNIDADE TO 41");
  EXPECT_EQ(a.abre("SELECT gen_id(GEN_UNIDADE, 1) from rdb$database").valor(0).comoInteiro(), 42);
  EXPECT_EQ(b.abre("select gen_id(GEN_UNIDADE, 0) from rdb$database").valor(0).comoInteiro(), 42);
  a.executa("   Insert Into  Unidade (IDUNIDADE,DESCRICAO ,QTDECIMAL)   Values (1,'UN',3.50 )  ");
  insere(a, 2);
  EXPECT_EQ(a.abre(" Update Unidade Un SEt Un.QTDECIMAL = 10 where Un.Descricao = 'UN'").totalCampos(), 0);
  auto rs = b.abre("select Coalesce(DESCRICAO,'') as D, Coalesce(QTDECIMAL,'') as Q from Unidade order by 1");
  EXPECT_EQ(rs.valor("D").comoTexto(), "");
  rs.proximo();
  EXPECT_EQ(rs.valor("Q").comoTexto(), "10.0000");
  EXPECT_EQ(a.abre("select IdUnidade from UNIDADE for update").totalRegistros(), 2);
  EXPECT_FALSE(a.emTransacao());
  const std::string somenteLeitura =
      "select mon$read_only from mon$transactions where mon$transaction_id = current_transaction";
  EXPECT_EQ(a.abre(somenteLeitura).valor(0).comoInteiro(), 1);
  a.iniciaTransacao();  // an explicit transaction is the caller's, read-write
  EXPECT_EQ(a.abre(somenteLeitura).valor(0).comoInteiro(), 0);
}

TEST_F(ConexaoTest, ComandoRecusadoDaADescricaoDoMotor) {
  EXPECT_THAT([&] { a.executa("Delete from TabelaQueNaoExiste"); },
              ThrowsMessage<ErroBanco>(AllOf(HasSubstr("Table unknown"), HasSubstr("TABELAQUENAOEXISTE"))));
  EXPECT_THAT(a.descricaoErro(), HasSubstr("TABELAQUENAOEXISTE"));
  EXPECT_THAT([&] { a.abre("select NaoHa from UNIDADE"); }, ThrowsMessage<ErroBanco>(HasSubstr("NAOHA")));
  EXPECT_EQ(conta(a), 0);  // the connection goes on working
  a.fecha();
  EXPECT_THAT([&] { a.executa("delete from UNIDADE"); }, ThrowsMessage<ErroBanco>(HasSubstr("fechada")));
}

TEST(ConexaoAbertura, ArquivoAusenteOuQueNaoEBanco) {
  BancoVazio pasta(false);
  EXPECT_THAT(
      [&] { Conexao c(pasta.conexao()); },
      ThrowsMessage<ErroBanco>(AllOf(HasSubstr(pasta.caminho), HasSubstr("No such file or directory"))));
  std::ofstream(pasta.caminho) << std::string(20000, 'x');
  EXPECT_THAT([&] { Conexao c(pasta.conexao()); },
              ThrowsMessage<ErroBanco>(HasSubstr("not a valid database")));
}

// A row another transaction holds, or a file another program's embedded engine holds, fails after
// the lock time-out instead of hanging.
TEST_F(ConexaoTest, LinhaOuBancoPresoFalhaSemTravar) {
  const auto limite = std::chrono::seconds(Conexao::kEsperaBloqueioSegundos + 5);
  insere(a, 1);
  a.iniciaTransacao();
  a.executa("update UNIDADE set Descricao = 'A' where IdUnidade = 1");
  auto inicio = std::chrono::steady_clock::now();
  EXPECT_THAT([&] { b.executa("update UNIDADE set Descricao = 'B' where IdUnidade = 1"); },
              ThrowsMessage<ErroBanco>(HasSubstr("lock")));
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, limite);
  a.fecha();
  b.fecha();

  const std::string isqlFb = "isql-fb -q -user SYSDBA -password quartzine " + banco.caminho + " >/dev/null";
  FILE* isql = popen(isqlFb.c_str(), "w");
  std::fputs("select 1 from rdb$database;\n", isql);
  std::fflush(isql);
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  inicio = std::chrono::steady_clock::now();
  EXPECT_THROW(Conexao c(banco.conexao()), ErroBanco);
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, limite);
  std::fputs("quit;\n", isql);
  pclose(isql);
  Conexao depois(banco.conexao());
  EXPECT_EQ(conta(depois), 1);
}

}  // namespace
}  // namespace zuv
