#include "customers/FrmClientes.h"

#include <gmock/gmock.h>

#include <QtWidgets>

#include "customers/AmbienteClientes.h"
#include "shell/BancoZUV.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"
#include "support/CaixasGravadas.h"

namespace zuv::teste {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::StartsWith;

using qt::controle;

// The form's folder is the test database's; customer 2 has a sale, so a deletion keeps it.
class FrmClientesTest : public AmbienteClientes {
 protected:
  void SetUp() override {
    AmbienteClientes::SetUp();
    definePastaPrograma(pasta.string());
    conexao->executa("insert into cliente (idcliente, cliente) values (1, 'ANA')");
    conexao->executa("insert into cliente (idcliente, cliente) values (2, 'PADARIA PÃO QUENTE')");
    conexao->executa("insert into nfsaida (idnfsaida, idcliente) values (1, 2)");
  }
  void TearDown() override {
    definePastaPrograma("");
    SlotConexao::programa().fecha();
    AmbienteClientes::TearDown();
  }
  CaixasGravadas caixas;
};

// Opened by the menu: its texts; an import answered No; a deletion that keeps a customer; Sair.
TEST_F(FrmClientesTest, TheMenuOpensItImportAnsweredNoADeletionThatKeepsACustomerThenSair) {
  planilha({{"NOME"}, {"Ana"}}, pasta / "clientes.xlsx");
  auto* form = qobject_cast<FrmClientes*>(FrmMenu::abreFormulario("cmdclientes"));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(qt::textos(*form),
            (std::vector<std::string>{
                "ZUV ATUALIZAÇÃO DE DADOS", "cmdProd: Importação Atualizar",
                "cmdExcluirCliente: Excluir Cadastro Cliente", "cmdSair: Sair",
                "lblImporta: Importa o Arquivo para o Sistema ZUV - Atualizando",
                "lblPlanilha: Gerar Planilha no Formato Excel Para o Cliente Pasta c:\\zuv\\clientes.xls"}));
  controle<QProgressBar>(*form, "Trm");
  caixas.resposta = false;
  controle(*form, "cmdProd")->click();  // the menu shows it
  form->aguardaOperacao();
  EXPECT_EQ(conta("cliente"), 2);
  caixas.resposta = true;
  controle(*form, "cmdExcluirCliente")->click();
  form->aguardaOperacao();
  auto* lista = controle<QListWidget>(*form, "lstCliente");
  ASSERT_TRUE(lista->isVisible() && lista->count() == 1);
  EXPECT_EQ(
      lista->item(0)->text().toStdString(),
      "2Nome: PADARIA PÃO QUENTEOperação não poderá ser completa, há operações vinculada a esse cliente : ");
  EXPECT_EQ(
      caixas.textos(true),
      (std::vector<std::string>{"Atualizar o Cadastro de Cliente | ZUV ATUALIZAÇÃO DE DADOS [Sim]",
                                "Excluir Base de dados de Cliente do ZUV | ZUV ATUALIZAÇÃO DE DADOS [Não]",
                                "finalizado | ImportadorZUV"}));
  EXPECT_EQ(conta("cliente"), 1);

  // An import that ends the program shows, after "FIM", one window with what it did; the program
  // ends when it is closed.
  planilha({{"NOME"}, {"Ana"}, {"|'|"}, {"Bia"}}, pasta / "clientes.xlsx");
  controle(*form, "cmdProd")->click();
  form->aguardaOperacao();
  EXPECT_EQ(caixas.textos(true).back(), "FIM | ImportadorZUV");
  EXPECT_GE(caixas.encerramentos, 1);
  ASSERT_EQ(caixas.janelas.size(), 1u);
  EXPECT_THAT(caixas.janelas[0],
              StartsWith("Resumo da execução: clientes importar\nclientes importar: concluída\n"));
  EXPECT_THAT(caixas.janelas[0], HasSubstr("\nOpções: formulário FrmClientes\n"));
  // Every run of the form is in the journal, the one answered No too; "Histórico" lists them.
  controle(*form, "cmdHistorico")->click();
  ASSERT_EQ(caixas.janelas.size(), 2u);
  EXPECT_THAT(caixas.janelas[1],
              ContainsRegex("  clientes importar  concluída\n    Linhas: 2 importadas, 0 atualizadas, 1 "
                            "com erro\n.*  clientes excluir  concluída\n    Linhas: 0 importadas, 0 "
                            "atualizadas, 1 excluídas, 1 com erro\n.*  clientes importar  concluída\n"
                            "    Linhas: 0 importadas, 0 atualizadas, 0 com erro\n    [^\n]+csv$"));
  controle(*form, "cmdSair")->click();
  EXPECT_FALSE(SlotConexao::programa().aberta());
  processaExclusoes();
  EXPECT_EQ(FrmMenu::formularioAberto("cmdclientes"), nullptr);
}

// "Simular" in the Segurança group: the deletion runs and is undone, and the form's status line
// shows what it would have done; "Tudo ou nada" then keeps the deletion.
TEST_F(FrmClientesTest, ADryRunFromTheFormShowsItsReportAndChangesNothing) {
  FrmClientes form;
  controle<QCheckBox>(form, "chkSimular")->setChecked(true);
  controle(form, "cmdExcluirCliente")->click();
  form.aguardaOperacao();
  EXPECT_EQ(conta("cliente"), 2);
  auto* notas = controle<QPlainTextEdit>(form, "txtNotas");
  EXPECT_FALSE(notas->isHidden());
  EXPECT_THAT(notas->toPlainText().toStdString(),
              StartsWith("Simulação: nada foi gravado em VENDAS.FDB. A operação faria:\n"
                         "  CLIENTE: 0 incluídas, 0 alteradas, 1 excluídas\nRelatório desta execução: " +
                         (banco->pastaDados() / "relatorios").string()));
  controle<QCheckBox>(form, "chkSimular")->setChecked(false);
  controle<QCheckBox>(form, "chkTudoOuNada")->setChecked(true);
  controle<QCheckBox>(form, "chkSemCopia")->setChecked(true);
  controle(form, "cmdExcluirCliente")->click();
  form.aguardaOperacao();
  EXPECT_EQ(conta("cliente"), 1);
  EXPECT_THAT(
      notas->toPlainText().toStdString(),
      StartsWith("Alterações gravadas em VENDAS.FDB:\n  CLIENTE: 0 incluídas, 0 alteradas, 1 excluídas\n"));
  EXPECT_FALSE(fs::exists(banco->pastaDados() / "copias"));
}

}  // namespace
}  // namespace zuv::teste
