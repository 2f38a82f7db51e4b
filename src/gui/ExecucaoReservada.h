#pragma once
// FormularioBase::iniciaExecucao with tables reserved (ReservaTabelas) for the whole run, the final
// commit of an all-or-nothing run included: a second run that needs one of them waits until this
// one has committed or rolled back, and never reads a maximum the first has not committed yet.
#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "common/ReservaTabelas.h"
#include "gui/FormularioBase.h"
#include "gui/TelaQt.h"
#include "shell/ContextoExecucao.h"
#include "shell/PastaPrograma.h"

namespace zuv {

inline bool iniciaExecucaoReservada(FormularioBase& form, std::vector<std::string> tabelas, Execucao execucao,
                                    std::function<Conexao*()> conexao = {}) {
  if (form.emOperacao() || programaEncerrando()) return false;
  if (auto* notas = form.findChild<QPlainTextEdit*>(kControleNotas)) {
    notas->clear();
    notas->setVisible(false);
  }
  return form.iniciaOperacao([opcoes = form.opcoesEscolhidas(), pasta = pastaPrograma(),
                              tabelas = std::move(tabelas), execucao = std::move(execucao),
                              conexao = std::move(conexao)](Tela& tela) {
    ReservaTabelas reserva(tabelas,
                           [&] { tela.nota("Aguardando outra operação que grava nas mesmas tabelas..."); });
    Conexao* zuv = conexao ? conexao() : nullptr;
    ContextoExecucao ctx(tela, pasta, opcoes);
    if (zuv != nullptr) ctx.usaConexao(*zuv);
    return executaNoContexto(ctx, execucao);
  });
}

}  // namespace zuv
