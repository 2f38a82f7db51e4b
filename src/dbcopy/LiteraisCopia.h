#pragma once
// Literals for values copied from one ZUV database into another. They follow ConverteSQL's forms
// (numbers with a leading blank, 'MM/DD/YYYY' dates, Null for an empty value) but lose nothing on
// the way: NUMERIC values are written from their exact digits, doubles with every digit they need
// to read back the same, timestamps keep their time of day, and texts keep their characters (the
// connection turns them back into the same Windows-1252 bytes).
#include <string>

#include "common/Valor.h"

namespace zuv {

struct Campo;

enum class TipoCopia {
  FL,  // number: " 5", " 3.25", "-2"; a double as " 0.1" or " 1e+20"
  CH,  // text as ConverteSQL "CH" writes it: trimmed, blank -> Null, quotes doubled
  TX,  // text as stored: nothing trimmed, '' stays '', quotes doubled
  DT,  // 'MM/DD/YYYY', 'MM/DD/YYYY HH:MM:SS.ffff' when there is a time of day, 'HH:MM:SS.ffff' for a time
};

// The literal of a value read from the origin. Null -> "Null" for every type. A text given to FL
// or DT is read as ConverteSQL reads it (regional style); one that is no number or date throws
// ErroConversao.
std::string LiteralCopia(const Valor& valor, TipoCopia tipo);

// The literal for a column of a generic table copy, chosen by the column's Firebird type: every
// numeric type FL, CHAR/VARCHAR/text BLOB TX, DATE/TIME/TIMESTAMP DT, BOOLEAN TRUE/FALSE.
// A binary BLOB (or a type this copy cannot write) with a value throws ErroConversao naming the
// column; a null one is Null.
std::string LiteralDoCampo(const Valor& valor, const Campo& campo);

// True when the column's type can be copied by LiteralDoCampo.
bool campoCopiavel(const Campo& campo);

// A value as a statement takes it when it is appended as it is ("Where IDPRODUTO =" + id): whole
// numbers in plain digits, decimals with a point, texts unchanged, null as "".
std::string textoSimples(const Valor& valor);

}  // namespace zuv
