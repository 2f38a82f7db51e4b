#pragma once
// The buttons of FrmMigracaoPadrao that list the machine's processes and stop the spreadsheet
// application.
#include <string>

#include "common/Resultado.h"
#include "migration/Processos.h"

namespace zuv {

class ContextoExecucao;

// "Listar Processo": List1 emptied, then the name of every running process in lower case.
Resultado ListarProcessos(ContextoExecucao& ctx);

struct OpcoesEncerraProcesso {
  std::string nome = processoPlanilha();  // the process name to stop
};

// "Encerrar Processo": stops the current user's processes of that name, shows "FIM" and ends the
// program. A dry run stops nothing and says which processes it would have stopped. A failure shows
// "Erro ao encerrar o processo " + its description and the program goes on.
Resultado EncerrarProcessos(ContextoExecucao& ctx, const OpcoesEncerraProcesso& opcoes);

}  // namespace zuv
