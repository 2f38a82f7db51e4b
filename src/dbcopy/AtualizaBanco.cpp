#include "dbcopy/AtualizaBanco.h"

#include "common/Tela.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

// Not in this version yet: says so and changes nothing.
Resultado AtualizaBanco(ContextoExecucao& ctx, ParBancos&) {
  ctx.tela().mensagem(kMensagemPredefinidaIndisponivel, Icone::Informacao);
  return Resultado::falhou(kMensagemPredefinidaIndisponivel);
}

}  // namespace zuv
