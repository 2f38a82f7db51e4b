#include "cli/LinhaDeComando.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "common/Erro.h"
#include "common/Tela.h"
#include "shell/PastaPrograma.h"

namespace zuv {
namespace {

// A task for these tests: "teste pergunta" asks and says the answer; the others end as named.
void registraTeste(CLI::App& programa, Tarefas& tarefas) {
  auto* teste = programa.add_subcommand("teste", "Tarefa de teste");
  auto qual = std::make_shared<std::string>();
  teste->add_option("qual", *qual, "pergunta, concluido, falhou, fim, config, erro")->required();
  tarefas.executa(teste, [qual](Tela& tela) -> Resultado {
    if (*qual == "pergunta") tela.mensagem(tela.pergunta("Atualizar o Cadastro de Cliente") ? "sim" : "não");
    if (*qual == "falhou") {
      tela.mensagem("Erro ao abrir a planilha");
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
  std::string saida, erros;
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
  for (const char* texto : {"Uso: importadorzuv", "pasta", "teste", "--sim", "--nao", "ZUV_PASTA_PROGRAMA"})
    EXPECT_NE(geral.saida.find(texto), std::string::npos) << texto;
  const Execucao tarefa = executa({"teste", "--help"});
  EXPECT_EQ(tarefa.status, 0);
  EXPECT_NE(tarefa.saida.find("pergunta, concluido, falhou"), std::string::npos) << tarefa.saida;
}

// Each run: its exit status, its whole output and a part of its errors.
TEST(LinhaDeComando, StatusSaidaEErrosDeCadaExecucao) {
  const std::string p = "Atualizar o Cadastro de Cliente [s/n] ";
  struct Caso {
    std::vector<std::string> args;
    std::string entrada;
    bool interativo;
    int status;
    std::string saida, erro;
  };
  // clang-format off
  for (const Caso& c : std::vector<Caso>{
           {{"desconhecida"}, "", false, 2, "", "tarefa desconhecida: desconhecida"},
           {{"teste", "pergunta", "--opcao-que-nao-existe"}, "", false, 2, "", "importadorzuv"},
           {{"--sim", "--nao", "teste", "pergunta"}, "", false, 2, "", "importadorzuv"},
           {{"--pasta-programa", "/nao/existe/zuv", "pasta"}, "", false, 2, "", "importadorzuv"},
           {{"--sim", "teste", "pergunta"}, "", false, 0, p + "s (--sim)\nsim\n", ""},
           {{"teste", "pergunta", "--nao"}, "s\n", false, 0, p + "n (--nao)\nnão\n", ""},
           {{"teste", "pergunta"}, "s\n", false, 2, "", "--sim"},  // no terminal to ask: the run stops
           {{"teste", "pergunta"}, "talvez\n  NÃO \n", true, 0, p + "Responda s (sim) ou n (não).\n" + p + "não\n", ""},
           {{"teste", "pergunta"}, "", true, 2, p + "\n", "Atualizar o Cadastro de Cliente"},  // the input ended
           {{"teste", "fim"}, "", false, 0, "", ""},
           {{"teste", "falhou"}, "", false, 1, "Erro ao abrir a planilha\n", ""},
           {{"teste", "config"}, "", false, 2, "", ""},
           {{"teste", "erro"}, "", false, 1, "connection lost to database\n", ""}}) {
    // clang-format on
    const Execucao e = executa(c.args, c.entrada, c.interativo);
    EXPECT_EQ(e.status, c.status) << c.args.back();
    EXPECT_EQ(e.saida, c.saida) << c.args.back();
    EXPECT_NE(e.erros.find(c.erro), std::string::npos) << e.erros;
  }
}

// The real program: arguments go to the command line, not to the menu.
TEST(LinhaDeComando, ProgramaComArgumentosNaoAbreOMenu) {
  FILE* p = popen(
      (std::string(ZUV_BINARY_DIR) + "/src/importadorzuv --pasta-programa /tmp pasta </dev/null").c_str(),
      "r");
  ASSERT_NE(p, nullptr);
  char linha[256] = {};
  const std::string saida = fgets(linha, sizeof linha, p) ? linha : "";
  EXPECT_EQ(WEXITSTATUS(pclose(p)), 0);
  EXPECT_EQ(saida, "/tmp\n");
}

}  // namespace
}  // namespace zuv
