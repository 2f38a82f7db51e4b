#pragma once
// The client library's reaction to SIGINT and SIGTERM: by default it ends every connection of the
// process at once ("connection shutdown"), in the middle of whatever statement runs. A command-line
// run that stops by itself at its next row (Ctrl+C) keeps them instead.

namespace zuv {

// From now on the ending of the connections that a signal would cause is refused and aoSinal is
// called instead (on a thread of the client library, not inside the signal handler). Null gives
// the library its own behaviour back.
void desviaEncerramentoPorSinal(void (*aoSinal)());

}  // namespace zuv
