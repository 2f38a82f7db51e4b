#include "common/ConverteSQL.h"

#include <limits>

#include "common/Erro.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

using ConverteSQLTest = ComEstilo;

TEST_F(ConverteSQLTest, EmptyBlankAndNullBecomeNullForEveryKind) {
  for (const char* tipo : {"CH", "VC", "FL", "IN", "DT", "SD", "CM"}) {
    EXPECT_EQ(ConverteSQL(Valor(), tipo), "Null") << tipo;
    EXPECT_EQ(ConverteSQL("", tipo), "Null") << tipo;
    EXPECT_EQ(ConverteSQL("   ", tipo), "Null") << tipo;
  }
}

TEST_F(ConverteSQLTest, TextsAreTrimmedAndQuotesDoubled) {
  EXPECT_EQ(ConverteSQL(" abc ", "CH"), "'abc'");
  EXPECT_EQ(ConverteSQL("'", "CH"), "''''");
  EXPECT_EQ(ConverteSQL("O'Brien", "VC"), "'O''Brien'");
  EXPECT_EQ(ConverteSQL("''x'", "CH"), "'''''x'''");
  EXPECT_EQ(ConverteSQL("São João", "CH"), "'São João'");
  // Statement-breaking input stays inside the literal.
  EXPECT_EQ(ConverteSQL("x'); DELETE FROM CLIENTE; --", "CH"), "'x''); DELETE FROM CLIENTE; --'");
}

TEST_F(ConverteSQLTest, NonTextValuesAsTextUseTheRegionalForm) {
  EXPECT_EQ(ConverteSQL(int64_t{42}, "CH"), "'42'");
  EXPECT_EQ(ConverteSQL(Decimal{350, 2}, "CH"), "'3,5'");
  EXPECT_EQ(ConverteSQL(Data{2024, 3, 5}, "CH"), "'05/03/2024'");
  usaEstilo(kIngles);
  EXPECT_EQ(ConverteSQL(Decimal{350, 2}, "CH"), "'3.5'");
}

TEST_F(ConverteSQLTest, NumbersGetTheInvariantFormWithLeadingBlank) {
  EXPECT_EQ(ConverteSQL("10", "FL"), " 10");
  EXPECT_EQ(ConverteSQL("2,75", "FL"), " 2.75");
  EXPECT_EQ(ConverteSQL("12.50", "FL"), " 1250");  // the point is a grouping symbol here
  EXPECT_EQ(ConverteSQL("1.234,5", "MO"), " 1234.5");
  EXPECT_EQ(ConverteSQL("-12", "IN"), "-12");
  EXPECT_EQ(ConverteSQL("0", "SI"), " 0");
  EXPECT_EQ(ConverteSQL("-0", "SI"), " 0");
  EXPECT_EQ(ConverteSQL(3.5, "RE"), " 3.5");
  EXPECT_EQ(ConverteSQL(1e16, "FL"), " 1E+16");
  EXPECT_EQ(ConverteSQL(0.00001, "FL"), " 1E-05");
  EXPECT_EQ(ConverteSQL(999999999999999.0, "FL"), " 999999999999999");
  EXPECT_EQ(ConverteSQL(0.1 + 0.2, "FL"), " 0.3");
  EXPECT_EQ(ConverteSQL(int64_t{-7}, "TI"), "-7");
  EXPECT_EQ(ConverteSQL(std::numeric_limits<int64_t>::max(), "FL"), " 9223372036854775807");
}

TEST_F(ConverteSQLTest, ExactDecimalsKeepAllTheirDigits) {
  EXPECT_EQ(ConverteSQL(Decimal{123456789012345678, 4}, "FL"), " 12345678901234.5678");
  EXPECT_EQ(ConverteSQL(Decimal{-5, 3}, "FL"), "-0.005");
  EXPECT_EQ(ConverteSQL(Decimal{std::numeric_limits<int64_t>::min(), 2}, "FL"), "-92233720368547758.08");
  EXPECT_EQ(ConverteSQL(Decimal{0, 2}, "FL"), " 0");
}

TEST_F(ConverteSQLTest, EnglishStyleReadsPointAsDecimal) {
  usaEstilo(kIngles);
  EXPECT_EQ(ConverteSQL("2.75", "FL"), " 2.75");
  EXPECT_EQ(ConverteSQL("1,250.5", "FL"), " 1250.5");
  EXPECT_EQ(ConverteSQL("01/31/2024", "DT"), "'01/31/2024'");
}

TEST_F(ConverteSQLTest, DatesBecomeMonthDayYear) {
  EXPECT_EQ(ConverteSQL(Data{2024, 1, 31}, "DT"), "'01/31/2024'");
  EXPECT_EQ(ConverteSQL(Data{2024, 1, 31}, "SD"), "'01/31/2024'");
  EXPECT_EQ(ConverteSQL("31/01/2024", "DT"), "'01/31/2024'");
  EXPECT_EQ(ConverteSQL("5/3/24", "DT"), "'03/05/2024'");
  EXPECT_EQ(ConverteSQL("31/01/2024 10:30:00", "DT"), "'01/31/2024'");
  EXPECT_EQ(ConverteSQL(DataHora{{2024, 2, 29}, {23, 59, 59, 0}}, "DT"), "'02/29/2024'");
  EXPECT_EQ(ConverteSQL("2024-03-05", "DT"), "'03/05/2024'");
}

TEST_F(ConverteSQLTest, MaskedCodesKeepOnlyDigits) {
  EXPECT_EQ(ConverteSQL("12.345.678/0001-90", "CM"), "'12345678000190'");
  EXPECT_EQ(ConverteSQL("abc", "CM"), "''");
}

TEST_F(ConverteSQLTest, UnknownCodeWarnsAndGivesEmptyText) {
  EXPECT_EQ(ConverteSQL("x", "ch"), "");
  EXPECT_EQ(ConverteSQL(Valor(), "XX"), "");
  ASSERT_EQ(tela.mensagens.size(), 2u);
  EXPECT_EQ(tela.mensagens[0].texto, "O Tipo de Dado informado à função ConverteSQL não é válido!");
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Exclamacao);
}

TEST_F(ConverteSQLTest, TextsThatAreNotNumbersOrDatesFailWithADescription) {
  for (const char* t : {"abc", "1,2,3", "12abc", "--1", "1e", "R$"}) {
    try {
      ConverteSQL(t, "FL");
      ADD_FAILURE() << t;
    } catch (const ErroConversao& e) {
      EXPECT_NE(std::string(e.what()).find(t), std::string::npos);
    }
  }
  for (const char* t : {"32/01/2024", "29/02/2023", "abc", "01/13/2024", "1/2", "10/10/2024 25:00"})
    EXPECT_THROW(ConverteSQL(t, "DT"), ErroConversao) << t;
}

TEST(PosicaoTextoTest, FindsFirstOccurrenceOneBased) {
  EXPECT_EQ(PosicaoTexto("abcabc", "c"), 3);
  EXPECT_EQ(PosicaoTexto("abc", "C"), 0);
  EXPECT_EQ(PosicaoTexto("abc", ""), 0);
  EXPECT_EQ(PosicaoTexto("", "a"), 0);
}

TEST_F(ConverteSQLTest, RetiraMascaraOnlyStripsInModeCM) {
  EXPECT_EQ(RetiraMascara("(11) 9876-5432", "CM"), "1198765432");
  EXPECT_EQ(RetiraMascara("(11) 9876-5432", "CH"), "(11) 9876-5432");
  EXPECT_EQ(RetiraMascara("", "CM"), "");
}

}  // namespace
}  // namespace zuv::teste
