// Cleaning of texts before they go into a statement, and the text helpers it rests on.
#include "common/Limpeza.h"

#include "common/Erro.h"
#include "common/Texto.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

TEST(LimpaTextoTest, AparaPrimeiroDepoisTrocaSimbolosPorBrancos) {
  EXPECT_EQ(LimpaTexto("  Ação & Cia  ", false), "Acao   Cia");
  EXPECT_EQ(LimpaTexto("#ABC@", false), " ABC ");  // symbols at the ends: not trimmed again
  EXPECT_EQ(LimpaTexto("  '  x  |  ", false), "x");
  EXPECT_EQ(LimpaTexto("D'ÁVILA|LTDA TV 29\"", false), "DAVILALTDA TV 29 ");
  EXPECT_EQ(LimpaTexto("ÁGUA 50% US$ 5", false), "AGUA 50  US  5");
  EXPECT_EQ(LimpaTexto("ÁGUA 50% US$ 5", true), "AGUA 50% US$ 5");
  EXPECT_EQ(LimpaTexto("§¬&£@#¨*", true), "        ");
  EXPECT_EQ(LimpaTextoMantendoSeparadores(" A|B'Ç ", false), "A|B C");
  EXPECT_EQ(LimpaTexto("a\xff", false), "a\uFFFD");
}

TEST(LimpaTextoTest, AcentosMinusculosEMaiusculos) {
  EXPECT_EQ(LimpaTexto("áäàãâ éëèê íïìî óöòõô úüùû ç", false), "aaaaa eeee iiii ooooo uuuu c");
  EXPECT_EQ(LimpaTexto("ÁÄÀÃÂ ÉËÈÊ ÍÏÌÎ ÓÖÒÕÔ ÚÜÙÛ Ç", false), "AAAAA EEEE IIII OOOOO UUUU C");
  EXPECT_EQ(LimpaTexto("Nº 1ª 2² 3³ 40° 5€ 6¢", false), "No 1a 22 33 40o 5C 6c");
  EXPECT_EQ(LimpaTexto("Ñandú niño Москва", false), "Ñandu niño Москва");  // outside the table: kept
}

TEST_F(ComEstilo, cNumeroNoEstiloRegional) {
  EXPECT_EQ(cNumero("   "), 0);
  EXPECT_DOUBLE_EQ(cNumero("1.234,50"), 1234.5);
  EXPECT_THROW(cNumero("x"), ErroConversao);
}

TEST(TextoTest, MaiusculasEContagemPorCaractere) {
  EXPECT_EQ(maiusculas("física ção ñ ÿ œ"), "FÍSICA ÇÃO Ñ Ÿ Œ");
  EXPECT_EQ(esquerda("ÁÉÍÓÚ", 3), "ÁÉÍ");
  EXPECT_EQ(paraCodigos("\xe2\x82"), std::u32string(U"\uFFFD\uFFFD"));
  EXPECT_EQ(SomenteDigitos("12.345-678 ²³١"), "12345678");  // only ASCII digits count
}

}  // namespace
}  // namespace zuv::teste
