#include "cli/LinhaDeComando.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "cli/ErrosDeUso.h"
#include "common/Erro.h"
#include "shell/PastaPrograma.h"

namespace zuv {
namespace {

// A task for these tests: "teste pergunta" asks and says the answer; the others end as named.
void registraTeste(CLI::App& programa, Tarefas& tarefas) {
  auto* teste = programa.add_subcommand("teste", "Tarefa de teste");
  auto qual = std::make_shared<std::string>();
  teste->add_option("qual", *qual, "pergunta, concluido, falhou, erro")->required();
  tarefas.executa(teste, [qual](Tela& tela) -> Resultado {
    if (*qual == "pergunta") tela.mensagem(tela.pergunta("Atualizar o Cadastro de Cliente") ? "sim" : "não");
    if (*qual == "falhou") {
      tela.mensagem("Erro ao abrir a planilha");
      return Resultado::falhou("Erro ao abrir a planilha");
    }
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

// Each run: its exit status, its whole output and a part of its errors.
TEST(LinhaDeComando, StatusSaidaEErrosDeCadaExecucaoEAjuda) {
  const std::string p = "Atualizar o Cadastro de Cliente [s/n] ", r = "Responda s (sim) ou n (não).\n";
  using Caso = std::tuple<std::vector<std::string>, std::string, bool, int, std::string, std::string>;
  // clang-format off
  for (const auto& [args, entrada, interativo, status, saida, erro] : std::vector<Caso>{
           {{"--sim", "teste", "pergunta"}, "", false, 0, p + "s (--sim)\nsim\n", ""},
           // A question whose default is Yes asks again after an empty line or another word.
           {{"teste", "pergunta"}, "\ntalvez\n  NÃO \n", true, 0, p + r + p + r + p + "não\n", ""},
           {{"teste", "pergunta"}, "", true, 2, p + "\n", "Atualizar o Cadastro de Cliente"},  // the input ended
           // No terminal and no --sim/--nao: nothing is read or guessed.
           {{"teste", "pergunta"}, "s\n", false, 2, "", "importadorzuv: a operação perguntou \"Atualizar o Cadastro "
            "de Cliente\" e não há quem responda.\nUse --sim ou --nao para responder sem terminal.\n"},
           {{"teste", "falhou"}, "", false, 1, "Erro ao abrir a planilha\n", ""},
           {{"teste", "erro"}, "", false, 1, "connection lost to database\n", ""}}) {
    // clang-format on
    const auto [s, out, err] = executa(args, entrada, interativo);
    EXPECT_EQ(s, status) << args.back();
    EXPECT_EQ(out, saida) << args.back();
    EXPECT_NE(err.find(erro), std::string::npos) << err;
  }
}

// Usage errors: in Portuguese, with the closest valid name, never the parser's English; exit 2.
TEST(LinhaDeComando, ErrosDeUsoEmPortuguesComONomeMaisParecido) {
  using Caso = std::tuple<std::vector<std::string>, int, std::string>;
  // clang-format off
  for (const auto& [args, status, trecho] : std::vector<Caso>{
           {{"desconhecida"}, 2, "tarefa desconhecida: desconhecida\nUse importadorzuv --help"},
           {{"clinetes", "importar"}, 2, "tarefa desconhecida: clinetes\nVocê quis dizer clientes?"},
           {{"clientes", "importr"}, 2, "tarefa desconhecida de \"clientes\": importr\nVocê quis dizer importar?"},
           {{"clientes"}, 2, "falta a tarefa de \"clientes\": importar ou excluir\n"
                              "Use importadorzuv clientes --help para ver as tarefas e as opções."},
           {{"--sim"}, 2, "falta a tarefa: clientes, copiar, "},
           {{"produtos", "importar", "--atomicoo"}, 2,
            "opção desconhecida de \"produtos importar\": --atomicoo\nVocê quis dizer --atomico?\n"
            "Use importadorzuv produtos importar --help para ver as opções."},
           {{"processos", "listar", "--atomico"}, 2, "opção desconhecida de \"processos listar\": --atomico"},
           {{"pasta", "extra"}, 2, "argumento a mais: extra"},
           {{"planilha", "ler"}, 2, "falta o argumento ARQUIVO"},
           {{"planilha", "ler", "x", "--linhas", "-3"}, 2, "--linhas: o valor deve ser um número inteiro não negativo: -3"},
           {{"zuv", "copiar", "--destino", "b"}, 2, "falta a opção obrigatória --origem"},
           {{"sat", "importar", "--excluir-cfop", "--manter-cfop"}, 2,
            "--excluir-cfop e --manter-cfop não podem ser usadas juntas"},
           {{"--sim", "--nao", "teste", "pergunta"}, 2, "--sim e --nao não podem ser usadas juntas"},
           {{"clientes", "importar", "--simular=talvez"}, 2, "valor inválido para --simular: talvez"},
           {{"--pasta-programa", "/nao/existe/zuv", "pasta"}, 2, "a pasta do programa não existe: /nao/existe/zuv"},
           {{"fiscal", "verificar", "x.xlsx", "--data", "31/02/2026"}, 2, "--data: data inválida: 31/02/2026"},
           {{"clientes", "importr", "--help"}, 0, ""}}) {  // help wins over a mistyped name
    // clang-format on
    const auto [s, out, err] = executa(args);
    EXPECT_EQ(s, status) << args.back() << ": " << err;
    EXPECT_NE(err.find(trecho), std::string::npos) << err;
    for (const char* ingles : {"not expected", "required", "excludes", "Could not", "subcommand", "Expected"})
      EXPECT_EQ(err.find(ingles), std::string::npos) << err;
  }
}

// The help: no parser internals; the safe-run options only on tasks that write.
TEST(LinhaDeComando, AjudaSemDetalhesDoAnalisadorEOpcoesSegurasSoOndeSeGrava) {
  using Caso = std::tuple<std::vector<std::string>, std::vector<std::string>, std::vector<std::string>>;
  // clang-format off
  for (const auto& [args, tem, naoTem] : std::vector<Caso>{
           {{"--help"}, {"Uso: importadorzuv [OPÇÕES] TAREFA", "--pasta-programa PASTA ", "se usa com --nao.",
                         "\n  pasta", "\n  teste", "--sim", "ZUV_PASTA_PROGRAMA"}, {"PASTA:DIR", "Excludes", "TEXT "}},
           {{"sat", "importar", "--help"}, {"--sem-ncm ", "Execução segura:", "--atomico", "--sem-copia",
                                            "Opções de todas as tarefas:", "--sim "}, {"{false}"}},
           {{"planilha", "ler", "--help"}, {"--linhas N ", "ARQUIVO", "(obrigatório)"},
            {"NONNEGATIVE", "TEXT", "--atomico", "--simular"}},
           {{"produtos", "planilha", "--help"}, {"--simular"}, {"--atomico", "--relatorio", "--sem-copia"}}}) {
    // clang-format on
    const auto [s, ajuda, err] = executa(args);
    EXPECT_EQ(s, 0) << err;
    for (const std::string& t : tem)
      EXPECT_NE(ajuda.find(t), std::string::npos) << t << " in\n" << ajuda;
    for (const std::string& t : naoTem)
      EXPECT_EQ(ajuda.find(t), std::string::npos) << t << " in\n" << ajuda;
  }
}

}  // namespace
}  // namespace zuv
