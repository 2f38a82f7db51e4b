#include "platform/Conexao.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <vector>

#include "common/Erro.h"
#include "common/Texto.h"
#include "platform/Windows1252.h"
#include "platform/firebird/Cliente.h"

namespace zuv {

namespace {

constexpr const char* kFechada = "A conexão com o banco de dados está fechada.";

// Character set numbers of the engine that the text conversion looks at.
constexpr unsigned kCsOctets = 1, kCsUnicodeFss = 3, kCsUtf8 = 4;

// A Windows drive path ("C:\ZUV\Dados") can only name a file on Windows.
bool caminhoWindows(const std::string& fonte) {
  return fonte.size() >= 2 && std::isalpha(static_cast<unsigned char>(fonte[0])) && fonte[1] == ':';
}

// host:path or host/port:path (and the engine's own inet://, xnet:// forms) go to a server.
bool fonteRemota(const std::string& fonte) {
  const size_t dois = fonte.find(':');
  if (dois == std::string::npos || dois < 2) return false;
  const std::string prefixo = fonte.substr(0, dois);
  const size_t barra = prefixo.find('/');
  const std::string host = prefixo.substr(0, barra);
  if (host.empty()) return false;
  for (char c : host)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_') return false;
  if (barra != std::string::npos)
    for (char c : prefixo.substr(barra + 1))
      if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

bool textoUtf8(unsigned charset) {
  return charset == kCsUtf8 || charset == kCsUnicodeFss;
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

}  // namespace

// ---------------------------------------------------------------------------------------------
// Connection string

ParametrosConexao ParametrosConexao::deTexto(const std::string& conexao) {
  ParametrosConexao p;
  bool temFonte = false;
  size_t inicio = 0;
  while (inicio <= conexao.size()) {
    size_t fim = conexao.find(';', inicio);
    if (fim == std::string::npos) fim = conexao.size();
    const std::string parte = conexao.substr(inicio, fim - inicio);
    inicio = fim + 1;
    const size_t igual = parte.find('=');
    if (igual == std::string::npos) continue;
    const std::string chave = minusculas(aparaBrancos(parte.substr(0, igual)));
    const std::string valor = aparaBrancos(parte.substr(igual + 1));
    if (chave == "data source") {
      p.fonteDados = valor;
      temFonte = true;
    } else if (chave == "user id") {
      p.usuario = valor;
    } else if (chave == "password") {
      p.senha = valor;
    } else if (chave == "ctype") {
      p.ctype = valor;
    } else if (chave == "auto_commit") {
      const std::string v = minusculas(valor);
      if (v == "true" || v == "1" || v == "yes")
        p.autoCommit = true;
      else if (v == "false" || v == "0" || v == "no")
        p.autoCommit = false;
      else
        throw ErroConfiguracao("Valor inválido de auto_commit na cadeia de conexão: \"" + valor + "\"");
    }
  }
  if (!temFonte) throw ErroConfiguracao("A cadeia de conexão não tem \"data source\".");
  return p;
}

std::string ParametrosConexao::caminhoBanco() const {
  if (fonteRemota(fonteDados)) return fonteDados;
  std::string caminho = fonteDados;
  std::replace(caminho.begin(), caminho.end(), '\\', '/');
  return caminho;
}

bool ParametrosConexao::textoWindows1252() const {
  const std::string c = minusculas(ctype);
  return !(c == "utf8" || c == "utf-8" || c == "unicode_fss");
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
  std::string anexadoEm;  // the name given to attachDatabase
  bool conta = false;
  Alteracoes alteracoes;
  // The counts when each open transaction or savepoint began; in atomic mode the first one is the
  // run's start (savepoint kPontoInicio), the others the run's own transactions.
  std::vector<Alteracoes> pontos;

  ~Impl() { fecha(); }

  void exigeAberta() const {
    if (!anexo) throw ErroBanco(kFechada);
  }

  // Read committed, waiting at most kEsperaBloqueioSegundos for a locked row or table. A read-only
  // read-committed transaction is committed by the engine when it starts, so its commit writes
  // nothing to disk.
  ITransaction* novaTransacao(bool somenteLeitura = false) {
    Bloco tpb(IXpbBuilder::TPB);  // the builder writes the version byte itself
    tpb.tag(somenteLeitura ? isc_tpb_read : isc_tpb_write)
        .tag(isc_tpb_read_committed)
        .tag(isc_tpb_rec_version)
        .tag(isc_tpb_wait)
        .inteiro(isc_tpb_lock_timeout, kEsperaBloqueioSegundos);
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
  auto registra(F f) {
    std::lock_guard lock(trava);
    try {
      return f();
    } catch (const Erro& e) {
      erro = e.what();
      throw;
    }
  }

  std::string sqlParaBanco(const std::string& sql) const { return w1252 ? para1252(sql) : sql; }

  std::string textoDoBanco(std::string bytes, unsigned charset) const {
    if (charset == kCsOctets || textoUtf8(charset) || !w1252) return bytes;
    return de1252(bytes);
  }

  void fecha() noexcept {
    desfaz(transacao);
    explicita = atomica = false;
    pontos.clear();
    if (anexo) {
      Status st;
      anexo->detach(&st);
      if (st.falhou()) anexo->release();
      anexo = nullptr;
    }
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

  Recordset leCursor(ITransaction* t, IStatement* stmt);
  std::string leBlob(ITransaction* t, ISC_QUAD* id, unsigned charset, bool texto);
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
        doServidor.verifica();
        return;
      }
    }
    despachante->release();
    st.verifica();
  });
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
      IStatement* stmt = d.anexo->prepare(&st, t, 0, texto.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA);
      st.verifica();
      struct Libera {
        IStatement* s;
        ~Libera() {
          Status st;
          s->free(&st);
        }
      } libera{stmt};
      const unsigned tipo = stmt->getType(&st);
      st.verifica();
      if (tipo == isc_info_sql_stmt_select || tipo == isc_info_sql_stmt_select_for_upd) {
        IResultSet* rs = stmt->openCursor(&st, t, nullptr, nullptr, nullptr, 0);
        st.verifica();
        rs->close(&st);
        st.verifica();
        return;
      }
      // EXECUTE PROCEDURE may return one row; it is read and dropped.
      IMessageMetadata* saida = stmt->getOutputMetadata(&st);
      st.verifica();
      std::vector<unsigned char> buffer(saida->getMessageLength(&st));
      stmt->execute(&st, t, nullptr, nullptr, saida, buffer.data());
      saida->release();
      st.verifica();
      if (d.conta) d.contaDe(stmt, tipo, sql, feitas);
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
      IStatement* stmt = d.anexo->prepare(&st, t, 0, texto.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA);
      st.verifica();
      try {
        Recordset r = d.leCursor(t, stmt);
        stmt->free(&st);
        st.verifica();
        return r;
      } catch (...) {
        Status st2;
        stmt->free(&st2);
        throw;
      }
    };
    return d.naTransacao(le, somenteLeitura(sql));
  });
}

std::string Conexao::Impl::leBlob(ITransaction* t, ISC_QUAD* id, unsigned charset, bool texto) {
  Status st;
  IBlob* blob = anexo->openBlob(&st, t, id, 0, nullptr);
  st.verifica();
  std::string dados;
  char pedaco[16384];
  for (;;) {
    unsigned lidos = 0;
    const int r = blob->getSegment(&st, sizeof pedaco, pedaco, &lidos);
    if (r == IStatus::RESULT_NO_DATA) break;
    if (r != IStatus::RESULT_OK && r != IStatus::RESULT_SEGMENT) {
      Status fim;
      blob->close(&fim);
      st.verifica();
    }
    dados.append(pedaco, lidos);
  }
  blob->close(&st);
  st.verifica();
  return texto ? textoDoBanco(std::move(dados), charset) : dados;
}

Recordset Conexao::Impl::leCursor(ITransaction* t, IStatement* stmt) {
  Status st;
  IMessageMetadata* meta = stmt->getOutputMetadata(&st);
  st.verifica();
  struct Solta {
    IMessageMetadata* m;
    ~Solta() { m->release(); }
  } solta{meta};
  const unsigned n = meta->getCount(&st);
  st.verifica();

  struct Coluna {
    unsigned tipo, charset, tamanho, deslocamento, deslocamentoNulo;
    int escala, subtipo;
  };
  std::vector<Coluna> cols(n);
  std::vector<Campo> campos(n);
  for (unsigned i = 0; i < n; ++i) {
    Coluna& c = cols[i];
    c.tipo = meta->getType(&st, i) & ~1u;
    c.charset = meta->getCharSet(&st, i) & 0xFF;
    c.tamanho = meta->getLength(&st, i);
    c.deslocamento = meta->getOffset(&st, i);
    c.deslocamentoNulo = meta->getNullOffset(&st, i);
    c.escala = meta->getScale(&st, i);
    c.subtipo = meta->getSubType(&st, i);
    const char* alias = meta->getAlias(&st, i);
    st.verifica();
    Campo& f = campos[i];
    f.nome = w1252 ? de1252(alias) : alias;
    f.tipoSql = static_cast<int>(c.tipo);
    f.escala = -c.escala;
    switch (c.tipo) {
      case SQL_SHORT:
      case SQL_LONG:
      case SQL_INT64:
      case SQL_FLOAT:
      case SQL_DOUBLE:
      case SQL_D_FLOAT:
      case SQL_BOOLEAN:
        f.classe = ClasseTipo::Numero;
        break;
      case SQL_TEXT:
      case SQL_VARYING:
        f.classe = ClasseTipo::Texto;
        f.tamanho = static_cast<int>(c.tamanho);
        break;
      case SQL_TIMESTAMP:
      case SQL_TYPE_DATE:
      case SQL_TYPE_TIME:
        f.classe = ClasseTipo::DataHora;
        break;
      case SQL_BLOB:
        f.classe = c.subtipo == 1 ? ClasseTipo::Texto : ClasseTipo::Outro;
        break;
      default:
        f.classe = ClasseTipo::Outro;
    }
  }

  // A statement without columns (an UPDATE given to abre) runs and yields a closed snapshot.
  if (n == 0) {
    stmt->execute(&st, t, nullptr, nullptr, nullptr, nullptr);
    st.verifica();
    return Recordset(std::move(campos), std::vector<Valor>{});
  }

  const unsigned tamanhoMsg = meta->getMessageLength(&st);
  st.verifica();
  std::vector<unsigned char> buffer(tamanhoMsg);
  IResultSet* rs = stmt->openCursor(&st, t, nullptr, nullptr, meta, 0);
  st.verifica();
  struct Cursor {
    IResultSet* r;
    ~Cursor() {
      if (r) {
        Status s;
        r->close(&s);
        if (s.falhou()) r->release();
      }
    }
  } cursor{rs};

  IUtil* util = mestre()->getUtilInterface();
  std::vector<Valor> celulas;
  for (;;) {
    const int r = rs->fetchNext(&st, buffer.data());
    st.verifica();
    if (r != IStatus::RESULT_OK) break;
    for (unsigned i = 0; i < n; ++i) {
      const Coluna& c = cols[i];
      const unsigned char* p = buffer.data() + c.deslocamento;
      if (*reinterpret_cast<const short*>(buffer.data() + c.deslocamentoNulo)) {
        celulas.emplace_back();
        continue;
      }
      auto inteiroEscalado = [&](int64_t v) {
        celulas.emplace_back(c.escala < 0 ? Valor(Decimal{v, -c.escala}) : Valor(v));
      };
      switch (c.tipo) {
        case SQL_SHORT:
          inteiroEscalado(*reinterpret_cast<const int16_t*>(p));
          break;
        case SQL_LONG:
          inteiroEscalado(*reinterpret_cast<const int32_t*>(p));
          break;
        case SQL_INT64:
          inteiroEscalado(*reinterpret_cast<const int64_t*>(p));
          break;
        case SQL_FLOAT:
          celulas.emplace_back(static_cast<double>(*reinterpret_cast<const float*>(p)));
          break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
          celulas.emplace_back(*reinterpret_cast<const double*>(p));
          break;
        case SQL_BOOLEAN:
          celulas.emplace_back(int64_t{*p ? 1 : 0});
          break;
        case SQL_TEXT: {
          std::string s(reinterpret_cast<const char*>(p), c.tamanho);
          // A multi-byte CHAR(n) arrives padded to its byte length: keep n characters.
          if (textoUtf8(c.charset)) {
            const size_t caracteres = c.tamanho / (c.charset == kCsUtf8 ? 4 : 3);
            size_t total = 0;
            for (char ch : s)
              total += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
            for (; total > caracteres && !s.empty() && s.back() == ' '; --total)
              s.pop_back();
          }
          celulas.emplace_back(textoDoBanco(std::move(s), c.charset));
          break;
        }
        case SQL_VARYING: {
          const uint16_t len = *reinterpret_cast<const uint16_t*>(p);
          celulas.emplace_back(
              textoDoBanco(std::string(reinterpret_cast<const char*>(p + 2), len), c.charset));
          break;
        }
        case SQL_TYPE_DATE: {
          unsigned a, m, dd;
          util->decodeDate(*reinterpret_cast<const ISC_DATE*>(p), &a, &m, &dd);
          celulas.emplace_back(Data{static_cast<int>(a), static_cast<int>(m), static_cast<int>(dd)});
          break;
        }
        case SQL_TYPE_TIME: {
          unsigned h, mi, s, f;
          util->decodeTime(*reinterpret_cast<const ISC_TIME*>(p), &h, &mi, &s, &f);
          celulas.emplace_back(
              Hora{static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s), static_cast<int>(f)});
          break;
        }
        case SQL_TIMESTAMP: {
          const auto* ts = reinterpret_cast<const ISC_TIMESTAMP*>(p);
          unsigned a, m, dd, h, mi, s, f;
          util->decodeDate(ts->timestamp_date, &a, &m, &dd);
          util->decodeTime(ts->timestamp_time, &h, &mi, &s, &f);
          celulas.emplace_back(DataHora{
              Data{static_cast<int>(a), static_cast<int>(m), static_cast<int>(dd)},
              Hora{static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s), static_cast<int>(f)}});
          break;
        }
        case SQL_BLOB: {
          ISC_QUAD id = *reinterpret_cast<const ISC_QUAD*>(p);
          celulas.emplace_back(leBlob(t, &id, c.charset, c.subtipo == 1));
          break;
        }
        default:
          celulas.emplace_back();
      }
    }
  }
  return Recordset(std::move(campos), std::move(celulas));
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

void Conexao::defineAtomica(bool atomica) {
  auto& d = *impl_;
  d.registra([&] {
    d.exigeAberta();
    if (atomica) {
      if (d.atomica) return;
      // An explicit transaction already open becomes the run's transaction.
      if (!d.transacao) d.transacao = d.novaTransacao();
      d.executaNaTransacao("SAVEPOINT " + Impl::nomePonto(0));
      d.atomica = true;
      d.explicita = false;
      d.pontos.assign(1, d.alteracoes);
      return;
    }
    if (!d.atomica) return;
    d.atomica = false;
    d.pontos.clear();
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

void Conexao::zeraAlteracoes() {
  std::lock_guard lock(impl_->trava);
  impl_->alteracoes.clear();
  for (Alteracoes& p : impl_->pontos)
    p.clear();
}

const ParametrosConexao& Conexao::parametros() const {
  return impl_->parametros;
}

const std::string& Conexao::bancoAnexado() const {
  return impl_->anexadoEm;
}

void Conexao::criaBancoDeDados(const std::string& caminho, const std::string& usuario,
                               const std::string& senha, bool escritaSincrona) {
  ParametrosConexao p;
  p.fonteDados = caminho;
  const std::string destino = p.caminhoBanco();
  Bloco dpb(IXpbBuilder::DPB);
  dpb.texto(isc_dpb_user_name, usuario)
      .texto(isc_dpb_password, senha)
      .inteiro(isc_dpb_sql_dialect, 3)
      .inteiro(isc_dpb_page_size, 8192)
      .inteiro(isc_dpb_force_write, escritaSincrona ? 1 : 0)
      .texto(isc_dpb_set_db_charset, "NONE")
      .texto(isc_dpb_lc_ctype, "NONE");
  Status st;
  IProvider* despachante = mestre()->getDispatcher();
  IAttachment* anexo = despachante->createDatabase(&st, destino.c_str(), dpb.tamanho(), dpb.dados());
  despachante->release();
  st.verifica();
  anexo->detach(&st);
  st.verifica();
}

}  // namespace zuv
