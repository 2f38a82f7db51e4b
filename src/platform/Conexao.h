#pragma once
// A connection to a Firebird database through the client library, opened from a connection string
// of the ZUV form (" provider=...;data source=...; user id=...;password=...; ctype=none;
// auto_commit=true;..."). Statements run as written; every statement commits on its own unless an
// explicit transaction is open. Closing with a transaction still open rolls it back.
#include <memory>
#include <string>

#include "common/Valor.h"
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
  // one transaction, and the run's own iniciaTransacao()/confirma() no longer end it (its desfaz()
  // rolls back everything done so far). defineAtomica(false) commits the whole run and returns to
  // the normal mode; desfazAtomica() rolls it back and returns to the normal mode. Closing in atomic
  // mode rolls the run back.
  void defineAtomica(bool atomica);
  void desfazAtomica();
  bool atomica() const;

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
