#pragma once
// The desktop front end: the main menu and its event loop.

namespace zuv {

// Shows the main menu and runs until its last window closes or a run ends the program. Returns
// the process exit status (2 when there is no display to show it on).
int executaInterfaceGrafica(int& argc, char** argv);

}  // namespace zuv
