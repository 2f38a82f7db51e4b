#include "gui/Aplicacao.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/Tela.h"
#include "shell/FrmMenu.h"

namespace zuv {

namespace {

bool temTela() {
  for (const char* variavel : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* valor = std::getenv(variavel);
    if (valor != nullptr && *valor != '\0') return true;
  }
  return false;
}

}  // namespace

bool instalaTraducaoQt(QCoreApplication& aplicacao) {
  const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
  QLocale::setDefault(brasil);
  auto* traducao = new QTranslator(&aplicacao);
  if (!traducao->load(brasil, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete traducao;
    return false;
  }
  QCoreApplication::installTranslator(traducao);
  return true;
}

int executaInterfaceGrafica(int& argc, char** argv) {
  // Qt would abort without a display; say what to do instead.
  if (!temTela()) {
    std::fputs(
        "importadorzuv: não há tela gráfica (DISPLAY) para abrir o menu.\n"
        "Use \"importadorzuv --help\" para as tarefas pela linha de comando.\n",
        stderr);
    return 2;
  }
  QApplication aplicacao(argc, argv);
  QApplication::setApplicationName(kNomePrograma);
  QApplication::setQuitOnLastWindowClosed(true);
  if (!instalaTraducaoQt(aplicacao))
    std::fputs(
        "importadorzuv: sem a tradução do Qt (qtbase_pt_BR.qm, pacote qt6-translations-l10n): os botões "
        "das caixas de diálogo ficam em inglês.\n",
        stderr);
  int status = 0;
  {
    FrmMenu menu;
    menu.show();
    status = QApplication::exec();
    // Task forms still open when a run ended the program: close their connections now.
    std::vector<QPointer<QWidget>> abertas;
    for (QWidget* janela : QApplication::topLevelWidgets())
      if (janela != &menu && janela->testAttribute(Qt::WA_DeleteOnClose)) abertas.emplace_back(janela);
    for (const QPointer<QWidget>& janela : abertas)
      delete janela.data();
  }
  return status;
}

}  // namespace zuv
