#include "common/Operacao.h"

#include <exception>

#include "common/Erro.h"
#include "common/Tela.h"
#include "common/Texto.h"

namespace zuv {

Resultado executaOperacao(Tela& tela, const Operacao& op) {
  TelaDoEscopo escopo(tela);
  try {
    return op(tela);
  } catch (const FimDoPrograma& fim) {
    return Resultado::encerrar(fim.motivo);
  } catch (const std::exception& e) {
    // A run's own handler shows its failures; reaching here means it had none for this one.
    const std::string texto = textoVisivel(e.what(), true);
    tela.mensagem(texto, Icone::Exclamacao);
    return Resultado::falhou(texto);
  }
}

Resultado informaFalha(Tela& tela, const std::exception& e) {
  // A description may quote a cell: its control characters are shown escaped.
  const std::string texto = textoVisivel(e.what(), true);
  tela.mensagem(texto);
  tela.cursorEspera(false);
  return Resultado::falhou(texto);
}

}  // namespace zuv
