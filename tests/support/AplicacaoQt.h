#pragma once
// The QApplication of a form test program, created on first use (header-only: only Qt tests
// include it). Tests run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <stdexcept>
#include <string>

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
}  // namespace qt

}  // namespace zuv::teste
