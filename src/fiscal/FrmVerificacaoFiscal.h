#pragma once
// The fiscal check on the forms: a button "Verificar códigos fiscais" that a form adds to its
// layout with one call, and the window that lists the findings of the workbook the form names.
//
//   adicionaVerificacaoFiscal(grade, [] { return pastaPrograma() + "/produto.xlsx"; });
#include <QDialog>
#include <functional>
#include <string>

#include "fiscal/VerificaPlanilhaFiscal.h"

class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace zuv {

inline constexpr const char* kBotaoVerificacaoFiscal = "cmdVerificarFiscal";

// Adds the button (object name cmdVerificarFiscal) at the end of layout: the next row of a grid,
// spanning its columns; in a row or column of buttons after the last one (before a closing
// stretch); else the next place. A click opens a FrmVerificacaoFiscal, owned by the button's
// window, on the workbook at caminhoDaPlanilha() (asked at each click).
QPushButton* adicionaVerificacaoFiscal(QLayout* layout, std::function<std::string()> caminhoDaPlanilha);

// A window, not modal: the person can keep it open beside the spreadsheet while correcting. The
// findings are grouped by kind as the command line says them: one line per kind with its count
// and examples, opening onto its cells (Linha, Coluna, Valor, Motivo, Sugestão).
// The table paths start from the settings (ZUV_TABELA_NCM, ZUV_TABELA_CEST, tabelas_fiscais.ini)
// and may be changed in the window; "Verificar" checks again.
class FrmVerificacaoFiscal : public QDialog {
  Q_OBJECT

 public:
  FrmVerificacaoFiscal(QWidget* pai, std::string caminho);

  // Loads the tables named in the fields and checks the workbook; the list and the summary show
  // the result. Tables that cannot be read are said in the summary and left out.
  void verifica();

  const std::vector<AchadoFiscal>& achados() const { return achados_; }

 private:
  void escolheTabela(QLineEdit* campo, const QString& filtro);

  std::string caminho_;
  std::vector<AchadoFiscal> achados_;
  QLineEdit* txtTabelaNcm_;
  QLineEdit* txtTabelaCest_;
  QLabel* lblResumo_;
  QTreeWidget* grdAchados_;
};

}  // namespace zuv
