#include "platform/Conexao.h"

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

TEST(ParametrosConexao, LeAsChavesDaCadeiaDoZUV) {
  auto p = ParametrosConexao::deTexto(
      " provider=LCPI.IBProvider.1;data source=C:\\ZUV\\Dados\\VENDAS.FDB; user id=sysdba;"
      "password=quartzine; ctype=none;auto_commit=true;Persist Security Info=True");
  EXPECT_EQ(p.fonteDados, "C:\\ZUV\\Dados\\VENDAS.FDB");
  EXPECT_EQ(p.usuario, "sysdba");
  EXPECT_EQ(p.senha, "quartzine");
  EXPECT_EQ(p.ctype, "none");
  EXPECT_TRUE(p.autoCommit);
  EXPECT_TRUE(p.textoWindows1252());

  // The database pair writes the path followed by " ;"; keys in any case, blanks around them.
  p = ParametrosConexao::deTexto("Data Source = \\srv\\zuv\\ORIGEM.FDB ;USER ID=a; Auto_Commit = False;x=y");
  EXPECT_EQ(p.fonteDados, "\\srv\\zuv\\ORIGEM.FDB");
  EXPECT_EQ(p.caminhoBanco(), "/srv/zuv/ORIGEM.FDB");
  EXPECT_EQ(p.usuario, "a");
  EXPECT_FALSE(p.autoCommit);

  EXPECT_THROW(ParametrosConexao::deTexto("user id=sysdba;password=x"), ErroConfiguracao);
  EXPECT_THROW(ParametrosConexao::deTexto("data source=/a;auto_commit=talvez"), ErroConfiguracao);
}

TEST(ParametrosConexao, ServidorNomeadoFicaComoEscrito) {
  auto caminho = [](const std::string& fonte) {
    return ParametrosConexao::deTexto("data source=" + fonte).caminhoBanco();
  };
  EXPECT_EQ(caminho("localhost:/dados/VENDAS.FDB"), "localhost:/dados/VENDAS.FDB");
  EXPECT_EQ(caminho("servidor/3051:C:\\ZUV\\VENDAS.FDB"), "servidor/3051:C:\\ZUV\\VENDAS.FDB");
  EXPECT_EQ(caminho("/home/zuv/dados:2024/VENDAS.FDB"), "/home/zuv/dados:2024/VENDAS.FDB");
  EXPECT_EQ(caminho("/zuv/Dados\\\\VENDAS.FDB"), "/zuv/Dados//VENDAS.FDB");
}

class ConexaoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Conexao c(banco.conexao());
    c.executa(
        "CREATE TABLE UNIDADE (IDUNIDADE INTEGER NOT NULL PRIMARY KEY, DESCRICAO VARCHAR(20), "
        "QTDECIMAL NUMERIC(15,4), MEDIDAFRACAO CHAR(1))");
  }
  int conta(Conexao& c, const std::string& tabela = "UNIDADE") {
    auto rs = c.abre("select count(*) from " + tabela);
    return static_cast<int>(rs.valor(0).comoInteiro());
  }
  BancoVazio banco;
};

TEST_F(ConexaoTest, CadaComandoConfirmaSozinhoEOutraConexaoOVe) {
  Conexao a(banco.conexao());
  Conexao b(banco.conexao());
  a.executa("insert into Unidade (IdUnidade, Descricao) values (1, 'UN')");
  EXPECT_FALSE(a.emTransacao());
  EXPECT_EQ(conta(b), 1);
  // What ran before a failure stays.
  EXPECT_THROW(a.executa("insert into Unidade (IdUnidade, Descricao) values (1, 'KG')"), ErroBanco);
  a.executa("insert into Unidade (IdUnidade, Descricao) values (2, 'KG')");
  a.fecha();
  EXPECT_EQ(conta(b), 2);
}

TEST_F(ConexaoTest, TransacaoExplicitaConfirmaEmLotes) {
  Conexao a(banco.conexao());
  Conexao b(banco.conexao());
  a.iniciaTransacao();
  EXPECT_THROW(a.iniciaTransacao(), ErroBanco);
  for (int i = 1; i <= 5; ++i)
    a.executa("insert into Unidade (IdUnidade) values (" + std::to_string(i) + ")");
  EXPECT_EQ(conta(a), 5);  // its own rows are visible inside the transaction
  EXPECT_EQ(conta(b), 0);
  a.confirma();
  EXPECT_EQ(conta(b), 5);
  EXPECT_THROW(a.confirma(), ErroBanco);

  a.iniciaTransacao();
  a.executa("delete from Unidade");
  a.desfaz();
  EXPECT_EQ(conta(b), 5);

  // Closing with a transaction open rolls it back.
  a.iniciaTransacao();
  a.executa("delete from Unidade");
  a.fecha();
  EXPECT_EQ(conta(b), 5);
  Conexao c(banco.conexao());
  c.iniciaTransacao();
  c.executa("insert into Unidade (IdUnidade) values (9)");
}  // c is destroyed with its transaction open

TEST_F(ConexaoTest, DestruirComTransacaoAbertaDesfaz) {
  {
    Conexao c(banco.conexao());
    c.iniciaTransacao();
    c.executa("insert into Unidade (IdUnidade) values (9)");
  }
  Conexao b(banco.conexao());
  EXPECT_EQ(conta(b), 0);
}

TEST_F(ConexaoTest, ModoAtomicoSoConfirmaNoFim) {
  Conexao a(banco.conexao());
  Conexao b(banco.conexao());
  a.defineAtomica(true);
  a.executa("insert into Unidade (IdUnidade) values (1)");
  a.iniciaTransacao();  // the run's own batches do not end the whole-run transaction
  a.executa("insert into Unidade (IdUnidade) values (2)");
  a.confirma();
  EXPECT_EQ(conta(b), 0);
  a.desfazAtomica();
  EXPECT_FALSE(a.atomica());
  EXPECT_EQ(conta(b), 0);

  a.defineAtomica(true);
  a.executa("insert into Unidade (IdUnidade) values (3)");
  a.defineAtomica(false);
  EXPECT_EQ(conta(b), 1);

  a.defineAtomica(true);
  a.executa("insert into Unidade (IdUnidade) values (4)");
  a.fecha();  // a run that never finished
  EXPECT_EQ(conta(b), 1);
}

TEST_F(ConexaoTest, SemAutoCommitSoConfirmaQuandoPedido) {
  std::string texto = banco.conexao();
  texto.replace(texto.find("auto_commit=true"), 16, "auto_commit=false");
  Conexao a(texto);
  Conexao b(banco.conexao());
  a.executa("insert into Unidade (IdUnidade) values (1)");
  EXPECT_TRUE(a.emTransacao());
  EXPECT_EQ(conta(b), 0);
  a.confirma();
  EXPECT_EQ(conta(b), 1);
  a.executa("insert into Unidade (IdUnidade) values (2)");
  a.fecha();
  EXPECT_EQ(conta(b), 1);
}

TEST_F(ConexaoTest, RecordsetInstantaneoComNomesSemCaixa) {
  Conexao c(banco.conexao());
  c.executa("insert into UNIDADE values (1, 'UN', 2.5, 'S')");
  c.executa("insert into UNIDADE values (2, NULL, NULL, NULL)");
  auto rs = c.abre("select IdUnidade, Descricao as Nome, QTDECIMAL, MedidaFracao from unidade order by 1");
  ASSERT_EQ(rs.totalRegistros(), 2);
  ASSERT_EQ(rs.totalCampos(), 4);
  EXPECT_EQ(rs.campo(0).nome, "IDUNIDADE");
  EXPECT_EQ(rs.campo(1).nome, "NOME");
  EXPECT_EQ(rs.campo(1).classe, ClasseTipo::Texto);
  EXPECT_EQ(rs.campo(2).classe, ClasseTipo::Numero);
  EXPECT_EQ(rs.valor("idunidade").comoInteiro(), 1);
  EXPECT_EQ(rs.valor(" nome ").comoTexto(), "UN");
  EXPECT_EQ(rs.valor("medidafracao").comoTexto(), "S");
  EXPECT_EQ(rs.posicaoCampo("Descricao"), -1);
  EXPECT_THROW(rs.valor("Descricao"), ErroBanco);

  // The snapshot does not change when the table does; a clone has its own position.
  c.executa("delete from unidade");
  auto copia = rs.clone();
  rs.proximo();
  EXPECT_TRUE(rs.valor("nome").nulo());
  EXPECT_TRUE(rs.valor(2).nulo());
  EXPECT_EQ(copia.valor(0).comoInteiro(), 1);
  rs.proximo();
  EXPECT_TRUE(rs.eof());
  EXPECT_THROW(rs.valor(0), ErroBanco);
  EXPECT_FALSE(copia.eof());
  rs.fecha();
  EXPECT_EQ(copia.totalRegistros(), 2);
}

TEST_F(ConexaoTest, TiposDoBancoViramValoresExatos) {
  Conexao c(banco.conexao());
  c.executa(
      "create table T (I INTEGER, S SMALLINT, B BIGINT, N2 NUMERIC(15,2), N4 NUMERIC(15,4), "
      "N9 DECIMAL(18,2), D DOUBLE PRECISION, F FLOAT, DT DATE, HR TIME, TS TIMESTAMP, "
      "TX BLOB SUB_TYPE 1, U CHAR(4) CHARACTER SET UTF8)");
  c.executa(
      "insert into T values (2147483647, -7, 9007199254740993, 0.10, 1234567890.1234, "
      "9999999999999999.99, 0.5, 1.25, '12/31/2024', '23:59:58', '03/05/2024 10:11:12.3456', 'nota', 'ab')");
  c.executa("insert into T (N2) select N2 + 0.20 from T");
  auto rs = c.abre("select * from T order by N2");
  EXPECT_EQ(rs.valor("I").comoInteiro(), 2147483647);
  EXPECT_EQ(rs.valor("S").comoInteiro(), -7);
  EXPECT_EQ(rs.valor("B").comoInteiro(), 9007199254740993LL);
  EXPECT_EQ(rs.valor("N2").comoDecimal(), (Decimal{10, 2}));
  EXPECT_EQ(rs.valor("N4").comoDecimal(), (Decimal{12345678901234, 4}));
  EXPECT_EQ(rs.valor("N9").comoDecimal(), (Decimal{999999999999999999, 2}));
  EXPECT_EQ(rs.campo(rs.posicaoCampo("N4")).escala, 4);
  EXPECT_DOUBLE_EQ(rs.valor("D").comoReal(), 0.5);
  EXPECT_DOUBLE_EQ(rs.valor("F").comoReal(), 1.25);
  EXPECT_EQ(rs.valor("DT").comoData(), (Data{2024, 12, 31}));
  EXPECT_EQ(rs.valor("HR").comoHora(), (Hora{23, 59, 58, 0}));
  EXPECT_EQ(rs.valor("TS").comoDataHora(), (DataHora{{2024, 3, 5}, {10, 11, 12, 3456}}));
  EXPECT_EQ(rs.campo(rs.posicaoCampo("TS")).classe, ClasseTipo::DataHora);
  EXPECT_EQ(rs.valor("TX").comoTexto(), "nota");
  EXPECT_EQ(rs.valor("U").comoTexto(), "ab  ");  // CHAR keeps its blanks, one per character
  rs.proximo();
  EXPECT_EQ(rs.valor("N2").comoDecimal(), (Decimal{30, 2}));  // 0.1 + 0.2, exactly

  // An exact value read from one database goes into another unchanged through its text.
  const std::string texto = Decimal{12345678901234, 4}.texto();
  c.executa("update T set N4 = " + texto);
  EXPECT_EQ(c.abre("select max(N4) from T").valor(0).comoDecimal(), (Decimal{12345678901234, 4}));
}

TEST_F(ConexaoTest, TextoViajaEmWindows1252) {
  Conexao c(banco.conexao());
  c.executa("insert into Unidade (IdUnidade, Descricao) values (1, 'Ação € ñ')");
  auto bytes = c.abre(
      "select octet_length(Descricao), ascii_val(substring(Descricao from 2 for 1)), "
      "ascii_val(substring(Descricao from 3 for 1)), ascii_val(substring(Descricao from 6 for 1)) "
      "from Unidade");
  EXPECT_EQ(bytes.valor(0).comoInteiro(), 8);     // one byte per character
  EXPECT_EQ(bytes.valor(1).comoInteiro(), 0xE7);  // ç
  EXPECT_EQ(bytes.valor(2).comoInteiro(), 0xE3);  // ã
  EXPECT_EQ(bytes.valor(3).comoInteiro(), 0x80);  // €
  EXPECT_EQ(c.abre("select Descricao from Unidade where Descricao like 'Aç%'").valor(0).comoTexto(),
            "Ação € ñ");

  // A character Windows-1252 does not have stops the statement with a clear error.
  try {
    c.executa("insert into Unidade (IdUnidade, Descricao) values (2, 'Caixa ✓')");
    FAIL() << "sem erro";
  } catch (const ErroConversao& e) {
    EXPECT_NE(std::string(e.what()).find("U+2713"), std::string::npos) << e.what();
    EXPECT_EQ(c.descricaoErro(), e.what());
  }
  EXPECT_EQ(conta(c), 1);
}

TEST_F(ConexaoTest, ComandosComoOSistemaOsEscreve) {
  Conexao c(banco.conexao());
  c.executa("CREATE GENERATOR GEN_PRODUTO");
  c.executa(
      "CREATE TABLE ProdutoEstoque (IDITEMPRODUTO INTEGER NOT NULL PRIMARY KEY, BARRA VARCHAR(20), "
      "ESTOQUEATUAL NUMERIC(15,4), IDNCM INTEGER, VENDAATUAL NUMERIC(15,2))");
  c.executa("set GENERATOR GEN_PRODUTO TO 41");
  EXPECT_EQ(c.abre("select gen_id(GEN_PRODUTO, 1) from rdb$database").valor(0).comoInteiro(), 42);
  c.executa("   Insert Into  ProdutoEstoque (IDITEMPRODUTO,BARRA ,VENDAATUAL)   Values (1,'789',3.50 )  ");
  c.executa("Insert Into ProdutoEstoque (IDITEMPRODUTO,BARRA,IDNCM) Values (2,'790',7)");
  c.executa("Update ProdutoEstoque Estoque SEt Estoque.ESTOQUEATUAL = 10 where Estoque.Barra = '789'");
  auto rs = c.abre("Select First 1 * from ProdutoEstoque order by IDITEMPRODUTO desc");
  EXPECT_EQ(rs.totalRegistros(), 1);
  EXPECT_EQ(rs.valor("barra").comoTexto(), "790");
  rs = c.abre(
      "select Coalesce(IDNCM,'') as NCM, Coalesce(VENDAATUAL,'') as PRECO from ProdutoEstoque order by 1");
  EXPECT_EQ(rs.valor("NCM").comoTexto(), "");
  EXPECT_EQ(rs.valor("PRECO").comoTexto(), "3.50");
  rs.proximo();
  EXPECT_EQ(rs.valor("NCM").comoTexto(), "7");
  rs = c.abre("Select max(IDITEMPRODUTO) IDITEMPRODUTO From ProdutoEstoque");
  EXPECT_EQ(rs.valor("iditemproduto").comoInteiro(), 2);
  EXPECT_EQ(c.abre("select EstoqueAtual from ProdutoEstoque where IDITEMPRODUTO = 1").valor(0).comoDecimal(),
            (Decimal{100000, 4}));
}

// abre runs plain selects in read-only transactions; what writes or locks still commits.
TEST_F(ConexaoTest, AbreComandosQueGravamOuTravam) {
  Conexao a(banco.conexao());
  Conexao b(banco.conexao());
  a.executa("insert into Unidade (IdUnidade, Descricao) values (1, 'UN')");
  EXPECT_EQ(a.abre(" update Unidade set Descricao = 'KG' where IdUnidade = 1").totalCampos(), 0);
  EXPECT_EQ(b.abre("select Descricao from Unidade").valor(0).comoTexto(), "KG");
  EXPECT_EQ(a.abre("  SELECT IdUnidade from Unidade with lock").valor(0).comoInteiro(), 1);
  EXPECT_EQ(a.abre("select IdUnidade from Unidade for update").valor(0).comoInteiro(), 1);
  a.executa("CREATE GENERATOR GEN_UNIDADE");
  EXPECT_EQ(a.abre("SELECT gen_id(GEN_UNIDADE, 1) from rdb$database").valor(0).comoInteiro(), 1);
  EXPECT_EQ(b.abre("select gen_id(GEN_UNIDADE, 0) from rdb$database").valor(0).comoInteiro(), 1);
  EXPECT_FALSE(a.emTransacao());
  const std::string somenteLeitura =
      "select mon$read_only from mon$transactions where mon$transaction_id = current_transaction";
  EXPECT_EQ(a.abre(somenteLeitura).valor(0).comoInteiro(), 1);
  a.iniciaTransacao();  // an explicit transaction is the caller's, read-write
  EXPECT_EQ(a.abre(somenteLeitura).valor(0).comoInteiro(), 0);
  a.desfaz();
}

TEST_F(ConexaoTest, ComandoRecusadoDaADescricaoDoMotor) {
  Conexao c(banco.conexao());
  EXPECT_EQ(c.descricaoErro(), "");
  try {
    c.executa("Delete from TabelaQueNaoExiste");
    FAIL() << "sem erro";
  } catch (const ErroBanco& e) {
    const std::string msg = e.what();
    EXPECT_NE(msg.find("Table unknown"), std::string::npos) << msg;
    EXPECT_NE(msg.find("TABELAQUENAOEXISTE"), std::string::npos) << msg;
    EXPECT_EQ(e.codigoSql(), -204);
    EXPECT_EQ(c.descricaoErro(), msg);
  }
  EXPECT_THROW(c.abre("select NaoHa from Unidade"), ErroBanco);
  EXPECT_NE(c.descricaoErro().find("NAOHA"), std::string::npos) << c.descricaoErro();
  EXPECT_EQ(conta(c), 0);  // the connection goes on working

  c.fecha();
  c.fecha();
  EXPECT_FALSE(c.aberta());
  try {
    c.executa("delete from Unidade");
    FAIL() << "sem erro";
  } catch (const ErroBanco& e) {
    EXPECT_NE(std::string(e.what()).find("fechada"), std::string::npos);
  }
}

TEST(ConexaoAbertura, ArquivoAusenteOuQueNaoEBanco) {
  BancoVazio pasta(false);
  try {
    Conexao c(pasta.conexao());
    FAIL() << "abriu";
  } catch (const ErroBanco& e) {
    const std::string msg = e.what();
    EXPECT_NE(msg.find(pasta.caminho), std::string::npos) << msg;
    EXPECT_NE(msg.find("No such file or directory"), std::string::npos) << msg;
  }
  std::ofstream(pasta.caminho) << std::string(20000, 'x');
  try {
    Conexao c(pasta.conexao());
    FAIL() << "abriu";
  } catch (const ErroBanco& e) {
    EXPECT_NE(std::string(e.what()).find("not a valid database"), std::string::npos) << e.what();
  }
  EXPECT_THROW(Conexao("data source=C:\\ZUV\\Dados\\VENDAS.FDB;user id=sysdba"), ErroBanco);
}

// A table row that another transaction holds fails after the lock time-out instead of hanging.
TEST_F(ConexaoTest, LinhaPresaEsperaOLimiteENaoTrava) {
  Conexao a(banco.conexao());
  Conexao b(banco.conexao());
  a.executa("insert into Unidade (IdUnidade) values (1)");
  a.iniciaTransacao();
  a.executa("update Unidade set Descricao = 'A' where IdUnidade = 1");
  const auto inicio = std::chrono::steady_clock::now();
  EXPECT_THROW(b.executa("update Unidade set Descricao = 'B' where IdUnidade = 1"), ErroBanco);
  const auto segundos =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - inicio).count();
  EXPECT_LE(segundos, Conexao::kEsperaBloqueioSegundos + 5);
  EXPECT_NE(b.descricaoErro().find("lock"), std::string::npos) << b.descricaoErro();
  a.confirma();
  b.executa("update Unidade set Descricao = 'B' where IdUnidade = 1");
}

// Another program holding the file with its own embedded engine: the open fails with the engine's
// description at once.
TEST_F(ConexaoTest, BancoPresoPorOutroProgramaFalhaSemTravar) {
  const std::string cmd = "isql-fb -q -user SYSDBA -password quartzine " + banco.caminho + " >/dev/null 2>&1";
  FILE* isql = popen(cmd.c_str(), "w");
  ASSERT_NE(isql, nullptr);
  std::fputs("select 1 from rdb$database;\n", isql);
  std::fflush(isql);
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  const auto inicio = std::chrono::steady_clock::now();
  EXPECT_THROW(Conexao c(banco.conexao()), ErroBanco);
  EXPECT_LT(std::chrono::steady_clock::now() - inicio,
            std::chrono::seconds(Conexao::kEsperaBloqueioSegundos + 5));
  std::fputs("quit;\n", isql);
  pclose(isql);
  Conexao depois(banco.conexao());
  EXPECT_EQ(conta(depois), 0);
}

}  // namespace
}  // namespace zuv
