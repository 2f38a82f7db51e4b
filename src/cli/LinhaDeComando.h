#pragma once
// The command line: "importadorzuv <tarefa> [opções]". Each task lives in its own file under
// src/cli/ and registers itself; nothing central lists them. Example (src/cli/ComandoClientes.cpp):
//
//   #include "cli/LinhaDeComando.h"
//   namespace zuv {
//   namespace {
//   void registra(CLI::App& programa, Tarefas& tarefas) {
//     auto* clientes = programa.add_subcommand("clientes", "Cadastro de clientes do ZUV");
//     clientes->require_subcommand(1);
//     auto* importar = clientes->add_subcommand("importar", "Importa clientes.xlsx da pasta do programa");
//     tarefas.executaNoBanco(importar, ImportaClientes);
//   }
//   }  // namespace
//   ZUV_TAREFA_CLI("clientes", registra);
//   }  // namespace zuv
//
// Options a run needs are bound to variables that outlive parsing: keep them in a shared struct
// (the run's own Opcoes struct, from its core header) captured by the run's lambda:
//   auto opcoes = std::make_shared<OpcoesImportacao>();
//   importar->add_flag("--limpa", opcoes->limpa, "Limpa a base antes de importar");
//   tarefas.executaNoBanco(importar, [opcoes](ContextoExecucao& ctx) { return Importa(ctx, *opcoes); },
//                          /*apaga=*/true);
// The smallest real task is ComandoPasta.cpp.
//
// A task that writes to a database registers with executaNoBanco (it gets the safe-run options);
// an export or a listing with executaSemAlterarBanco. Help texts and errors are Portuguese
// (FormatoAjuda, ErrosDeUso); validators of option values should speak Portuguese too
// (numeroNaoNegativo below, or a CLI::Validator whose message is Portuguese).
//
// Exit status: 0 the run ended normally (also when it ends the program normally), 1 it reported
// a failure, 2 usage or configuration error, or a question with no answer, 130 interrupted with
// Ctrl+C.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "cli/TelaTerminal.h"
#include "common/Operacao.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

class Tarefas {
 public:
  // Makes comando run op when it is the (sub)command chosen on the command line.
  void executa(CLI::App* comando, Operacao op);
  // Like executa, for a run that writes to a database: adds the group "Execução segura" with
  // --atomico, --simular, --relatorio ARQUIVO and (when the run may wipe: apaga) --sem-copia to
  // comando, and runs execucao through executaNoContexto in a context over the program folder,
  // described by the command and its options (its journal entry). The change report goes to
  // stderr, so stdout stays the run's.
  void executaNoBanco(CLI::App* comando, Execucao execucao, bool apaga = false);
  // The same for a run that changes no database: an export (it writes a workbook) or a run that
  // stops processes gets --simular alone (simulavel: nothing written, nothing stopped), a listing
  // nothing.
  void executaSemAlterarBanco(CLI::App* comando, Execucao execucao, bool simulavel);
  const Operacao& escolhida() const { return escolhida_; }
  // The safe-run choices of the chosen task (none for a task that writes no database).
  const OpcoesExecucao* opcoesEscolhidas() const { return opcoesEscolhidas_.get(); }

 private:
  void executaComOpcoes(CLI::App* comando, Execucao execucao, std::shared_ptr<OpcoesExecucao> opcoes,
                        bool alteraBanco);

  Operacao escolhida_;
  std::shared_ptr<OpcoesExecucao> opcoesEscolhidas_;
};

using RegistroTarefa = void (*)(CLI::App& programa, Tarefas& tarefas);

// A command's task as its journal entry names it: the (sub)command names from the task down
// ("produtos importar"). And the options given on the command line, the global ones included
// ("--limpa-base --sim"), values quoted where a shell needs it.
std::string nomeDaTarefa(const CLI::App* comando);
std::string opcoesDadas(const CLI::App* comando);

// Adds a task to every command line parsed from now on; tasks appear in the help by name. A second
// task of the same name is refused (false, and a warning on stderr).
bool registraTarefa(const std::string& nome, RegistroTarefa registro);

inline constexpr int kSaidaNormal = 0;
inline constexpr int kSaidaFalha = 1;
inline constexpr int kSaidaUso = 2;
inline constexpr int kSaidaInterrompida = 130;  // 128 + SIGINT, as shells report Ctrl+C

// A whole number of at least 0 ("--linhas: o valor deve ser um número inteiro não negativo: -3").
CLI::Validator numeroNaoNegativo();

// What the command line says after Ctrl+C: where the run stopped and what stays written, by the
// run's safe-run choices (none: a task that writes no database).
std::string textoInterrupcao(const OperacaoInterrompida& interrupcao, const OpcoesExecucao* opcoes);

// Exit status of a run's outcome.
int statusDeSaida(const Resultado& resultado);

// Parses args (without the program name) and runs the chosen task on the terminal given.
int executaLinhaDeComando(const std::vector<std::string>& args, Terminal terminal);
// The same on the process's stdin, stdout and stderr.
int executaLinhaDeComando(int argc, char** argv);

}  // namespace zuv

#define ZUV_TAREFA_CLI_CONCATENA_(a, b) a##b
#define ZUV_TAREFA_CLI_CONCATENA(a, b) ZUV_TAREFA_CLI_CONCATENA_(a, b)
#define ZUV_TAREFA_CLI(nome, registro)                                                      \
  static const bool ZUV_TAREFA_CLI_CONCATENA(zuvTarefaCli_, __COUNTER__) [[maybe_unused]] = \
      ::zuv::registraTarefa(nome, registro)
