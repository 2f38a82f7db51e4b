#pragma once
// The main menu: five framed choices, each a button that opens one task form. Every task form has
// one process-wide instance, created on the first press of its button and shown modeless; a
// later press shows the same window again. A form closed (its "Sair" or the window's close) is
// deleted, and the next press creates it afresh.
//
// A task form plugs itself in from its own source file:
//   ZUV_FORMULARIO_DO_MENU("cmdclientes", FrmClientes);
// Until then its button shows a placeholder window.
#include <QWidget>
#include <functional>
#include <string>

namespace zuv {

using FabricaFormulario = std::function<QWidget*()>;

class FrmMenu : public QWidget {
  Q_OBJECT

 public:
  // The load step sets the caption with today's date.
  explicit FrmMenu(QWidget* pai = nullptr);

  // Sets what the button's press creates (replacing an earlier factory; an empty one brings back
  // the placeholder). Returns true, for static registration.
  static bool registraFormulario(const std::string& botao, FabricaFormulario fabrica);
  // The button's form: the open instance, or a new one (no parent, deleted on close); shown
  // modeless and brought to the front. nullptr when the application is ending.
  static QWidget* abreFormulario(const std::string& botao);
  // The open instance of the button's form, or nullptr.
  static QWidget* formularioAberto(const std::string& botao);
};

}  // namespace zuv

#define ZUV_CONCATENA_(a, b) a##b
#define ZUV_CONCATENA(a, b) ZUV_CONCATENA_(a, b)
// Registers Classe (default-constructible QWidget) as the form of a menu button.
#define ZUV_FORMULARIO_DO_MENU(botao, Classe)                                           \
  static const bool ZUV_CONCATENA(zuvFormularioDoMenu_, __COUNTER__) [[maybe_unused]] = \
      ::zuv::FrmMenu::registraFormulario(botao, []() -> QWidget* { return new Classe; })
