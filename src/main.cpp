// importadorzuv: with no arguments (other than the program folder) it opens the main menu;
// "importadorzuv <tarefa> [opções]" runs a task headless.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/LinhaDeComando.h"
#include "gui/Aplicacao.h"
#include "shell/PastaPrograma.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::optional<std::string> pasta = zuv::extraiPastaPrograma(args);
  if (!args.empty()) return zuv::executaLinhaDeComando(argc, argv);

  // The option's folder when given, else ZUV_PASTA_PROGRAMA's, must exist.
  if (pasta && !pasta->empty()) zuv::definePastaPrograma(*pasta);
  const std::string escolhida = pasta ? *pasta : zuv::pastaPrograma();
  if (const std::string problema = zuv::problemaPastaPrograma(escolhida); !problema.empty()) {
    std::fprintf(stderr, "importadorzuv: %s\n", problema.c_str());
    return zuv::kSaidaUso;
  }
  return zuv::executaInterfaceGrafica(argc, argv);
}
