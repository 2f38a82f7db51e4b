#pragma once
// A run as the front ends start it: a function of the interaction that says how it ended.
#include <exception>
#include <functional>

#include "common/Resultado.h"

namespace zuv {

class Tela;

using Operacao = std::function<Resultado(Tela&)>;

// Runs op with tela as the interaction of this thread (telaAtual) and turns what escapes it into
// an outcome: FimDoPrograma into EncerrarPrograma with its motive, an exception derived from
// std::exception into a message (exclamation icon) and Falhou. Anything else passes through, so
// that a front end can stop a run with its own exception type.
Resultado executaOperacao(Tela& tela, const Operacao& op);

// A run's usual failure path: the description alone in a message box (no icon), the normal
// pointer back, and Falhou with the description.
Resultado informaFalha(Tela& tela, const std::exception& e);

}  // namespace zuv
