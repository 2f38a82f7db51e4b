// "importadorzuv pasta": prints the program folder the tasks use (zuv.ini and the workbooks).
#include "cli/LinhaDeComando.h"
#include "common/Tela.h"
#include "shell/PastaPrograma.h"

namespace zuv {

namespace {

void registra(CLI::App& programa, Tarefas& tarefas) {
  auto* pasta =
      programa.add_subcommand("pasta", "Mostra a pasta do programa (onde ficam zuv.ini e as planilhas)");
  tarefas.executa(pasta, [](Tela& tela) {
    tela.mensagem(pastaPrograma(), Icone::Informacao, {});
    return Resultado::concluido();
  });
}

}  // namespace

ZUV_TAREFA_CLI("pasta", registra);

}  // namespace zuv
