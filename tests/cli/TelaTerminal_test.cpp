#include "cli/TelaTerminal.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zuv {
namespace {

TEST(TelaTerminal, LinhaDaBarraDeProgresso) {
  EXPECT_EQ(linhaProgresso(50, 10), "[###############---------------]  50%  00:10 decorridos, faltam 00:10");
  EXPECT_EQ(linhaProgresso(0, 0), "[------------------------------]   0%  00:00 decorridos");
  EXPECT_EQ(linhaProgresso(100, 3725), "[##############################] 100%  1:02:05 decorridos");
  EXPECT_EQ(linhaProgresso(25, 60), "[#######-----------------------]  25%  01:00 decorridos, faltam 03:00");
}

TEST(TelaTerminal, OProgressoSaiEmLinhasDeDezEmDezOuNumaBarraForaDoCaminhoDasMensagens) {
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
  EXPECT_EQ(out.str(), "");

  TelaTerminal terminal(Terminal{in, outTerminal, errTerminal, false, true}, std::nullopt);
  terminal.progresso(10);
  terminal.mensagem("Fim Importação", Icone::Informacao, {});
  terminal.adicionaItem("lstCliente", "7 - JOSE");
  terminal.mostraArquivo("/zuv/produto.xlsx");
  terminal.terminaProgresso();
  EXPECT_EQ(outTerminal.str(), "Fim Importação\n7 - JOSE\n/zuv/produto.xlsx\n");
  EXPECT_NE(errTerminal.str().find("\r\033[K[###"), std::string::npos);
  EXPECT_EQ(errTerminal.str().back(), '\n');
}

// A terminal's answers: a question whose default is No shows "[s/N]" and takes an empty line as No;
// the others ask again until s or n comes.
TEST(TelaTerminal, APerguntaComPadraoNaoAceitaALinhaVazia) {
  const std::pair<Padrao, std::string> casos[] = {
      {Padrao::Nao, "Apagar? [s/N] "},
      {Padrao::Sim, "Apagar? [s/n] Responda s (sim) ou n (não).\nApagar? [s/n] "},
  };
  for (const auto& [padrao, saida] : casos) {
    std::istringstream in("\nn\n");
    std::ostringstream out, err;
    TelaTerminal tela(Terminal{in, out, err, true, false}, std::nullopt);
    EXPECT_FALSE(tela.pergunta("Apagar?", Icone::Exclamacao, {}, padrao));
    EXPECT_EQ(out.str(), saida);
  }
}

}  // namespace
}  // namespace zuv
