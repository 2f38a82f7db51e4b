#pragma once
// Literals of the values the predefined migration copies from the origin database: the type
// codes FL, CH and DT of the statement builder, with what a copy must keep. Exact decimals and
// whole numbers are written digit for digit, doubles with all 17 significant digits, and a
// timestamp keeps its time of day (DT alone would write the date only).
#include <string>

#include "common/Valor.h"

namespace zuv::atualiza {

enum class Tipo { FL, CH, DT };

std::string literal(const Valor& v, Tipo tipo);

// An identifier as pasted into a statement after "=": its digits, no blank. Throws Erro when the
// value is not a whole number.
std::string textoId(const Valor& v);

// 'texto' with every single quote doubled; nothing trimmed.
std::string aspas(const std::string& texto);

}  // namespace zuv::atualiza
