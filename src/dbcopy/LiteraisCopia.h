#pragma once
// Literals for values copied from one ZUV database into another: ConverteSQL's literals (numbers
// with a leading blank, 'MM/DD/YYYY' dates, Null for an empty value), except where ConverteSQL
// would lose something on the way: a double is written with every digit it needs to read back the
// same, a timestamp keeps its time of day and a time is written as one. NUMERIC values already keep
// their exact digits in ConverteSQL. Texts keep their characters (the connection turns them back
// into the same Windows-1252 bytes).
#include <string>

#include "common/ConverteSQL.h"
#include "common/Valor.h"

namespace zuv {

struct Campo;

// The literal of a value read from the origin for the type code: FL " 5", " 3.25", "-2", " 0.1",
// " 1e+20"; DT 'MM/DD/YYYY', 'MM/DD/YYYY HH:MM:SS.ffff' when there is a time of day, 'HH:MM:SS.ffff'
// for a time; any other code as ConverteSQL writes it. Null -> "Null" for every code. A text given
// to FL or DT is read as ConverteSQL reads it; one that is no number or date throws ErroConversao.
std::string LiteralCopia(const Valor& valor, TipoSQL tipo);

// A text as it is stored: nothing trimmed, '' stays '', quotes doubled. Other values as CH.
std::string literalGuardado(const Valor& valor);

// The literal for a column of a generic table copy, by the column's class: numbers FL, texts as
// stored, dates and times DT, BOOLEAN TRUE/FALSE. A binary BLOB (or a column this copy cannot write)
// with a value throws ErroConversao naming the column; a null one is Null.
std::string LiteralDoCampo(const Valor& valor, const Campo& campo);

// True when LiteralDoCampo can write the column's values.
bool campoCopiavel(const Campo& campo);

// A value as a statement takes it when it is appended as it is ("Where IDPRODUTO =" + id): whole
// numbers in plain digits, decimals with a point, texts unchanged, null as "".
std::string textoSimples(const Valor& valor);

}  // namespace zuv
