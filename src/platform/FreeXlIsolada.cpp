#include "platform/FreeXlIsolada.h"

#include <fcntl.h>
#include <freexl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_map>

#include "platform/ZipPlanilha.h"

// Set by the sanitizers (and libFuzzer) when the program is built with them: the child clears it,
// so that a fault FreeXL makes there is not reported as the program's own.
extern "C" void __sanitizer_set_death_callback(void (*)(void)) __attribute__((weak));

namespace zuv {

namespace {

// The child's answer: records of a tag byte and fixed fields, in this order:
//   'D' rows:u32 columns:u16           the sheet's dimensions (or one 'E' instead)
//   'S' length:u32 bytes               a text; the n-th 'S' is text n
//   'C' row:u32 column:u16 type:u8 v   a cell from 0: v is i64, f64 or a text number (u32)
//   'E' code:i32 detail:i32            FreeXL refused the file
//   'F'                                the end
enum : char { kDimensoes = 'D', kTexto = 'S', kCelula = 'C', kErro = 'E', kFim = 'F' };
enum : int32_t { kAbertura = 1, kProtegida, kSemFolhas, kFolhaIlegivel, kCelulaIlegivel };

// The child's buffered writer; a failed write (the parent gave up) ends the child.
class Saida {
 public:
  explicit Saida(int fd) : fd_(fd) { buf_.reserve(kTamanho); }
  template <class T>
  void poe(const T& v) {
    bytes(reinterpret_cast<const char*>(&v), sizeof v);
  }
  void bytes(const char* p, size_t n) {
    buf_.append(p, n);
    if (buf_.size() >= kTamanho) esvazia();
  }
  void esvazia() {
    size_t feito = 0;
    while (feito < buf_.size()) {
      const ssize_t n = ::write(fd_, buf_.data() + feito, buf_.size() - feito);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) _exit(3);
      feito += static_cast<size_t>(n);
    }
    buf_.clear();
  }

 private:
  static constexpr size_t kTamanho = 1 << 16;
  int fd_;
  std::string buf_;
};

[[noreturn]] void erroNoFilho(Saida& s, int32_t codigo, int32_t detalhe) {
  s.poe(kErro);
  s.poe(codigo);
  s.poe(detalhe);
  s.esvazia();
  _exit(0);
}

// The child: a copy of the program with this thread alone. It only runs FreeXL and writes to the
// pipe, then leaves with _exit (no atexit handlers, no destructors of the parent's objects). The
// handle is never closed: the process ends right after, and closing is where some damaged files
// make FreeXL free twice.
[[noreturn]] void filho(int fd, const char* arquivo, unsigned folha) {
  if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(nullptr);
  for (int sinal : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL, SIGPIPE})
    ::signal(sinal, SIG_DFL);
  const rlimit semCore{0, 0};
  ::setrlimit(RLIMIT_CORE, &semCore);
  // FreeXL and glibc's fault reports would land on the person's terminal.
  const int nulo = ::open("/dev/null", O_RDWR);
  if (nulo >= 0) {
    ::dup2(nulo, STDOUT_FILENO);
    ::dup2(nulo, STDERR_FILENO);
  }

  Saida s(fd);
  const void* h = nullptr;
  const int r = freexl_open(arquivo, &h);
  if (r != FREEXL_OK || !h) erroNoFilho(s, kAbertura, r);  // a crafted file can give OK without a handle
  unsigned senha = 0, folhas = 0;
  if (freexl_get_info(h, FREEXL_BIFF_PASSWORD, &senha) == FREEXL_OK && senha == FREEXL_BIFF_OBFUSCATED)
    erroNoFilho(s, kProtegida, 0);
  freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &folhas);
  if (folhas == 0) erroNoFilho(s, kSemFolhas, 0);
  unsigned linhas = 0;
  unsigned short colunas = 0;
  if (freexl_select_active_worksheet(h, static_cast<unsigned short>(folha < folhas ? folha : 0)) !=
          FREEXL_OK ||
      freexl_worksheet_dimensions(h, &linhas, &colunas) != FREEXL_OK)
    erroNoFilho(s, kFolhaIlegivel, 0);
  s.poe(kDimensoes);
  s.poe(static_cast<uint32_t>(linhas));
  s.poe(static_cast<uint16_t>(colunas));

  // Shared strings come back as the same pointer: each is sent once.
  std::unordered_map<const char*, uint32_t> enviados;
  uint32_t textos = 0;
  auto texto = [&](const char* t, bool compartilhado) {
    if (compartilhado)
      if (auto e = enviados.find(t); e != enviados.end()) return e->second;
    const uint32_t n = static_cast<uint32_t>(std::strlen(t));
    s.poe(kTexto);
    s.poe(n);
    s.bytes(t, n);
    if (compartilhado) enviados.emplace(t, textos);
    return textos++;
  };
  for (unsigned l = 0; l < linhas; ++l) {
    for (unsigned short c = 0; c < colunas; ++c) {
      FreeXL_CellValue v;
      if (freexl_get_cell_value(h, l, c, &v) != FREEXL_OK)
        erroNoFilho(s, kCelulaIlegivel, static_cast<int32_t>(l));
      uint8_t tipo;
      switch (v.type) {
        case FREEXL_CELL_INT:
          tipo = CelulaXls::Inteiro;
          break;
        case FREEXL_CELL_DOUBLE:
          tipo = CelulaXls::Real;
          break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
          tipo = CelulaXls::Texto;
          break;
        case FREEXL_CELL_DATE:
          tipo = CelulaXls::Data;
          break;
        case FREEXL_CELL_DATETIME:
          tipo = CelulaXls::DataHora;
          break;
        case FREEXL_CELL_TIME:
          tipo = CelulaXls::Hora;
          break;
        default:
          continue;
      }
      uint32_t indice = 0;
      if (tipo != CelulaXls::Inteiro && tipo != CelulaXls::Real) {
        if (!v.value.text_value || !*v.value.text_value) continue;
        indice = texto(v.value.text_value, v.type == FREEXL_CELL_SST_TEXT);
      }
      s.poe(kCelula);
      s.poe(static_cast<uint32_t>(l));
      s.poe(static_cast<uint16_t>(c));
      s.poe(tipo);
      if (tipo == CelulaXls::Inteiro)
        s.poe(static_cast<int64_t>(v.value.int_value));
      else if (tipo == CelulaXls::Real)
        s.poe(v.value.double_value);
      else
        s.poe(indice);
    }
  }
  s.poe(kFim);
  s.esvazia();
  _exit(0);
}

// The parent's reading of the answer, record by record as bytes arrive. Anything out of place
// (a child that wrote garbage before it died) makes the answer unusable.
class Leitura {
 public:
  explicit Leitura(const LimitesXls& limites) : limites_(limites) {}

  // False when the answer is inconsistent.
  bool consome(const char* p, size_t n) {
    pendente_.append(p, n);
    size_t pos = 0;
    while (ok_ && pos < pendente_.size()) {
      const size_t usados = registro(pendente_.data() + pos, pendente_.size() - pos);
      if (usados == 0) break;  // incomplete: wait for more bytes
      pos += usados;
    }
    pendente_.erase(0, pos);
    return ok_;
  }
  bool completa() const { return ok_ && terminou_ && pendente_.empty(); }
  bool celulasDemais() const { return celulasDemais_; }
  bool temErro() const { return temErro_; }
  int32_t codigoErro() const { return codigo_; }
  int32_t detalheErro() const { return detalhe_; }
  FolhaXls& folha() { return folha_; }

 private:
  template <class T>
  static T le(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }

  // The bytes of the record at p, 0 when it is not all there yet.
  size_t registro(const char* p, size_t n) {
    auto invalido = [&] {
      ok_ = false;
      return size_t{0};
    };
    if (terminou_) return invalido();  // nothing may follow the end or an error
    switch (p[0]) {
      case kDimensoes:
        if (n < 7) return 0;
        if (temDimensoes_) return invalido();
        folha_.linhas = le<uint32_t>(p + 1);
        folha_.colunas = le<uint16_t>(p + 5);
        temDimensoes_ = true;
        return 7;
      case kErro:
        if (n < 9) return 0;
        if (temDimensoes_) return invalido();
        temErro_ = terminou_ = true;
        codigo_ = le<int32_t>(p + 1);
        detalhe_ = le<int32_t>(p + 5);
        return 9;
      case kTexto: {
        if (n < 5) return 0;
        const uint32_t tamanho = le<uint32_t>(p + 1);
        if (!temDimensoes_ || tamanho > limites_.bytes) return invalido();
        if (n < 5 + static_cast<size_t>(tamanho)) return 0;
        folha_.textos.emplace_back(p + 5, tamanho);
        return 5 + static_cast<size_t>(tamanho);
      }
      case kCelula: {
        if (n < 8) return 0;
        const uint8_t tipo = static_cast<uint8_t>(p[7]);
        const size_t tamanho = tipo == CelulaXls::Inteiro || tipo == CelulaXls::Real ? 16 : 12;
        if (!temDimensoes_ || tipo > CelulaXls::Hora) return invalido();
        if (n < tamanho) return 0;
        const uint32_t linha = le<uint32_t>(p + 1);
        const uint16_t coluna = le<uint16_t>(p + 5);
        // Row by row, column by column, inside the dimensions, within the cell limit.
        const bool emOrdem =
            linha > ultimaLinha_ || (linha == ultimaLinha_ && coluna > ultimaColuna_) || celulas_ == 0;
        if (!emOrdem || linha >= folha_.linhas || coluna >= folha_.colunas) return invalido();
        if (++celulas_ > limites_.celulas) {
          celulasDemais_ = true;
          return invalido();
        }
        ultimaLinha_ = linha;
        ultimaColuna_ = coluna;
        CelulaXls c;
        c.coluna = static_cast<uint16_t>(coluna + 1);
        c.tipo = static_cast<CelulaXls::Tipo>(tipo);
        if (tipo == CelulaXls::Inteiro) {
          c.inteiro = le<int64_t>(p + 8);
        } else if (tipo == CelulaXls::Real) {
          c.real = le<double>(p + 8);
        } else {
          c.texto = le<uint32_t>(p + 8);
          if (c.texto >= folha_.textos.size()) return invalido();
        }
        folha_.celulas[linha + 1].push_back(c);
        return tamanho;
      }
      case kFim:
        if (!temDimensoes_) return invalido();
        terminou_ = true;
        return 1;
      default:
        return invalido();
    }
  }

  const LimitesXls& limites_;
  std::string pendente_;
  FolhaXls folha_;
  bool ok_ = true, terminou_ = false, temDimensoes_ = false, temErro_ = false, celulasDemais_ = false;
  int32_t codigo_ = 0, detalhe_ = 0;
  int64_t celulas_ = 0;
  uint32_t ultimaLinha_ = 0;
  uint16_t ultimaColuna_ = 0;
};

// The child until it is reaped: killed if it is still there when the parent stops reading.
struct ProcessoFilho {
  pid_t pid = -1;
  int fd = -1;
  int status = 0;
  ProcessoFilho() = default;
  ProcessoFilho(const ProcessoFilho&) = delete;
  ProcessoFilho& operator=(const ProcessoFilho&) = delete;
  ~ProcessoFilho() {
    if (fd >= 0) ::close(fd);
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }
  }
  // Reaps the child if it has ended by the deadline.
  bool espera(std::chrono::steady_clock::time_point limite) {
    for (;;) {
      const pid_t r = ::waitpid(pid, &status, WNOHANG);
      if (r == pid) {
        pid = -1;
        return true;
      }
      if (r < 0 && errno != EINTR) return false;
      if (std::chrono::steady_clock::now() >= limite) return false;
      const timespec pausa{0, 1'000'000};
      ::nanosleep(&pausa, nullptr);
    }
  }
};

const char* kDanificado = "o arquivo está danificado (a leitura do .xls falhou)";

}  // namespace

FolhaXls leFolhaXlsIsolada(const std::string& arquivo, const std::string& caminho, unsigned folha,
                           const LimitesXls& limites) {
  using Relogio = std::chrono::steady_clock;
  const Relogio::time_point prazo = Relogio::now() + limites.tempo;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) falhaLeitura(caminho, "não foi possível iniciar a leitura do .xls");
  ProcessoFilho processo;
  processo.fd = fds[0];
  processo.pid = ::fork();
  if (processo.pid == 0) {
    ::close(fds[0]);
    filho(fds[1], arquivo.c_str(), folha);
  }
  ::close(fds[1]);
  if (processo.pid < 0) falhaLeitura(caminho, "não foi possível iniciar a leitura do .xls");

  Leitura leitura(limites);
  uint64_t recebidos = 0;
  char buf[1 << 16];
  for (;;) {
    const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(prazo - Relogio::now());
    if (resta.count() <= 0)
      falhaLeitura(caminho, "o arquivo está danificado (a leitura do .xls não terminou em " +
                                std::to_string(limites.tempo.count() / 1000) + " s)");
    pollfd p{processo.fd, POLLIN, 0};
    const int pronto = ::poll(&p, 1, static_cast<int>(std::min<int64_t>(resta.count(), 1'000'000)));
    if (pronto < 0 && errno == EINTR) continue;
    if (pronto < 0) falhaLeitura(caminho, kDanificado);
    if (pronto == 0) continue;  // the deadline is checked above
    const ssize_t n = ::read(processo.fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) falhaLeitura(caminho, kDanificado);
    if (n == 0) break;
    recebidos += static_cast<uint64_t>(n);
    if (recebidos > limites.bytes)
      falhaLeitura(caminho,
                   "a planilha passa do limite de " + std::to_string(limites.bytes) + " bytes lidos");
    if (!leitura.consome(buf, static_cast<size_t>(n))) {
      if (leitura.celulasDemais())
        falhaLeitura(caminho,
                     "a planilha passa do limite de " + std::to_string(limites.celulas) + " células");
      falhaLeitura(caminho, kDanificado);
    }
  }
  if (!processo.espera(prazo) || !WIFEXITED(processo.status) || WEXITSTATUS(processo.status) != 0 ||
      !leitura.completa())
    falhaLeitura(caminho, kDanificado);

  if (leitura.temErro()) {
    switch (leitura.codigoErro()) {
      case kAbertura:
        falhaLeitura(caminho, "o arquivo está danificado ou não é um .xls suportado (FreeXL " +
                                  std::to_string(leitura.detalheErro()) + ")");
      case kProtegida:
        falhaLeitura(caminho, "planilha protegida por senha");
      case kSemFolhas:
        falhaLeitura(caminho, "a pasta de trabalho não tem nenhuma planilha");
      case kFolhaIlegivel:
        falhaLeitura(caminho, "a planilha ativa não pôde ser lida");
      case kCelulaIlegivel:
        falhaLeitura(caminho, "a linha " + std::to_string(leitura.detalheErro() + 1) + " não pôde ser lida");
      default:
        falhaLeitura(caminho, kDanificado);
    }
  }
  return std::move(leitura.folha());
}

}  // namespace zuv
