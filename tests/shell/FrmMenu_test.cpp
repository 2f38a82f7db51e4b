#include "shell/FrmMenu.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <cstdlib>

#include "gui/FormularioBase.h"
#include "shell/Menu.h"
#include "support/AplicacaoQt.h"

namespace zuv {
namespace {

using teste::aplicacaoQt;
using teste::processaExclusoes;

class FrmMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    aplicacaoQt();
    defineEncerramento([] {});
  }
  void TearDown() override {
    for (const OpcaoMenu& o : opcoesMenu()) {
      if (QWidget* w = FrmMenu::formularioAberto(o.botao)) w->close();
      FrmMenu::registraFormulario(o.botao, {});
    }
    processaExclusoes();
  }
  QPushButton* botao(FrmMenu& menu, const char* nome) {
    auto* b = menu.findChild<QPushButton*>(nome);
    EXPECT_NE(b, nullptr) << nome;
    return b;
  }
};

TEST_F(FrmMenuTest, LegendaComADataDeHoje) {
  const Data antes = Data::hoje();
  FrmMenu menu;
  const Data depois = Data::hoje();
  const QString titulo = menu.windowTitle();
  const std::string sep = separadorDataDoAmbiente();
  EXPECT_TRUE(titulo == QString::fromStdString(tituloMenuComData(antes, sep)) ||
              titulo == QString::fromStdString(tituloMenuComData(depois, sep)))
      << titulo.toStdString();
  EXPECT_TRUE(titulo.startsWith(QString::fromUtf8("Importador Sistema ZUV  & Data Criação ")));
}

TEST_F(FrmMenuTest, CincoEscolhasEmMoldurasComLegendasERotulos) {
  struct Esperado {
    const char* botao;
    const char* legenda;
    const char* rotulo;
  };
  const Esperado esperados[] = {
      {"cmdImportaNFE", "Importação de NCM / CFOP", "Atualização da Base de Dados - Cadastro de  NCM e CFOP"},
      {"cmdclientes", "Importação de Novos Clientes", "Atualização da Base de Dados - Cadastro de Clientes"},
      {"cmdImportaZUV", "Importa Outro Banco ZUV",
       "Migração de um Banco de Dados ZUV PARA outro Banco de Dados ZUV"},
      {"cmdImportaProduto", "Importação Planilha EXCEL",
       "Migração Padrão - Outro Sistema para o Sistema ZUV em Formato Excel"},
      {"cmdImportaNCM", "Importação de NCM / CFOP / Aliquota Imposto / Pis / Cofins",
       "Atualização da Base de Dados - Cadastro de  NCM e CFOP"},
  };
  FrmMenu menu;
  EXPECT_EQ(menu.findChildren<QPushButton*>().size(), 5);
  int topoAnterior = -1;
  menu.show();
  for (const Esperado& e : esperados) {
    QPushButton* b = botao(menu, e.botao);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(), QString::fromUtf8(e.legenda));
    auto* moldura = qobject_cast<QGroupBox*>(b->parentWidget());
    ASSERT_NE(moldura, nullptr) << e.botao;
    const auto rotulos = moldura->findChildren<QLabel*>();
    ASSERT_EQ(rotulos.size(), 1);
    EXPECT_EQ(rotulos[0]->text(), QString::fromUtf8(e.rotulo));
    EXPECT_GT(moldura->y(), topoAnterior) << "in the order of the table";
    topoAnterior = moldura->y();
  }
}

TEST_F(FrmMenuTest, UmaInstanciaPorFormularioModelessERecriadaDepoisDeFechada) {
  int criados = 0;
  FrmMenu::registraFormulario("cmdImportaZUV", [&] {
    ++criados;
    return new QWidget;
  });
  FrmMenu menu;
  menu.show();
  botao(menu, "cmdImportaZUV")->click();
  QPointer<QWidget> primeiro = FrmMenu::formularioAberto("cmdImportaZUV");
  ASSERT_FALSE(primeiro.isNull());
  botao(menu, "cmdImportaZUV")->click();
  EXPECT_EQ(criados, 1);
  EXPECT_EQ(FrmMenu::formularioAberto("cmdImportaZUV"), primeiro.data());
  EXPECT_TRUE(primeiro->isVisible());
  EXPECT_TRUE(primeiro->isWindow());
  EXPECT_EQ(primeiro->parentWidget(), nullptr);
  EXPECT_EQ(primeiro->windowModality(), Qt::NonModal);
  EXPECT_TRUE(menu.isEnabled());

  primeiro->close();  // its Sair
  processaExclusoes();
  EXPECT_TRUE(primeiro.isNull());
  EXPECT_EQ(FrmMenu::formularioAberto("cmdImportaZUV"), nullptr);
  botao(menu, "cmdImportaZUV")->click();
  EXPECT_EQ(criados, 2);
  EXPECT_NE(FrmMenu::formularioAberto("cmdImportaZUV"), nullptr);
}

TEST_F(FrmMenuTest, VariosFormulariosAbertosEFecharOMenuNaoOsFecha) {
  FrmMenu::registraFormulario("cmdclientes", [] { return new QWidget; });
  FrmMenu::registraFormulario("cmdImportaNCM", [] { return new QWidget; });
  auto menu = std::make_unique<FrmMenu>();
  menu->show();
  botao(*menu, "cmdclientes")->click();
  botao(*menu, "cmdImportaNCM")->click();
  QPointer<QWidget> clientes = FrmMenu::formularioAberto("cmdclientes");
  QPointer<QWidget> ncm = FrmMenu::formularioAberto("cmdImportaNCM");
  ASSERT_TRUE(clientes && ncm);
  EXPECT_NE(clientes.data(), ncm.data());
  menu->close();
  menu.reset();
  processaExclusoes();
  ASSERT_FALSE(clientes.isNull());
  EXPECT_TRUE(clientes->isVisible());
  EXPECT_TRUE(ncm->isVisible());
}

TEST_F(FrmMenuTest, SemFormularioRegistradoMostraUmaJanelaProvisoria) {
  FrmMenu menu;
  botao(menu, "cmdImportaNFE")->click();
  QPointer<QWidget> provisoria = FrmMenu::formularioAberto("cmdImportaNFE");
  ASSERT_FALSE(provisoria.isNull());
  EXPECT_EQ(provisoria->windowTitle(), QString::fromUtf8("Importação de NCM / CFOP"));
  auto* sair = provisoria->findChild<QPushButton*>("cmdSair");
  ASSERT_NE(sair, nullptr);
  sair->click();
  processaExclusoes();
  EXPECT_TRUE(provisoria.isNull());
}

// ZUV_CAPTURA_MENU=/tmp/menu.png saves a picture of the menu (run under xvfb-run with the xcb
// platform to see it as a desktop draws it).
TEST_F(FrmMenuTest, Captura) {
  const char* caminho = std::getenv("ZUV_CAPTURA_MENU");
  if (caminho == nullptr) GTEST_SKIP() << "ZUV_CAPTURA_MENU not set";
  FrmMenu menu;
  menu.show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(menu.grab().save(QString::fromLocal8Bit(caminho)));
}

}  // namespace
}  // namespace zuv
