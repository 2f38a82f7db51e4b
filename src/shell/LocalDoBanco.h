#pragma once
// Where the files that belong to a database go: its backups (copias/) and the journal of the runs
// that wrote it (relatorios/). They go beside the database file, in a folder named for their kind,
// and carry the database file's own name, so that what lies beside a database is always its own.
// A database on another machine (host:path) has no folder here: its files go into that kind's
// folder of the program folder, under the server's name (copias/<servidor>/).
#include <string>

namespace zuv {

class Conexao;

struct LocalDoBanco {
  std::string banco;     // as the client library takes it: "/dados/VENDAS.FDB", "srv:/dados/VENDAS.FDB"
  std::string arquivo;   // the file's name: "VENDAS.FDB"
  std::string nome;      // without its extension: "VENDAS"
  std::string servidor;  // another machine's name ("srv", "srv/3050"); "" for this machine
  std::string pasta;     // the folder of the file on this machine; for a server's, the program folder

  // The folder of files of one kind ("copias", "relatorios") that belong to this database.
  std::string subpasta(const std::string& tipo) const;
};

// banco: a local path, host:path or host/port:path. "localhost:" and "127.0.0.1:" name this
// machine, whose folders are reachable.
LocalDoBanco localDoBanco(const std::string& banco, const std::string& pastaPrograma);
LocalDoBanco localDoBanco(const Conexao& conexao, const std::string& pastaPrograma);

// The ZUV database of the program folder (zuv.ini's folder + VENDAS.FDB). Throws ErroConfiguracao
// when zuv.ini is missing.
LocalDoBanco localDoBancoZUV(const std::string& pastaPrograma);

// Text put between single quotes for a POSIX shell (a command the person may copy).
std::string entreAspas(const std::string& texto);

}  // namespace zuv
