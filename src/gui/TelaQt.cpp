#include "gui/TelaQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextEdit>
#include <QThread>
#include <QUrl>
#include <QWidget>
#include <algorithm>

#include "gui/JanelaTexto.h"

namespace zuv {

namespace {

QMessageBox::Icon iconeQt(Icone icone) {
  switch (icone) {
    case Icone::Informacao:
      return QMessageBox::Information;
    case Icone::Pergunta:
      return QMessageBox::Question;
    case Icone::Exclamacao:
      return QMessageBox::Warning;
    case Icone::Nenhum:
      break;
  }
  return QMessageBox::NoIcon;
}

QString q(const std::string& texto) {
  return QString::fromStdString(texto);
}

// The hint the standard message box shows under its text while TelaQt::mensagemComDica shows it
// (QMessageBox's informative text). UI thread only; a replaced box (tests) sees only the text.
QString g_dicaDaCaixa;

}  // namespace

std::unique_ptr<QMessageBox> caixaDePergunta(QWidget* pai, const QString& texto, Icone icone,
                                             const QString& titulo, Padrao padrao) {
  auto caixa =
      std::make_unique<QMessageBox>(iconeQt(icone), titulo, texto, QMessageBox::Yes | QMessageBox::No, pai);
  caixa->setTextFormat(Qt::PlainText);  // texts carry data from workbooks and databases
  caixa->setDefaultButton(padrao == Padrao::Nao ? QMessageBox::No : QMessageBox::Yes);
  return caixa;
}

CaixasDialogo caixasPadrao() {
  CaixasDialogo c;
  c.mensagem = [](QWidget* pai, const QString& texto, Icone icone, const QString& titulo) {
    QMessageBox caixa(iconeQt(icone), titulo, texto, QMessageBox::Ok, pai);
    caixa.setTextFormat(Qt::PlainText);  // texts carry data from workbooks and databases
    if (!g_dicaDaCaixa.isEmpty()) {
      caixa.setInformativeText(g_dicaDaCaixa);
      if (auto* dica = caixa.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        dica->setTextFormat(Qt::PlainText);
    }
    caixa.exec();
  };
  c.pergunta = [](QWidget* pai, const QString& texto, Icone icone, const QString& titulo, Padrao padrao) {
    return caixaDePergunta(pai, texto, icone, titulo, padrao)->exec() == QMessageBox::Yes;  // Esc answers No
  };
  c.abreArquivo = [](const QString& caminho) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(caminho));
  };
  c.janelaTexto = [](QWidget* pai, const QString& titulo, const QString& texto, const QString& pasta) {
    JanelaTexto janela(titulo, texto, pasta, pai);
    janela.exec();
  };
  return c;
}

CaixasDialogo& caixasDialogo() {
  static CaixasDialogo caixas = caixasPadrao();
  return caixas;
}

QString tituloDaCaixa(const std::string& titulo) {
  return q(titulo.empty() ? std::string(kNomePrograma) : titulo);
}

TelaQt::TelaQt(QWidget* formulario) : formulario_(formulario) {}

void TelaQt::naTela(const std::function<void()>& f) {
  if (desligada_) return;
  if (QThread::currentThread() == formulario_->thread()) {
    f();
    return;
  }
  QMetaObject::invokeMethod(
      formulario_,
      [this, &f] {
        if (!desligada_) f();
      },
      Qt::BlockingQueuedConnection);
}

QWidget* TelaQt::controle(const std::string& nome) const {
  QWidget* w = formulario_->findChild<QWidget*>(q(nome));
  if (w == nullptr)
    qWarning("TelaQt: o formulário %s não tem o controle %s", qPrintable(formulario_->objectName()),
             nome.c_str());
  return w;
}

void TelaQt::mensagem(const std::string& texto, Icone icone, const std::string& titulo) {
  naTela([&] { caixasDialogo().mensagem(formulario_, q(texto), icone, tituloDaCaixa(titulo)); });
}

void TelaQt::mensagemComDica(const std::string& texto, const std::string& dica, Icone icone,
                             const std::string& titulo) {
  naTela([&] {
    g_dicaDaCaixa = q(dica);
    caixasDialogo().mensagem(formulario_, q(texto), icone, tituloDaCaixa(titulo));
    g_dicaDaCaixa.clear();
  });
}

bool TelaQt::pergunta(const std::string& texto, Icone icone, const std::string& titulo, Padrao padrao) {
  bool sim = false;
  naTela(
      [&] { sim = caixasDialogo().pergunta(formulario_, q(texto), icone, tituloDaCaixa(titulo), padrao); });
  return sim;
}

void TelaQt::progresso(int valor) {
  valorMostrado_ = valor;
  naTela([&] {
    auto* barra = formulario_->findChild<QProgressBar*>(QStringLiteral("Trm"));
    if (barra == nullptr) barra = formulario_->findChild<QProgressBar*>();
    if (barra != nullptr) barra->setValue(std::clamp(valor, barra->minimum(), barra->maximum()));
  });
}

void TelaQt::progressoLinhas(int valor, long long feitas, long long total) {
  const int v = feitas >= total ? 100 : valor;
  if (v != valorMostrado_) progresso(v);
}

void TelaQt::cursorEspera(bool ligado) {
  naTela([&] {
    if (ligado == cursorLigado_) return;
    if (ligado)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
    cursorLigado_ = ligado;
  });
}

void TelaQt::restauraCursor() {
  if (!cursorLigado_) return;
  QApplication::restoreOverrideCursor();
  cursorLigado_ = false;
}

void TelaQt::mostraControle(const std::string& nome, bool visivel) {
  naTela([&] {
    if (QWidget* w = controle(nome)) w->setVisible(visivel);
  });
}

void TelaQt::defineTexto(const std::string& nome, const std::string& texto) {
  naTela([&] {
    QWidget* w = controle(nome);
    if (auto* rotulo = qobject_cast<QLabel*>(w))
      rotulo->setText(q(texto));
    else if (auto* linha = qobject_cast<QLineEdit*>(w))
      linha->setText(q(texto));
    else if (auto* plano = qobject_cast<QPlainTextEdit*>(w))
      plano->setPlainText(q(texto));
    else if (auto* rico = qobject_cast<QTextEdit*>(w))
      rico->setPlainText(q(texto));
    else if (auto* botao = qobject_cast<QAbstractButton*>(w))
      botao->setText(q(texto));
    else if (auto* moldura = qobject_cast<QGroupBox*>(w))
      moldura->setTitle(q(texto));
    else if (w != nullptr)
      w->setWindowTitle(q(texto));
  });
}

void TelaQt::adicionaItem(const std::string& nome, const std::string& item) {
  naTela([&] {
    QWidget* w = controle(nome);
    if (auto* lista = qobject_cast<QListWidget*>(w))
      lista->addItem(q(item));
    else if (auto* plano = qobject_cast<QPlainTextEdit*>(w))
      plano->appendPlainText(q(item));
    else if (auto* rico = qobject_cast<QTextEdit*>(w))
      rico->append(q(item).toHtmlEscaped());
    else if (auto* combo = qobject_cast<QComboBox*>(w))
      combo->addItem(q(item));
  });
}

void TelaQt::limpaItens(const std::string& nome) {
  naTela([&] {
    QWidget* w = controle(nome);
    if (auto* lista = qobject_cast<QListWidget*>(w))
      lista->clear();
    else if (auto* plano = qobject_cast<QPlainTextEdit*>(w))
      plano->clear();
    else if (auto* rico = qobject_cast<QTextEdit*>(w))
      rico->clear();
    else if (auto* combo = qobject_cast<QComboBox*>(w))
      combo->clear();
  });
}

void TelaQt::mostraArquivo(const std::string& caminho) {
  naTela([&] {
    if (caixasDialogo().abreArquivo(q(caminho))) return;
    // No program on this desktop opens it: at least say where it is.
    caixasDialogo().mensagem(formulario_, q("Arquivo salvo em " + caminho), Icone::Informacao,
                             tituloDaCaixa({}));
  });
}

void TelaQt::nota(const std::string& texto) {
  naTela([&] {
    auto* notas = formulario_->findChild<QPlainTextEdit*>(QString::fromLatin1(kControleNotas));
    if (notas == nullptr) {
      qInfo("%s", texto.c_str());
      return;
    }
    notas->appendPlainText(q(texto));
    notas->setVisible(true);
  });
}

}  // namespace zuv
