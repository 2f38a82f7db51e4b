#include "customers/FrmClientes.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "customers/Clientes.h"
#include "customers/ExcluiClientes.h"
#include "customers/ImportaClientes.h"
#include "gui/Controles.h"
#include "gui/ExecucaoReservada.h"
#include "shell/BancoZUV.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"

namespace zuv {

FrmClientes::FrmClientes(QWidget* pai) : FormularioBase(pai) {
  setObjectName("FrmClientes");
  setWindowTitle(QString::fromUtf8(kTituloClientes));

  cmdProd_ = botao(this, "cmdProd", "Importação Atualizar");
  cmdExcluirCliente_ = botao(this, "cmdExcluirCliente", "Excluir Cadastro Cliente");
  cmdSair_ = botao(this, "cmdSair", "Sair");
  lstCliente_ = new QListWidget(this);
  lstCliente_->setObjectName(kControleLista);
  lstCliente_->setVisible(false);
  // When it shows up (customers kept by the deletion), it takes the form's spare height.
  lstCliente_->setMinimumHeight(lstCliente_->fontMetrics().lineSpacing() * 8);
  Trm_ = new QProgressBar(this);
  Trm_->setObjectName(kControleProgresso);
  Trm_->setRange(0, 100);
  Trm_->setVisible(false);

  auto* grade = new QGridLayout(this);
  grade->addWidget(rotulo(this, "lblImporta", "Importa o Arquivo para o Sistema ZUV - Atualizando"), 0, 0);
  grade->addWidget(cmdProd_, 0, 1);
  grade->addWidget(rotulo(this, "lblPlanilha",
                          "Gerar Planilha no Formato Excel Para o Cliente Pasta c:\\zuv\\clientes.xls"),
                   1, 0);
  grade->addWidget(cmdExcluirCliente_, 1, 1);
  grade->addWidget(Trm_, 2, 0, 1, 2);
  grade->addWidget(lstCliente_, 3, 0, 1, 2);
  grade->addWidget(cmdSair_, 4, 1);
  grade->addWidget(opcoesExecucao(), 5, 0, 1, 2);
  grade->setColumnStretch(0, 1);
  grade->setRowStretch(3, 1);
  resize(760, sizeHint().height());  // room for a kept customer's whole line in lstCliente

  connect(cmdProd_, &QPushButton::clicked, this, &FrmClientes::importa);
  connect(cmdExcluirCliente_, &QPushButton::clicked, this, &FrmClientes::exclui);
  connect(cmdSair_, &QPushButton::clicked, this, &FrmClientes::sair);

  // Load: the shared connection. A missing zuv.ini or a failed open has been told and ends the
  // program (FimDoPrograma).
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

// The shared connection is reserved for the run: a run of FrmAtuProdutoNCMCFOP on it waits.
void FrmClientes::importa() {
  iniciaExecucaoReservada(*this, "clientes importar", {kConexaoDoPrograma}, ImportaClientes,
                          conexaoDoPrograma);
}

void FrmClientes::exclui() {
  iniciaExecucaoReservada(*this, "clientes excluir", {kConexaoDoPrograma}, ExcluiClientes, conexaoDoPrograma);
}

void FrmClientes::sair() {
  SlotConexao::programa().fecha();
  close();
}

ZUV_FORMULARIO_DO_MENU("cmdclientes", FrmClientes);

}  // namespace zuv
