// "importadorzuv planilha ler ARQUIVO [--linhas N]": lists the non-empty cells of a workbook's
// active sheet as the program reads them ("row<TAB>column<TAB>text"), to check a workbook before
// an import.
#include <memory>
#include <string>

#include "cli/LinhaDeComando.h"
#include "common/Regional.h"
#include "common/Tela.h"
#include "platform/Planilha.h"

namespace zuv {

namespace {

struct OpcoesLer {
  std::string arquivo;
  int linhas = 0;
};

void registra(CLI::App& programa, Tarefas& tarefas) {
  auto* planilha = programa.add_subcommand("planilha", "Planilhas (.xlsx, .xls) como o programa as lê");
  planilha->require_subcommand(1);
  auto* ler = planilha->add_subcommand(
      "ler", "Lista as células não vazias da planilha ativa: linha<TAB>coluna<TAB>texto");
  auto opcoes = std::make_shared<OpcoesLer>();
  ler->add_option("ARQUIVO", opcoes->arquivo, "A planilha")->required();
  ler->add_option("--linhas", opcoes->linhas, "Só as N primeiras linhas (0: todas)")
      ->type_name("N")
      ->check(numeroNaoNegativo());
  tarefas.executa(ler, [opcoes](Tela& tela) {
    RetornaConfigWin();  // cells come back under the regional style
    // Each cell goes out as it is read: the listing of a large sheet is never held in memory.
    listaCelulas(opcoes->arquivo, opcoes->linhas,
                 [&](const std::string& linha) { tela.adicionaItem("celulas", linha); });
    return Resultado::concluido();
  });
}

}  // namespace

ZUV_TAREFA_CLI("planilha", registra);

}  // namespace zuv
