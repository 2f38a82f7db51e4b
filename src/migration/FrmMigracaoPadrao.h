#pragma once
// The standard migration form: the product import's options and grid, the product workbook export
// (from the ZUV database or from SYSPDV), the supplier import and the spreadsheet process control.
// Each operation opens its own connection and closes it when it ends.
#include "gui/FormularioBase.h"

class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;

namespace zuv {

class ModeloGrade;

class FrmMigracaoPadrao : public FormularioBase {
  Q_OBJECT

 public:
  explicit FrmMigracaoPadrao(QWidget* pai = nullptr);

  // The controls of the product import, for its run's options.
  QCheckBox* chkExcel() const { return chkExcel_; }
  QRadioButton* optAtualiza() const { return optAtualiza_; }
  QRadioButton* optLimpaBase() const { return optLimpaBase_; }
  QCheckBox* chkTodos() const { return chkTodos_; }
  QCheckBox* chkNomeProduto() const { return chkNomeProduto_; }
  QCheckBox* chkPrecoCusto() const { return chkPrecoCusto_; }
  QCheckBox* chkPrecoVenda() const { return chkPrecoVenda_; }
  QCheckBox* chkEstoque() const { return chkEstoque_; }
  QCheckBox* chkGrupo() const { return chkGrupo_; }
  QCheckBox* chkNCM() const { return chkNCM_; }
  QCheckBox* chkAliqECF() const { return chkAliqECF_; }
  QCheckBox* chkCFOPSat() const { return chkCFOPSat_; }
  QCheckBox* chkUnidade() const { return chkUnidade_; }
  QCheckBox* chkTribSimpNac() const { return chkTribSimpNac_; }
  QCheckBox* chkIcmsST() const { return chkIcmsST_; }
  QCheckBox* chkAtacado() const { return chkAtacado_; }
  QLineEdit* txtRegistro() const { return txtRegistro_; }
  QPlainTextEdit* txtProdErro() const { return txtProdErro_; }
  QProgressBar* Trm() const { return Trm_; }
  QPushButton* cmdProd() const { return cmdProd_; }
  QTableView* fpSpread1() const { return fpSpread1_; }
  // The grid's cells (texto(linha, coluna), from 1); copy it into a run's options.
  ModeloGrade& modeloGrade() const { return *modeloGrade_; }
  // The row of buttons under the options, where further tools of this form go.
  QHBoxLayout* linhaDeBotoes() const { return linhaDeBotoes_; }

 protected:
  // The product import ("Incia a Importação para o Sistema ZUV"). Its run is not wired yet.
  virtual void importaProdutos() {}

  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void marcaTodos();
  void geraExcel();
  void selecionaBanco();
  void importaOutroBanco();
  void importaFornecedores();
  void listaProcessos();
  void encerraProcesso();

  QCheckBox* chkExcel_;
  QRadioButton* optAtualiza_;
  QRadioButton* optLimpaBase_;
  QCheckBox* chkTodos_;
  QCheckBox* chkNomeProduto_;
  QCheckBox* chkPrecoCusto_;
  QCheckBox* chkPrecoVenda_;
  QCheckBox* chkEstoque_;
  QCheckBox* chkGrupo_;
  QCheckBox* chkNCM_;
  QCheckBox* chkAliqECF_;
  QCheckBox* chkCFOPSat_;
  QCheckBox* chkUnidade_;
  QCheckBox* chkTribSimpNac_;
  QCheckBox* chkIcmsST_;
  QCheckBox* chkAtacado_;
  QLineEdit* txtRegistro_;
  QPlainTextEdit* txtProdErro_;
  QProgressBar* Trm_;
  QPushButton* cmdProd_;
  QTableView* fpSpread1_;
  ModeloGrade* modeloGrade_;
  QHBoxLayout* linhaDeBotoes_;

  QRadioButton* optAtivo_;
  QRadioButton* optTodos_;
  QRadioButton* optBanco_;
  QLineEdit* txtNomeBanco_;
  QListWidget* List1_;
};

}  // namespace zuv
