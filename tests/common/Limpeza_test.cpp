#include "common/Limpeza.h"

#include "common/Erro.h"
#include "common/Texto.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

TEST(LimpaTextoTest, TrimsFirstThenBlanksSymbols) {
  EXPECT_EQ(LimpaTexto("  Ação & Cia  ", false), "Acao   Cia");
  EXPECT_EQ(LimpaTexto("#ABC@", false), " ABC ");  // not trimmed again
}

TEST(LimpaTextoTest, DollarAndPercentDependOnTheFlag) {
  EXPECT_EQ(LimpaTexto("ÁGUA 50%", false), "AGUA 50 ");
  EXPECT_EQ(LimpaTexto("ÁGUA 50%", true), "AGUA 50%");
  EXPECT_EQ(LimpaTexto("US$ 5", false), "US  5");
  EXPECT_EQ(LimpaTexto("US$ 5", true), "US$ 5");
  EXPECT_EQ(LimpaTexto("§¬&£@#¨*", true), "        ");
}

TEST(LimpaTextoTest, RemovesSeparatorsAndQuotes) {
  EXPECT_EQ(LimpaTexto("D'ÁVILA|LTDA", false), "DAVILALTDA");
  EXPECT_EQ(LimpaTexto("TV 29\"", false), "TV 29 ");
  EXPECT_EQ(LimpaTexto("  '  x  |  ", false), "x");
}

TEST(LimpaTextoTest, FoldsAccentsInBothCases) {
  EXPECT_EQ(LimpaTexto("áäàãâ éëèê íïìî óöòõô úüùû ç", false), "aaaaa eeee iiii ooooo uuuu c");
  EXPECT_EQ(LimpaTexto("ÁÄÀÃÂ ÉËÈÊ ÍÏÌÎ ÓÖÒÕÔ ÚÜÙÛ Ç", false), "AAAAA EEEE IIII OOOOO UUUU C");
  EXPECT_EQ(LimpaTexto("Nº 1ª 2² 3³ 40° 5€ 6¢", false), "No 1a 22 33 40o 5C 6c");
  EXPECT_EQ(LimpaTexto("Ñandú niño", false), "Ñandu niño");  // letters outside the table stay
  EXPECT_EQ(LimpaTexto("Москва 東京", false), "Москва 東京");
}

TEST(LimpaTextoTest, VariantKeepsBarAndBlanksQuote) {
  EXPECT_EQ(LimpaTextoMantendoSeparadores(" A|B'Ç ", false), "A|B C");
}

TEST(LimpaTextoTest, HandlesEmptyAndInvalidUtf8) {
  EXPECT_EQ(LimpaTexto("", false), "");
  EXPECT_EQ(LimpaTexto("   ", false), "");
  EXPECT_EQ(LimpaTexto("a\xff"
                       "b",
                       false),
            "a\uFFFDb");
}

TEST(TrocaAspasTest, QuotesBecomeBlanks) {
  EXPECT_EQ(TrocaAspas("D'AVILA'S"), "D AVILA S");
  EXPECT_EQ(TrocaAspas(""), "");
}

TEST(SomenteDigitosTest, KeepsDigitsInOrder) {
  EXPECT_EQ(SomenteDigitos("12.345-678"), "12345678");
  EXPECT_EQ(SomenteDigitos("ABC"), "");
  EXPECT_EQ(SomenteDigitos("²³١"), "");  // only ASCII digits count
}

using CNumeroTest = ComEstilo;

TEST_F(CNumeroTest, ConvertsUnderTheRegionalStyle) {
  EXPECT_EQ(cNumero("   "), 0);
  EXPECT_EQ(cNumero(""), 0);
  EXPECT_DOUBLE_EQ(cNumero("1.234,50"), 1234.5);
  EXPECT_DOUBLE_EQ(cNumero(" 7 "), 7);
  EXPECT_THROW(cNumero("x"), ErroConversao);
  usaEstilo(kIngles);
  EXPECT_DOUBLE_EQ(cNumero("1,234.50"), 1234.5);
}

TEST(TextoTest, UpperCaseAndCharacterCounts) {
  EXPECT_EQ(maiusculas("física ção ñ ÿ œ"), "FÍSICA ÇÃO Ñ Ÿ Œ");
  EXPECT_EQ(maiusculas("sp."), "SP.");
  EXPECT_EQ(esquerda("ÁÉÍÓÚ", 3), "ÁÉÍ");
  EXPECT_EQ(esquerda("ab", 5), "ab");
  EXPECT_EQ(paraUtf8(paraCodigos("ç€😀")), "ç€😀");
  EXPECT_EQ(paraCodigos("\xe2\x82"), std::u32string(U"\uFFFD\uFFFD"));
  EXPECT_EQ(apara("  a b  "), "a b");
}

}  // namespace
}  // namespace zuv::teste
