#pragma once
// Cleaning of texts taken from workbooks and other databases before they go into a statement.
#include <string>

namespace zuv {

// Removes "|" and "'", trims, then folds accents and blanks out symbols in two passes (lower case,
// then upper case). With MantemCifraoPorcento the "$" and "%" signs stay. Not trimmed again.
std::string LimpaTexto(const std::string& Texto, bool MantemCifraoPorcento);

// LimpaTexto without its first step: "|" stays and a single quote becomes a blank.
std::string LimpaTextoMantendoSeparadores(const std::string& Texto, bool MantemCifraoPorcento);

// Every single quote becomes one blank.
std::string TrocaAspas(const std::string& Texto);

// Only the characters 0-9, in their order.
std::string SomenteDigitos(const std::string& Texto);

// A number text under the regional style; blank gives 0. Throws ErroConversao.
double cNumero(const std::string& Valor);

}  // namespace zuv
