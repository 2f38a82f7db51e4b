#include "dbcopy/FrmZUVdeZUVProduto.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dbcopy/ParBancos.h"
#include "gui/Controles.h"
#include "platform/ParametrosConexao.h"
#include "shell/ContextoExecucao.h"
#include "shell/FrmMenu.h"

namespace zuv {

namespace {

QString q(const char* texto) {
  return QString::fromUtf8(texto);
}

template <class W>
W* nomeado(W* w, const char* nome) {
  w->setObjectName(nome);
  return w;
}

constexpr const char* kExplicacao =
    "Neste processo você deve colocar o nome da tabela que deseja importar o sistema vai se encarregar de "
    "incluir os dados no novo banco de dados (Não são todas as Tabelas que pode ser importada).";

}  // namespace

EscolhaDeArquivo escolhaDeArquivoPadrao() {
  return [](QWidget* pai, const QString& titulo, const QString& pasta, const QString& filtro) {
    return QFileDialog::getOpenFileName(pai, titulo, pasta, filtro);
  };
}

EscolhaDeArquivo& escolhaDeArquivo() {
  static EscolhaDeArquivo escolha = escolhaDeArquivoPadrao();
  return escolha;
}

FrmZUVdeZUVProduto::FrmZUVdeZUVProduto(QWidget* pai) : FormularioBase(pai) {
  setObjectName("FrmZUVdeZUVProduto");
  setWindowTitle(q(kTituloZUVProduto));

  auto* Frame3 = nomeado(new QGroupBox(q("Localização Banco de Dados"), this), "Frame3");
  lblDestino_ = nomeado(new QLineEdit(q(kDestinoPadrao), Frame3), "lblDestino");
  lblOrigem_ = nomeado(new QLineEdit(q(kOrigemPadrao), Frame3), "lblOrigem");
  auto* cmdArqDestino = nomeado(new QPushButton(q("Banco de Dados Destino"), Frame3), "cmdArqDestino");
  auto* cmdArqOrigem = nomeado(new QPushButton(q("Banco de Dados Origem"), Frame3), "cmdArqOrigem");
  auto* caminhos = new QGridLayout(Frame3);
  caminhos->addWidget(lblDestino_, 0, 0);
  caminhos->addWidget(cmdArqDestino, 0, 1);
  caminhos->addWidget(lblOrigem_, 1, 0);
  caminhos->addWidget(cmdArqOrigem, 1, 1);
  caminhos->setColumnStretch(0, 1);

  Label1_ = rotulo(this, "Label1", "Migração Pré - Definido");
  auto* cmdSalvar = nomeado(new QPushButton(q("Iniciar Importação"), this), "cmdSalvar");

  auto* Frame1 = nomeado(new QGroupBox(q("Importação por Tabela"), this), "Frame1");
  optIncluiProdutos_ = nomeado(
      new QRadioButton(q("Incluir Produtos e Deixa os Produtos que já possui"), Frame1), "optIncluiProdutos");
  optProduto_ = nomeado(new QRadioButton(q("Limpa Banco e Cadastra Produtos"), Frame1), "optProduto");
  optProduto_->setChecked(true);
  chkCliente_ = nomeado(new QCheckBox(q("Cliente"), Frame1), "chkCliente");
  txtTabela_ = nomeado(new QLineEdit(Frame1), "txtTabela");
  auto* cmdComanda = nomeado(new QPushButton(q("Iniciar Importação Individual"), Frame1), "cmdComanda");
  auto* tabela = new QGridLayout(Frame1);
  tabela->addWidget(optIncluiProdutos_, 0, 0, 1, 2);
  tabela->addWidget(optProduto_, 1, 0, 1, 2);
  tabela->addWidget(chkCliente_, 2, 0, 1, 2);
  tabela->addWidget(rotulo(Frame1, "Label3", "Nome da Tabela"), 3, 0);
  tabela->addWidget(txtTabela_, 3, 1);
  tabela->addWidget(cmdComanda, 4, 1);
  tabela->addWidget(rotulo(Frame1, "Label2", kExplicacao), 5, 0, 1, 2);
  tabela->setColumnStretch(1, 1);

  lblQT_ = rotulo(this, "lblQT", "");
  Trm_ = nomeado(new QProgressBar(this), kControleTrm);
  Trm_->setRange(0, 100);
  Trm_->setValue(0);
  auto* cmdSair = nomeado(new QPushButton(q("Sair"), this), "cmdSair");

  auto* grade = new QGridLayout(this);
  grade->addWidget(Frame3, 0, 0, 1, 2);
  grade->addWidget(Label1_, 1, 0);
  grade->addWidget(cmdSalvar, 1, 1);
  grade->addWidget(Frame1, 2, 0, 1, 2);
  grade->addWidget(lblQT_, 3, 0, 1, 2);
  grade->addWidget(Trm_, 4, 0, 1, 2);
  grade->addWidget(opcoesExecucao(), 5, 0);
  grade->addWidget(cmdSair, 5, 1, Qt::AlignBottom);
  grade->setColumnStretch(0, 1);
  resize(640, 560);

  connect(cmdArqDestino, &QPushButton::clicked, this, [this] { escolhe(lblDestino_); });
  connect(cmdArqOrigem, &QPushButton::clicked, this, [this] { escolhe(lblOrigem_); });
  connect(cmdSalvar, &QPushButton::clicked, this, &FrmZUVdeZUVProduto::salvar);
  connect(cmdComanda, &QPushButton::clicked, this, &FrmZUVdeZUVProduto::comanda);
  connect(cmdSair, &QPushButton::clicked, this, &QWidget::close);
}

OpcoesCopia FrmZUVdeZUVProduto::opcoes() const {
  OpcoesCopia o;
  o.origem = lblOrigem_->text().toStdString();
  o.destino = lblDestino_->text().toStdString();
  o.modo = optIncluiProdutos_->isChecked() ? ModoCopia::IncluirProdutos : ModoCopia::LimpaBanco;
  o.cliente = chkCliente_->isChecked();
  return o;
}

// The dialog starts in the folder of the path the box holds (the drive root "C:\" of the ZUV
// installation does not exist here), else in the home folder. A cancelled dialog leaves its file
// name "*.*", and that is what the box receives.
void FrmZUVdeZUVProduto::escolhe(QLineEdit* caixa) {
  QFileInfo atual(QString(caixa->text()).replace('\\', '/'));
  const QString pasta = atual.dir().exists() ? atual.dir().absolutePath() : QDir::homePath();
  const QString escolhido = escolhaDeArquivo()(this, q(kTituloDialogoBanco), pasta, "*.*");
  caixa->setText(escolhido.isEmpty() ? "*.*" : QDir::toNativeSeparators(escolhido));
}

void FrmZUVdeZUVProduto::salvar() {
  iniciaExecucao("zuv copiar", [o = opcoes()](ContextoExecucao& ctx) {
    ctx.defineOrigem(o.origem);
    return IniciaImportacao(ctx, o);
  });
}

void FrmZUVdeZUVProduto::comanda() {
  iniciaExecucao("zuv copiar", [o = opcoes()](ContextoExecucao& ctx) {
    ctx.defineOrigem(o.origem);
    return IniciaImportacaoIndividual(ctx, o);
  });
}

std::string FrmZUVdeZUVProduto::bancoDoHistorico() const {
  // The runs of this form write the destination: its journal is beside it.
  return ParametrosConexao::deTexto(textoConexaoCopia(lblDestino_->text().toStdString())).caminhoBanco();
}

ZUV_FORMULARIO_DO_MENU("cmdImportaZUV", FrmZUVdeZUVProduto);

}  // namespace zuv
