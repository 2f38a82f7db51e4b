#include "fiscal/FrmVerificacaoFiscal.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <optional>

#include "fiscal/ConfiguracaoFiscal.h"
#include "shell/PastaPrograma.h"

namespace zuv {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

QPushButton* adicionaVerificacaoFiscal(QLayout* layout, std::function<std::string()> caminhoDaPlanilha) {
  auto* botao = new QPushButton(QString::fromUtf8("Verificar códigos fiscais"), layout->parentWidget());
  botao->setObjectName(kBotaoVerificacaoFiscal);
  if (auto* grade = qobject_cast<QGridLayout*>(layout)) {
    grade->addWidget(botao, grade->rowCount(), 0, 1, std::max(1, grade->columnCount()));
  } else if (auto* fila = qobject_cast<QBoxLayout*>(layout)) {
    // Before a stretch that closes the row, so the button stays beside the others.
    const int n = fila->count();
    const bool esticado = n > 0 && fila->itemAt(n - 1)->spacerItem();
    fila->insertWidget(esticado ? n - 1 : n, botao);
  } else {
    layout->addWidget(botao);
  }
  QObject::connect(botao, &QPushButton::clicked, botao, [botao, caminho = std::move(caminhoDaPlanilha)] {
    auto* janela = new FrmVerificacaoFiscal(botao->window(), caminho());
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->show();
    janela->verifica();
  });
  return botao;
}

FrmVerificacaoFiscal::FrmVerificacaoFiscal(QWidget* pai, std::string caminho)
    : QDialog(pai), caminho_(std::move(caminho)) {
  setObjectName("FrmVerificacaoFiscal");
  setWindowTitle(QString::fromUtf8("Verificação fiscal - ") +
                 q(std::filesystem::path(caminho_).filename().string()));
  setModal(false);

  const CaminhosTabelasFiscais tabelas = caminhosTabelasFiscais(pastaPrograma());
  txtTabelaNcm_ = new QLineEdit(q(tabelas.ncm), this);
  txtTabelaNcm_->setObjectName("txtTabelaNcm");
  txtTabelaCest_ = new QLineEdit(q(tabelas.cest), this);
  txtTabelaCest_->setObjectName("txtTabelaCest");
  auto* cmdTabelaNcm = new QPushButton("...", this);
  cmdTabelaNcm->setObjectName("cmdTabelaNcm");
  auto* cmdTabelaCest = new QPushButton("...", this);
  cmdTabelaCest->setObjectName("cmdTabelaCest");
  auto* cmdVerificar = new QPushButton("Verificar", this);
  cmdVerificar->setObjectName("cmdVerificar");
  auto* cmdFechar = new QPushButton("Fechar", this);
  cmdFechar->setObjectName("cmdFechar");
  lblResumo_ = new QLabel(this);
  lblResumo_->setObjectName("lblResumo");
  lblResumo_->setWordWrap(true);
  lblResumo_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grdAchados_ = new QTreeWidget(this);
  grdAchados_->setObjectName("grdAchados");
  grdAchados_->setColumnCount(5);
  grdAchados_->setHeaderLabels({"Linha", "Coluna", "Valor", "Motivo", QString::fromUtf8("Sugestão")});
  grdAchados_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grdAchados_->setWordWrap(false);
  grdAchados_->header()->setStretchLastSection(true);

  auto* grade = new QGridLayout(this);
  grade->addWidget(new QLabel(QString::fromUtf8("Tabela NCM (JSON do Siscomex)"), this), 0, 0);
  grade->addWidget(txtTabelaNcm_, 0, 1);
  grade->addWidget(cmdTabelaNcm, 0, 2);
  grade->addWidget(new QLabel(QString::fromUtf8("Tabela CEST (página do Convênio ICMS 142/18)"), this), 1, 0);
  grade->addWidget(txtTabelaCest_, 1, 1);
  grade->addWidget(cmdTabelaCest, 1, 2);
  grade->addWidget(cmdVerificar, 0, 3, 2, 1);
  grade->addWidget(lblResumo_, 2, 0, 1, 4);
  grade->addWidget(grdAchados_, 3, 0, 1, 4);
  grade->addWidget(cmdFechar, 4, 3);
  grade->setColumnStretch(1, 1);
  grade->setRowStretch(3, 1);
  resize(1000, 520);

  connect(cmdTabelaNcm, &QPushButton::clicked, this,
          [this] { escolheTabela(txtTabelaNcm_, QString::fromUtf8("Tabela NCM (*.json);;Todos (*)")); });
  connect(cmdTabelaCest, &QPushButton::clicked, this, [this] {
    escolheTabela(txtTabelaCest_, QString::fromUtf8("Página do convênio (*.html *.htm);;Todos (*)"));
  });
  connect(cmdVerificar, &QPushButton::clicked, this, &FrmVerificacaoFiscal::verifica);
  connect(cmdFechar, &QPushButton::clicked, this, &QDialog::close);
}

void FrmVerificacaoFiscal::escolheTabela(QLineEdit* campo, const QString& filtro) {
  const QString arquivo = QFileDialog::getOpenFileName(this, QString(), campo->text(), filtro);
  if (!arquivo.isEmpty()) campo->setText(arquivo);
}

void FrmVerificacaoFiscal::verifica() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::vector<std::string> linhas;
  std::optional<TabelaNcm> ncm;
  std::optional<TabelaCest> cest;
  TabelasFiscais tabelas;
  const std::string caminhoNcm = txtTabelaNcm_->text().trimmed().toStdString();
  const std::string caminhoCest = txtTabelaCest_->text().trimmed().toStdString();
  try {
    if (!caminhoNcm.empty()) {
      ncm = TabelaNcm::carrega(caminhoNcm);
      tabelas.ncm = &*ncm;
      linhas.push_back("Tabela NCM: " + ncm->descricao());
    }
  } catch (const Erro& e) {
    linhas.push_back(std::string("Tabela NCM deixada de fora: ") + e.what());
  }
  try {
    if (!caminhoCest.empty()) {
      cest = TabelaCest::carrega(caminhoCest);
      tabelas.cest = &*cest;
      linhas.push_back("Tabela CEST: " + cest->descricao());
    }
  } catch (const Erro& e) {
    linhas.push_back(std::string("Tabela CEST deixada de fora: ") + e.what());
  }
  if (!tabelas.ncm && !tabelas.cest) linhas.push_back("Sem tabelas oficiais: só as regras dos códigos");

  grdAchados_->clear();
  achados_.clear();
  try {
    const ResultadoVerificacaoFiscal r = verificaPlanilha(caminho_, &tabelas);
    achados_ = r.achados;
    const size_t n = achados_.size();
    linhas.push_back(
        std::string("Planilha: ") + nomeDoLayout(r.layout) + ", " + std::to_string(r.linhasDeDados) +
        (r.linhasDeDados == 1 ? " linha" : " linhas") +
        " de dados: " + (n == 0 ? "nenhum achado" : std::to_string(n) + (n == 1 ? " achado" : " achados")));
  } catch (const Erro& e) {
    linhas.push_back(e.what());
  }
  for (const GrupoDeAchados& g : agrupaAchados(achados_)) {
    auto* grupo = new QTreeWidgetItem(grdAchados_, {q(textoDoGrupo(g, achados_))});
    grupo->setFirstColumnSpanned(true);
    for (size_t i : g.indices) {
      const AchadoFiscal& a = achados_[i];
      new QTreeWidgetItem(
          grupo, {QString::number(a.linha),
                  q(letraDaColuna(a.coluna) + (a.titulo.empty() ? "" : " (" + a.titulo + ")")), q(a.valor),
                  q(a.motivo), q(a.sugestao)});
    }
  }
  // Columns sized to the cells (the kinds' lines span them all); few findings are shown open,
  // many stay folded under their kinds.
  grdAchados_->expandAll();
  grdAchados_->setColumnWidth(
      0, 2 * grdAchados_->indentation() + fontMetrics().horizontalAdvance("Linha 000000"));
  for (int c = 1; c < 4; ++c) {
    grdAchados_->resizeColumnToContents(c);
    grdAchados_->setColumnWidth(c, std::min(grdAchados_->columnWidth(c), 420));
  }
  if (achados_.size() > 20) grdAchados_->collapseAll();
  std::string resumo;
  for (const std::string& l : linhas)
    resumo += (resumo.empty() ? "" : "\n") + l;
  lblResumo_->setText(q(resumo));
  QApplication::restoreOverrideCursor();
}

}  // namespace zuv
