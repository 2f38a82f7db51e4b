#include "tax/FrmAtuProdutoNFE.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

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

QCheckBox* caixa(QWidget* pai, const char* nome, const char* legenda) {
  auto* c = new QCheckBox(QString::fromUtf8(legenda), pai);
  c->setObjectName(nome);
  c->setChecked(true);
  return c;
}

}  // namespace

FrmAtuProdutoNFE::FrmAtuProdutoNFE(QWidget* pai) : FormularioBase(pai) {
  setObjectName("FrmAtuProdutoNFE");
  setWindowTitle(QString::fromUtf8(kTituloTributos));

  Label1_ = new QLabel(this);
  Label1_->setObjectName("Label1");
  Label1_->setWordWrap(true);
  // The code groups the import writes (the same boxes as the SAT form's, all ticked).
  auto* frame = new QGroupBox(QString::fromUtf8("Dados para Importação"), this);
  frame->setObjectName("Frame1");
  chkCFOP_ = caixa(frame, "chkCFOP", "CFOP");
  chkAliquotaICMS_ = caixa(frame, "chkAliquotaICMS", "% Aliquota Imposto (7,12,18 etc..)");
  chkPIS_ = caixa(frame, "chkPIS", "PIS / Cofins");
  chkNCM_ = caixa(frame, "chkNCM", "NCM");
  auto* caixas = new QVBoxLayout(frame);
  for (QCheckBox* c : {chkCFOP_, chkAliquotaICMS_, chkPIS_, chkNCM_})
    caixas->addWidget(c);
  caixas->addStretch(1);

  cmdGeraExcel_ = botao(this, "cmdGeraExcel", "Gerar Planilha Excel");
  cmdProd_ = botao(this, "cmdProd", "Iniciar Importação");
  cmdSair_ = botao(this, "cmdSair", "Sair");
  Trm_ = new QProgressBar(this);
  Trm_->setObjectName(kProgressoTributos);
  Trm_->setRange(0, 100);
  Trm_->setVisible(false);

  auto* botoes = new QVBoxLayout;
  botoes->addWidget(cmdGeraExcel_);
  botoes->addWidget(cmdProd_);
  botoes->addStretch(1);
  auto* grade = new QGridLayout(this);
  grade->addWidget(Label1_, 0, 0, 1, 2);
  grade->addWidget(frame, 1, 0);
  grade->addLayout(botoes, 1, 1);
  grade->addWidget(Trm_, 2, 0, 1, 2);
  grade->addWidget(opcoesExecucao(), 3, 0);
  grade->addWidget(cmdSair_, 3, 1, Qt::AlignBottom);
  grade->setColumnStretch(0, 1);
  resize(640, 360);

  connect(cmdGeraExcel_, &QPushButton::clicked, this, &FrmAtuProdutoNFE::geraExcel);
  connect(cmdProd_, &QPushButton::clicked, this, &FrmAtuProdutoNFE::importa);
  connect(cmdSair_, &QPushButton::clicked, this, &FrmAtuProdutoNFE::sair);

  // Load: the path label before connecting, then the form's own connection.
  Label1_->setText(QString::fromUtf8("Gerar Planilha no Formato Excel Para o Cliente Pasta ") +
                   QString::fromStdString(pastaPrograma() + "/ProdutoNFE.xls"));
  executaOperacaoAgora([this](Tela& tela) {
    conexao_ = AbreBancoDados(pastaPrograma(), tela);
    return Resultado::concluido();
  });
}

void FrmAtuProdutoNFE::geraExcel() {
  if (!conexao_) return;
  iniciaExecucao(
      "nfe exportar", [](ContextoExecucao& ctx) { return ExportaNFE(ctx); },
      [conexao = conexao_] { return conexao.get(); });
}

void FrmAtuProdutoNFE::importa() {
  if (!conexao_) return;
  OpcoesAtualizaTributos opcoes;
  opcoes.cfop = chkCFOP_->isChecked();
  opcoes.aliquotaICMS = chkAliquotaICMS_->isChecked();
  opcoes.pis = chkPIS_->isChecked();
  opcoes.ncm = chkNCM_->isChecked();
  // The connection is shared with the run (it outlives the form if the form goes first).
  iniciaExecucaoReservada(
      *this, "nfe importar", kTabelasTributos,
      [opcoes](ContextoExecucao& ctx) { return AtualizaTributosNFE(ctx, opcoes); },
      [conexao = conexao_] { return conexao.get(); });
}

void FrmAtuProdutoNFE::sair() {
  if (emOperacao()) return;
  if (conexao_) conexao_->fecha();
  close();
}

ZUV_FORMULARIO_DO_MENU("cmdImportaNFE", FrmAtuProdutoNFE);

}  // namespace zuv
