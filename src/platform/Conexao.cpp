#include "platform/Conexao.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
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
  Alteracoes perdidas;                      // of a transaction the link took with it
  std::vector<std::string> reservadas;      // tables the atomic run's transaction holds
  std::map<std::string, int32_t> proximos;  // identifiers kept in memory for those tables
  // The open transaction and its savepoints, outermost first: each with the counts and the kept
  // identifiers of when it began, which its rollback brings back. In atomic mode the first is the
  // run's start (savepoint ZUV_PONTO_0); an explicit transaction's has no name.
  struct Ponto {
    std::string nome;
    Alteracoes contagem;
    std::map<std::string, int32_t> proximos;
  };
  std::vector<Ponto> pontos;
  Ponto pontoAgora(std::string nome) const { return {std::move(nome), alteracoes, proximos}; }
  // Back to what a savepoint saw: the counts and the kept identifiers (the rows it undid free
  // their identifiers again).
  void voltaA(const Ponto& p) {
    alteracoes = p.contagem;
    proximos = p.proximos;
  }

  // Statements prepared once and executed with parameters, by their text; freed before the
  // attachment goes.
  struct Formato {
    Posse<IMessageMetadata> meta;
    std::vector<unsigned> deslocamentos, nulos;
    unsigned tamanho = 0;
  };
  struct Preparada {
    Instrucao stmt;
    unsigned tipo = 0;
    std::string tabela;  // the table it writes, for the counts
    Posse<IMessageMetadata> entrada;
    std::map<std::string, Formato> formatos;  // the message of each combination of value kinds
  };
  std::unordered_map<std::string, std::unique_ptr<Preparada>> preparadas;
  std::vector<unsigned char> mensagem;

  ~Impl() { fecha(); }

  void exigeAberta() const {
    if (!anexo)
      throw ErroBanco(caiu ? mensagemServidorParado(vigia.segundos()) : kFechada, 0, isc_network_error);
  }

  // A savepoint is undone or released only as the innermost one opened by the run.
  void exigeUltimoPonto(const std::string& nome) const {
    exigeAberta();
    if (pontos.size() < 2 || pontos.back().nome != nome)
      throw ErroBanco("O ponto de salvamento " + nome + " não é o último aberto nesta conexão.");
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
      const Alteracoes& inicioTransacao = pontos.front().contagem;
      for (const auto& [tabela, c] : alteracoes) {
        const auto antes = inicioTransacao.find(tabela);
        const ContagemTabela inicio = antes == inicioTransacao.end() ? ContagemTabela{} : antes->second;
        ContagemTabela& p = perdidas[tabela];
        p.incluidos += c.incluidos - inicio.incluidos;
        p.alterados += c.alterados - inicio.alterados;
        p.excluidos += c.excluidos - inicio.excluidos;
      }
      alteracoes = inicioTransacao;
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
      preparadas.clear();
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

  // A statement without rows or values in the open transaction (the savepoints), prepared once.
  void executaNaTransacao(const std::string& sql) {
    Preparada& p = prepara(sql, transacao);
    Status st;
    p.stmt->execute(&st, transacao, nullptr, nullptr, nullptr, nullptr);
    st.verifica();
  }
  static std::string nomePonto(size_t nivel) { return "ZUV_PONTO_" + std::to_string(nivel); }

  Preparada& prepara(const std::string& sql, ITransaction* t) {
    auto& p = preparadas[sql];
    if (p) return *p;
    auto nova = std::make_unique<Preparada>();
    const std::string texto = sqlParaBanco(sql);
    Status st;
    nova->stmt =
        Instrucao(anexo->prepare(&st, t, 0, texto.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA));
    st.verifica();
    nova->tipo = nova->stmt->getType(&st);
    st.verifica();
    nova->entrada = Posse<IMessageMetadata>(nova->stmt->getInputMetadata(&st));
    st.verifica();
    nova->tabela = tabelaDaInstrucao(sql);
    p = std::move(nova);
    return *p;
  }

  // The input message of the values: each parameter described by its own value (an exact decimal
  // as a scaled integer, a text as VARCHAR in the connection's bytes), so that the engine converts
  // it to the parameter's type as it converts a literal of the same value. Fills `mensagem`.
  IMessageMetadata* monta(Preparada& p, const std::vector<Valor>& valores) {
    Status st;
    const unsigned n = p.entrada->getCount(&st);
    st.verifica();
    if (n != valores.size())
      throw ErroBanco("O comando espera " + std::to_string(n) + " valores e recebeu " +
                      std::to_string(valores.size()) + ".");
    std::vector<std::string> textos(n);
    std::string assinatura;
    for (unsigned i = 0; i < n; ++i) {
      const Valor& v = valores[i];
      if (v.texto()) {
        textos[i] = sqlParaBanco(v.comoTexto());
        // Lengths in steps, so that a few messages serve every row.
        assinatura += 'T' + std::to_string((textos[i].size() / 64 + 1) * 64);
      } else if (v.decimal()) {
        assinatura += 'D' + std::to_string(v.comoDecimal().scale);
      } else {
        assinatura += v.nulo()      ? 'N'
                      : v.inteiro() ? 'I'
                      : v.real()    ? 'R'
                      : v.data()    ? 'A'
                      : v.hora()    ? 'H'
                                    : 'S';
      }
      assinatura += ';';
    }
    Formato& f = p.formatos[assinatura];
    if (!f.meta) {
      IMetadataBuilder* b = p.entrada->getBuilder(&st);
      st.verifica();
      Posse<IMetadataBuilder> construtor(b);
      for (unsigned i = 0; i < n; ++i) {
        const Valor& v = valores[i];
        if (v.nulo()) continue;  // the parameter's own type, marked null
        unsigned tipo = SQL_INT64, tamanho = 8;
        int escala = 0;
        if (v.decimal()) {
          escala = -v.comoDecimal().scale;
        } else if (v.real()) {
          tipo = SQL_DOUBLE;
        } else if (v.texto()) {
          tipo = SQL_VARYING;
          tamanho = static_cast<unsigned>((textos[i].size() / 64 + 1) * 64);
        } else if (v.data()) {
          tipo = SQL_TYPE_DATE;
          tamanho = sizeof(ISC_DATE);
        } else if (v.hora()) {
          tipo = SQL_TYPE_TIME;
          tamanho = sizeof(ISC_TIME);
        } else if (v.dataHora()) {
          tipo = SQL_TIMESTAMP;
          tamanho = sizeof(ISC_TIMESTAMP);
        }
        b->setType(&st, i, tipo | 1);
        b->setSubType(&st, i, 0);
        b->setLength(&st, i, tamanho);
        b->setScale(&st, i, escala);
        if (tipo == SQL_VARYING && w1252) b->setCharSet(&st, i, 0);
        st.verifica();
      }
      f.meta = Posse<IMessageMetadata>(b->getMetadata(&st));
      st.verifica();
      f.tamanho = f.meta->getMessageLength(&st);
      for (unsigned i = 0; i < n; ++i) {
        f.deslocamentos.push_back(f.meta->getOffset(&st, i));
        f.nulos.push_back(f.meta->getNullOffset(&st, i));
      }
      st.verifica();
    }
    mensagem.assign(f.tamanho, 0);
    IUtil* util = mestre()->getUtilInterface();
    for (unsigned i = 0; i < n; ++i) {
      const Valor& v = valores[i];
      unsigned char* dado = mensagem.data() + f.deslocamentos[i];
      *reinterpret_cast<short*>(mensagem.data() + f.nulos[i]) = v.nulo() ? -1 : 0;
      if (v.nulo()) continue;
      if (v.inteiro()) {
        *reinterpret_cast<int64_t*>(dado) = v.comoInteiro();
      } else if (v.decimal()) {
        *reinterpret_cast<int64_t*>(dado) = v.comoDecimal().unscaled;
      } else if (v.real()) {
        *reinterpret_cast<double*>(dado) = v.comoReal();
      } else if (v.texto()) {
        *reinterpret_cast<uint16_t*>(dado) = static_cast<uint16_t>(textos[i].size());
        std::copy(textos[i].begin(), textos[i].end(), dado + 2);
      } else if (v.data()) {
        const Data& a = v.comoData();
        *reinterpret_cast<ISC_DATE*>(dado) = util->encodeDate(a.ano, a.mes, a.dia);
      } else if (v.hora()) {
        const Hora& h = v.comoHora();
        *reinterpret_cast<ISC_TIME*>(dado) = util->encodeTime(h.hora, h.minuto, h.segundo, h.fracao);
      } else if (v.dataHora()) {
        const DataHora& dh = v.comoDataHora();
        auto* ts = reinterpret_cast<ISC_TIMESTAMP*>(dado);
        ts->timestamp_date = util->encodeDate(dh.data.ano, dh.data.mes, dh.data.dia);
        ts->timestamp_time = util->encodeTime(dh.hora.hora, dh.hora.minuto, dh.hora.segundo, dh.hora.fracao);
      }
    }
    return f.meta.get();
  }

  // A SELECT prepared for this call: its rows as a snapshot, or each to porLinha as it comes.
  Recordset consulta(const std::string& sql, const std::function<void(const std::vector<Valor>&)>& porLinha) {
    return registra([&] {
      exigeAberta();
      const std::string texto = sqlParaBanco(sql);
      auto le = [&](ITransaction* t) {
        Status st;
        Instrucao stmt(anexo->prepare(&st, t, 0, texto.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA));
        st.verifica();
        LeituraCursor leitura(anexo, w1252);
        leitura.aCadaLinha = [this] { vigia.sinal(); };
        leitura.porLinha = porLinha;
        return leitura.leCursor(t, stmt.get());
      };
      return naTransacao(le, somenteLeitura(sql));
    });
  }

  // The rows the statement just executed changed, added to the counts.
  void contaDe(IStatement* stmt, unsigned tipo, const std::string& sql, Alteracoes& em) {
    if (tipo != isc_info_sql_stmt_insert && tipo != isc_info_sql_stmt_update &&
        tipo != isc_info_sql_stmt_delete)
      return;
    contaNaTabela(stmt, tipo, tabelaDaInstrucao(sql), em);
  }
  void contaNaTabela(IStatement* stmt, unsigned tipo, const std::string& tabela, Alteracoes& em) {
    if (tipo != isc_info_sql_stmt_insert && tipo != isc_info_sql_stmt_update &&
        tipo != isc_info_sql_stmt_delete)
      return;
    if (tabela.empty()) return;
    Status st;
    const ISC_UINT64 n = stmt->getAffectedRecords(&st);
    st.verifica();
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
  return impl_->consulta(sql, {});
}

void Conexao::executa(const std::string& sql, const std::vector<Valor>& parametros) {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeAberta();
    Alteracoes feitas;
    d.naTransacao([&](ITransaction* t) {
      Impl::Preparada& p = d.prepara(sql, t);
      IMessageMetadata* entrada = d.monta(p, parametros);
      Status st;
      if (p.tipo == isc_info_sql_stmt_select || p.tipo == isc_info_sql_stmt_select_for_upd) {
        Cursor rs(p.stmt->openCursor(&st, t, entrada, d.mensagem.data(), nullptr, 0));
        st.verifica();
        rs->close(&st);
        if (!st.falhou()) rs.entrega();
        st.verifica();
        return;
      }
      p.stmt->execute(&st, t, entrada, d.mensagem.data(), nullptr, nullptr);
      st.verifica();
      if (d.conta && (p.tipo == isc_info_sql_stmt_insert || p.tipo == isc_info_sql_stmt_update ||
                      p.tipo == isc_info_sql_stmt_delete))
        d.contaNaTabela(p.stmt.get(), p.tipo, p.tabela, feitas);
    });
    soma(d.alteracoes, feitas);
  });
}

Recordset Conexao::abre(const std::string& sql, const std::vector<Valor>& parametros) {
  auto& d = *impl_;
  return d.registra([&] {
    d.exigeAberta();
    auto le = [&](ITransaction* t) {
      Impl::Preparada& p = d.prepara(sql, t);
      IMessageMetadata* entrada = d.monta(p, parametros);
      LeituraCursor leitura(d.anexo, d.w1252);
      leitura.aCadaLinha = [&d] { d.vigia.sinal(); };
      return leitura.leCursor(t, p.stmt.get(), entrada, d.mensagem.data());
    };
    return d.naTransacao(le, somenteLeitura(sql));
  });
}

void Conexao::percorre(const std::string& sql,
                       const std::function<void(const std::vector<Valor>&)>& porLinha) {
  impl_->consulta(sql, porLinha);
}

void Conexao::criaPonto(const std::string& nome) {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeAberta();
    if (!d.transacao || d.pontos.empty()) throw ErroBanco("Não há transação aberta nesta conexão.");
    d.executaNaTransacao("SAVEPOINT " + nome);
    d.pontos.push_back(d.pontoAgora(nome));
  });
}

void Conexao::desfazPonto(const std::string& nome) {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeUltimoPonto(nome);
    d.executaNaTransacao("ROLLBACK TO SAVEPOINT " + nome);
    d.voltaA(d.pontos.back());
    d.pontos.pop_back();
    d.executaNaTransacao("RELEASE SAVEPOINT " + nome + " ONLY");
  });
}

void Conexao::liberaPonto(const std::string& nome) {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeUltimoPonto(nome);
    d.pontos.pop_back();
    d.executaNaTransacao("RELEASE SAVEPOINT " + nome + " ONLY");
  });
}

void Conexao::iniciaTransacao() {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeAberta();
    if (d.atomica) {
      d.pontos.push_back(d.pontoAgora(Impl::nomePonto(d.pontos.size())));
      d.executaNaTransacao("SAVEPOINT " + d.pontos.back().nome);
      return;
    }
    if (d.transacao && (d.explicita || d.parametros.autoCommit))
      throw ErroBanco("Já existe uma transação aberta nesta conexão.");
    d.pontos.assign(1, d.pontoAgora({}));
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
      d.executaNaTransacao("RELEASE SAVEPOINT " + d.pontos.back().nome + " ONLY");
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
      d.executaNaTransacao("ROLLBACK TO SAVEPOINT " + d.pontos.back().nome);
      d.voltaA(d.pontos.back());
      if (d.pontos.size() > 1) {
        d.executaNaTransacao("RELEASE SAVEPOINT " + d.pontos.back().nome + " ONLY");
        d.pontos.pop_back();
      }
      return;
    }
    if (!d.transacao) throw ErroBanco("Não há transação aberta nesta conexão.");
    d.explicita = false;
    if (!d.pontos.empty()) d.alteracoes = d.pontos.front().contagem;
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
      d.pontos.assign(1, d.pontoAgora(Impl::nomePonto(0)));
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
  for (Impl::Ponto& p : impl_->pontos)
    p.contagem.clear();
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
