// Which number formats make a number a date or a time, and the calendar of date serials.
#include <gtest/gtest.h>

#include "platform/FormatoCelula.h"

namespace zuv {
namespace {

TEST(FormatoCelula, CodigosDeFormato) {
  const std::pair<const char*, TipoFormato> casos[] = {
      {"dd/mm/yyyy", TipoFormato::Data},
      {"DD/MM/YYYY", TipoFormato::Data},  // as LibreOffice writes it
      {"mmm-yy", TipoFormato::Data},
      {"[$-416]d\\ mmmm\\ yyyy", TipoFormato::Data},
      {"[Red]dd/mm", TipoFormato::Data},
      {"dd/mm/yyyy hh:mm", TipoFormato::DataHora},
      {"h:mm", TipoFormato::Hora},
      {"mm:ss", TipoFormato::Hora},  // minutes, not the month
      {"[h]:mm:ss", TipoFormato::Hora},
      {"h:mm AM/PM", TipoFormato::Hora},
      {"General", TipoFormato::Numero},
      {"0.00E+00", TipoFormato::Numero},
      {"[$R$-416] #,##0.00", TipoFormato::Numero},
      {"\"dias\" 0;\"d\"0", TipoFormato::Numero},
      {"#,##0_);[Red](#,##0)", TipoFormato::Numero},
      {"0;dd/mm", TipoFormato::Numero},  // only the first section counts
      {"@", TipoFormato::Numero},
  };
  for (const auto& [codigo, tipo] : casos)
    EXPECT_EQ(tipoFormatoCodigo(codigo), tipo) << codigo;
  EXPECT_EQ(tipoFormatoEmbutido(14), TipoFormato::Data);
  EXPECT_EQ(tipoFormatoEmbutido(22), TipoFormato::DataHora);
  EXPECT_EQ(tipoFormatoEmbutido(20), TipoFormato::Hora);
  EXPECT_EQ(tipoFormatoEmbutido(4), TipoFormato::Numero);
  EXPECT_EQ(tipoFormatoEmbutido(49), TipoFormato::Numero);
}

TEST(FormatoCelula, CalendarioDosNumerosDeSerie) {
  EXPECT_EQ(textoSerial(1, TipoFormato::Data, false, 1), "01/01/1900");
  EXPECT_EQ(textoSerial(59, TipoFormato::Data, false, 1), "28/02/1900");
  EXPECT_EQ(textoSerial(60, TipoFormato::Data, false, 1), "29/02/1900");  // the spreadsheets' leap day
  EXPECT_EQ(textoSerial(61, TipoFormato::Data, false, 1), "01/03/1900");
  EXPECT_EQ(textoSerial(45356, TipoFormato::Data, false, 2), "03/05/2024");
  EXPECT_EQ(textoSerial(45356.9999999, TipoFormato::DataHora, false, 1), "06/03/2024 00:00:00");
  EXPECT_EQ(textoSerial(0.75, TipoFormato::Hora, false, 1), "18:00:00");
  EXPECT_EQ(textoSerial(2958465, TipoFormato::Data, false, 1), "31/12/9999");
  EXPECT_EQ(textoSerial(2958466, TipoFormato::Data, false, 1), "");
  EXPECT_EQ(textoSerial(-1, TipoFormato::Data, false, 1), "");
}

TEST(FormatoCelula, NumerosBooleanosEEscapes) {
  EXPECT_EQ(textoNumero("7891234567890", 1), "7891234567890");
  EXPECT_EQ(textoNumero(" 2.5 ", 1), "2,5");
  EXPECT_EQ(textoNumero("1e3", 2), "1000");
  EXPECT_EQ(textoNumero("abc", 1), "abc");
  EXPECT_EQ(textoNumero("", 1), "");
  EXPECT_EQ(textoBooleano("1", 1), "VERDADEIRO");
  EXPECT_EQ(textoBooleano("false", 2), "FALSE");
  std::string s = "a_x000D__x000a_b_x005F_x0041_ c_xZZZZ_";
  decodificaEscapes(s);
  EXPECT_EQ(s, "a\r\nb_x0041_ c_xZZZZ_");
}

}  // namespace
}  // namespace zuv
