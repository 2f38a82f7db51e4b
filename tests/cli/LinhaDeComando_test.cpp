#include "cli/LinhaDeComando.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "common/Erro.h"
#include "common/Tela.h"
#include "shell/PastaPrograma.h"

namespace zuv {
namespace {

// A task for these tests: "teste pergunta" asks, "teste desfecho X" ends as told.
void registraTeste(CLI::App& programa, Tarefas& tarefas) {
  auto* teste = programa.add_subcommand("teste", "Tarefa de teste");
  teste->require_subcommand(1);
  auto* pergunta = teste->add_subcommand("pergunta", "Pergunta e diz a resposta");
  tarefas.executa(pergunta, [](Tela& tela) {
    const bool sim = tela.pergunta("Atualizar o Cadastro de Cliente", Icone::Pergunta, {});
    tela.mensagem(sim ? "respondeu sim" : "respondeu não", Icone::Informacao, {});
    return Resultado::concluido();
  });
  auto* desfecho = teste->add_subcommand("desfecho", "Termina como pedido");
  auto qual = std::make_shared<std::string>();
  desfecho->add_option("qual", *qual, "concluido, falhou, fim, config, erro")->required();
  tarefas.executa(desfecho, [qual](Tela& tela) -> Resultado {
    if (*qual == "falhou") {
      tela.mensagem("Erro ao abrir a planilha", Icone::Informacao, {});
      return Resultado::falhou("Erro ao abrir a planilha");
    }
    if (*qual == "fim") throw FimDoPrograma{};
    if (*qual == "config") throw FimDoPrograma{MotivoFim::Configuracao};
    if (*qual == "erro") throw ErroBanco("connection lost to database");
    return Resultado::concluido();
  });
}
ZUV_TAREFA_CLI("teste", registraTeste);

struct Execucao {
  int status;
  std::string saida;
  std::string erros;
};

Execucao executa(std::vector<std::string> args, std::string entrada = {}, bool interativo = false) {
  std::istringstream in(entrada);
  std::ostringstream out, err;
  const int status = executaLinhaDeComando(args, Terminal{in, out, err, interativo, false});
  definePastaPrograma("");
  return {status, out.str(), err.str()};
}

TEST(LinhaDeComando, AjudaGeralEDeCadaTarefa) {
  const Execucao geral = executa({"--help"});
  EXPECT_EQ(geral.status, 0);
  EXPECT_NE(geral.saida.find("Uso: importadorzuv"), std::string::npos) << geral.saida;
  for (const char* texto : {"pasta", "teste", "--sim", "--nao", "--pasta-programa", "ZUV_PASTA_PROGRAMA"})
    EXPECT_NE(geral.saida.find(texto), std::string::npos) << texto;

  const Execucao tarefa = executa({"teste", "desfecho", "--help"});
  EXPECT_EQ(tarefa.status, 0);
  EXPECT_NE(tarefa.saida.find("concluido, falhou, fim, config, erro"), std::string::npos) << tarefa.saida;
}

TEST(LinhaDeComando, ErrosDeUsoSaemCom2) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"desconhecida"},
           {"teste"},              // its subcommand is missing
           {"teste", "desfecho"},  // its argument is missing
           {"teste", "pergunta", "--opcao-que-nao-existe"},
           {"--sim", "--nao", "teste", "pergunta"},  // contradictory answers
           {"--pasta-programa", "/nao/existe/zuv", "pasta"},
       }) {
    const Execucao e = executa(args);
    EXPECT_EQ(e.status, 2) << args[0];
    EXPECT_NE(e.erros.find("importadorzuv"), std::string::npos) << e.erros;
    EXPECT_EQ(e.saida.find("respondeu"), std::string::npos) << "nothing ran";
  }
  EXPECT_NE(executa({"desconhecida"}).erros.find("tarefa desconhecida: desconhecida"), std::string::npos);
}

TEST(LinhaDeComando, PerguntaRespondidaPorOpcaoAntesOuDepoisDaTarefa) {
  const Execucao sim = executa({"--sim", "teste", "pergunta"});
  EXPECT_EQ(sim.status, 0);
  EXPECT_EQ(sim.saida, "Atualizar o Cadastro de Cliente [s/n] s (--sim)\nrespondeu sim\n");
  const Execucao nao = executa({"teste", "pergunta", "--nao"});
  EXPECT_EQ(nao.status, 0);
  EXPECT_NE(nao.saida.find("respondeu não"), std::string::npos);
}

TEST(LinhaDeComando, PerguntaSemRespostaSemTerminalParaAOperacao) {
  const Execucao e = executa({"teste", "pergunta"}, "s\n", /*interativo=*/false);
  EXPECT_EQ(e.status, 2);
  EXPECT_EQ(e.saida.find("respondeu"), std::string::npos) << "the run did not go on";
  EXPECT_NE(e.erros.find("Atualizar o Cadastro de Cliente"), std::string::npos);
  EXPECT_NE(e.erros.find("--sim"), std::string::npos);
}

TEST(LinhaDeComando, NoTerminalPerguntaAteUmaRespostaValida) {
  const Execucao e = executa({"teste", "pergunta"}, "talvez\n  NÃO \n", /*interativo=*/true);
  EXPECT_EQ(e.status, 0);
  EXPECT_NE(e.saida.find("Responda s (sim) ou n (não)."), std::string::npos);
  EXPECT_NE(e.saida.find("respondeu não"), std::string::npos);

  const Execucao fimDaEntrada = executa({"teste", "pergunta"}, "", /*interativo=*/true);
  EXPECT_EQ(fimDaEntrada.status, 2);
  EXPECT_EQ(fimDaEntrada.saida.find("respondeu"), std::string::npos);
}

TEST(LinhaDeComando, StatusDeSaidaPeloDesfecho) {
  EXPECT_EQ(executa({"teste", "desfecho", "concluido"}).status, 0);
  EXPECT_EQ(executa({"teste", "desfecho", "fim"}).status, 0);
  const Execucao falhou = executa({"teste", "desfecho", "falhou"});
  EXPECT_EQ(falhou.status, 1);
  EXPECT_EQ(falhou.saida, "Erro ao abrir a planilha\n");
  EXPECT_EQ(executa({"teste", "desfecho", "config"}).status, 2);
  const Execucao erro = executa({"teste", "desfecho", "erro"});
  EXPECT_EQ(erro.status, 1);
  EXPECT_EQ(erro.saida, "connection lost to database\n");
}

// The real program: arguments go to the command line, not to the menu.
TEST(LinhaDeComando, ProgramaComArgumentosNaoAbreOMenu) {
  const std::string comando =
      std::string(ZUV_BINARY_DIR) + "/src/importadorzuv --pasta-programa /tmp pasta </dev/null";
  FILE* p = popen(comando.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char linha[256] = {};
  std::string saida;
  while (fgets(linha, sizeof linha, p) != nullptr)
    saida += linha;
  const int status = pclose(p);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(saida, "/tmp\n");
}

}  // namespace
}  // namespace zuv
