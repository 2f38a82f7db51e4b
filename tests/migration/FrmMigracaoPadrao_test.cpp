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
  EXPECT_EQ(form->windowTitle().toStdString(), " Wmi - Exemplo para manipular processos do windows ");
  const std::pair<const char*, const char*> legendas[] = {
      {"cmdProd", "Incia a Importação para o Sistema ZUV"},
      {"cmdGeraExcel", "Gerar Planilha Excel Origem"},
      {"cmdImportarOutroBanco", "Importar"},
      {"cmdFornecedor", "Fornecedor"},
      {"cmdSair", "Sair"},
      {"cmdListarProcesso", " Listar Procesos"},
      {"cmdEncerrarProcesso", " Encerrar Proceso "},
      {"chkExcel", "Importa com arquivo excel produto.xlsx"},
      {"chkTodos", "Todos os Campos para Importação"},
      {"optAtualiza", "Atualiza Base de Produtos"},
      {"optLimpaBase", "Limpa Base de Produtos ( Nova Migração )"},
      {"optAtivo", "Ativo"},
      {"optTodos", "Todos"},
      {"optBanco", "SYSPDV"},
  };
  for (const auto& [nome, legenda] : legendas)
    EXPECT_EQ(controle<QAbstractButton>(*form, nome)->text().toStdString(), legenda) << nome;
  std::vector<std::string> molduras;
  for (QGroupBox* g : form->findChildren<QGroupBox*>())
    molduras.push_back(g->title().toStdString());
  for (const char* m : {"Produtos", "Dados para Importação", "Geração Planilha EXCEL ( produto.xlsx)"})
    EXPECT_NE(std::find(molduras.begin(), molduras.end(), m), molduras.end()) << m;
  QStringList rotulos;
  for (QLabel* l : form->findChildren<QLabel*>())
    rotulos << l->text();
  for (const char* r :
       {"Registros", "Produtos abaixo com Erro que não foram Inseridos", "Origem Banco de Dados",
        "Arquivo EXCEL: produto.xlsx", "Atenção essa importação limpa base de produtos.",
        "No Excel não deixar nenhuma Linha em Branco"})
    EXPECT_TRUE(rotulos.contains(QString::fromUtf8(r))) << r;
  controle<QLineEdit>(*form, "txtRegistro");
  controle<QPlainTextEdit>(*form, "txtProdErro");
  controle<QListWidget>(*form, "List1");
  controle<QProgressBar>(*form, "Trm");

  // Initial states, then chkTodos sets the twelve field boxes to its own state.
  EXPECT_TRUE(form->chkExcel()->isChecked() && form->optAtualiza()->isChecked());
  EXPECT_TRUE(controle<QRadioButton>(*form, "optAtivo")->isChecked());
  const QCheckBox* doze[] = {form->chkNomeProduto(), form->chkPrecoCusto(), form->chkPrecoVenda(),
                             form->chkEstoque(),     form->chkGrupo(),      form->chkNCM(),
                             form->chkAliqECF(),     form->chkCFOPSat(),    form->chkUnidade(),
                             form->chkTribSimpNac(), form->chkIcmsST(),     form->chkAtacado()};
  const char* nomes[] = {"Nome Produto",  "Preço Custo", "Preço Venda", "Estoque Atual",
                         "Grupo",         "NCM",         "Aliq.ECF",    "CFOP SAT",
                         "Trib.Simp.Nac", "ICMS ST",     "Unidade",     "Valor Atacado"};
  QStringList legendasDoze;
  for (const QCheckBox* c : doze)
    legendasDoze << c->text();
  for (const char* n : nomes)
    EXPECT_TRUE(legendasDoze.contains(QString::fromUtf8(n))) << n;
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
