#include "common/Operacao.h"

#include <exception>

#include "common/Erro.h"
#include "common/Tela.h"

namespace zuv {

Resultado executaOperacao(Tela& tela, const Operacao& op) {
  TelaDoEscopo escopo(tela);
  try {
    return op(tela);
  } catch (const FimDoPrograma& fim) {
    return Resultado::encerrar(fim.motivo);
  } catch (const std::exception& e) {
    // A run's own handler shows its failures; reaching here means it had none for this one.
    tela.mensagem(e.what(), Icone::Exclamacao);
    return Resultado::falhou(e.what());
  }
}

Resultado informaFalha(Tela& tela, const std::exception& e) {
  tela.mensagem(e.what());
  tela.cursorEspera(false);
  return Resultado::falhou(e.what());
}

}  // namespace zuv
