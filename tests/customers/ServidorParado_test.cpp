// A Firebird server that stops answering in the middle of a run (its process stopped with
// SIGSTOP, as a frozen machine or a dropped network leaves the socket): the waiting call gives up
// after $ZUV_ESPERA_SERVIDOR seconds with a message saying so, and the commit rules hold: what was
// committed stays, the rest is rolled back by the server once it runs again. The server is one of
// the test's own on a private port; without the server package the tests skip.
#include <gmock/gmock.h>

#include "common/Erro.h"
#include "customers/AmbienteClientes.h"
#include "migration/AmbienteProdutos.h"
#include "migration/ImportaPlanilhaProduto.h"
#include "support/ServidorPrivado.h"

namespace zuv::teste {
namespace {

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
  ServidorPrivado servidor;
};

// The product import commits every five rows: the cut ends it at its row with one message, and
// the change report counts only what the server had committed, saying apart what it undid.
TEST_F(ServidorParadoTest, AProductImportStopsAtTheCutAndReportsOnlyWhatWasCommitted) {
  if (::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") != 0) GTEST_SKIP() << "sem openpyxl";
  Tabela linhas{kCabecalhoProduto};
  for (int i = 1; i <= 20; ++i)
    linhas.push_back({std::to_string(i), "Produto " + std::to_string(i), "UN", "1,00", "2,00"});
  planilha(linhas, pasta / kArquivoProduto);
  // Rows 2 to 7 are committed after row 7; rows 8 and 9 wait for the next commit when row 10 starts.
  struct TelaQueCongela : TelaGravadora {
    ServidorPrivado* servidor = nullptr;
    void defineTexto(const std::string& controle, const std::string& texto) override {
      TelaGravadora::defineTexto(controle, texto);
      if (controle == kControleRegistro && texto == "10") servidor->congela();
    }
  } telaCongela;
  telaCongela.servidor = &servidor;
  const auto importa = [&](TelaGravadora& t, Conexao& c) {
    ContextoExecucao ctx(t, pasta.string());
    ctx.usaConexao(c);
    return executaNoContexto(
        ctx, [](ContextoExecucao& x) { return ImportaPlanilhaProduto(x, OpcoesImportacaoProduto{}); });
  };
  Conexao c(textoConexao());
  EXPECT_EQ(importa(telaCongela, c).desfecho, Resultado::Desfecho::Falhou);
  ASSERT_EQ(telaCongela.mensagens.size(), 1u);
  EXPECT_THAT(
      telaCongela.mensagens[0].texto,
      StartsWith("A importação parou na linha 10 de produto.xlsx: falha do banco de dados (" + kParado));
  EXPECT_THAT(telaCongela.mensagens[0].texto,
              ::testing::EndsWith("As linhas até a 7 estão gravadas; as seguintes não foram gravadas."));
  ASSERT_FALSE(telaCongela.notas.empty());
  EXPECT_EQ(telaCongela.notas.back(),
            "Alterações gravadas em VENDAS.FDB:\n"
            "  PRODUTO: 6 incluídas, 0 alteradas, 0 excluídas\n"
            "  PRODUTOESTOQUE: 6 incluídas, 0 alteradas, 0 excluídas\n"
            "  UNIDADE: 1 incluídas, 0 alteradas, 0 excluídas\n"
            "A conexão com VENDAS.FDB caiu; o servidor desfez o que ainda não estava gravado:\n"
            "  PRODUTO: 2 incluídas, 0 alteradas, 0 excluídas\n"
            "  PRODUTOESTOQUE: 2 incluídas, 0 alteradas, 0 excluídas");

  // The connection is gone and says why rather than hanging again; a new one gives up at the
  // connect timeout.
  EXPECT_THAT([&] { c.abre("select 1 from rdb$database"); },
              ::testing::ThrowsMessage<ErroBanco>(StartsWith(kParado)));
  EXPECT_FALSE(c.aberta());
  EXPECT_THAT([&] { Conexao nova(textoConexao()); },
              ::testing::ThrowsMessage<ErroBanco>(
                  StartsWith("O servidor do banco de dados não respondeu ao pedido de conexão em 10 s (")));

  // Once it runs again the server has rolled back rows 8 and 9.
  servidor.descongela();
  Conexao outra(textoConexao());
  EXPECT_EQ(outra.abre("select count(*) from produtoestoque").valor(0).comoInteiro(), 6);
}

}  // namespace
}  // namespace zuv::teste
