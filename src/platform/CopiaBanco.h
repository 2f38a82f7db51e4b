#pragma once
// Backup and restore of a database through the engine's services (the services API of the client
// library), the same for the embedded engine and for a server. The backup streams from the service
// to this process, which writes the file; the restore streams the file from this process to the
// service. So the file is always on this machine, written and read with the program's rights, also
// when a server holds the database.
#include <string>

namespace zuv {

class Conexao;

// Backs the database of conexao up into the local file arquivo. The backup is written under a
// temporary name (arquivo + kSufixoParcial) and takes its final name only when it is complete, so a
// file under the final name is always whole. Throws ErroBanco with the service's own message (or
// the file's: no rights, disk full) when the backup fails; the partial file is removed.
void copiaBanco(const Conexao& conexao, const std::string& arquivo);
inline constexpr const char* kSufixoParcial = ".parcial";

// Restores the backup file arquivo into the database banco (a local path or host:path, as the client
// library takes it) as usuario/senha. substitui: an existing database is replaced (the engine
// refuses while it is in use); otherwise banco must not exist yet. Throws ErroBanco with the
// service's message when the restore fails.
void restauraBanco(const std::string& arquivo, const std::string& banco, const std::string& usuario,
                   const std::string& senha, bool substitui);

}  // namespace zuv
