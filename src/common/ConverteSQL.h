#pragma once
// Turns values into the SQL literals that every statement of the system is built from.
#include <string>
#include <string_view>

#include "common/Regional.h"  // estiloRegional, which the callers of ConverteSQL use
#include "common/Valor.h"

namespace zuv {

// The literal of Valor for the type code Tipo ("CM", "VC", "CH", "SD", "DT", "MO", "SM", "IN",
// "SI", "TI", "FL", "RE"):
//   empty, blank or null -> Null
//   CM  -> '<digits only>'         VC, CH -> 'text' with quotes doubled
//   SD, DT -> 'MM/DD/YYYY'         the rest -> bare number, leading blank unless negative (" 3.5")
// An unknown code warns through the current interaction and gives "". A text that is not a number
// or a date throws ErroConversao.
std::string ConverteSQL(const Valor& Valor, const std::string& Tipo);

// A text literal: the text between single quotes with each quote doubled ('D''AGUA'; '' for an empty
// text). Every text that goes into a statement passes here: it is what keeps a cell from ending the
// literal and altering the statement.
std::string aspas(std::string_view texto);

// The type codes as an enum, so that a misspelt code is a compile error rather than a message box.
enum class TipoSQL { CM, VC, CH, SD, DT, MO, SM, IN, SI, TI, FL, RE };
// The code's two letters ("CH" for TipoSQL::CH).
const char* codigoTipoSQL(TipoSQL tipo);
// The same literal as ConverteSQL(v, codigoTipoSQL(tipo)).
std::string ConverteSQL(const Valor& Valor, TipoSQL Tipo);

// The decimal digits of Texto when Modo is "CM", otherwise Texto unchanged. Checks the regional
// style first.
std::string RetiraMascara(const std::string& Texto, const std::string& Modo);

// 1-based position of the first Procura in Texto; 0 when absent or when Procura is empty.
int PosicaoTexto(const std::string& Texto, const std::string& Procura);

}  // namespace zuv
