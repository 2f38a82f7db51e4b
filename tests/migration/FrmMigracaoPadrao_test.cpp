// The standard migration form offscreen: opened from the menu, its controls and load captions, the
// option handlers, pasting into the grid, the export, SYSPDV and process buttons end to end, and
// the product import from its button (the form's choices and the grid's rows reach the run).
#include "migration/FrmMigracaoPadrao.h"

#include <gmock/gmock.h>

#include <QtWidgets>

#include "gui/ModeloGrade.h"
#include "migration/AmbienteMigracao.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"
#include "support/CaixasGravadas.h"

namespace zuv::teste {
namespace {

using ::testing::AllOf;
using ::testing::ContainsRegex;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

using qt::clica;
using qt::controle;

class FrmMigracaoPadraoTest : public ComEstilo {
 protected:
  void SetUp() override {
    ComEstilo::SetUp();
    banco.carregaFixture("zuv_populado.sql");
    definePastaPrograma(banco.pastaPrograma().string());
    form = qobject_cast<FrmMigracaoPadrao*>(FrmMenu::abreFormulario("cmdImportaProduto"));
    ASSERT_NE(form, nullptr);
  }
  void TearDown() override {
    if (form) form->close();
    processaExclusoes();
    definePastaPrograma("");
    ComEstilo::TearDown();
  }

  CaixasGravadas caixas;
  BancoDeTeste banco;
  QPointer<FrmMigracaoPadrao> form;
};

TEST_F(FrmMigracaoPadraoTest, ControlesLegendasEOpcoes) {
  // Every button, option and box by name with its caption (the load's captions, blanks included),
  // then the frames' and labels' texts.
  QStringList textos(form->windowTitle());
  for (QAbstractButton* b : form->findChildren<QAbstractButton*>())
    if (!b->objectName().isEmpty()) textos << b->objectName() + ": " + b->text();  // not the grid's corner
  for (QGroupBox* g : form->findChildren<QGroupBox*>())
    textos << g->title();
  for (QLabel* l : form->findChildren<QLabel*>())
    textos << l->text().left(30);
  EXPECT_EQ(
      textos.join("|").toStdString(),
      " Wmi - Exemplo para manipular processos do windows |chkExcel: Importa com arquivo excel "
      "produto.xlsx|optAtualiza: Atualiza Base de Produtos|optLimpaBase: Limpa Base de Produtos ( Nova "
      "Migração )|chkTodos: Todos os Campos para Importação|chkNomeProduto: Nome Produto|chkPrecoCusto: "
      "Preço Custo|chkPrecoVenda: Preço Venda|chkEstoque: Estoque Atual|chkGrupo: Grupo|chkNCM: "
      "NCM|chkAliqECF: Aliq.ECF|chkCFOPSat: CFOP SAT|chkUnidade: Unidade|chkTribSimpNac: "
      "Trib.Simp.Nac|chkIcmsST: ICMS ST|chkAtacado: Valor Atacado|cmdProd: Incia a Importação para o "
      "Sistema ZUV|cmdFornecedor: Fornecedor|cmdSair: Sair|optAtivo: Ativo|optTodos: Todos|cmdGeraExcel: "
      "Gerar Planilha Excel Origem|optBanco: SYSPDV|cmdImportarOutroBanco: Importar|cmdListarProcesso:  "
      "Listar Procesos|cmdEncerrarProcesso:  Encerrar Proceso |chkTudoOuNada: Tudo ou nada|chkSimular: "
      "Simular|chkSemCopia: Sem cópia de segurança|cmdHistorico: Histórico|cmdVerificarFiscal: Verificar "
      "códigos fiscais|Dados para Importação|Geração Planilha EXCEL ( "
      "produto.xlsx)|Produtos|Segurança|Origem Banco de Dados|Arquivo EXCEL: produto.xlsx|Atenção essa "
      "importação limpa |No Excel não deixar nenhuma Li|Nas linhas dos produtos na pla|Seguir Exemplo do "
      "Arquivo em E|Registros|Produtos abaixo com Erro que n");

  // Initial states; chkTodos sets the twelve field boxes to its own state.
  EXPECT_TRUE(form->chkExcel()->isChecked() && form->optAtualiza()->isChecked());
  EXPECT_TRUE(controle<QRadioButton>(*form, "optAtivo")->isChecked());
  const auto campos = controle<QGroupBox>(*form, "fraDadosImportacao")->findChildren<QCheckBox*>();
  ASSERT_EQ(campos.size(), 13);
  for (bool estado : {true, false}) {
    form->chkTodos()->click();
    for (const QCheckBox* c : campos)
      EXPECT_EQ(c->isChecked(), estado) << c->objectName().toStdString();
  }

  // The grid is the source only without chkExcel: enabled then.
  EXPECT_FALSE(form->fpSpread1()->isEnabled());
  form->chkExcel()->click();
  EXPECT_TRUE(form->fpSpread1()->isEnabled());
  EXPECT_EQ(form->fpSpread1()->model()->rowCount(), 945025);
}

TEST_F(FrmMigracaoPadraoTest, ColarNaGradeComCtrlV) {
  form->chkExcel()->click();
  QTableView* grade = form->fpSpread1();
  grade->setCurrentIndex(grade->model()->index(1, 0));  // row 2, column A
  QApplication::clipboard()->setText(QString::fromUtf8("0001234\tCAFÉ\r\n789\tLEITE\r\n"));
  QKeyEvent colar(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
  QApplication::sendEvent(grade, &colar);
  EXPECT_EQ(form->modeloGrade().texto(2, 1), "0001234");
  EXPECT_EQ(form->modeloGrade().texto(3, 2), "LEITE");
  grade->selectionModel()->select(grade->model()->index(2, 1), QItemSelectionModel::ClearAndSelect);
  QKeyEvent apagar(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(grade, &apagar);
  EXPECT_EQ(form->modeloGrade().texto(3, 2), "");
}

// "Todos", "Gerar Planilha Excel Origem": the workbook is written and opened; then "SYSPDV" without
// the file says so, and "Importar" fails with the system's message; the form stays open.
TEST_F(FrmMigracaoPadraoTest, GeraPlanilhaESyspdvSemBanco) {
  controle<QRadioButton>(*form, "optTodos")->click();
  clica(*form, "cmdGeraExcel");
  EXPECT_EQ(caixas.abertos, std::vector<std::string>{(banco.pastaPrograma() / "produto.xlsx").string()});
  EXPECT_EQ(controle<QLineEdit>(*form, "txtRegistro")->text(), "4");

  controle<QRadioButton>(*form, "optBanco")->click();
  EXPECT_EQ(controle<QLineEdit>(*form, "txtNomeBanco")->text().toStdString(), "BancoOrigem\\syspdv_srv.fdb");
  EXPECT_TRUE(fs::is_directory(banco.pastaPrograma() / "BancoOrigem"));
  clica(*form, "cmdImportarOutroBanco");
  EXPECT_EQ(caixas.textos(),
            (std::vector<std::string>{"Banco de Dados para Importação Não existe", "Erro ao Gerar o Excel"}));
  EXPECT_EQ(caixas.encerramentos, 0);

  // Listing shows this test program among the processes.
  clica(*form, "cmdListarProcesso");
  const auto itens = controle<QListWidget>(*form, "List1")->findItems("test_migration_gui", Qt::MatchExactly);
  EXPECT_FALSE(itens.isEmpty());
}

// In clean mode the run first asks what will be deleted; No stops it.
// The run ends the program: after "FIM", one window with the summary, the change report, the failed
// row, the backup and its restore command.
TEST_F(FrmMigracaoPadraoTest, TheGridsRowsAndTheTickedBoxesReachTheRun) {
  form->chkExcel()->click();  // the grid is the source
  form->modeloGrade().colaTexto(1, 1,
                                "Barra\tNome Produto\tUnidade\tPreço Custo\tPreço Venda\tEstoque Atual\n"
                                "7891000100012\tCafé Moído 500g\tUN\t9,50\t15,90\t12\n"
                                "7891000100029\tChá Mate\tUN\t1,00\tcaro\t3\n"
                                "7891000100036\tAçúcar\tKG\t2,00\t4,00\t7\n");
  form->chkTodos()->click();
  form->optLimpaBase()->click();
  caixas.resposta = false;
  clica(*form, "cmdProd");
  ASSERT_EQ(caixas.todas.size(), 1u);
  EXPECT_THAT(
      caixas.textos(true)[0],
      AllOf(StartsWith("Limpa Base de Produtos ( Nova Migração ): 2 produtos, 2 itens de estoque, 1 venda"),
            EndsWith(" serão excluídos de " + banco.caminho().string() +
                     ". Continuar? | ImportadorZUV [Não]")));
  EXPECT_TRUE(caixas.janelas.empty() && caixas.encerramentos == 0);
  caixas.resposta = true;
  form->cmdProd()->click();
  // Edits after the click do not reach the run: it has its own copy of the cells.
  form->modeloGrade().colaTexto(2, 2, "Outro nome");
  form->aguardaOperacao();
  EXPECT_THAT(caixas.textos(),
              ElementsAre(StartsWith("Limpa Base"), StartsWith("Limpa Base"), "Fim Importação", "FIM"));
  EXPECT_GE(caixas.encerramentos, 1);
  ASSERT_EQ(caixas.janelas.size(), 1u);
  EXPECT_THAT(caixas.janelas[0],
              StartsWith("Resumo da execução: produtos importar\nprodutos importar: concluída\nBanco: " +
                         banco.caminho().string() +
                         "\nOrigem: grade do formulário\nOpções: formulário FrmMigracaoPadrao: "));
  EXPECT_THAT(caixas.janelas[0],
              ContainsRegex("\nLinhas: 2 importadas, 0 atualizadas, [0-9]+ excluídas, 1 com erro\n"));
  EXPECT_THAT(caixas.janelas[0],
              HasSubstr("\nLinhas com erro (1):\n  Linha 3 de produto.xlsx: \"CARO\" não é um número.\n"));
  const std::string copias = (banco.pastaDados() / "copias").string();
  EXPECT_THAT(caixas.janelas[0], ContainsRegex("\nCópia de segurança: " + copias +
                                               "/VENDAS_[0-9_]+_produtos.fbk\n"
                                               "Para restaurá-la: importadorzuv restaurar '" +
                                               copias + "/VENDAS_[0-9_]+_produtos.fbk' --banco '" +
                                               banco.caminho().string() + "'\n"));
  EXPECT_EQ(caixas.pastas, std::vector<std::string>{(banco.pastaDados() / "relatorios").string()});
  EXPECT_EQ(form->txtRegistro()->text().toStdString(), "5");
  EXPECT_THAT(form->txtProdErro()->toPlainText().toStdString(),
              StartsWith("Linha Excel: 2 Código Barra 7891000100029 Valor de Venda CARO"));
  EXPECT_EQ(BancoDeTeste::consulta(banco.caminho(),
                                   "select p.descricao from produto p join produtoestoque e on e.idproduto = "
                                   "p.idproduto where e.barra = '7891000100012'"),
            BancoDeTeste::Linhas{{"CAFE MOIDO 500G"}});
}

}  // namespace
}  // namespace zuv::teste
