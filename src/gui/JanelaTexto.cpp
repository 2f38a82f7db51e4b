#include "gui/JanelaTexto.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/TelaQt.h"

namespace zuv {

JanelaTexto::JanelaTexto(const QString& titulo, const QString& texto, const QString& pasta, QWidget* pai)
    : QDialog(pai) {
  setObjectName("JanelaTexto");
  setWindowTitle(titulo);
  auto* caixa = new QPlainTextEdit(this);
  caixa->setObjectName("txtTexto");
  caixa->setReadOnly(true);
  caixa->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  caixa->setPlainText(texto);
  auto* botoes = new QHBoxLayout;
  botoes->addStretch(1);
  if (!pasta.isEmpty()) {
    auto* abrir = new QPushButton(QString::fromUtf8("Abrir pasta"), this);
    abrir->setObjectName("cmdAbrirPasta");
    abrir->setAutoDefault(false);
    connect(abrir, &QPushButton::clicked, this, [pasta] { caixasDialogo().abreArquivo(pasta); });
    botoes->addWidget(abrir);
  }
  auto* fechar = new QPushButton(QString::fromUtf8("Fechar"), this);
  fechar->setObjectName("cmdFechar");
  fechar->setDefault(true);
  connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
  botoes->addWidget(fechar);
  auto* coluna = new QVBoxLayout(this);
  coluna->addWidget(caixa);
  coluna->addLayout(botoes);
  // Room for the change report's lines; well inside a 1366x768 screen.
  resize(860, 560);
}

}  // namespace zuv
