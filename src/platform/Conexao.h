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
  static ParametrosConexao deTexto(const std::string& conexao);  // throws ErroConfiguracao
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

  // Atomic mode: every statement goes into one transaction that only an explicit confirma()
  // commits (reserved for whole-run transactions).
  void defineAtomica(bool atomica);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zuv
