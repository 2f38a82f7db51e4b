// Which number formats make a number a date or a time, the calendar of date serials, and the
// escapes of the XML text.
#include <gtest/gtest.h>

#include "platform/FormatoCelula.h"

namespace zuv {
namespace {

TEST(FormatoCelula, CodigosDeFormatoNumerosDeSerieEEscapes) {
  using enum TipoFormato;
  // "mm:ss" minutes, not the month; only the first section counts; quoted and bracketed text and an
  // exponent are not date letters.
  for (const char* codigo : {"mmm-yy", "[$-416]d\\ mmmm\\ yyyy", "[Red]dd/mm"})
    EXPECT_EQ(tipoFormatoCodigo(codigo), Data) << codigo;
  EXPECT_EQ(tipoFormatoCodigo("dd/mm/yyyy hh:mm"), DataHora);
  for (const char* codigo : {"mm:ss", "h:mm AM/PM"})
    EXPECT_EQ(tipoFormatoCodigo(codigo), Hora) << codigo;
  for (const char* codigo : {"General", "0.00E+00", "[$R$-416] #,##0.00", "\"dias\" 0;\"d\"0",
                             "#,##0_);[Red](#,##0)", "0;dd/mm", "@"})
    EXPECT_EQ(tipoFormatoCodigo(codigo), Numero) << codigo;

  // The spreadsheets' 29/02/1900; a time that rounds to the next day; the last day of the calendar.
  EXPECT_EQ(textoSerial(60, Data, false, 1), "29/02/1900");
  EXPECT_EQ(textoSerial(45356.9999999, DataHora, false, 1), "06/03/2024 00:00:00");
  EXPECT_EQ(textoSerial(2958465, Data, false, 1), "31/12/9999");
  EXPECT_EQ(textoSerial(2958466, Data, false, 1), "");
  EXPECT_EQ(textoNumero(" 2.5 ", 1), "2,5");

  // Formats made only of zeros and "#" pad whole numbers with zeros, as a spreadsheet shows them
  // (a colour or a locale in front changes nothing); decimals, conditions, literals and a single
  // zero pad nothing.
  for (auto [codigo, digitos] : {std::pair{"0000000000000", 13},
                                 {"[Red]00000;-00000", 5},
                                 {"[$-416]000", 3},
                                 {"0", 0},
                                 {"00.00", 0},
                                 {"000-000", 0},
                                 {"[>999]0000", 0},
                                 {"@", 0}})
    EXPECT_EQ(formatoDoCodigo(codigo).digitos, digitos) << codigo;
  const FormatoNumero cinco = formatoDoCodigo("00000");
  EXPECT_EQ(textoDoNumero(-42, cinco, false, 1), "-00042");
  EXPECT_EQ(textoDoNumero(12.5, cinco, false, 1), "12,5");
  EXPECT_EQ(textoDoNumero(1e16, formatoDoCodigo("00000000000000000000"), false, 1), "1E+16");
  EXPECT_EQ(textoNumero("abc", 1), "abc");
  std::string s = "a_x000D__x000a_b_x005F_x0041_ c_xZZZZ_";
  decodificaEscapes(s);
  EXPECT_EQ(s, "a\r\nb_x0041_ c_xZZZZ_");
  // UTF-16 units: a surrogate pair is one character; a lone surrogate stays for the checks to refuse.
  s = "_xD83D__xDE00_|_xD800_x|_xDC00_";
  decodificaEscapes(s);
  EXPECT_EQ(s, "😀|\xED\xA0\x80x|\xED\xB0\x80");
}

}  // namespace
}  // namespace zuv
