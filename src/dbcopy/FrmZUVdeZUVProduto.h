#pragma once
// The database-to-database form: two database paths, the mode of the main run, the customer table
// copy. It opens no database when it loads; each run opens origin and destination from the path
// boxes and closes them when it ends.
#include <QString>
#include <functional>

#include "dbcopy/ZUVProduto.h"
#include "gui/FormularioBase.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace zuv {

// The file-open dialog of the two path buttons: the chosen file's full path, "" when cancelled.
// Process-wide; tests replace it.
using EscolhaDeArquivo =
    std::function<QString(QWidget* pai, const QString& titulo, const QString& pasta, const QString& filtro)>;
EscolhaDeArquivo& escolhaDeArquivo();
EscolhaDeArquivo escolhaDeArquivoPadrao();

inline constexpr const char* kTituloDialogoBanco = "Selecione o diretório de origem do arquivo";

class FrmZUVdeZUVProduto : public FormularioBase {
  Q_OBJECT

 public:
  explicit FrmZUVdeZUVProduto(QWidget* pai = nullptr);

  // The options as the controls hold them now.
  OpcoesCopia opcoes() const;

 protected:
  std::string bancoDoHistorico() const override;

 private:
  void escolhe(QLineEdit* caixa);
  void salvar();
  void comanda();

  QLineEdit* lblDestino_;
  QLineEdit* lblOrigem_;
  QRadioButton* optIncluiProdutos_;
  QRadioButton* optProduto_;
  QCheckBox* chkCliente_;
  QLineEdit* txtTabela_;
  QLabel* Label1_;
  QLabel* lblQT_;
  QProgressBar* Trm_;
};

}  // namespace zuv
