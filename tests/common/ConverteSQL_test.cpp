// The literals of the type codes under both regional styles, and the conversions that fail.
#include "common/ConverteSQL.h"

#include <gmock/gmock.h>

#include <limits>
#include <tuple>

#include "common/Erro.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

using ConverteSQLTest = ComEstilo;
using ::testing::HasSubstr, ::testing::ThrowsMessage;

using Caso = std::tuple<Valor, const char*, const char*>;  // value, type code, literal

void confere(std::initializer_list<Caso> casos) {
  for (const auto& [valor, tipo, literal] : casos)
    EXPECT_EQ(ConverteSQL(valor, tipo), literal) << tipo;
}

TEST_F(ConverteSQLTest, LiteraisDosTiposNosDoisEstilos) {
  for (const char* tipo : {"CH", "VC", "FL", "IN", "DT", "SD", "CM"})
    for (const Valor& v : {Valor(), Valor(""), Valor("   ")})
      EXPECT_EQ(ConverteSQL(v, tipo), "Null") << tipo;
  EXPECT_EQ(aspas("D'AGUA''"), "'D''AGUA'''''");
  EXPECT_EQ(aspas(""), "''");
  const int64_t maior = std::numeric_limits<int64_t>::max(), menor = std::numeric_limits<int64_t>::min();
  confere({
      {" abc ", "CH", "'abc'"},
      {"x'); DELETE FROM CLIENTE; --", "CH", "'x''); DELETE FROM CLIENTE; --'"},
      {"12.345.678/0001-90", "CM", "'12345678000190'"},
      {Decimal{350, 2}, "CH", "'3,5'"},
      {Data{2024, 3, 5}, "CH", "'05/03/2024'"},
      {Data{2024, 1, 31}, "SD", "'01/31/2024'"},
      {"31/01/2024 10:30:00", "DT", "'01/31/2024'"},
      {"5/3/24", "DT", "'03/05/2024'"},
      {"2,75", "FL", " 2.75"},
      {"12.50", "FL", " 1250"},  // the point groups digits here
      {"-0", "SI", " 0"},
      {1e16, "FL", " 1E+16"},
      {999999999999999.0, "FL", " 999999999999999"},
      {0.1 + 0.2, "FL", " 0.3"},
      {maior, "FL", " 9223372036854775807"},
      {Decimal{-5, 3}, "FL", "-0.005"},
      {Decimal{menor, 2}, "FL", "-92233720368547758.08"},
  });
  usaEstilo(kIngles);
  confere(
      {{"1,250.5", "FL", " 1250.5"}, {"01/31/2024", "DT", "'01/31/2024'"}, {Decimal{350, 2}, "CH", "'3.5'"}});
}

TEST_F(ConverteSQLTest, TipoDesconhecidoAvisaEDaTextoVazio) {
  EXPECT_EQ(ConverteSQL("x", "ch"), "");
  EXPECT_EQ(ConverteSQL(Valor(), "XX"), "");
  ASSERT_EQ(tela.mensagens.size(), 2u);
  EXPECT_EQ(tela.mensagens[0].texto, "O Tipo de Dado informado à função ConverteSQL não é válido!");
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Exclamacao);
}

TEST_F(ConverteSQLTest, TextoQueNaoENumeroNemDataFalhaDizendoQual) {
  for (const char* t : {"abc", "1,2,3", "12abc", "--1", "1e", "R$"})
    EXPECT_THAT([&] { ConverteSQL(t, "FL"); }, ThrowsMessage<ErroConversao>(HasSubstr(t)));
  for (const char* t : {"32/01/2024", "29/02/2023", "abc", "01/13/2024", "1/2", "10/10/2024 25:00"})
    EXPECT_THROW(ConverteSQL(t, "DT"), ErroConversao) << t;
}

}  // namespace
}  // namespace zuv::teste
