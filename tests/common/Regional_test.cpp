#include "common/Regional.h"

#include "common/Erro.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

using RegionalTest = ComEstilo;

const std::string kInconsistente =
    "As informações para \"Símbolo Decimal\" e para \"Símbolo de Agrupamento de Dígitos\", na Opção "
    "\"Configurações Regionais\" do seu PAINEL DE CONTROLE, não estão Consistentes. Isto pode provocar "
    "instabilidade no Sistema. O \"\" Será Fechado, podendo ser Reinicializado em seguida!";
const std::string kAlterado =
    "Foram detectadas alterações no \"Símbolo Decimal\" ou no \"Símbolo de Agrupamento de Dígitos\", após a "
    "inicialização deste Sistema. Este procedimento pode provocar instabilidade no Sistema. O \"\" Será "
    "Fechado, "
    "podendo ser Reinicializado em seguida!";

TEST(EstiloDosSimbolosTest, ClassifiesSymbolPairs) {
  EXPECT_EQ(estiloDosSimbolos({",", "."}), 1);
  EXPECT_EQ(estiloDosSimbolos({".", ","}), 2);
  EXPECT_EQ(estiloDosSimbolos({".", ""}), 1);  // C / POSIX locales count as Brazilian
  EXPECT_EQ(estiloDosSimbolos({",", ""}), 1);
  EXPECT_EQ(estiloDosSimbolos({",", "\u202f"}), 0);  // French: narrow no-break space
  EXPECT_EQ(estiloDosSimbolos({".", "'"}), 0);       // Swiss
  EXPECT_EQ(estiloDosSimbolos({".", "."}), 0);
}

TEST_F(RegionalTest, RemembersTheFirstStyle) {
  EXPECT_EQ(estiloLembrado(), 0);
  EXPECT_EQ(RetornaConfigWin(), 1);
  EXPECT_EQ(estiloLembrado(), 1);
  EXPECT_EQ(RetornaConfigWin(), 1);
  EXPECT_TRUE(tela.mensagens.empty());
}

TEST_F(RegionalTest, InconsistentSettingsWarnAndEndTheProgram) {
  usaEstilo({",", "\u202f"});
  EXPECT_THROW(RetornaConfigWin(), FimDoPrograma);
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_EQ(tela.mensagens[0].texto, kInconsistente);
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Exclamacao);
}

TEST_F(RegionalTest, SettingsChangedWhileRunningWarnAndEndTheProgram) {
  EXPECT_EQ(RetornaConfigWin(), 1);
  // Changing where the symbols come from forgets the remembered style, so set it back by hand:
  // a first check under English symbols, then Brazilian ones.
  usaEstilo(kIngles);
  EXPECT_EQ(RetornaConfigWin(), 2);
  defineSimbolosParaTesteMantendoEstilo(kBrasileiro);
  EXPECT_THROW(RetornaConfigWin(), FimDoPrograma);
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_EQ(tela.mensagens[0].texto, kAlterado);
}

TEST(FormataNumeroTest, WritesUpToFifteenSignificantDigits) {
  EXPECT_EQ(formataNumero(3.5, 1), "3,5");
  EXPECT_EQ(formataNumero(3.5, 2), "3.5");
  EXPECT_EQ(formataNumero(7891234567890.0, 1), "7891234567890");
  EXPECT_EQ(formataNumero(1.0 / 3, 1), "0,333333333333333");
  EXPECT_EQ(formataNumero(1e15, 1), "1E+15");
  EXPECT_EQ(formataNumero(-1.5e-7, 1), "-1,5E-07");
  EXPECT_EQ(formataNumero(-0.0, 1), "0");
}

TEST(LerNumeroTest, ReadsTheStyleLeniently) {
  EXPECT_DOUBLE_EQ(lerNumero("1.234,50", 1), 1234.5);
  EXPECT_DOUBLE_EQ(lerNumero(" -3,5 ", 1), -3.5);
  EXPECT_DOUBLE_EQ(lerNumero("R$ 12,50", 1), 12.5);
  EXPECT_DOUBLE_EQ(lerNumero("1,5E+3", 1), 1500);
  EXPECT_DOUBLE_EQ(lerNumero(",5", 1), 0.5);
  EXPECT_DOUBLE_EQ(lerNumero("1,234.50", 2), 1234.5);
  EXPECT_THROW(lerNumero("", 1), ErroConversao);
  EXPECT_THROW(lerNumero("1,2,3", 1), ErroConversao);
  EXPECT_THROW(lerNumero("1e999", 1), ErroConversao);
  EXPECT_THROW(lerNumero("12 34", 1), ErroConversao);
}

TEST(LerDataHoraTest, ReadsDatesAndTimesOfTheStyle) {
  EXPECT_EQ(lerDataHora("05/03/2024", 1).data, (Data{2024, 3, 5}));
  EXPECT_EQ(lerDataHora("05/03/2024", 2).data, (Data{2024, 5, 3}));
  EXPECT_EQ(lerDataHora("5-3-99", 1).data, (Data{1999, 3, 5}));
  EXPECT_EQ(lerDataHora("2024-12-31T08:15:30", 1), (DataHora{{2024, 12, 31}, {8, 15, 30, 0}}));
  EXPECT_EQ(lerDataHora("29/02/2000 7:05", 1).hora, (Hora{7, 5, 0, 0}));
  EXPECT_THROW(lerDataHora("29/02/1900", 1), ErroConversao);
  EXPECT_THROW(lerDataHora("05/03/2024 x", 1), ErroConversao);
  EXPECT_THROW(lerDataHora("05/03-2024", 1), ErroConversao);
}

}  // namespace
}  // namespace zuv::teste
