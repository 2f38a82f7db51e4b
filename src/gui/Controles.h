#pragma once
// Controls of the task forms, created with the system's control name as their object name (the
// tests and the front end find them by it) and a UTF-8 caption.
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace zuv {

template <class Controle>
Controle* controle(QWidget* pai, const char* nome, const char* legenda) {
  auto* c = new Controle(QString::fromUtf8(legenda), pai);
  c->setObjectName(nome);
  return c;
}

inline QPushButton* botao(QWidget* pai, const char* nome, const char* legenda) {
  return controle<QPushButton>(pai, nome, legenda);
}

// A label wraps its text, as the forms' fixed-width labels do.
inline QLabel* rotulo(QWidget* pai, const char* nome, const char* texto) {
  auto* l = controle<QLabel>(pai, nome, texto);
  l->setWordWrap(true);
  return l;
}

}  // namespace zuv
