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
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Valor.h"
#include "platform/Alteracoes.h"
#include "platform/ParametrosConexao.h"
#include "platform/Recordset.h"

namespace zuv {

class ErroBanco;

// Whether a failure is the database's or the link's rather than the statement's data: the
// connection lost or cut, an I/O error (a full disk), a database shut down, a table or column the
// database does not have, no permission. Every further statement would fail the same way.
bool falhaDoBanco(const ErroBanco& erro);

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

  // The same with the values of the statement's parameters ("?"): the statement is prepared once
  // per text and kept until the connection closes, so a statement repeated with other values is
  // only executed. Each value reaches the engine as the literal of the same value would (an exact
  // decimal, a text), and is converted to the parameter's type as that literal is; Null for a
  // null value.
  void executa(const std::string& sql, const std::vector<Valor>& parametros);
  Recordset abre(const std::string& sql, const std::vector<Valor>& parametros);
  // Runs a SELECT and hands each row's values (by position) to porLinha as it is fetched, keeping
  // none: for reading a large table into a form of the caller's own.
  void percorre(const std::string& sql, const std::function<void(const std::vector<Valor>&)>& porLinha);

  // A savepoint of the open transaction (of the run's transaction in atomic mode), for a part of
  // the work that may be undone alone. desfazPonto rolls back to it and ends it, taking back the
  // change counts and the identifiers kept since (ProxCodigo); liberaPonto ends it keeping the
  // work. Savepoints end in the reverse order of their start. See PontoDeSalvamento.
  void criaPonto(const std::string& nome);
  void desfazPonto(const std::string& nome);
  void liberaPonto(const std::string& nome);

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
  // reservadas: tables the run's transaction holds for protected write (others may read them but
  // wait to write) until the run ends; see reservada().
  void defineAtomica(bool atomica, const std::vector<std::string>& reservadas = {});
  void desfazAtomica();
  bool atomica() const;

  // Counting of the rows each statement inserted, updated or deleted, per table (off by default).
  // A rollback (also to a savepoint) takes back the counts of what it undid; the rollback of a whole
  // atomic run keeps them, so that a report can say what the run did before it was undone.
  void contaAlteracoes(bool ligado);
  const Alteracoes& alteracoes() const;
  // What the link took with it: the counts of a transaction (not of an atomic run, whose report
  // says itself that nothing stays) that was open when the connection was lost or cut, and that
  // the server therefore undid. They are no longer in alteracoes().
  const Alteracoes& alteracoesPerdidas() const;
  void zeraAlteracoes();

  // Whether the atomic run's transaction holds the table against other writers. Only then may a
  // run keep the next identifier of the table in memory (ProxCodigo does): nobody else can insert.
  bool reservada(const std::string& tabela) const;
  // The identifier kept under chave, which advances by one; none when nothing is kept (also after
  // a rollback to a savepoint, which frees the identifiers it undid).
  std::optional<int32_t> proximoGuardado(const std::string& chave);
  void guardaProximo(const std::string& chave, int32_t proximo);

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
