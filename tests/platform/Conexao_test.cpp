#include "platform/Conexao.h"
#include "common/InstrucaoSQL.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "common/Erro.h"
#include "support/BancoDeTeste.h"
#include "support/EstadoBanco.h"

namespace zuv {
namespace {

using teste::BancoDeTeste;
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
  // The ZUV string appends "\VENDAS.FDB" to a data folder on a POSIX server.
  EXPECT_EQ(ParametrosConexao::deTexto("data source=srv:/zuv/DADOS\\VENDAS.FDB").caminhoBanco(),
            "srv:/zuv/DADOS/VENDAS.FDB");
  EXPECT_THROW(ParametrosConexao::deTexto("user id=sysdba;password=x"), ErroConfiguracao);
  EXPECT_THROW(ParametrosConexao::deTexto("data source=/a;auto_commit=talvez"), ErroConfiguracao);
}

// Two connections a and b to a ZUV database whose UNIDADE table starts empty.
class ConexaoTest : public ::testing::Test {
 protected:
  static auto conta(Conexao& c) { return c.abre("select count(*) from UNIDADE").valor(0).comoInteiro(); }
  static void insere(Conexao& c, int id) {
    c.executa("insert into UNIDADE (IDUNIDADE) values (" + std::to_string(id) + ")");
  }
  BancoDeTeste banco;
  Conexao a{banco.textoConexao()};
  Conexao b{banco.textoConexao()};
};

TEST_F(ConexaoTest, AutoCommitTransacoesExplicitasEDesfazAoFechar) {
  insere(a, 1);
  EXPECT_EQ(conta(b), 1);
  EXPECT_THROW(insere(a, 1), ErroBanco);  // what ran before a failure stays
  // Without auto_commit the statements wait for confirma; closing drops what was not confirmed.
  std::string texto = banco.textoConexao();
  Conexao m(texto.replace(texto.find("auto_commit=true"), 16, "auto_commit=false"));
  insere(m, 2);
  m.confirma();
  insere(m, 3);
  m.fecha();
  EXPECT_EQ(conta(b), 2);

  // An explicit transaction is confirmed in batches and sees its own rows before that.
  a.iniciaTransacao();
  insere(a, 3);
  EXPECT_EQ(conta(a) - conta(b), 1);
  a.confirma();
  // desfaz, fecha and destruction each undo an open transaction.
  for (int modo = 0; modo < 3; ++modo) {
    Conexao c(banco.textoConexao());
    c.iniciaTransacao();
    c.executa("delete from UNIDADE");
    if (modo == 0) c.desfaz();
    if (modo == 1) c.fecha();
    EXPECT_EQ(c.emTransacao(), modo == 2);
  }
  EXPECT_EQ(conta(b), 3);
}

// A statement prepared once and executed with parameters writes what its literal text writes:
// each value is converted to the column's type as the literal of the same value is (rounding, dates
// from text, Windows-1252), and a value that does not fit fails alike.
TEST_F(ConexaoTest, ParametrosGravamOQueOLiteralGrava) {
  a.executa(
      "create table P (K INTEGER, N NUMERIC(15,4), M NUMERIC(15,2), I INTEGER, T VARCHAR(8), D DATE, "
      "R DOUBLE PRECISION)");
  const std::vector<std::vector<std::string>> casos = {
      {"1", " 12.345675", "-0.005", " 7", "'D''ÁGUA €'", "'12/31/2024'", " 66.6666666666667"},
      {"2", "0.00005", " 2.675", "-3", "'  ab  '", "Null", "1E+16"},
      {"3", "Null", "1234567890123", "Null", "''", "'02/29/2024'", " 0"},
  };
  for (const auto& c : casos) {
    Insercao literal("insert into P (");
    for (const char* coluna : {"K", "N", "M", "I", "T", "D", "R"})
      literal.variavel(coluna, c[literal.parametros().size()]);
    a.executa(literal.sql());
    a.executa(literal.sqlComParametros(), [&] {
      auto v = literal.parametros();
      v[0] = Valor(int64_t{std::stoi(c[0]) + 10});
      return v;
    }());
  }
  const auto linhas = teste::consultaValores(a, "select N, M, I, T, D, R from P order by K");
  ASSERT_EQ(linhas.size(), 6u);
  for (size_t i = 0; i < 3; ++i)
    EXPECT_EQ(linhas[i + 3], linhas[i]) << i;
  EXPECT_EQ(linhas[0][0], Valor(Decimal{123457, 4}));
  EXPECT_EQ(linhas[0][3], Valor("D'ÁGUA €"));
  // Too long for the column, through either form.
  EXPECT_THROW(a.executa("insert into P (K, T) values (4, '123456789')"), ErroBanco);
  EXPECT_THROW(a.executa("insert into P (K, T) values (?, ?)", {Valor(int64_t{4}), Valor("123456789")}),
               ErroBanco);
}

// Names in any case; a snapshot that the table's later changes do not touch; exact decimals;
// Windows-1252 text one byte per character, and a clear error for a character outside it.
TEST_F(ConexaoTest, RecordsetInstantaneoComNomesSemCaixaValoresExatosEWindows1252) {
  a.executa("create table T (N4 NUMERIC(15,4), N9 DECIMAL(18,2), U CHAR(4) CHARACTER SET UTF8)");
  a.executa("insert into T values (1234567890.1234, 9999999999999999.99, 'ab')");
  auto rs = a.abre("select * from T");
  EXPECT_EQ(rs.valor("n4").comoDecimal(), (Decimal{12345678901234, 4}));  // exactly, not as a double
  EXPECT_EQ(rs.valor("N9").comoDecimal(), (Decimal{999999999999999999, 2}));
  EXPECT_EQ(rs.valor("U").comoTexto(), "ab  ");  // CHAR keeps its blanks, one per character

  a.executa("insert into UNIDADE (IdUnidade, Descricao) values (1, 'Ação €')");
  rs = a.abre(
      "select Descricao as Nome, octet_length(Descricao), ascii_val(substring(Descricao from 6 for 1)) "
      "from unidade where Descricao like 'Aç%'");
  a.executa("delete from unidade");
  EXPECT_EQ(rs.valor(" nome ").comoTexto(), "Ação €");
  EXPECT_EQ(rs.valor(1).comoInteiro(), 6);
  EXPECT_EQ(rs.valor(2).comoInteiro(), 0x80);  // €
  EXPECT_THROW(rs.valor("Descricao"), ErroBanco);
  EXPECT_THAT([&] { a.executa("insert into UNIDADE (IdUnidade, Descricao) values (2, 'Cx ✓')"); },
              ThrowsMessage<ErroConversao>(HasSubstr("U+2713")));
  EXPECT_THAT(a.descricaoErro(), HasSubstr("U+2713"));
  // The client library would run "delete from unidade" alone: a NUL keeps the statement back.
  a.executa("insert into UNIDADE (IdUnidade, Descricao) values (3, 'Cx')");
  EXPECT_THAT([&] { a.executa(std::string("delete from unidade\0 where IdUnidade = 4", 40)); },
              ThrowsMessage<ErroConversao>(HasSubstr("caractere nulo (\\u0000)")));
  EXPECT_EQ(conta(a), 1);
}

// Statement forms of the ZUV system. abre runs plain selects in read-only transactions; what writes
// or locks still commits.
TEST_F(ConexaoTest, ComandosComoOSistemaOsEscreve) {
  a.executa("   Insert Into  Unidade (IDUNIDADE,DESCRICAO ,QTDECIMAL)   Values (1,'UN',3 )  ");
  insere(a, 2);
  EXPECT_EQ(a.abre(" Update Unidade Un SEt Un.QTDECIMAL = 10 where Un.Descricao = 'UN'").totalCampos(), 0);
  EXPECT_EQ(b.abre("select QTDECIMAL from Unidade where IdUnidade = 1").valor(0).comoInteiro(), 10);
  EXPECT_EQ(a.abre("select IdUnidade from UNIDADE for update with lock").totalRegistros(), 2);
  EXPECT_FALSE(a.emTransacao());
  const std::string somenteLeitura =
      "select mon$read_only from mon$transactions where mon$transaction_id = current_transaction";
  EXPECT_EQ(a.abre(somenteLeitura).valor(0).comoInteiro(), 1);
  a.iniciaTransacao();  // an explicit transaction is the caller's, read-write
  EXPECT_EQ(a.abre(somenteLeitura).valor(0).comoInteiro(), 0);
  // A refused statement carries the engine's description; the connection goes on working.
  EXPECT_THAT([&] { a.executa("Delete from TabelaQueNaoExiste"); },
              ThrowsMessage<ErroBanco>(AllOf(HasSubstr("Table unknown"), HasSubstr("TABELAQUENAOEXISTE"))));
  EXPECT_THAT(a.descricaoErro(), HasSubstr("TABELAQUENAOEXISTE"));
  EXPECT_EQ(conta(a), 2);
  a.fecha();
  EXPECT_THAT([&] { a.executa("delete from UNIDADE"); }, ThrowsMessage<ErroBanco>(HasSubstr("fechada")));
}

// A row another transaction holds, or a file another program's embedded engine holds, fails after
// the lock time-out instead of hanging.
TEST_F(ConexaoTest, BloqueioFalhaSemTravar) {
  auto semTravar = [](auto comando) {
    const auto inicio = std::chrono::steady_clock::now();
    EXPECT_THROW(comando(), ErroBanco);
    EXPECT_LT(std::chrono::steady_clock::now() - inicio,
              std::chrono::seconds(Conexao::kEsperaBloqueioSegundos + 5));
  };
  insere(a, 1);
  a.iniciaTransacao();
  a.executa("update UNIDADE set Descricao = 'A' where IdUnidade = 1");
  semTravar([&] { b.executa("update UNIDADE set Descricao = 'B' where IdUnidade = 1"); });
  EXPECT_THAT(b.descricaoErro(), HasSubstr("lock"));
  a.fecha();
  b.fecha();
  FILE* isql = popen(
      ("isql-fb -q -user SYSDBA -password quartzine " + banco.caminho().string() + " >/dev/null").c_str(),
      "w");
  std::fputs("select 1 from rdb$database;\n", isql);
  std::fflush(isql);
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  semTravar([&] { Conexao c(banco.textoConexao()); });
  std::fputs("quit;\n", isql);
  pclose(isql);
}

}  // namespace
}  // namespace zuv
