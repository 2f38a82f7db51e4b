#pragma once
// A connection to a Firebird database through the client library, opened from a connection string
// of the ZUV form (" provider=...;data source=...; user id=...;password=...; ctype=none;
// auto_commit=true;..."). Statements run as written; every statement commits on its own unless an
// explicit transaction is open (with auto_commit=false a statement opens one that only confirma()
// ends). Closing with a transaction still open rolls it back.
//
// A local path is opened by the embedded engine; when a Firebird server on this machine holds the
// file, the client library goes through that server instead. Texts are UTF-8 in the program and
// Windows-1252 in a database read with ctype=none; a character Windows-1252 lacks raises
// ErroConversao and the statement is not sent. Failures raise ErroBanco with the engine's own
// formatted message; a locked row or table is waited for kEsperaBloqueioSegundos at most.
#include <memory>
#include <string>

#include "common/Valor.h"
#include "platform/Alteracoes.h"
#include "platform/Recordset.h"

namespace zuv {

// The keys of a connection string the layer honours; other keys are ignored.
struct ParametrosConexao {
  std::string fonteDados;  // "data source": a local path, host:path or host/port:path
  std::string usuario;     // "user id"
  std::string senha;       // "password"
  std::string ctype;       // "ctype"; "none" means Windows-1252 bytes on the wire
  bool autoCommit = true;  // "auto_commit"
  // Keys are compared without regard to case and blanks around keys and values are dropped. On this
  // system a '\' in a local data source path is read as '/'. Throws ErroConfiguracao.
  static ParametrosConexao deTexto(const std::string& conexao);
  // The data source as the client library takes it.
  std::string caminhoBanco() const;
  bool textoWindows1252() const;  // ctype none (or empty, win1252, iso8859_1): convert texts
};

class Conexao {
 public:
  // Opens at once; throws ErroBanco with the engine's description when it cannot.
  explicit Conexao(const std::string& textoConexao);
  ~Conexao();  // closes (rolling back an open transaction)
  Conexao(const Conexao&) = delete;
  Conexao& operator=(const Conexao&) = delete;

  // Runs one statement; commits it at once unless a transaction is open. Throws ErroBanco.
  void executa(const std::string& sql);
  // Runs a SELECT and returns all its rows as a static snapshot. Throws ErroBanco.
  Recordset abre(const std::string& sql);

  void iniciaTransacao();  // begin
  void confirma();         // commit
  void desfaz();           // rollback
  bool emTransacao() const;

  // The description of the last error this connection raised ("" when none).
  const std::string& descricaoErro() const;

  void fecha();  // idempotent; further use throws ErroBanco("... fechada")
  bool aberta() const;

  // Atomic mode, for a whole run in one transaction: from defineAtomica(true) every statement joins
  // one transaction. The run's own iniciaTransacao()/confirma()/desfaz() become a savepoint, its
  // release and a rollback to it, so a run's rollback undoes only its own part; a desfaz() with no
  // savepoint of the run open undoes everything done since defineAtomica(true). defineAtomica(false)
  // commits the whole run and returns to the normal mode; desfazAtomica() rolls it back and returns
  // to the normal mode. Closing in atomic mode rolls the run back.
  void defineAtomica(bool atomica);
  void desfazAtomica();
  bool atomica() const;

  // Counting of the rows each statement inserted, updated or deleted, per table (off by default).
  // A rollback (also to a savepoint) takes back the counts of what it undid; the rollback of a whole
  // atomic run keeps them, so that a report can say what the run did before it was undone.
  void contaAlteracoes(bool ligado);
  const Alteracoes& alteracoes() const;
  void zeraAlteracoes();

  const ParametrosConexao& parametros() const;
  // The database name the client library was given ("localhost:/path" when a server on this
  // machine holds the file), for the services of the same engine.
  const std::string& bancoAnexado() const;

  // Creates an empty database (dialect 3, character set NONE) at a local path or host:path and
  // closes it again. For tests, the demo and the benchmarks. Throws ErroBanco.
  static void criaBancoDeDados(const std::string& caminho, const std::string& usuario = "SYSDBA",
                               const std::string& senha = "quartzine", bool escritaSincrona = true);

  // The seconds a statement waits for a row or table another transaction holds before it fails.
  static constexpr int kEsperaBloqueioSegundos = 10;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zuv
