// A Firebird server that stops answering in the middle of a run (its process stopped with
// SIGSTOP, as a frozen machine or a dropped network leaves the socket): the waiting call gives up
// after $ZUV_ESPERA_SERVIDOR seconds with a message saying so, and the commit rules hold: what was
// committed stays, the rest is rolled back by the server once it runs again. The server is one of
// the test's own on a private port; without the server package the tests skip.
#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "common/Erro.h"
#include "customers/AmbienteClientes.h"
#include "customers/ImportaClientes.h"
#include "support/ServidorPrivado.h"

namespace zuv::teste {
namespace {

using namespace std::chrono_literals;
using ::testing::StartsWith;

const std::string kParado = "O servidor do banco de dados parou de responder (nenhuma resposta em 2 s).";

class ServidorParadoTest : public AmbienteClientes {
 protected:
  void SetUp() override {
    AmbienteClientes::SetUp();
    conexao.reset();  // the file must be the server's alone
    if (!servidor.disponivel()) GTEST_SKIP() << servidor.motivo();
    ::setenv("ZUV_ESPERA_SERVIDOR", "2", 1);
  }
  void TearDown() override {
    servidor.descongela();
    ::unsetenv("ZUV_ESPERA_SERVIDOR");
  }
  std::string textoConexao() const {
    return "data source=" + servidor.fonte(banco->caminho()) +
           ";user id=SYSDBA;password=quartzine;ctype=none";
  }
  // id:name of every customer, through the server.
  std::string clientes() {
    Conexao c(textoConexao());
    std::string r;
    for (Recordset rs = c.abre("select idcliente, cliente from cliente order by idcliente"); !rs.eof();
         rs.proximo())
      r += (r.empty() ? "" : ",") + rs.valor(0).textoRegional(1) + ":" + rs.valor(1).textoRegional(1);
    return r;
  }
  ServidorPrivado servidor;
};

TEST_F(ServidorParadoTest, ACallWithoutAnswerGivesUpAndTheServerRollsBackWhatWasOpen) {
  Conexao c(textoConexao());
  c.executa("insert into cliente (idcliente, cliente, pf, ativo) values (1, 'CONFIRMADO', 'J', 'S')");
  c.iniciaTransacao();
  c.executa("insert into cliente (idcliente, cliente, pf, ativo) values (2, 'PENDENTE', 'J', 'S')");
  servidor.congela();
  const auto inicio = std::chrono::steady_clock::now();
  EXPECT_THAT(
      [&] { c.executa("insert into cliente (idcliente, cliente, pf, ativo) values (3, 'X', 'J', 'S')"); },
      ::testing::ThrowsMessage<ErroBanco>(StartsWith(kParado)));
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, 8s);
  EXPECT_EQ(c.descricaoErro().substr(0, kParado.size()), kParado);
  // The connection is gone; it says why rather than hanging again.
  EXPECT_THAT([&] { c.abre("select 1 from rdb$database"); },
              ::testing::ThrowsMessage<ErroBanco>(StartsWith(kParado)));
  EXPECT_FALSE(c.aberta());
  // A new connection to the frozen server gives up at the connect timeout.
  EXPECT_THAT([&] { Conexao nova(textoConexao()); },
              ::testing::ThrowsMessage<ErroBanco>(
                  StartsWith("O servidor do banco de dados não respondeu ao pedido de conexão em 10 s (")));

  servidor.descongela();
  // Row 2's transaction died with the link: its key is free again.
  Conexao outra(textoConexao());
  outra.executa("insert into cliente (idcliente, cliente, pf, ativo) values (2, 'DE NOVO', 'J', 'S')");
  EXPECT_EQ(clientes(), "1:CONFIRMADO,2:DE NOVO");
}

TEST_F(ServidorParadoTest, ACustomerImportEndsWithTheMessageAndKeepsTheCustomersCommitted) {
  if (::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") != 0) GTEST_SKIP() << "sem openpyxl";
  Tabela linhas{{"NOME", "ENDERECO"}};
  for (int i = 1; i <= 5000; ++i)
    linhas.push_back({"Cliente " + std::to_string(i), "Rua " + std::to_string(i)});
  planilha(linhas, pasta / kArquivoClientes);
  Conexao c(textoConexao());
  // The server stops once the import has committed its first customers (reading the workbook
  // takes a while on a loaded machine).
  std::chrono::steady_clock::time_point congelado;
  std::thread congelador([&] {
    {
      Conexao olho(textoConexao());
      for (int i = 0; i < 600 && olho.abre("select count(*) from cliente").valor(0).comoInteiro() == 0; ++i)
        std::this_thread::sleep_for(50ms);
    }
    congelado = std::chrono::steady_clock::now();
    servidor.congela();
  });
  ContextoExecucao ctx(tela, pasta.string());
  ctx.usaConexao(c);
  const Resultado r = executaNoContexto(ctx, ImportaClientes);
  const auto fim = std::chrono::steady_clock::now();
  congelador.join();
  const auto duracao = fim - congelado;
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_THAT(tela.mensagens[0].texto, StartsWith(kParado));
  EXPECT_LT(duracao, 15s);

  servidor.descongela();
  // Every customer the server confirmed is there whole, numbered without gaps.
  Conexao outra(textoConexao());
  Recordset rs = outra.abre("select count(*), max(idcliente), count(cliente) from cliente");
  const int64_t n = rs.valor(0).comoInteiro();
  EXPECT_GT(n, 0);
  EXPECT_LT(n, 5000);
  EXPECT_EQ(rs.valor(1).comoInteiro(), n);
  EXPECT_EQ(rs.valor(2).comoInteiro(), n);
}

}  // namespace
}  // namespace zuv::teste
