#pragma once
// The desktop front end: the main menu and its event loop.

#include <functional>

namespace zuv {

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
