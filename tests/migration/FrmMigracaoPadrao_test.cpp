// The standard migration form offscreen: opened from the menu, its controls and load captions, the
// option handlers, pasting into the grid, and the export, SYSPDV and process buttons end to end.
#include "migration/FrmMigracaoPadrao.h"

#include <QtWidgets>

#include "gui/ModeloGrade.h"
#include "migration/AmbienteMigracao.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"
#include "support/AplicacaoQt.h"

namespace zuv::teste {
namespace {

template <class W = QPushButton>
W* controle(QWidget& form, const char* nome) {
  if (W* w = form.findChild<W*>(nome)) return w;
  throw std::runtime_error(std::string("no control ") + nome);
}

class FrmMigracaoPadraoTest : public ComEstilo {
 protected:
  void SetUp() override {
    aplicacaoQt();
    ComEstilo::SetUp();
    banco.carregaFixture("zuv_populado.sql");
    definePastaPrograma(banco.pastaPrograma().string());
    caixasDialogo().mensagem = [this](QWidget*, const QString& texto, Icone, const QString&) {
      caixas.push_back(texto.toStdString());
    };
    caixasDialogo().abreArquivo = [this](const QString& caminho) {
      abertos.push_back(caminho.toStdString());
      return true;
    };
    caixasDialogo().janelaTexto = [this](QWidget*, const QString&, const QString& texto, const QString&) {
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
  void clica(const char* botao) {
    controle(*form, botao)->click();
    form->aguardaOperacao();
  }

  BancoDeTeste banco;
  QPointer<FrmMigracaoPadrao> form;
  std::vector<std::string> caixas, abertos;
  bool encerrou = false;
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
      " Wmi - Exemplo para manipular processos do windows |chkExcel: Importa com arquivo excel produto.xlsx|"
      "optAtualiza: Atualiza Base de Produtos|optLimpaBase: Limpa Base de Produtos ( Nova Migração )|"
      "chkTodos: Todos os Campos para Importação|chkNomeProduto: Nome Produto|chkPrecoCusto: Preço Custo|"
      "chkPrecoVenda: Preço Venda|chkEstoque: Estoque Atual|chkGrupo: Grupo|chkNCM: NCM|chkAliqECF: Aliq.ECF|"
      "chkCFOPSat: CFOP SAT|chkUnidade: Unidade|chkTribSimpNac: Trib.Simp.Nac|chkIcmsST: ICMS ST|"
      "chkAtacado: Valor Atacado|cmdProd: Incia a Importação para o Sistema ZUV|cmdFornecedor: Fornecedor|"
      "cmdSair: Sair|optAtivo: Ativo|optTodos: Todos|cmdGeraExcel: Gerar Planilha Excel Origem|"
      "optBanco: SYSPDV|cmdImportarOutroBanco: Importar|cmdListarProcesso:  Listar Procesos|"
      "cmdEncerrarProcesso:  Encerrar Proceso |chkTudoOuNada: Tudo ou nada|chkSimular: Simular|"
      "chkSemCopia: Sem cópia de segurança|cmdHistorico: Histórico|cmdVerificarFiscal: Verificar códigos "
      "fiscais|Dados para "
      "Importação|Geração Planilha EXCEL ( produto.xlsx)|"
      "Produtos|Segurança|Origem Banco de Dados|Arquivo EXCEL: produto.xlsx|Atenção essa importação limpa |"
      "No Excel não deixar nenhuma Li|Nas linhas dos produtos na pla|Seguir Exemplo do Arquivo em E|"
      "Registros|Produtos abaixo com Erro que n");
  controle<QPlainTextEdit>(*form, "txtProdErro");
  controle<QProgressBar>(*form, "Trm");

  // Initial states; chkTodos sets the twelve field boxes to its own state.
  EXPECT_TRUE(form->chkExcel()->isChecked() && form->optAtualiza()->isChecked());
  EXPECT_TRUE(controle<QRadioButton>(*form, "optAtivo")->isChecked());
  const QCheckBox* doze[] = {form->chkNomeProduto(), form->chkPrecoCusto(), form->chkPrecoVenda(),
                             form->chkEstoque(),     form->chkGrupo(),      form->chkNCM(),
                             form->chkAliqECF(),     form->chkCFOPSat(),    form->chkUnidade(),
                             form->chkTribSimpNac(), form->chkIcmsST(),     form->chkAtacado()};
  for (bool estado : {true, false}) {
    form->chkTodos()->click();
    for (const QCheckBox* c : doze)
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
  EXPECT_EQ(form->modeloGrade().texto(2, 2), "CAFÉ");
  EXPECT_EQ(form->modeloGrade().texto(3, 2), "LEITE");
  EXPECT_EQ(grade->model()->data(grade->model()->index(2, 1)).toString().toStdString(), "LEITE");
  grade->selectionModel()->select(grade->model()->index(2, 1), QItemSelectionModel::ClearAndSelect);
  QKeyEvent apagar(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(grade, &apagar);
  EXPECT_EQ(form->modeloGrade().texto(3, 2), "");
  EXPECT_EQ(form->modeloGrade().grade().celulas(), 3u);
}

// "Todos", "Gerar Planilha Excel Origem": the workbook is written and opened; then "SYSPDV" without
// the file says so, and "Importar" fails with the system's message; the form stays open.
TEST_F(FrmMigracaoPadraoTest, GeraPlanilhaESyspdvSemBanco) {
  controle<QRadioButton>(*form, "optTodos")->click();
  clica("cmdGeraExcel");
  const std::string arquivo = (banco.pastaPrograma() / "produto.xlsx").string();
  EXPECT_EQ(abertos, std::vector<std::string>{arquivo});
  EXPECT_EQ(leComOpenpyxl(arquivo)["B2"].valor, "CAFÉ TORRADO 500G");
  EXPECT_EQ(controle<QLineEdit>(*form, "txtRegistro")->text(), "4");
  EXPECT_TRUE(caixas.empty());

  controle<QRadioButton>(*form, "optBanco")->click();
  EXPECT_EQ(controle<QLineEdit>(*form, "txtNomeBanco")->text().toStdString(), "BancoOrigem\\syspdv_srv.fdb");
  EXPECT_TRUE(fs::is_directory(banco.pastaPrograma() / "BancoOrigem"));
  clica("cmdImportarOutroBanco");
  EXPECT_EQ(caixas,
            (std::vector<std::string>{"Banco de Dados para Importação Não existe", "Erro ao Gerar o Excel"}));
  EXPECT_FALSE(encerrou);
  ASSERT_FALSE(form.isNull());

  // Listing shows this test program among the processes.
  clica("cmdListarProcesso");
  const auto itens = controle<QListWidget>(*form, "List1")->findItems("test_migration_gui", Qt::MatchExactly);
  EXPECT_FALSE(itens.isEmpty());
}

}  // namespace
}  // namespace zuv::teste
