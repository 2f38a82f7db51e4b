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

using ::testing::HasSubstr;
using ::testing::StartsWith;

using qt::clica;
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

// Opened by the menu: its texts; each button reaches its run (the Segurança boxes too): the
// deletion's list, the import's end window with the form's name, the journal's history; Sair.
TEST_F(FrmClientesTest, TheMenuOpensItAndEachButtonReachesItsRun) {
  planilha({{"NOME"}, {"Ana"}}, pasta / "clientes.xlsx");
  auto* form = qobject_cast<FrmClientes*>(FrmMenu::abreFormulario("cmdclientes"));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(qt::textos(*form),
            (std::vector<std::string>{
                "ZUV ATUALIZAÇÃO DE DADOS", "cmdProd: Importação Atualizar",
                "cmdExcluirCliente: Excluir Cadastro Cliente", "cmdSair: Sair",
                "lblImporta: Importa o Arquivo para o Sistema ZUV - Atualizando",
                "lblPlanilha: Gerar Planilha no Formato Excel Para o Cliente Pasta c:\\zuv\\clientes.xls"}));
  // "Simular" undoes the deletion and says so in the status line; "Sem cópia de segurança" keeps
  // the deletion without a backup.
  controle<QCheckBox>(*form, "chkSimular")->setChecked(true);
  clica(*form, "cmdExcluirCliente");
  EXPECT_EQ(conta("cliente"), 2);
  EXPECT_THAT(controle<QPlainTextEdit>(*form, "txtNotas")->toPlainText().toStdString(),
              StartsWith("Simulação: nada foi gravado em VENDAS.FDB."));
  controle<QCheckBox>(*form, "chkSimular")->setChecked(false);
  controle<QCheckBox>(*form, "chkSemCopia")->setChecked(true);
  clica(*form, "cmdExcluirCliente");
  EXPECT_EQ(conta("cliente"), 1);
  EXPECT_FALSE(fs::exists(banco->pastaDados() / "copias"));
  auto* lista = controle<QListWidget>(*form, "lstCliente");
  EXPECT_TRUE(lista->isVisible() && lista->count() == 1) << "the customer kept";

  // The import ends the program: after "FIM", one window with what it did.
  clica(*form, "cmdProd");
  EXPECT_EQ(caixas.textos().back(), "FIM");
  EXPECT_GE(caixas.encerramentos, 1);
  ASSERT_EQ(caixas.janelas.size(), 1u);
  EXPECT_THAT(caixas.janelas[0], HasSubstr("\nOpções: formulário FrmClientes"));
  controle(*form, "cmdHistorico")->click();
  ASSERT_EQ(caixas.janelas.size(), 2u);
  EXPECT_THAT(caixas.janelas[1], HasSubstr("  clientes excluir  concluída\n"));
  controle(*form, "cmdSair")->click();
  EXPECT_FALSE(SlotConexao::programa().aberta());
  processaExclusoes();
  EXPECT_EQ(FrmMenu::formularioAberto("cmdclientes"), nullptr);
}

}  // namespace
}  // namespace zuv::teste
