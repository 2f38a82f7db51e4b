#pragma once
// Rules a fiscal code or a number of a workbook cell must follow, checked without any official
// table: lengths, digits, the code lists of the NF-e layout, codes that lost their leading zero
// because they were typed as numbers, and numbers written in the other regional style.
#include <optional>
#include <string>
#include <string_view>

namespace zuv {

// What is wrong with a value, and the value to type instead when only one is possible.
struct Problema {
  std::string motivo;
  std::string sugestao;  // empty when no correction is certain
  bool operator==(const Problema&) const = default;
};

// The cell's text without blanks around. Every rule below trims its value first.
std::string_view semBrancos(std::string_view s);

// NCM: 8 digits. A 7-digit number lost its leading zero (chapters 01 to 09); dots, blanks and
// hyphens around 8 digits are the printed form of the code. Empty gives "NCM vazio".
std::optional<Problema> verificaNcm(std::string_view valor);

// CEST: 7 digits (empty is allowed). A 6-digit number lost its leading zero (segments 01 to 09);
// "01.001.00" is the printed form.
std::optional<Problema> verificaCest(std::string_view valor);

// CFOP: 4 digits, not a group heading (ending in 00); outgoing operations begin with 5, 6 or 7,
// incoming ones with 1, 2 or 3. Empty is allowed.
std::optional<Problema> verificaCfop(std::string_view valor, bool saida);

// CSOSN: 101 102 103 201 202 203 300 400 500 900. Empty is allowed.
std::optional<Problema> verificaCsosn(std::string_view valor);

// CST of ICMS: 00 02 10 15 20 30 40 41 50 51 53 60 61 70 90, alone or after the origin digit
// (0 to 8: "060"). A single digit lost its leading zero. Empty is allowed.
std::optional<Problema> verificaCstIcms(std::string_view valor);

// CST of PIS or COFINS: 01-09, 49-56, 60-67, 70-75, 98, 99; the database keeps them as numbers,
// so "1" and "01" are both right. nome: "CST PIS" or "CST COFINS". Empty is allowed.
std::optional<Problema> verificaCstPisCofins(std::string_view valor, std::string_view nome);

// A number as the import reads it under the regional style (1 Brazilian, 2 English), strictly:
// grouping symbols only between groups of three digits. "12.50" under the Brazilian style would
// be read as 1250; the suggestion rewrites a number of the other style in this one.
// nome: "Preço", "Estoque", "Porcentagem". Empty is allowed. A percentage must be 0 to 100.
std::optional<Problema> verificaNumero(std::string_view valor, int estilo, std::string_view nome,
                                       bool porcentagem = false);

// The stock item code of the tax workbook: a whole number. Empty is allowed (the import stops).
std::optional<Problema> verificaCodigoInterno(std::string_view valor);

}  // namespace zuv
