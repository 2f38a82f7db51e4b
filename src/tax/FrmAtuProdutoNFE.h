#pragma once
// The NF-e tax form: exports produtoNfe.xlsx and imports produtosat.xlsx back with the code groups
// ticked in Frame1. It owns its connection, opened when it loads and closed by "Sair".
#include <memory>

#include "gui/FormularioBase.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace zuv {

class Conexao;

class FrmAtuProdutoNFE : public FormularioBase {
  Q_OBJECT

 public:
  explicit FrmAtuProdutoNFE(QWidget* pai = nullptr);

 private:
  void geraExcel();
  void importa();
  void sair();

  std::shared_ptr<Conexao> conexao_;  // shared with the run that uses it
  QLabel* Label1_;
  QCheckBox* chkCFOP_;
  QCheckBox* chkAliquotaICMS_;
  QCheckBox* chkPIS_;
  QCheckBox* chkNCM_;
  QPushButton* cmdGeraExcel_;
  QPushButton* cmdProd_;
  QPushButton* cmdSair_;
  QProgressBar* Trm_;
};

}  // namespace zuv
