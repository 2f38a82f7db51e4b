#include "cli/LinhaDeComando.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <tuple>

#include "common/Erro.h"
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

// Status, output and errors of a run.
std::tuple<int, std::string, std::string> executa(std::vector<std::string> args, std::string entrada = {},
                                                  bool interativo = false) {
  std::istringstream in(entrada);
  std::ostringstream out, err;
  const int status = executaLinhaDeComando(args, Terminal{in, out, err, interativo, false});
  definePastaPrograma("");
  return {status, out.str(), err.str()};
}

// Each run: its exit status, its whole output and a part of its errors; then the help texts.
TEST(LinhaDeComando, StatusSaidaEErrosDeCadaExecucaoEAjuda) {
  const std::string p = "Atualizar o Cadastro de Cliente [s/n] ";
  using Caso = std::tuple<std::vector<std::string>, std::string, bool, int, std::string, std::string>;
  // clang-format off
  for (const auto& [args, entrada, interativo, status, saida, erro] : std::vector<Caso>{
           {{"desconhecida"}, "", false, 2, "", "tarefa desconhecida: desconhecida"},
           {{"teste", "pergunta", "--opcao-que-nao-existe"}, "", false, 2, "", "importadorzuv"},
           {{"--sim", "--nao", "teste", "pergunta"}, "", false, 2, "", "importadorzuv"},
           {{"--pasta-programa", "/nao/existe/zuv", "pasta"}, "", false, 2, "", "importadorzuv"},
           {{"--sim", "teste", "pergunta"}, "", false, 0, p + "s (--sim)\nsim\n", ""},
           {{"teste", "pergunta", "--nao"}, "s\n", false, 0, p + "n (--nao)\nnão\n", ""},
           {{"teste", "pergunta"}, "talvez\n  NÃO \n", true, 0, p + "Responda s (sim) ou n (não).\n" + p + "não\n", ""},
           {{"teste", "pergunta"}, "", true, 2, p + "\n", "Atualizar o Cadastro de Cliente"},  // the input ended
           {{"teste", "fim"}, "", false, 0, "", ""},
           {{"teste", "falhou"}, "", false, 1, "Erro ao abrir a planilha\n", ""},
           {{"teste", "config"}, "", false, 2, "", ""},
           {{"teste", "erro"}, "", false, 1, "connection lost to database\n", ""}}) {
    // clang-format on
    const auto [s, out, err] = executa(args, entrada, interativo);
    EXPECT_EQ(s, status) << args.back();
    EXPECT_EQ(out, saida) << args.back();
    EXPECT_NE(err.find(erro), std::string::npos) << err;
  }
  const auto [s, geral, e] = executa({"--help"});
  const auto [s2, tarefa, e2] = executa({"teste", "--help"});
  EXPECT_TRUE(s == 0 && s2 == 0);
  for (const char* texto : {"Uso: importadorzuv", "pasta", "teste", "--sim", "--nao", "ZUV_PASTA_PROGRAMA"})
    EXPECT_NE(geral.find(texto), std::string::npos) << texto;
  EXPECT_NE(tarefa.find("pergunta, concluido, falhou"), std::string::npos) << tarefa;
}

// The real program: arguments go to the command line, not to the menu.
TEST(LinhaDeComando, ProgramaComArgumentosNaoAbreOMenu) {
  FILE* p = popen(
      (std::string(ZUV_BINARY_DIR) + "/src/importadorzuv --pasta-programa /tmp pasta </dev/null").c_str(),
      "r");
  ASSERT_NE(p, nullptr);
  char linha[256] = {};
  EXPECT_TRUE(fgets(linha, sizeof linha, p));
  EXPECT_EQ(WEXITSTATUS(pclose(p)), 0);
  EXPECT_STREQ(linha, "/tmp\n");
}

}  // namespace
}  // namespace zuv
