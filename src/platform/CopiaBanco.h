#pragma once
// Backup of a database through the engine's backup service (the services API of the client
// library), the same for the embedded engine and for a server: the service writes the file, so a
// server writes it with its own rights, on its own machine.
#include <string>

namespace zuv {

class Conexao;

// Backs the database of conexao up into arquivo (a path as the engine that serves the database
// sees it). Throws ErroBanco with the service's own message when the backup fails; a partial file
// is removed when it is on this machine.
void copiaBanco(const Conexao& conexao, const std::string& arquivo);

// The gbak command that restores arquivo over the database of conexao (run with the program closed:
// it replaces the database file).
std::string comandoRestauracao(const std::string& arquivo, const Conexao& conexao);

}  // namespace zuv
