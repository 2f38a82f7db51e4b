#pragma once
// A window that shows a long text to read and keep: the summary at the end of a run that ends the
// program, and the journal of runs. Read-only, selectable, in a fixed-width font; "Abrir pasta" (when a
// folder is given) opens that folder on the desktop; "Fechar" (the default button, also Esc) closes it.
#include <QDialog>
#include <QString>

namespace zuv {

class JanelaTexto : public QDialog {
  Q_OBJECT

 public:
  JanelaTexto(const QString& titulo, const QString& texto, const QString& pasta, QWidget* pai = nullptr);
};

}  // namespace zuv
