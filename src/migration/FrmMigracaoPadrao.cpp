#include "migration/FrmMigracaoPadrao.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "fiscal/FrmVerificacaoFiscal.h"
#include "gui/Controles.h"
#include "gui/ModeloGrade.h"
#include "migration/ControleProcessos.h"
#include "migration/ExportaProdutos.h"
#include "migration/Fornecedores.h"
#include "migration/MigracaoPadrao.h"
#include "shell/ContextoExecucao.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"

namespace zuv {

namespace {

QString q(const char* texto) {
  return QString::fromUtf8(texto);
}

QGroupBox* moldura(QWidget* pai, const char* nome, const char* legenda) {
  return controle<QGroupBox>(pai, nome, legenda);
}

}  // namespace

FrmMigracaoPadrao::FrmMigracaoPadrao(QWidget* pai) : FormularioBase(pai) {
  setObjectName("FrmMigracaoPadrao");
  setWindowTitle(q(kTituloMigracao));

  // The import: source, mode, the fields rewritten on existing items, and its results.
  chkExcel_ = controle<QCheckBox>(this, "chkExcel", "Importa com arquivo excel produto.xlsx");
  chkExcel_->setChecked(true);
  auto* fraModo = new QWidget(this);
  fraModo->setObjectName("fraModo");
  optAtualiza_ = controle<QRadioButton>(fraModo, "optAtualiza", "Atualiza Base de Produtos");
  optLimpaBase_ = controle<QRadioButton>(fraModo, "optLimpaBase", "Limpa Base de Produtos ( Nova Migração )");
  optAtualiza_->setChecked(true);
  auto* modo = new QVBoxLayout(fraModo);
  modo->setContentsMargins(0, 0, 0, 0);
  modo->addWidget(optAtualiza_);
  modo->addWidget(optLimpaBase_);

  QGroupBox* fraDados = moldura(this, "fraDadosImportacao", "Dados para Importação");
  chkTodos_ = controle<QCheckBox>(fraDados, "chkTodos", "Todos os Campos para Importação");
  chkNomeProduto_ = controle<QCheckBox>(fraDados, "chkNomeProduto", "Nome Produto");
  chkPrecoCusto_ = controle<QCheckBox>(fraDados, "chkPrecoCusto", "Preço Custo");
  chkPrecoVenda_ = controle<QCheckBox>(fraDados, "chkPrecoVenda", "Preço Venda");
  chkEstoque_ = controle<QCheckBox>(fraDados, "chkEstoque", "Estoque Atual");
  chkGrupo_ = controle<QCheckBox>(fraDados, "chkGrupo", "Grupo");
  chkNCM_ = controle<QCheckBox>(fraDados, "chkNCM", "NCM");
  chkAliqECF_ = controle<QCheckBox>(fraDados, "chkAliqECF", "Aliq.ECF");
  chkCFOPSat_ = controle<QCheckBox>(fraDados, "chkCFOPSat", "CFOP SAT");
  chkUnidade_ = controle<QCheckBox>(fraDados, "chkUnidade", "Unidade");
  chkTribSimpNac_ = controle<QCheckBox>(fraDados, "chkTribSimpNac", "Trib.Simp.Nac");
  chkIcmsST_ = controle<QCheckBox>(fraDados, "chkIcmsST", "ICMS ST");
  chkAtacado_ = controle<QCheckBox>(fraDados, "chkAtacado", "Valor Atacado");
  auto* dados = new QGridLayout(fraDados);
  dados->addWidget(chkTodos_, 0, 0, 1, 3);
  const QCheckBox* campos[] = {chkNomeProduto_, chkPrecoCusto_,  chkPrecoVenda_, chkEstoque_,
                               chkGrupo_,       chkNCM_,         chkAliqECF_,    chkCFOPSat_,
                               chkUnidade_,     chkTribSimpNac_, chkIcmsST_,     chkAtacado_};
  for (int i = 0; i < 12; ++i)
    dados->addWidget(const_cast<QCheckBox*>(campos[i]), 1 + i / 3, i % 3);

  cmdProd_ = controle<QPushButton>(this, "cmdProd", "Incia a Importação para o Sistema ZUV");
  auto* cmdFornecedor = controle<QPushButton>(this, "cmdFornecedor", "Fornecedor");
  auto* cmdSair = controle<QPushButton>(this, "cmdSair", "Sair");
  txtRegistro_ = new QLineEdit(this);
  txtRegistro_->setObjectName(kControleRegistro);
  txtRegistro_->setReadOnly(true);
  txtProdErro_ = new QPlainTextEdit(this);
  txtProdErro_->setObjectName(kControleProdErro);
  txtProdErro_->setReadOnly(true);
  Trm_ = new QProgressBar(this);
  Trm_->setObjectName(kControleProgressoMigracao);
  Trm_->setRange(0, 100);
  Trm_->setVisible(false);

  // The grid: the import's source when chkExcel is not ticked.
  fpSpread1_ = new QTableView(this);
  fpSpread1_->setObjectName("fpSpread1");
  modeloGrade_ = new ModeloGrade(this);
  fpSpread1_->setModel(modeloGrade_);
  fpSpread1_->verticalHeader()->setDefaultSectionSize(fpSpread1_->verticalHeader()->minimumSectionSize());
  fpSpread1_->setEnabled(!chkExcel_->isChecked());
  fpSpread1_->installEventFilter(this);

  // The workbook export, from the ZUV database or from SYSPDV.
  QGroupBox* fraGeracao = moldura(this, "fraGeracaoPlanilha", "Geração Planilha EXCEL ( produto.xlsx)");
  QGroupBox* fraProdutos = moldura(fraGeracao, "fraProdutos", "Produtos");
  optAtivo_ = controle<QRadioButton>(fraProdutos, "optAtivo", "Ativo");
  optTodos_ = controle<QRadioButton>(fraProdutos, "optTodos", "Todos");
  optAtivo_->setChecked(true);
  auto* produtos = new QHBoxLayout(fraProdutos);
  produtos->addWidget(optAtivo_);
  produtos->addWidget(optTodos_);
  auto* cmdGeraExcel = controle<QPushButton>(fraGeracao, "cmdGeraExcel", "Gerar Planilha Excel Origem");
  optBanco_ = controle<QRadioButton>(fraGeracao, "optBanco", "SYSPDV");
  auto* grupoBanco = new QButtonGroup(fraGeracao);  // the source-system options, apart from Ativo/Todos
  grupoBanco->addButton(optBanco_, 0);
  txtNomeBanco_ = new QLineEdit(fraGeracao);
  txtNomeBanco_->setObjectName(kControleNomeBanco);
  auto* cmdImportarOutroBanco = controle<QPushButton>(fraGeracao, "cmdImportarOutroBanco", "Importar");
  auto* geracao = new QGridLayout(fraGeracao);
  geracao->addWidget(fraProdutos, 0, 0);
  geracao->addWidget(cmdGeraExcel, 0, 1);
  geracao->addWidget(optBanco_, 1, 0);
  geracao->addWidget(rotulo(fraGeracao, "lblNomeBanco", "Origem Banco de Dados"), 2, 0);
  geracao->addWidget(txtNomeBanco_, 2, 1);
  geracao->addWidget(cmdImportarOutroBanco, 3, 1);

  // Process control.
  List1_ = new QListWidget(this);
  List1_->setObjectName(kControleProcessos);
  auto* cmdListarProcesso = controle<QPushButton>(this, "cmdListarProcesso", "Listar Processo");
  auto* cmdEncerrarProcesso = controle<QPushButton>(this, "cmdEncerrarProcesso", "Encerrar Processo");

  auto* esquerda = new QVBoxLayout;
  esquerda->addWidget(rotulo(this, "lblArquivoExcel", "Arquivo EXCEL: produto.xlsx"));
  esquerda->addWidget(chkExcel_);
  esquerda->addWidget(fraModo);
  esquerda->addWidget(rotulo(this, "lblAtencao", "Atenção essa importação limpa base de produtos."));
  esquerda->addWidget(fraDados);
  esquerda->addWidget(rotulo(this, "lblLinhaBranco", "No Excel não deixar nenhuma Linha em Branco"));
  esquerda->addWidget(
      rotulo(this, "lblLinhasProdutos",
             "Nas linhas dos produtos na planilha não pode possuir nome e código do produto em "
             "branco caso estiver os 2 juntos em branco a importação vai ser finalizada."));
  esquerda->addWidget(
      rotulo(this, "lblSeguirExemplo",
             "Seguir Exemplo do Arquivo em Excel a Versão deve ser acima de 2003 ( Conferir a "
             "extensão que dever ser xlsx ) - Obs ao clicar com o Botão Direito em cima do arquivo "
             "produto.xlsx não deve mostrar data nenhuma apenas Planilha do Excel"));
  esquerda->addStretch();

  auto* registro = new QHBoxLayout;
  registro->addWidget(rotulo(this, "lblRegistros", "Registros"));
  registro->addWidget(txtRegistro_, 1);
  auto* processos = new QHBoxLayout;
  processos->addWidget(cmdListarProcesso);
  processos->addWidget(cmdEncerrarProcesso);
  List1_->setMaximumHeight(90);
  auto* direita = new QVBoxLayout;
  direita->addWidget(fraGeracao);
  direita->addLayout(registro);
  direita->addWidget(Trm_);
  direita->addLayout(processos);
  direita->addWidget(List1_);
  direita->addWidget(opcoesExecucao());
  direita->addStretch();

  txtProdErro_->setMaximumHeight(80);
  linhaDeBotoes_ = new QHBoxLayout;
  linhaDeBotoes_->addWidget(cmdProd_);
  linhaDeBotoes_->addWidget(cmdFornecedor);
  linhaDeBotoes_->addStretch();
  adicionaVerificacaoFiscal(linhaDeBotoes_, [] { return pastaPrograma() + "/produto.xlsx"; });
  auto* sair = new QHBoxLayout;
  sair->addStretch();
  sair->addWidget(cmdSair);

  auto* topo = new QHBoxLayout;
  topo->addLayout(esquerda, 1);
  topo->addLayout(direita, 1);
  auto* tudo = new QVBoxLayout(this);
  tudo->addLayout(topo);
  tudo->addWidget(rotulo(this, "lblProdErro", "Produtos abaixo com Erro que não foram Inseridos"));
  tudo->addWidget(txtProdErro_);
  tudo->addLayout(linhaDeBotoes_);
  tudo->addWidget(fpSpread1_, 1);
  tudo->addLayout(sair);
  resize(1000, 690);  // fits a 1366x768 screen; the grid takes what is left

  connect(chkTodos_, &QCheckBox::clicked, this, &FrmMigracaoPadrao::marcaTodos);
  connect(chkExcel_, &QCheckBox::clicked, this, [this](bool marcado) { fpSpread1_->setEnabled(!marcado); });
  connect(cmdProd_, &QPushButton::clicked, this, [this] { importaProdutos(); });
  connect(cmdGeraExcel, &QPushButton::clicked, this, &FrmMigracaoPadrao::geraExcel);
  connect(optBanco_, &QRadioButton::clicked, this, &FrmMigracaoPadrao::selecionaBanco);
  connect(cmdImportarOutroBanco, &QPushButton::clicked, this, &FrmMigracaoPadrao::importaOutroBanco);
  connect(cmdFornecedor, &QPushButton::clicked, this, &FrmMigracaoPadrao::importaFornecedores);
  connect(cmdListarProcesso, &QPushButton::clicked, this, &FrmMigracaoPadrao::listaProcessos);
  connect(cmdEncerrarProcesso, &QPushButton::clicked, this, &FrmMigracaoPadrao::encerraProcesso);
  connect(cmdSair, &QPushButton::clicked, this, &QWidget::close);

  // Load: the process buttons and the window get the captions the system gives them here.
  cmdListarProcesso->setText(q(" Listar Procesos"));
  cmdEncerrarProcesso->setText(q(" Encerrar Proceso "));
  setWindowTitle(q(kTituloProcessos));
}

bool FrmMigracaoPadrao::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == fpSpread1_ && evento->type() == QEvent::KeyPress) {
    auto* tecla = static_cast<QKeyEvent*>(evento);
    const QModelIndex atual = fpSpread1_->currentIndex();
    if (tecla->matches(QKeySequence::Paste)) {
      const QModelIndex inicio = atual.isValid() ? atual : modeloGrade_->index(0, 0);
      modeloGrade_->colaTexto(inicio.row() + 1, inicio.column() + 1,
                              QApplication::clipboard()->text().toStdString());
      return true;
    }
    if (tecla->key() == Qt::Key_Delete) {  // while a cell is edited, its editor gets the keys
      modeloGrade_->limpaCelulas(fpSpread1_->selectionModel()->selectedIndexes());
      return true;
    }
  }
  return FormularioBase::eventFilter(objeto, evento);
}

void FrmMigracaoPadrao::marcaTodos() {
  const bool marcado = chkTodos_->isChecked();
  for (QCheckBox* c : {chkNomeProduto_, chkPrecoCusto_, chkAliqECF_, chkIcmsST_, chkUnidade_, chkPrecoVenda_,
                       chkCFOPSat_, chkEstoque_, chkGrupo_, chkNCM_, chkTribSimpNac_, chkAtacado_})
    c->setChecked(marcado);
}

void FrmMigracaoPadrao::geraExcel() {
  const OpcoesPlanilhaProduto opcoes{optTodos_->isChecked()};
  iniciaExecucao("produtos planilha",
                 [opcoes](ContextoExecucao& ctx) { return GeraExcelOrigem(ctx, opcoes); });
}

void FrmMigracaoPadrao::selecionaBanco() {
  executaOperacaoAgora([](Tela& tela) {
    SelecionaBancoSYSPDV(pastaPrograma(), tela);
    return Resultado::concluido();
  });
}

void FrmMigracaoPadrao::importaOutroBanco() {
  const OpcoesOutroBanco opcoes{txtNomeBanco_->text().toStdString(), optBanco_->isChecked()};
  iniciaExecucao("produtos syspdv",
                 [opcoes](ContextoExecucao& ctx) { return ImportaOutroBanco(ctx, opcoes); });
}

void FrmMigracaoPadrao::importaFornecedores() {
  iniciaExecucao("fornecedores importar",
                 [](ContextoExecucao& ctx) { return ImportaFornecedores(ctx, OpcoesFornecedores{}); });
}

void FrmMigracaoPadrao::listaProcessos() {
  iniciaExecucao("processos listar", [](ContextoExecucao& ctx) { return ListarProcessos(ctx); });
}

void FrmMigracaoPadrao::encerraProcesso() {
  iniciaExecucao("processos encerrar",
                 [](ContextoExecucao& ctx) { return EncerrarProcessos(ctx, OpcoesEncerraProcesso{}); });
}

ZUV_FORMULARIO_DO_MENU("cmdImportaProduto", FrmMigracaoPadrao);

}  // namespace zuv
