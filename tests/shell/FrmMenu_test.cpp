// The main menu: its caption, the five choices, one modeless instance per form.
#include "shell/FrmMenu.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "shell/Menu.h"
#include "support/AplicacaoQt.h"

namespace zuv {
namespace {

class FrmMenuTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const OpcaoMenu& o : opcoesMenu()) {
      if (QWidget* w = FrmMenu::formularioAberto(o.botao)) w->close();
      FrmMenu::registraFormulario(o.botao, {});
    }
    teste::processaExclusoes();
  }
  void clica(const char* nome) { teste::qt::controle(menu, nome)->click(); }
  QApplication& app = teste::aplicacaoQt();
  FrmMenu menu;
};

TEST_F(FrmMenuTest, LegendaComADataECincoEscolhasEmMoldurasComLegendasERotulos) {
  EXPECT_EQ(tituloMenuComData(Data{2026, 12, 5}, "."), "Importador Sistema ZUV  & Data Criação 05.12.2026");
  EXPECT_EQ(menu.windowTitle().toStdString(), tituloMenuComData(Data::hoje(), separadorDataDoAmbiente()));
  const char* const esperados[][3] = {
      {"cmdImportaNFE", "Importação de NCM / CFOP", "Atualização da Base de Dados - Cadastro de  NCM e CFOP"},
      {"cmdclientes", "Importação de Novos Clientes", "Atualização da Base de Dados - Cadastro de Clientes"},
      {"cmdImportaZUV", "Importa Outro Banco ZUV",
       "Migração de um Banco de Dados ZUV PARA outro Banco de Dados ZUV"},
      {"cmdImportaProduto", "Importação Planilha EXCEL",
       "Migração Padrão - Outro Sistema para o Sistema ZUV em Formato Excel"},
      {"cmdImportaNCM", "Importação de NCM / CFOP / Aliquota Imposto / Pis / Cofins",
       "Atualização da Base de Dados - Cadastro de  NCM e CFOP"},
  };
  EXPECT_EQ(menu.findChildren<QPushButton*>().size(), 5);
  for (const auto& [botao, legenda, rotulo] : esperados) {
    auto* b = menu.findChild<QPushButton*>(botao);
    ASSERT_TRUE(b && qobject_cast<QGroupBox*>(b->parentWidget())) << botao << ": a button in a frame";
    EXPECT_EQ(b->text(), QString::fromUtf8(legenda));
    const auto rotulos = b->parentWidget()->findChildren<QLabel*>();
    ASSERT_EQ(rotulos.size(), 1) << botao;
    EXPECT_EQ(rotulos[0]->text(), QString::fromUtf8(rotulo));
  }
}

TEST_F(FrmMenuTest, UmaInstanciaModelessPorFormularioRecriadaDepoisDeFechada) {
  FrmMenu::registraFormulario("cmdImportaZUV", [] { return new QWidget; });
  clica("cmdImportaZUV");
  QPointer<QWidget> primeiro = FrmMenu::formularioAberto("cmdImportaZUV");
  ASSERT_FALSE(primeiro.isNull());
  clica("cmdImportaZUV");
  EXPECT_EQ(FrmMenu::formularioAberto("cmdImportaZUV"), primeiro.data());
  EXPECT_TRUE(primeiro->isVisible() && primeiro->isWindow() && primeiro->windowModality() == Qt::NonModal);
  primeiro->close();  // its Sair
  teste::processaExclusoes();
  EXPECT_TRUE(primeiro.isNull());
  clica("cmdImportaZUV");
  EXPECT_NE(FrmMenu::formularioAberto("cmdImportaZUV"), nullptr);
}

}  // namespace
}  // namespace zuv
