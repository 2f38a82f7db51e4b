#pragma once
// FormularioBase::iniciaExecucao with tables reserved (ReservaTabelas) for the whole run, the final
// commit of an all-or-nothing run included: a second run that needs one of them waits until this
// one has committed or rolled back, and never reads a maximum the first has not committed yet.
#include <string>
#include <vector>

#include "common/ReservaTabelas.h"
#include "gui/FormularioBase.h"

namespace zuv {

inline bool iniciaExecucaoReservada(FormularioBase& form, std::string tarefa,
                                    std::vector<std::string> tabelas, Execucao execucao,
                                    std::function<Conexao*()> conexao = {}) {
  return form.iniciaExecucao(std::move(tarefa), std::move(execucao), std::move(conexao), std::move(tabelas));
}

}  // namespace zuv
