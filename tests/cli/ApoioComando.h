// Runs the command line without a terminal on a program folder and keeps what it printed.
#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/LinhaDeComando.h"
#include "shell/PastaPrograma.h"

namespace zuv::teste {

struct Comando {
  std::ostringstream saida, erros;
  // interrompida: asked at each progress step, as the Ctrl+C handler's flag is.
  int roda(std::vector<std::string> args, const std::string& pasta, std::function<bool()> interrompida = {}) {
    args.insert(args.end(), {kOpcaoPastaPrograma, pasta});
    std::istringstream entrada;
    saida.str("");
    erros.str("");
    const int status = executaLinhaDeComando(
        args, Terminal{entrada, saida, erros, false, false, 80, std::move(interrompida)});
    definePastaPrograma("");
    return status;
  }
};

}  // namespace zuv::teste
