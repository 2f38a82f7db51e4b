// "importadorzuv planilha ler ARQUIVO [--linhas N]": lists the non-empty cells of a workbook's
// active sheet as the program reads them ("row<TAB>column<TAB>text"), to check a workbook before
// an import.
#include <memory>
#include <sstream>
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
    std::ostringstream celulas;
    listaCelulas(opcoes->arquivo, opcoes->linhas, celulas);
    std::istringstream linhas(celulas.str());
    for (std::string linha; std::getline(linhas, linha);)
      tela.adicionaItem("celulas", linha);
    return Resultado::concluido();
  });
}

}  // namespace

ZUV_TAREFA_CLI("planilha", registra);

}  // namespace zuv
