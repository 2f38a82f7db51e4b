#pragma once
// Identifiers of the origin as the predefined migration pastes them after "=" in its statements.
#include <string>

#include "common/Valor.h"

namespace zuv::atualiza {

// Its digits, no blank. Throws Erro when the value is not a whole number, so that nothing but a
// number ever reaches a statement this way.
std::string textoId(const Valor& v);

}  // namespace zuv::atualiza
