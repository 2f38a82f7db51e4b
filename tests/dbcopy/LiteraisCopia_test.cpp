#include "dbcopy/LiteraisCopia.h"

#include "common/Erro.h"

#include "platform/Recordset.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

using LiteraisCopiaTest = ComEstilo;

// The predefined copies' literals. Those of the table copy (texts as stored, booleans, every type of
// column) are checked value by value by CopiaTabelaTest.
TEST_F(LiteraisCopiaTest, ValuesKeepEveryDigitTheirTimeAndTheirText) {
  struct Caso {
    Valor valor;
    TipoSQL tipo;
    std::string literal;
  };
  const std::vector<Caso> casos = {
      {Valor(), TipoSQL::FL, "Null"},
      {Valor(int64_t{42}), TipoSQL::FL, " 42"},
      {Valor(int64_t{-7}), TipoSQL::FL, "-7"},
      {Valor(int64_t{9223372036854775807}), TipoSQL::FL, " 9223372036854775807"},
      {Valor(Decimal{123456789012345678, 4}), TipoSQL::FL, " 12345678901234.5678"},
      {Valor(Decimal{-3125, 3}), TipoSQL::FL, "-3.125"},
      {Valor(Decimal{350, 2}), TipoSQL::FL, " 3.5"},
      {Valor(0.1), TipoSQL::FL, " 0.1"},
      {Valor(1.0 / 3), TipoSQL::FL, " 0.3333333333333333"},
      {Valor(1e20), TipoSQL::FL, " 1e+20"},
      {Valor("12,5"), TipoSQL::FL, " 12.5"},  // a text read under the regional style, as ConverteSQL
      {Valor("  D'ÁVILA  "), TipoSQL::CH, "'D''ÁVILA'"},
      {Valor(""), TipoSQL::CH, "Null"},
      {Valor(Data{2024, 2, 29}), TipoSQL::DT, "'02/29/2024'"},
      {Valor(DataHora{{2024, 3, 5}, {0, 0, 0, 0}}), TipoSQL::DT, "'03/05/2024'"},
      {Valor(DataHora{{2024, 3, 5}, {10, 11, 12, 3456}}), TipoSQL::DT, "'03/05/2024 10:11:12.3456'"},
      {Valor(Hora{23, 59, 58, 1}), TipoSQL::DT, "'23:59:58.0001'"},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(LiteralCopia(c.valor, c.tipo), c.literal) << c.literal;
  EXPECT_EQ(textoSimples(Valor(int64_t{12})), "12");
  EXPECT_EQ(textoSimples(Valor(Decimal{125, 1})), "12.5");
  Campo binario{"C_BIN", ClasseTipo::Binario};
  EXPECT_EQ(LiteralDoCampo(Valor(), binario), "Null");
  EXPECT_THROW(LiteralDoCampo(Valor("xyz"), binario), ErroConversao);
}

}  // namespace
}  // namespace zuv::teste
