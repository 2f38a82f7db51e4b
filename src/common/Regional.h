#pragma once
// Numbers and dates as text under the machine's regional style.
//   style 1: Brazilian, decimal comma and grouping point ("3.333,33"), dates DD/MM/YYYY
//   style 2: English, decimal point and grouping comma ("3,333.33"), dates MM/DD/YYYY
// The style comes from LC_NUMERIC of the process; tests inject it.
#include <optional>
#include <string>

#include "common/Valor.h"

namespace zuv {

struct SimbolosNumericos {
  std::string decimal;
  std::string agrupamento;  // empty when the locale has no grouping symbol
};

// The symbols of LC_NUMERIC as the environment sets them (LC_ALL, LC_NUMERIC, LANG), read without
// changing the process locale.
SimbolosNumericos simbolosDoAmbiente();

// Replaces where the symbols come from (tests); nullopt restores the environment. Also forgets the
// remembered style, as a new process would.
void defineSimbolosParaTeste(std::optional<SimbolosNumericos> simbolos);

// Replaces the symbols but keeps the remembered style (tests of a change while the program runs).
void defineSimbolosParaTesteMantendoEstilo(SimbolosNumericos simbolos);

// 1 or 2 for the given symbols, 0 for an inconsistent combination. No grouping symbol counts as 1.
int estiloDosSimbolos(const SimbolosNumericos& s);

// The regional style, checked: the first style found is remembered for the life of the process.
// Inconsistent symbols, or symbols changed since the first check, show their warning through the
// current interaction and throw FimDoPrograma.
int RetornaConfigWin();

// The style remembered by the first check, 0 before it.
int estiloLembrado();
// The remembered style, or the checked one when none is remembered yet (RetornaConfigWin).
int estiloRegional();
// The style a workbook is read with: the remembered one, else the environment's symbols, else 1.
// Never warns: reading a workbook is not a check of the regional settings.
int estiloDaLeitura();

// A double written as a spreadsheet or VB shows it: up to 15 significant digits, no grouping,
// exponent notation ("1E+16", "1,5E-05") for very large or small magnitudes.
std::string formataNumero(double v, int estilo);

// Reads a number text under the style: blanks around, a sign in front, grouping symbols anywhere
// in the integer part, one decimal separator, an optional exponent. Throws ErroConversao.
double lerNumero(const std::string& texto, int estilo);

// Reads a date (with an optional time of day) under the style: day/month/year for style 1,
// month/day/year for style 2, separators "/", "-" or "."; also year-month-day. Two-digit years:
// 00-29 are 2000-2029, 30-99 are 1930-1999. Throws ErroConversao.
DataHora lerDataHora(const std::string& texto, int estilo);

// Short date text of the style ("05/03/2024" or "03/05/2024").
std::string formataData(const Data& d, int estilo);

}  // namespace zuv
