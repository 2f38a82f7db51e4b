#pragma once
// Puts a backup back over its database ("importadorzuv restaurar"): the undo of a wipe. The
// database must be free (no other connection: the ZUV system closed); its current state is backed
// up first, so that the restore itself can be undone; the backup is restored through the engine's
// restore service, beside the database under a temporary name, checked to open, and only then put
// in the database's place. A database on a server is replaced by the service itself.
#include <string>

#include "common/Resultado.h"

namespace zuv {

class ContextoExecucao;
struct LocalDoBanco;

struct OpcoesRestauracao {
  std::string arquivo;  // the .fbk; "" = the newest backup of the database in its copias/
  std::string banco;    // the database; "" = the ZUV database of the program folder (zuv.ini)
};

// The command that restores arquivo over banco, for the notes and the end-of-run window.
std::string comandoRestauracao(const std::string& arquivo, const std::string& banco);

// The newest backup of the database in its copias/ folder: <NOME>_AAAAMMDD_HHMMSS_<tarefa>.fbk,
// newest by that date and time ("" when there is none).
std::string ultimaCopia(const LocalDoBanco& local);

// The run. Says which backup and from when, refuses (Falhou) while another connection uses the
// database, asks (default No), backs the current state up, restores, checks the result opens.
// Without zuv.ini (and without opcoes.banco) ends as the system does (EncerrarPrograma, Configuracao).
Resultado RestauraCopia(ContextoExecucao& ctx, const OpcoesRestauracao& opcoes);

}  // namespace zuv
