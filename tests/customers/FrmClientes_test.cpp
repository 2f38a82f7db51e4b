#include "customers/FrmClientes.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "customers/AmbienteClientes.h"
#include "gui/TelaQt.h"
#include "shell/BancoZUV.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"
#include "support/AplicacaoQt.h"

namespace zuv::teste {
namespace {

class FrmClientesTest : public AmbienteClientes {
 protected:
  void SetUp() override {
    aplicacaoQt();
    AmbienteClientes::SetUp();
    definePastaPrograma(pasta.string());
    padrao = caixasDialogo();
    caixasDialogo().mensagem = [this](QWidget*, const QString& texto, Icone, const QString&) {
      mensagens.push_back(texto.toStdString());
    };
    caixasDialogo().pergunta = [this](QWidget*, const QString& texto, Icone, const QString& titulo) {
      perguntas.push_back(texto.toStdString() + " | " + titulo.toStdString());
      return resposta;
    };
  }
  void TearDown() override {
    caixasDialogo() = padrao;
    definePastaPrograma("");
    SlotConexao::programa().fecha();
    AmbienteClientes::TearDown();
  }
  template <class W>
  W* controle(QWidget& form, const char* nome) {
    return form.findChild<W*>(nome);
  }
  // Clicks a button of the shown form and waits for its run.
  void clica(FrmClientes& form, const char* botao) {
    form.show();
    controle<QPushButton>(form, botao)->click();
    form.aguardaOperacao();
  }
  // Customers 1 and 2, the second with a sale, so a deletion keeps it.
  void clienteComVenda() {
    conexao->executa("insert into cliente (idcliente, cliente) values (1, 'ANA')");
    conexao->executa("insert into cliente (idcliente, cliente) values (2, 'PADARIA PÃO QUENTE')");
    conexao->executa("insert into nfsaida (idnfsaida, idcliente) values (1, 2)");
    resposta = true;
  }

  CaixasDialogo padrao;
  std::vector<std::string> mensagens, perguntas;
  bool resposta = false;
};

TEST_F(FrmClientesTest, TheMenuOpensItWithItsControlsAndConnected) {
  auto* form = qobject_cast<FrmClientes*>(FrmMenu::abreFormulario("cmdclientes"));
  ASSERT_NE(form, nullptr);
  std::vector<std::string> textos = {form->windowTitle().toStdString()};
  for (QPushButton* b : form->findChildren<QPushButton*>())
    textos.push_back(b->objectName().toStdString() + ": " + b->text().toStdString());
  for (QLabel* l : form->findChildren<QLabel*>())
    textos.push_back(l->text().toStdString());
  EXPECT_EQ(textos, (std::vector<std::string>{
                        "ZUV ATUALIZAÇÃO DE DADOS", "cmdProd: Importação Atualizar",
                        "cmdExcluirCliente: Excluir Cadastro Cliente", "cmdSair: Sair",
                        "Importa o Arquivo para o Sistema ZUV - Atualizando",
                        "Gerar Planilha no Formato Excel Para o Cliente Pasta c:\\zuv\\clientes.xls"}));
  EXPECT_NE(form->findChild<QListWidget*>("lstCliente"), nullptr);
  EXPECT_NE(form->findChild<QProgressBar*>("Trm"), nullptr);
  EXPECT_TRUE(SlotConexao::programa().aberta());
  EXPECT_TRUE(mensagens.empty());
  form->close();
  processaExclusoes();
  EXPECT_EQ(FrmMenu::formularioAberto("cmdclientes"), nullptr);
}

TEST_F(FrmClientesTest, ImportAnsweredNoThenADeletionThatKeepsACustomerThenSair) {
  clienteComVenda();
  planilhaOpenpyxl({{"NOME"}, {"Ana"}}, pasta / "clientes.xlsx");
  resposta = false;
  FrmClientes form;
  clica(form, "cmdProd");
  EXPECT_EQ(perguntas,
            std::vector<std::string>{"Atualizar o Cadastro de Cliente | ZUV ATUALIZAÇÃO DE DADOS"});
  EXPECT_EQ(conta("cliente"), 2);
  resposta = true;
  clica(form, "cmdExcluirCliente");
  auto* lista = controle<QListWidget>(form, "lstCliente");
  EXPECT_TRUE(lista->isVisible());
  ASSERT_EQ(lista->count(), 1);
  EXPECT_EQ(
      lista->item(0)->text().toStdString(),
      "2Nome: PADARIA PÃO QUENTEOperação não poderá ser completa, há operações vinculada a esse cliente : ");
  EXPECT_EQ(mensagens, std::vector<std::string>{"finalizado"});
  EXPECT_EQ(conta("cliente"), 1);
  controle<QPushButton>(form, "cmdSair")->click();
  EXPECT_FALSE(SlotConexao::programa().aberta());
  EXPECT_FALSE(form.isVisible());
}

// ZUV_CAPTURA_CLIENTES=/tmp/clientes.png saves a picture of the form after a deletion that kept a
// customer (run under xvfb-run with the xcb platform to see it as a desktop draws it).
TEST_F(FrmClientesTest, Captura) {
  const char* caminho = std::getenv("ZUV_CAPTURA_CLIENTES");
  if (caminho == nullptr) GTEST_SKIP() << "ZUV_CAPTURA_CLIENTES not set";
  clienteComVenda();
  FrmClientes form;
  clica(form, "cmdExcluirCliente");
  controle<QProgressBar>(form, "Trm")->setValue(40);
  QCoreApplication::processEvents();
  EXPECT_TRUE(form.grab().save(QString::fromLocal8Bit(caminho)));
}

}  // namespace
}  // namespace zuv::teste
