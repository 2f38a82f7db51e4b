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

TEST(TelaTerminal, RespostasAceitas) {
  for (const char* sim : {"s", "S", "sim", " Sim ", "y", "yes"})
    EXPECT_EQ(lerResposta(sim), true) << sim;
  for (const char* nao : {"n", "não", "NÃO", "nao", "no"})
    EXPECT_EQ(lerResposta(nao), false) << nao;
  for (const char* outra : {"", "talvez", "sn"})
    EXPECT_EQ(lerResposta(outra), std::nullopt) << outra;
}

TEST(TelaTerminal, SemTerminalOProgressoSaiEmLinhasDeDezEmDez) {
  std::istringstream in;
  std::ostringstream out, err;
  TelaTerminal tela(Terminal{in, out, err, false, false}, std::nullopt);
  for (int v = 0; v <= 100; ++v)
    tela.progresso(v);
  tela.progresso(3);  // a new phase starts again
  std::string esperado;
  for (int v = 0; v <= 100; v += 10)
    esperado += "progresso: " + std::to_string(v) + "%\n";
  esperado += "progresso: 3%\n";
  EXPECT_EQ(err.str(), esperado);
  EXPECT_EQ(out.str(), "");
}

TEST(TelaTerminal, NoTerminalABarraSaiDoCaminhoDasMensagens) {
  std::istringstream in;
  std::ostringstream out, err;
  TelaTerminal tela(Terminal{in, out, err, false, true}, std::nullopt);
  tela.progresso(10);
  tela.mensagem("Fim Importação", Icone::Informacao, {});
  tela.adicionaItem("lstCliente", "7 - JOSE");
  tela.mostraArquivo("/zuv/produto.xlsx");
  tela.terminaProgresso();
  EXPECT_EQ(out.str(), "Fim Importação\n7 - JOSE\n/zuv/produto.xlsx\n");
  const std::string e = err.str();
  EXPECT_NE(e.find("\r\033[K[###"), std::string::npos);
  EXPECT_EQ(e.back(), '\n');
}

}  // namespace
}  // namespace zuv
