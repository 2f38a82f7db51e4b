#pragma once
// The QApplication of a form test program, created on first use (header-only: only Qt tests
// include it). Tests run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zuv::teste {

inline QApplication& aplicacaoQt() {
  static int argc = 1;
  static char nome[] = "teste";
  static char* argv[] = {nome, nullptr};
  static QApplication* app = new QApplication(argc, argv);  // lives until the process ends
  return *app;
}

// Runs the deletions that close() of a WA_DeleteOnClose window scheduled.
inline void processaExclusoes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

namespace qt {
// A control of a form by name; a missing one (say, renamed) fails the test with its name instead of
// crashing it.
template <class W = QPushButton>
W* controle(QWidget& form, const char* nome) {
  if (W* w = form.findChild<W*>(nome)) return w;
  throw std::runtime_error(std::string("no control ") + nome);
}

// The caption, then "name: text" of each group, button (" [x]" when ticked), line box and label in
// the order they were made; the shared Segurança group (fraSeguranca) left out.
inline std::vector<std::string> textos(QWidget& form) {
  const auto texto = [](QWidget* w) -> std::optional<QString> {
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text() + (b->isChecked() ? " [x]" : "");
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    return std::nullopt;
  };
  const QWidget* seguranca = form.findChild<QGroupBox*>("fraSeguranca");
  std::vector<std::string> r = {form.windowTitle().toStdString()};
  for (QWidget* w : form.findChildren<QWidget*>())
    if (const auto t = texto(w); t && !(seguranca && (w == seguranca || seguranca->isAncestorOf(w))))
      r.push_back((w->objectName().isEmpty() ? *t : w->objectName() + ": " + *t).toStdString());
  return r;
}
}  // namespace qt

}  // namespace zuv::teste
