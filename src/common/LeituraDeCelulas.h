#pragma once
// How the imports read the numbers and codes typed in workbook cells. The product import, the tax
// import and the fiscal check all read with these functions, so that the check judges exactly what
// an import will store, change or refuse.
#include <cstddef>
#include <optional>
#include <string>

#include "common/Valor.h"

namespace zuv {

// --- Numbers ---

// A number of a cell under the regional style (1 Brazilian, 2 English), rounded half away from
// zero to `casas` decimals. Blanks, "R$" and "%" are ignored; an empty text is 0. With both "."
// and "," the last one is the decimal separator; a lone separator is the decimal one unless it is
// the style's grouping symbol followed by exactly three digits ("12.50" is 12,5 and "1.234" is 1234
// under the Brazilian style). Anything else throws ErroConversao naming the text.
Decimal leNumero(const std::string& texto, int estilo, int casas = 2);

// Whether leNumero reads the text as thousands because its only separator is the style's grouping
// symbol followed by three digits ("1.234" is 1234 under the Brazilian style): the person may have
// meant a decimal.
bool lidoComoMilhar(const std::string& texto, int estilo);

// A rate or percentage typed with "," or "." as decimal sign (never grouped: rates stay under
// 100), as an exact number; nothing when the text is not a number.
std::optional<Decimal> numeroTaxa(const std::string& texto);

// --- Codes ---

// A code as the product import reads it: trimmed, dots removed ("0901.21.00"), cut to `tamanho`.
std::string cortaCodigo(const std::string& texto, size_t tamanho);

// cortaCodigo, and a code typed as a number gets back the one leading zero it lost: an all-digit
// text one digit short of `tamanho` ("1012100" -> "01012100"). Codes never begin with "00", so a
// shorter text (an NCM heading such as "1006") is kept as written.
std::string normalizaCodigo(const std::string& texto, size_t tamanho);

// The tax import's codes. NCM: digits only; 7 digits get back their leading zero.
std::string preparaNCM(const std::string& texto);
// CEST: trimmed, dots removed; 6 digits get back the leading zero of the 7-digit code.
std::string preparaCEST(const std::string& texto);
// CFOP: trimmed, dots removed ("5.102" -> "5102").
std::string preparaCFOP(const std::string& texto);
// PIS/COFINS CST: empty stays empty; leading zeros are dropped ("01" is 1); a code outside the
// valid list becomes "99".
std::string regraCST(const std::string& cst);

}  // namespace zuv
