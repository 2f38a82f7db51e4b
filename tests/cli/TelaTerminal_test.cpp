#include "cli/TelaTerminal.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace zuv {
namespace {

TEST(TelaTerminal, LinhaDaBarraDeProgresso) {
  using Caso = std::tuple<int, double, long long, long long, int, std::string>;
  // clang-format off
  for (const auto& [valor, segundos, feitas, total, largura, linha] : std::vector<Caso>{
           {50, 10, -1, -1, 80, "[###############---------------]  50%  00:10 decorridos, faltam 00:10"},
           {100, 3725, -1, -1, 80, "[##############################] 100%  1:02:05 decorridos"},
           // With rows: done of the total, the rate and the time left from the rate.
           {50, 13, 1600, 3200, 80, "[##########----------]  50%  1600/3200 linhas, 123 linhas/s, faltam 00:13"},
           {1, 2, 9, 900, 80, "[--------------------]   1%  9/900 linhas, 4,5 linhas/s, faltam 03:18"},
           {0, 0, 0, 3200, 80, "[--------------------]   0%  0/3200 linhas"},
           {100, 13, 3200, 3200, 80, "[####################] 100%  3200/3200 linhas, 246 linhas/s, em 00:13"},
           // A narrow terminal drops the bar, then cuts the line: it must never wrap.
           {50, 13, 1600, 3200, 60, " 50%  1600/3200 linhas, 123 linhas/s, faltam 00:13"},
           {50, 13, 1600, 3200, 30, " 50%  1600/3200 linhas, 123 l"}}) {
    // clang-format on
    EXPECT_EQ(linhaProgresso(valor, segundos, feitas, total, largura), linha);
  }
}

TEST(TelaTerminal, OProgressoSaiEmLinhasDeDezEmDezOuNumaBarraQueNaoFicaDepoisDoFim) {
  std::istringstream in;
  std::ostringstream out, err, outTerminal, errTerminal;
  TelaTerminal arquivo(Terminal{in, out, err, false, false}, std::nullopt);
  for (int v = 0; v <= 100; ++v)
    arquivo.progresso(v);
  arquivo.progresso(3);  // a new phase starts again
  std::string esperado;
  for (int v = 0; v <= 100; v += 10)
    esperado += "progresso: " + std::to_string(v) + "%\n";
  EXPECT_EQ(err.str(), esperado + "progresso: 3%\n");
  err.str("");
  arquivo.progresso(0);
  arquivo.progressoLinhas(0, 1, 2);
  arquivo.progressoLinhas(50, 2, 2);  // the last row: 100, whatever the run's formula gave
  EXPECT_EQ(err.str().substr(14, 29), "progresso: 100% (2/2 linhas, ");
  EXPECT_EQ(out.str(), "");

  // On a terminal: messages go around the bar; the bar that reached 100 stays as a line above what
  // follows ("FIM") and is not drawn again; an unfinished one is taken away at the end.
  TelaTerminal terminal(Terminal{in, outTerminal, errTerminal, false, true}, std::nullopt);
  terminal.progresso(10);
  terminal.mensagem("Aviso", Icone::Informacao, {});
  terminal.progressoLinhas(99, 4, 4);
  terminal.mensagem("Fim Importação", Icone::Informacao, {});
  terminal.mensagem("FIM", Icone::Informacao, {});
  terminal.terminaProgresso();
  EXPECT_EQ(outTerminal.str(), "Aviso\nFim Importação\nFIM\n");
  const std::string e = errTerminal.str(), ultima = e.substr(e.rfind('\r'));
  EXPECT_EQ(ultima.rfind("\r\033[K[####################] 100%  4/4 linhas, ", 0), 0u) << ultima;
  EXPECT_EQ(ultima.back(), '\n') << "the final bar ends its line";
  errTerminal.str("");
  terminal.progresso(0);  // a new phase, never finished
  terminal.adicionaItem("lstCliente", "7 - JOSE");
  terminal.terminaProgresso();
  EXPECT_EQ(errTerminal.str().substr(errTerminal.str().size() - 4), "\r\033[K") << "no stale bar";
}

// Ctrl+C is noticed at a question too (at a progress step: the tasks' test).
TEST(TelaTerminal, CtrlCParaNaPergunta) {
  std::istringstream in("s\n");
  std::ostringstream out, err;
  TelaTerminal tela(Terminal{in, out, err, true, false, 80, [] { return true; }}, std::nullopt);
  EXPECT_THROW(tela.pergunta("Atualizar o Cadastro de Cliente", Icone::Pergunta, {}, Padrao::Sim),
               OperacaoInterrompida);
}

}  // namespace
}  // namespace zuv
