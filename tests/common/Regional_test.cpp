// The regional style check and its warnings, and numbers and dates read and written under a style.
#include "common/Regional.h"

#include "common/Erro.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

using RegionalTest = ComEstilo;

TEST_F(RegionalTest, OsDoisEstilosEOPrimeiroFicaLembrado) {
  EXPECT_EQ(estiloDosSimbolos({".", ""}), 1);  // C / POSIX locales count as Brazilian
  EXPECT_EQ(RetornaConfigWin(), 1);
  usaEstilo(kIngles);  // forgets the remembered style, as a new process would
  EXPECT_EQ(RetornaConfigWin(), 2);
  EXPECT_TRUE(tela.mensagens.empty());
}

TEST_F(RegionalTest, SimbolosInconsistentesOuAlteradosAvisamEEncerram) {
  usaEstilo({",", "\u202f"});  // French: narrow no-break space
  EXPECT_THROW(RetornaConfigWin(), FimDoPrograma);
  usaEstilo(kIngles);
  EXPECT_EQ(RetornaConfigWin(), 2);
  defineSimbolosParaTesteMantendoEstilo(kBrasileiro);
  EXPECT_THROW(RetornaConfigWin(), FimDoPrograma);
  ASSERT_EQ(tela.mensagens.size(), 2u);
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Exclamacao);
  EXPECT_EQ(tela.mensagens[0].texto,
            "As informações para \"Símbolo Decimal\" e para \"Símbolo de Agrupamento de Dígitos\", na Opção "
            "\"Configurações Regionais\" do seu PAINEL DE CONTROLE, não estão Consistentes. Isto pode "
            "provocar instabilidade no Sistema. O \"ImportadorZUV\" Será Fechado, podendo ser Reinicializado "
            "em seguida!");
  EXPECT_EQ(tela.mensagens[1].texto,
            "Foram detectadas alterações no \"Símbolo Decimal\" ou no \"Símbolo de Agrupamento de Dígitos\", "
            "após a inicialização deste Sistema. Este procedimento pode provocar instabilidade no Sistema. O "
            "\"ImportadorZUV\" Será Fechado, podendo ser Reinicializado em seguida!");
}

TEST(Regional, NumerosEDatasNoEstilo) {
  EXPECT_EQ(formataNumero(1.0 / 3, 2), "0.333333333333333");
  EXPECT_EQ(formataNumero(-1.5e-7, 1), "-1,5E-07");
  EXPECT_EQ(formataNumero(-0.0, 1), "0");
  EXPECT_DOUBLE_EQ(lerNumero("R$ 1.234,50", 1), 1234.5);
  EXPECT_DOUBLE_EQ(lerNumero(" -1,5E+3 ", 1), -1500);
  for (const char* t : {"", "1,2,3", "1e999", "12 34"})
    EXPECT_THROW(lerNumero(t, 1), ErroConversao) << t;
  EXPECT_EQ(lerDataHora("05/03/2024", 2).data, (Data{2024, 5, 3}));
  EXPECT_EQ(lerDataHora("5-3-29", 1).data, (Data{2029, 3, 5}));
  EXPECT_EQ(lerDataHora("5.3.30", 1).data, (Data{1930, 3, 5}));
  EXPECT_EQ(lerDataHora("2024-12-31T08:15:30", 1), (DataHora{{2024, 12, 31}, {8, 15, 30, 0}}));
  for (const char* t : {"29/02/1900", "05/03/2024 x", "05/03-2024"})
    EXPECT_THROW(lerDataHora(t, 1), ErroConversao) << t;
}

}  // namespace
}  // namespace zuv::teste
