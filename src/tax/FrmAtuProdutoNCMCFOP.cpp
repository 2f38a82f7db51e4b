#include "tax/FrmAtuProdutoNCMCFOP.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ReservaTabelas.h"
#include "fiscal/FrmVerificacaoFiscal.h"
#include "gui/Controles.h"
#include "gui/ExecucaoReservada.h"
#include "shell/BancoZUV.h"
#include "shell/ContextoExecucao.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"
#include "tax/AtualizaTributos.h"
#include "tax/PlanilhaTributos.h"
#include "tax/Tributos.h"

namespace zuv {

namespace {

QCheckBox* caixa(QWidget* pai, const char* nome, const char* legenda, bool marcada) {
  auto* c = new QCheckBox(QString::fromUtf8(legenda), pai);
  c->setObjectName(nome);
  c->setChecked(marcada);
  return c;
}

}  // namespace

FrmAtuProdutoNCMCFOP::FrmAtuProdutoNCMCFOP(QWidget* pai) : FormularioBase(pai) {
  setObjectName("FrmAtuProdutoNCMCFOP");
  setWindowTitle(QString::fromUtf8(kTituloTributos));

  txtCaminho_ = new QLineEdit(this);
  txtCaminho_->setObjectName("txtCaminho");
  txtCaminho_->setReadOnly(true);  // shown only; the runs use the program folder
  auto* frame = new QGroupBox(QString::fromUtf8("Dados para Importação"), this);
  frame->setObjectName("Frame1");
  chkICMSCadProduto_ = caixa(frame, "chkICMSCadProduto", "ICMS Cad Produto", false);
  chkCFOP_ = caixa(frame, "chkCFOP", "CFOP", true);
  chkAliquotaICMS_ = caixa(frame, "chkAliquotaICMS", "% Aliquota Imposto (7,12,18 etc..)", true);
  chkPIS_ = caixa(frame, "chkPIS", "PIS / Cofins", true);
  chkNCM_ = caixa(frame, "chkNCM", "NCM", true);
  // Describes a fixed rule that no run applies: shown, changes nothing.
  chkFixa_ =
      caixa(frame, "chkFixa", "5102 = cst 102 cfop 5102 - 5405 - cst 060 - cfp 5405 - todos 18%", false);
  auto* caixas = new QVBoxLayout(frame);
  for (QCheckBox* c : {chkICMSCadProduto_, chkCFOP_, chkAliquotaICMS_, chkPIS_, chkNCM_, chkFixa_})
    caixas->addWidget(c);
  caixas->addStretch(1);

  cmdGeraExcel_ = botao(this, "cmdGeraExcel", "Gerar Planilha Excel");
  cmdProd_ = botao(this, "cmdProd", "Iniciar Importação");
  cmdSair_ = botao(this, "cmdSair", "Sair");
  auto* label1 = new QLabel(QString::fromUtf8("Importar o Arquivo para o Sistema ZUV"), this);
  label1->setObjectName("Label1");
  Trm_ = new QProgressBar(this);
  Trm_->setObjectName(kProgressoTributos);
  Trm_->setRange(0, 100);
  Trm_->setVisible(false);

  botoes_ = new QVBoxLayout;
  botoes_->addWidget(cmdGeraExcel_);
  botoes_->addWidget(label1);
  botoes_->addWidget(cmdProd_);
  adicionaVerificacaoFiscal(botoes_, [] { return pastaPrograma() + "/" + kArquivoSAT; });
  botoes_->addStretch(1);

  auto* grade = new QGridLayout(this);
  grade->addWidget(txtCaminho_, 0, 0, 1, 2);
  grade->addWidget(frame, 1, 0);
  grade->addLayout(botoes_, 1, 1);
  grade->addWidget(Trm_, 2, 0, 1, 2);
  grade->addWidget(opcoesExecucao(), 3, 0);
  grade->addWidget(cmdSair_, 3, 1, Qt::AlignBottom);
  grade->setColumnStretch(0, 1);
  resize(720, 400);

  connect(cmdGeraExcel_, &QPushButton::clicked, this, &FrmAtuProdutoNCMCFOP::geraExcel);
  connect(cmdProd_, &QPushButton::clicked, this, &FrmAtuProdutoNCMCFOP::importa);
  connect(cmdSair_, &QPushButton::clicked, this, &FrmAtuProdutoNCMCFOP::sair);

  // Load: the path text, then the shared connection. A missing zuv.ini or a failed open has been
  // told and ends the program.
  txtCaminho_->setText(QString::fromUtf8("Gerar Planilha no Formato Excel Para o Cliente Pasta ") +
                       QString::fromStdString(pastaPrograma() + "/ProdutoSAT.xls"));
  executaOperacaoAgora([](Tela& tela) {
    SlotConexao::programa().substitui(AbreBancoDados(pastaPrograma(), tela));
    return Resultado::concluido();
  });
}

namespace {
Conexao* conexaoDoPrograma() {
  return &SlotConexao::programa().conexao();
}
}  // namespace

// Runs reserve the shared connection (FrmClientes's runs use it too) and, for the import, the tables
// it takes identifiers from, until the run has committed.
void FrmAtuProdutoNCMCFOP::geraExcel() {
  OpcoesExportaSAT opcoes;
  opcoes.fixa = chkFixa_->isChecked();
  iniciaExecucaoReservada(
      *this, "sat exportar", {kConexaoDoPrograma},
      [opcoes](ContextoExecucao& ctx) { return ExportaSAT(ctx, opcoes); }, conexaoDoPrograma);
}

void FrmAtuProdutoNCMCFOP::importa() {
  OpcoesAtualizaTributos opcoes;
  opcoes.icmsCadProduto = chkICMSCadProduto_->isChecked();
  opcoes.cfop = chkCFOP_->isChecked();
  opcoes.aliquotaICMS = chkAliquotaICMS_->isChecked();
  opcoes.pis = chkPIS_->isChecked();
  opcoes.ncm = chkNCM_->isChecked();
  std::vector<std::string> reservas = kTabelasTributos;
  reservas.push_back(kConexaoDoPrograma);
  iniciaExecucaoReservada(
      *this, "sat importar", reservas,
      [opcoes](ContextoExecucao& ctx) { return AtualizaTributosSAT(ctx, opcoes); }, conexaoDoPrograma);
}

void FrmAtuProdutoNCMCFOP::sair() {
  SlotConexao::programa().fecha();
  close();
}

ZUV_FORMULARIO_DO_MENU("cmdImportaNCM", FrmAtuProdutoNCMCFOP);

}  // namespace zuv
