#pragma once
// The customer form: imports clientes.xlsx and deletes the customer base. It opens the ZUV
// database into the program-wide slot when it loads, and "Sair" closes that connection.
#include "gui/FormularioBase.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace zuv {

class FrmClientes : public FormularioBase {
  Q_OBJECT

 public:
  explicit FrmClientes(QWidget* pai = nullptr);

 private:
  void importa();
  void exclui();
  void sair();

  QPushButton* cmdProd_;
  QPushButton* cmdExcluirCliente_;
  QPushButton* cmdSair_;
  QListWidget* lstCliente_;
  QProgressBar* Trm_;
};

}  // namespace zuv
