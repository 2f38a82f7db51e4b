#pragma once
// Backup of a database through the engine's backup service (the services API of the client
// library), the same for the embedded engine and for a server. The service streams the backup to
// this process, which writes the file: with the program's rights, on this machine.
#include <string>

namespace zuv {

class Conexao;

// Backs the database of conexao up into the local file arquivo. Throws ErroBanco with the service's
// own message (or the file's: no rights, disk full) when the backup fails; a partial file is removed.
void copiaBanco(const Conexao& conexao, const std::string& arquivo);

// The gbak command that restores arquivo over the database of conexao (run with the program closed:
// it replaces the database file).
std::string comandoRestauracao(const std::string& arquivo, const Conexao& conexao);

}  // namespace zuv
