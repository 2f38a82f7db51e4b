#pragma once
// The SAT tax form: exports produtosat.xlsx and imports it back with the code groups ticked in
// Frame1. It opens the ZUV database into the program-wide slot (shared with FrmClientes) when it
// loads, and "Sair" closes that connection.
#include "gui/FormularioBase.h"

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace zuv {

class FrmAtuProdutoNCMCFOP : public FormularioBase {
  Q_OBJECT

 public:
  explicit FrmAtuProdutoNCMCFOP(QWidget* pai = nullptr);

  // The column of buttons beside Frame1; it has room for more.
  QVBoxLayout* colunaDeBotoes() const { return botoes_; }

 private:
  void geraExcel();
  void importa();
  void sair();

  QLineEdit* txtCaminho_;
  QCheckBox* chkICMSCadProduto_;
  QCheckBox* chkCFOP_;
  QCheckBox* chkAliquotaICMS_;
  QCheckBox* chkPIS_;
  QCheckBox* chkNCM_;
  QCheckBox* chkFixa_;
  QPushButton* cmdGeraExcel_;
  QPushButton* cmdProd_;
  QPushButton* cmdSair_;
  QProgressBar* Trm_;
  QVBoxLayout* botoes_;
};

}  // namespace zuv
