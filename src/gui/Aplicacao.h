#pragma once
// The desktop front end: the main menu and its event loop.

#include <functional>

class QCoreApplication;

namespace zuv {

// Qt's own texts in Brazilian Portuguese (standard buttons "Sim"/"Não", the file dialog), from
// Debian's qt6-translations-l10n, and the Brazilian locale as Qt's default. False when the
// translation is not installed (the texts stay in English).
bool instalaTraducaoQt(QCoreApplication& aplicacao);

// Shows the main menu and runs until its last window closes or a run ends the program. Returns
// the process exit status (2 when there is no display to show it on).
int executaInterfaceGrafica(int& argc, char** argv);

// Ends the application: at once when no form has a run going, else when the last run ends.
void encerraPrograma();
bool programaEncerrando();
// What ending the application does (default, and for an empty function: QCoreApplication::exit(0)).
// Tests record it instead; setting it also forgets an ending already asked for.
void defineEncerramento(std::function<void()> encerramento);

}  // namespace zuv
