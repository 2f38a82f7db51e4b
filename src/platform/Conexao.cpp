#include "platform/Conexao.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "common/Erro.h"
#include "common/Texto.h"
#include "platform/Windows1252.h"
#include "platform/firebird/Cliente.h"
#include "platform/firebird/LeituraCursor.h"

namespace zuv {

namespace {

constexpr const char* kFechada = "A conexão com o banco de dados está fechada.";

// A Windows drive path ("C:\ZUV\Dados") can only name a file on Windows.
bool caminhoWindows(const std::string& fonte) {
  return fonte.size() >= 2 && std::isalpha(static_cast<unsigned char>(fonte[0])) && fonte[1] == ':';
}

// A plain SELECT that locks nothing: it may run in a read-only transaction of its own.
bool somenteLeitura(const std::string& sql) {
  std::string t;
  t.reserve(sql.size());
  for (char c : sql)
    t += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const size_t inicio = t.find_first_not_of(" \t\r\n");
  if (inicio == std::string::npos || t.compare(inicio, 6, "SELECT") != 0) return false;
  if (inicio + 6 < t.size() &&
      (std::isalnum(static_cast<unsigned char>(t[inicio + 6])) || t[inicio + 6] == '_'))
    return false;
  return t.find("WITH LOCK") == std::string::npos && t.find("FOR UPDATE") == std::string::npos;
}

// The seconds a call through a server may wait for its answer: $ZUV_ESPERA_SERVIDOR, or 60.
int esperaServidorSegundos() {
  const char* v = std::getenv("ZUV_ESPERA_SERVIDOR");
  const int n = v ? std::atoi(v) : 0;
  return n > 0 ? n : 60;
}

std::string mensagemServidorParado(int segundos) {
  return "O servidor do banco de dados parou de responder (nenhuma resposta em " + std::to_string(segundos) +
         " s). A conexão foi encerrada: o que já estava confirmado continua gravado e o resto é desfeito "
         "pelo servidor.";
}

// Whether the attachment goes through a server (the version answer then carries the server's and
// the remote interface's lines) rather than the embedded engine in this process.
bool passaPorServidor(IAttachment* anexo) {
  const unsigned char pedido[] = {isc_info_firebird_version, isc_info_end};
  unsigned char r[512] = {};
  Status st;
  anexo->getInfo(&st, sizeof pedido, pedido, sizeof r, r);
  return !st.falhou() && r[0] == isc_info_firebird_version && r[4] >= 2;
}

// Watches the calls of a connection through a server. A server that stops answering (a frozen
// process, a dropped network) leaves the call waiting on its socket for good; when a call has had
// no answer for the limit, the watcher cuts the attachment's link (fb_cancel_abort closes the
// socket) and the call returns with an error. The server rolls back what was not committed when
// it sees the link gone.
class Vigia {
 public:
  ~Vigia() { para(); }

  void inicia(IAttachment* anexo, int segundos) {
    anexo->addRef();  // kept until the thread is gone, even when detach releases its own
    anexo_ = anexo;
    segundos_ = segundos;
    thread_ = std::thread([this] { laco(); });
  }
  void para() {
    {
      std::lock_guard l(m_);
      fim_ = true;
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
    if (anexo_) anexo_->release();
    anexo_ = nullptr;
  }
  // A call in progress, for the life of the object.
  class Chamada {
   public:
    explicit Chamada(Vigia& v) : v_(v) { v_.marca(true); }
    ~Chamada() { v_.marca(false); }
    Chamada(const Chamada&) = delete;
    Chamada& operator=(const Chamada&) = delete;

   private:
    Vigia& v_;
  };
  // An answer arrived (a row of a long result): the wait starts again.
  void sinal() {
    if (!anexo_) return;
    std::lock_guard l(m_);
    desde_ = std::chrono::steady_clock::now();
  }
  bool disparou() const {
    std::lock_guard l(m_);
    return disparou_;
  }
  int segundos() const { return segundos_; }

 private:
  void marca(bool ocupado) {
    if (!anexo_) return;
    {
      std::lock_guard l(m_);
      ocupado_ = ocupado;
      desde_ = std::chrono::steady_clock::now();
    }
    cv_.notify_all();
  }
  void laco() {
    std::unique_lock l(m_);
    while (!fim_) {
      if (!ocupado_ || disparou_) {
        cv_.wait(l);
        continue;
      }
      const auto prazo = desde_ + std::chrono::seconds(segundos_);
      if (std::chrono::steady_clock::now() < prazo) {
        cv_.wait_until(l, prazo);
        continue;
      }
      disparou_ = true;
      Status st;
      anexo_->cancelOperation(&st, fb_cancel_abort);
    }
  }

  IAttachment* anexo_ = nullptr;
  int segundos_ = 60;
  std::thread thread_;
  mutable std::mutex m_;
  std::condition_variable cv_;
  bool ocupado_ = false, disparou_ = false, fim_ = false;
  std::chrono::steady_clock::time_point desde_;
};

}  // namespace

bool falhaDoBanco(const ErroBanco& erro) {
  switch (erro.codigoGds()) {
    case isc_network_error:
    case isc_net_read_err:
    case isc_net_write_err:
    case isc_lost_db_connection:
    case isc_conn_lost:
    case isc_shutdown:
    case isc_att_shutdown:
    case isc_io_error:
    case isc_bad_db_handle:
      return true;
  }
  // -902 and -904: system errors that stop further work; -204/-206: unknown table or column;
  // -551: no permission.
  switch (erro.codigoSql()) {
    case -902:
    case -904:
    case -924:
    case -204:
    case -206:
    case -551:
      return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Connection

struct Conexao::Impl {
  ParametrosConexao parametros;
  IAttachment* anexo = nullptr;
  ITransaction* transacao = nullptr;  // explicit or atomic; null in auto-commit
  bool explicita = false;
  bool atomica = false;
  bool w1252 = true;
  std::string erro;
  mutable std::recursive_mutex trava;
  Vigia vigia;            // only for an attachment through a server
  bool caiu = false;      // the watcher cut a server that stopped answering
  std::string anexadoEm;  // the name given to attachDatabase
  bool conta = false;
  Alteracoes alteracoes;
  Alteracoes perdidas;  // of a transaction the link took with it
  // The counts when each open transaction or savepoint began; in atomic mode the first one is the
  // run's start (savepoint kPontoInicio), the others the run's own transactions.
  std::vector<Alteracoes> pontos;
  std::vector<std::string> reservadas;      // tables the atomic run's transaction holds
  std::map<std::string, int32_t> proximos;  // identifiers kept in memory for those tables

  ~Impl() { fecha(); }

  void exigeAberta() const {
    if (!anexo)
      throw ErroBanco(caiu ? mensagemServidorParado(vigia.segundos()) : kFechada, 0, isc_network_error);
  }

  // Read committed, waiting at most kEsperaBloqueioSegundos for a locked row or table. A read-only
  // read-committed transaction is committed by the engine when it starts, so its commit writes
  // nothing to disk.
  // reservadas: tables held for protected write (others may read them, not write) until it ends.
  ITransaction* novaTransacao(bool somenteLeitura = false, const std::vector<std::string>& reservadas = {}) {
    Bloco tpb(IXpbBuilder::TPB);  // the builder writes the version byte itself
    tpb.tag(somenteLeitura ? isc_tpb_read : isc_tpb_write)
        .tag(isc_tpb_read_committed)
        .tag(isc_tpb_rec_version)
        .tag(isc_tpb_wait)
        .inteiro(isc_tpb_lock_timeout, kEsperaBloqueioSegundos);
    for (const std::string& tabela : reservadas)
      tpb.texto(isc_tpb_lock_write, sqlParaBanco(maiusculas(tabela))).tag(isc_tpb_protected);
    Status st;
    ITransaction* t = anexo->startTransaction(&st, tpb.tamanho(), tpb.dados());
    st.verifica();
    return t;
  }

  // Commits t; a transaction whose commit fails is rolled back before the error goes on.
  static void confirma(ITransaction*& t) {
    Status st;
    t->commit(&st);
    if (st.falhou()) {
      desfaz(t);
      st.verifica();
    }
    t = nullptr;
  }

  static void desfaz(ITransaction*& t) noexcept {
    if (!t) return;
    Status st;
    t->rollback(&st);
    if (st.falhou()) t->release();  // lost with the link
    t = nullptr;
  }

  // Runs f in the open transaction, or in one of its own that commits when f succeeds.
  // somenteLeitura: the statement only reads, so a transaction of its own may be read-only.
  template <class F>
  auto naTransacao(F f, bool somenteLeitura = false) {
    exigeAberta();
    // Without auto-commit a statement opens a transaction that only confirma() ends.
    if ((atomica || !parametros.autoCommit) && !transacao) transacao = novaTransacao();
    if (transacao) return f(transacao);
    ITransaction* t = novaTransacao(somenteLeitura);
    try {
      if constexpr (std::is_void_v<decltype(f(t))>) {
        f(t);
        confirma(t);
      } else {
        auto r = f(t);
        confirma(t);
        return r;
      }
    } catch (...) {
      desfaz(t);
      throw;
    }
  }

  // Records the description of a failure before it reaches the caller.
  template <class F>
  // A call cut by the watcher fails with the stopped-server message, and the connection closes.
  auto registra(F f) {
    std::lock_guard lock(trava);
    try {
      Vigia::Chamada chamada(vigia);
      return f();
    } catch (const ErroBanco& e) {
      if (!vigia.disparou()) {
        erro = e.what();
        // A link lost under the call took the open transaction with it.
        if (e.codigoGds() == isc_network_error || e.codigoGds() == isc_lost_db_connection ||
            e.codigoGds() == isc_att_shutdown || e.codigoGds() == isc_shutdown)
          perdeTransacao();
        throw;
      }
      fecha();
      caiu = true;
      ErroBanco parado(mensagemServidorParado(vigia.segundos()), 0, isc_network_error);
      erro = parado.what();
      throw parado;
    } catch (const Erro& e) {
      erro = e.what();
      throw;
    }
  }

  // The client library takes the statement up to its first NUL: one inside would run a shorter
  // statement than the one built, so it is never sent.
  std::string sqlParaBanco(const std::string& sql) const {
    if (sql.find('\0') != std::string::npos)
      throw ErroConversao(
          "O comando tem um caractere nulo (\\u0000); o comando não foi enviado ao banco de dados.");
    return w1252 ? para1252(sql) : sql;
  }

  // The open transaction is gone with the link: its counts move to the lost ones. An atomic run's
  // transaction is left to the end of the run, which reports all of it as undone.
  void perdeTransacao() noexcept {
    if (!transacao || atomica) return;
    if (!pontos.empty()) {
      for (const auto& [tabela, c] : alteracoes) {
        const auto antes = pontos.front().find(tabela);
        const ContagemTabela inicio = antes == pontos.front().end() ? ContagemTabela{} : antes->second;
        ContagemTabela& p = perdidas[tabela];
        p.incluidos += c.incluidos - inicio.incluidos;
        p.alterados += c.alterados - inicio.alterados;
        p.excluidos += c.excluidos - inicio.excluidos;
      }
      alteracoes = pontos.front();
    }
    desfaz(transacao);
    explicita = false;
    pontos.clear();
  }

  void fecha() noexcept {
    {
      Vigia::Chamada chamada(vigia);  // a frozen server must not hold the close either
      perdeTransacao();
      desfaz(transacao);
      explicita = atomica = false;
      pontos.clear();
      reservadas.clear();
      proximos.clear();
      if (anexo) {
        Status st;
        anexo->detach(&st);
        if (st.falhou()) anexo->release();
        anexo = nullptr;
      }
    }
    vigia.para();
  }

  // A statement without rows in the open transaction (the savepoints of atomic mode).
  void executaNaTransacao(const std::string& sql) {
    Status st;
    anexo->execute(&st, transacao, 0, sql.c_str(), 3, nullptr, nullptr, nullptr, nullptr);
    st.verifica();
  }
  static std::string nomePonto(size_t nivel) { return "ZUV_PONTO_" + std::to_string(nivel); }

  // The rows the statement just executed changed, added to the counts.
  void contaDe(IStatement* stmt, unsigned tipo, const std::string& sql, Alteracoes& em) {
    if (tipo != isc_info_sql_stmt_insert && tipo != isc_info_sql_stmt_update &&
        tipo != isc_info_sql_stmt_delete)
      return;
    Status st;
    const ISC_UINT64 n = stmt->getAffectedRecords(&st);
    st.verifica();
    const std::string tabela = tabelaDaInstrucao(sql);
    if (tabela.empty()) return;
    ContagemTabela& c = em[tabela];
    (tipo == isc_info_sql_stmt_insert   ? c.incluidos
     : tipo == isc_info_sql_stmt_update ? c.alterados
                                        : c.excluidos) += static_cast<long long>(n);
  }
};

Conexao::Conexao(const std::string& textoConexao) : impl_(std::make_unique<Impl>()) {
  auto& d = *impl_;
  d.registra([&] {
    d.parametros = ParametrosConexao::deTexto(textoConexao);
    d.w1252 = d.parametros.textoWindows1252();
    const std::string caminho = d.parametros.caminhoBanco();
    if (caminhoWindows(d.parametros.fonteDados))
      throw ErroBanco("O caminho \"" + d.parametros.fonteDados +
                      "\" é de uma unidade do Windows e não existe neste sistema.");
    Bloco dpb(IXpbBuilder::DPB);
    if (!d.parametros.usuario.empty()) dpb.texto(isc_dpb_user_name, d.parametros.usuario);
    if (!d.parametros.senha.empty()) dpb.texto(isc_dpb_password, d.parametros.senha);
    dpb.texto(isc_dpb_lc_ctype, d.parametros.ctype.empty() ? "NONE" : d.parametros.ctype);
    dpb.inteiro(isc_dpb_connect_timeout, kEsperaBloqueioSegundos);
    // A server that takes the connection but never answers (a frozen process) fails at the connect
    // timeout with the library's "connection rejected": the message says what happened.
    const auto inicio = std::chrono::steady_clock::now();
    auto verifica = [&](Status& s) {
      try {
        s.verifica();
      } catch (const ErroBanco& e) {
        if (std::chrono::steady_clock::now() - inicio < std::chrono::seconds(kEsperaBloqueioSegundos - 1) ||
            (e.codigoGds() != isc_connect_reject && e.codigoGds() != isc_network_error))
          throw;
        throw ErroBanco("O servidor do banco de dados não respondeu ao pedido de conexão em " +
                            std::to_string(kEsperaBloqueioSegundos) + " s (" + e.what() + ").",
                        e.codigoSql(), e.codigoGds());
      }
    };
    Status st;
    IProvider* despachante = mestre()->getDispatcher();
    d.anexadoEm = caminho;
    d.anexo = despachante->attachDatabase(&st, caminho.c_str(), dpb.tamanho(), dpb.dados());
    // A local file that a server holds is served through that server (the library tries it after
    // the embedded engine). If the server refused, its reason (a wrong password, say) is the one
    // to show rather than the embedded engine's "already opened" that the library keeps.
    if (st.falhou() && st.tem(isc_already_opened) && !fonteRemota(caminho)) {
      Status doServidor;
      const std::string local = "localhost:" + caminho;
      d.anexadoEm = local;
      d.anexo = despachante->attachDatabase(&doServidor, local.c_str(), dpb.tamanho(), dpb.dados());
      if (!doServidor.falhou() || !doServidor.tem(isc_network_error)) {
        despachante->release();
        verifica(doServidor);
        return;
      }
    }
    despachante->release();
    verifica(st);
  });
  if (passaPorServidor(d.anexo)) d.vigia.inicia(d.anexo, esperaServidorSegundos());
}

Conexao::~Conexao() = default;

void Conexao::executa(const std::string& sql) {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeAberta();
    const std::string texto = d.sqlParaBanco(sql);
    Alteracoes feitas;
    d.naTransacao([&](ITransaction* t) {
      Status st;
      Instrucao stmt(d.anexo->prepare(&st, t, 0, texto.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA));
      st.verifica();
      const unsigned tipo = stmt->getType(&st);
      st.verifica();
      if (tipo == isc_info_sql_stmt_select || tipo == isc_info_sql_stmt_select_for_upd) {
        Cursor rs(stmt->openCursor(&st, t, nullptr, nullptr, nullptr, 0));
        st.verifica();
        rs->close(&st);
        if (!st.falhou()) rs.entrega();  // closed: the handle is gone
        st.verifica();
        return;
      }
      // EXECUTE PROCEDURE may return one row; it is read and dropped.
      Posse<IMessageMetadata> saida(stmt->getOutputMetadata(&st));
      st.verifica();
      std::vector<unsigned char> buffer(saida->getMessageLength(&st));
      stmt->execute(&st, t, nullptr, nullptr, saida.get(), buffer.data());
      st.verifica();
      if (d.conta) d.contaDe(stmt.get(), tipo, sql, feitas);
    });
    soma(d.alteracoes, feitas);
  });
}

Recordset Conexao::abre(const std::string& sql) {
  auto& d = *impl_;
  return d.registra([&] {
    d.exigeAberta();
    const std::string texto = d.sqlParaBanco(sql);
    auto le = [&](ITransaction* t) {
      Status st;
      Instrucao stmt(d.anexo->prepare(&st, t, 0, texto.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA));
      st.verifica();
      LeituraCursor leitura(d.anexo, d.w1252);
      leitura.aCadaLinha = [&d] { d.vigia.sinal(); };
      return leitura.leCursor(t, stmt.get());
    };
    return d.naTransacao(le, somenteLeitura(sql));
  });
}

void Conexao::iniciaTransacao() {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeAberta();
    if (d.atomica) {
      d.executaNaTransacao("SAVEPOINT " + Impl::nomePonto(d.pontos.size()));
      d.pontos.push_back(d.alteracoes);
      return;
    }
    if (d.transacao && (d.explicita || d.parametros.autoCommit))
      throw ErroBanco("Já existe uma transação aberta nesta conexão.");
    d.pontos.assign(1, d.alteracoes);
    if (d.transacao) {  // the implicit transaction of a connection without auto-commit
      d.explicita = true;
      return;
    }
    d.transacao = d.novaTransacao();
    d.explicita = true;
  });
}

void Conexao::confirma() {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeAberta();
    if (d.atomica) {
      if (d.pontos.size() < 2) return;  // the run's start stays
      d.executaNaTransacao("RELEASE SAVEPOINT " + Impl::nomePonto(d.pontos.size() - 1) + " ONLY");
      d.pontos.pop_back();
      return;
    }
    if (!d.transacao) throw ErroBanco("Não há transação aberta nesta conexão.");
    d.explicita = false;
    d.pontos.clear();
    Impl::confirma(d.transacao);
  });
}

void Conexao::desfaz() {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeAberta();
    if (d.atomica) {
      // The run's last savepoint, or with none open, everything since the run's start.
      const size_t nivel = d.pontos.size() - 1;
      d.executaNaTransacao("ROLLBACK TO SAVEPOINT " + Impl::nomePonto(nivel));
      d.alteracoes = d.pontos.back();
      d.proximos.clear();  // the undone rows' identifiers are free again: ask the table
      if (nivel > 0) {
        d.executaNaTransacao("RELEASE SAVEPOINT " + Impl::nomePonto(nivel) + " ONLY");
        d.pontos.pop_back();
      }
      return;
    }
    if (!d.transacao) throw ErroBanco("Não há transação aberta nesta conexão.");
    d.explicita = false;
    if (!d.pontos.empty()) d.alteracoes = d.pontos.front();
    d.pontos.clear();
    Impl::desfaz(d.transacao);
  });
}

bool Conexao::emTransacao() const {
  std::lock_guard lock(impl_->trava);
  return impl_->transacao != nullptr;
}

const std::string& Conexao::descricaoErro() const {
  return impl_->erro;
}

void Conexao::fecha() {
  std::lock_guard lock(impl_->trava);
  impl_->fecha();
}

bool Conexao::aberta() const {
  std::lock_guard lock(impl_->trava);
  return impl_->anexo != nullptr;
}

void Conexao::defineAtomica(bool atomica, const std::vector<std::string>& reservadas) {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeAberta();
    if (atomica) {
      if (d.atomica) return;
      // An explicit transaction already open becomes the run's transaction (without reservations).
      if (!d.transacao) {
        d.transacao = d.novaTransacao(false, reservadas);
        for (const std::string& t : reservadas)
          d.reservadas.push_back(maiusculas(t));
      }
      d.executaNaTransacao("SAVEPOINT " + Impl::nomePonto(0));
      d.atomica = true;
      d.explicita = false;
      d.pontos.assign(1, d.alteracoes);
      return;
    }
    if (!d.atomica) return;
    d.atomica = false;
    d.pontos.clear();
    d.reservadas.clear();
    d.proximos.clear();
    if (d.transacao) Impl::confirma(d.transacao);
  });
}

void Conexao::desfazAtomica() {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeAberta();
    d.atomica = false;
    d.explicita = false;
    d.pontos.clear();
    d.reservadas.clear();
    d.proximos.clear();
    Impl::desfaz(d.transacao);
  });
}

bool Conexao::atomica() const {
  std::lock_guard lock(impl_->trava);
  return impl_->atomica;
}

void Conexao::contaAlteracoes(bool ligado) {
  std::lock_guard lock(impl_->trava);
  impl_->conta = ligado;
}

const Alteracoes& Conexao::alteracoes() const {
  return impl_->alteracoes;
}

const Alteracoes& Conexao::alteracoesPerdidas() const {
  return impl_->perdidas;
}

void Conexao::zeraAlteracoes() {
  std::lock_guard lock(impl_->trava);
  impl_->alteracoes.clear();
  impl_->perdidas.clear();
  for (Alteracoes& p : impl_->pontos)
    p.clear();
}

bool Conexao::reservada(const std::string& tabela) const {
  std::lock_guard lock(impl_->trava);
  const std::string t = maiusculas(tabela);
  for (const std::string& r : impl_->reservadas)
    if (r == t) return true;
  return false;
}

std::optional<int32_t> Conexao::proximoGuardado(const std::string& chave) {
  std::lock_guard lock(impl_->trava);
  auto it = impl_->proximos.find(chave);
  if (it == impl_->proximos.end()) return std::nullopt;
  return it->second++;
}

void Conexao::guardaProximo(const std::string& chave, int32_t proximo) {
  std::lock_guard lock(impl_->trava);
  impl_->proximos[chave] = proximo;
}

const ParametrosConexao& Conexao::parametros() const {
  return impl_->parametros;
}

const std::string& Conexao::bancoAnexado() const {
  return impl_->anexadoEm;
}

}  // namespace zuv
