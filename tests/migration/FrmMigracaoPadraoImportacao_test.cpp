// The product import from its button: the form's choices and the grid's pasted rows reach the run,
// which fills the error box and ends the program.
#include <QtWidgets>

#include "gui/ModeloGrade.h"
#include "migration/FrmMigracaoPadrao.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"
#include "support/AplicacaoQt.h"
#include "support/BancoDeTeste.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

class FrmImportacaoProdutoTest : public ComEstilo {
 protected:
  void SetUp() override {
    aplicacaoQt();
    ComEstilo::SetUp();
    banco.carregaFixture("zuv_populado.sql");
    definePastaPrograma(banco.pastaPrograma().string());
    caixasDialogo().mensagem = [this](QWidget*, const QString& texto, Icone, const QString&) {
      caixas.push_back(texto.toStdString());
    };
    defineEncerramento([this] { encerrou = true; });
    form = qobject_cast<FrmMigracaoPadrao*>(FrmMenu::abreFormulario("cmdImportaProduto"));
    ASSERT_NE(form, nullptr);
  }
  void TearDown() override {
    if (form) form->close();
    processaExclusoes();
    defineEncerramento({});
    caixasDialogo() = caixasPadrao();
    definePastaPrograma("");
    ComEstilo::TearDown();
  }

  BancoDeTeste banco;
  QPointer<FrmMigracaoPadrao> form;
  std::vector<std::string> caixas;
  bool encerrou = false;
};

TEST_F(FrmImportacaoProdutoTest, TheGridsRowsAndTheTickedBoxesReachTheRun) {
  form->chkExcel()->click();  // the grid is the source
  form->modeloGrade().colaTexto(1, 1,
                                "Barra\tNome Produto\tUnidade\tPreço Custo\tPreço Venda\tEstoque Atual\n"
                                "7891000100012\tCafé Moído 500g\tUN\t9,50\t15,90\t12\n"
                                "7891000100029\tChá Mate\tUN\t1,00\tcaro\t3\n"
                                "7891000100036\tAçúcar\tKG\t2,00\t4,00\t7\n");
  form->chkTodos()->click();
  EXPECT_TRUE(form->chkEstoque()->isChecked());
  form->cmdProd()->click();
  // Edits after the click do not reach the run: it has its own copy of the cells.
  form->modeloGrade().colaTexto(2, 2, "Outro nome");
  form->aguardaOperacao();
  EXPECT_EQ(caixas, (std::vector<std::string>{"Fim Importação", "FIM"}));
  EXPECT_TRUE(encerrou);
  EXPECT_EQ(form->txtRegistro()->text().toStdString(), "5");
  EXPECT_EQ(
      form->txtProdErro()->toPlainText().toStdString(),
      "Linha Excel: 2 Código Barra 7891000100029 Valor de Venda CARO Descrição Programática: \"CARO\" não é "
      "um número.");
  EXPECT_EQ(
      BancoDeTeste::consulta(banco.caminho(),
                             "select p.descricao, e.vendaatual, e.estoqueatual from produtoestoque e join "
                             "produto p on p.idproduto = e.idproduto where e.barra like '7891000100%' order "
                             "by e.barra"),
      (BancoDeTeste::Linhas{{"CAFE MOIDO 500G", "15.90", "12.000"}, {"ACUCAR", "4.00", "7.000"}}));
}

}  // namespace
}  // namespace zuv::teste
