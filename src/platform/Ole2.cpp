#include "platform/Ole2.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "common/Texto.h"

namespace zuv {

namespace {

constexpr uint32_t kUltimoSetor = 0xFFFFFFFA;  // higher values mark chain ends and special sectors

uint16_t u16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t u32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

[[noreturn]] void quebrado(const char* o) {
  throw std::runtime_error(std::string("estrutura OLE2 danificada (") + o + ")");
}

}  // namespace

ArquivoOle2::ArquivoOle2(const std::string& caminho) {
  fd_ = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0)
    throw std::runtime_error(std::string("o arquivo não pôde ser aberto (") + std::strerror(errno) + ")");
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    ::close(fd_);
    throw std::runtime_error("o arquivo não pôde ser lido");
  }
  tamanhoArquivo_ = static_cast<uint64_t>(st.st_size);
  try {
    unsigned char cab[512];
    static const unsigned char kAssinatura[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (::pread(fd_, cab, sizeof cab, 0) != static_cast<ssize_t>(sizeof cab) ||
        std::memcmp(cab, kAssinatura, 8) != 0)
      quebrado("cabeçalho");
    const uint16_t deslocamento = u16(cab + 0x1E);
    if (deslocamento != 9 && deslocamento != 12) quebrado("tamanho de setor");
    tamanhoSetor_ = 1u << deslocamento;
    corteMini_ = u32(cab + 0x38);
    inicioMiniFat_ = u32(cab + 0x3C);
    const uint64_t setoresArquivo = tamanhoArquivo_ / tamanhoSetor_ + 1;

    // The FAT's own sectors: 109 in the header, the rest in the DIFAT chain. A count past the
    // file's sectors is a broken header; a DIFAT that ends early leaves the FAT it has.
    const uint32_t numFat = u32(cab + 0x2C);
    if (numFat > setoresArquivo) quebrado("FAT");
    std::vector<uint32_t> setoresFat;
    for (int i = 0; i < 109 && setoresFat.size() < numFat; ++i)
      setoresFat.push_back(u32(cab + 0x4C + 4 * i));
    std::vector<unsigned char> s(tamanhoSetor_);
    uint32_t difat = u32(cab + 0x44);
    for (uint64_t passos = 0; setoresFat.size() < numFat && difat < kUltimoSetor && passos <= setoresArquivo;
         ++passos) {
      if (leSetor(difat, 0, s.data(), tamanhoSetor_) != tamanhoSetor_) break;
      const uint32_t n = tamanhoSetor_ / 4 - 1;
      for (uint32_t i = 0; i < n && setoresFat.size() < numFat; ++i)
        setoresFat.push_back(u32(&s[4 * i]));
      difat = u32(&s[4 * n]);
    }
    fat_.reserve(setoresFat.size() * (tamanhoSetor_ / 4));
    for (uint32_t setor : setoresFat) {
      // A FAT sector outside the file maps nothing: the chains through it end there.
      const size_t lidos = setor < kUltimoSetor ? leSetor(setor, 0, s.data(), tamanhoSetor_) : 0;
      std::fill(s.begin() + static_cast<std::ptrdiff_t>(lidos), s.end(), 0xFF);
      for (uint32_t i = 0; i < tamanhoSetor_ / 4; ++i)
        fat_.push_back(u32(&s[4 * i]));
    }

    const FluxoOle2 dir = fluxoDosSetores(u32(cab + 0x30), UINT64_MAX);
    unsigned char e[128];
    for (uint64_t off = 0; dir.le(off, e, 128) == 128; off += 128) {
      const int tipo = e[66];
      if (tipo != 1 && tipo != 2 && tipo != 5) continue;
      const uint16_t bytesNome = std::min<uint16_t>(u16(e + 64), 64);
      std::string nome;
      for (uint16_t i = 0; i + 1 < bytesNome; i += 2) {
        const uint16_t c = u16(e + i);
        if (c == 0) break;
        nome += c < 128 ? static_cast<char>(c) : '?';
      }
      uint64_t tamanho = u32(e + 120);
      if (tamanhoSetor_ == 4096) tamanho |= static_cast<uint64_t>(u32(e + 124)) << 32;
      entradas_.push_back({nome, tipo, u32(e + 116), tamanho});
    }
    if (entradas_.empty() || entradas_[0].tipo != 5) quebrado("diretório");
  } catch (...) {
    ::close(fd_);
    throw;
  }
}

ArquivoOle2::~ArquivoOle2() {
  ::close(fd_);
}

size_t ArquivoOle2::leSetor(uint32_t s, uint32_t desde, unsigned char* destino, size_t n) const {
  const uint64_t off = (static_cast<uint64_t>(s) + 1) * tamanhoSetor_ + desde;
  if (s >= kUltimoSetor || off >= tamanhoArquivo_) return 0;
  size_t feito = 0;
  while (feito < n) {
    const ssize_t r = ::pread(fd_, destino + feito, n - feito, static_cast<off_t>(off + feito));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    feito += static_cast<size_t>(r);
  }
  return feito;
}

std::vector<uint32_t> ArquivoOle2::cadeia(uint32_t inicio, uint64_t tamanho) const {
  std::vector<uint32_t> r;
  const uint64_t maxSetores = std::min<uint64_t>(tamanhoArquivo_ / tamanhoSetor_ + 1, fat_.size());
  const uint64_t precisa = tamanho == UINT64_MAX ? UINT64_MAX : (tamanho + tamanhoSetor_ - 1) / tamanhoSetor_;
  // A chain longer than the file has sectors loops: it is cut there.
  while (inicio < fat_.size() && r.size() < precisa && r.size() < maxSetores) {
    r.push_back(inicio);
    inicio = fat_[inicio];
  }
  return r;
}

FluxoOle2 ArquivoOle2::fluxoDosSetores(uint32_t inicio, uint64_t tamanho) const {
  FluxoOle2 f;
  f.arquivo_ = this;
  f.setores_ = cadeia(inicio, tamanho);
  f.tamanho_ = std::min<uint64_t>(tamanho, static_cast<uint64_t>(f.setores_.size()) * tamanhoSetor_);
  return f;
}

const ArquivoOle2::Entrada* ArquivoOle2::procura(const std::string& nome) const {
  const std::string alvo = minusculas(nome);
  for (const auto& e : entradas_)
    if (e.tipo == 2 && minusculas(e.nome) == alvo) return &e;
  return nullptr;
}

bool ArquivoOle2::temFluxo(const std::string& nome) const {
  return procura(nome) != nullptr;
}

std::optional<FluxoOle2> ArquivoOle2::fluxo(const std::string& nome) const {
  const Entrada* e = procura(nome);
  if (!e) return std::nullopt;
  const uint64_t tamanho = std::min(e->tamanho, tamanhoArquivo_);
  if (tamanho >= corteMini_) return fluxoDosSetores(e->inicio, tamanho);

  // Small streams live in 64-byte sectors of the mini stream (held by the root entry), mapped by
  // the mini FAT; such a stream is under the cut-off size and is read whole.
  const FluxoOle2 mini =
      fluxoDosSetores(entradas_[0].inicio, std::min(entradas_[0].tamanho, tamanhoArquivo_));
  const FluxoOle2 miniFat = fluxoDosSetores(inicioMiniFat_, UINT64_MAX);
  FluxoOle2 f;
  f.arquivo_ = this;
  uint32_t setor = e->inicio;
  unsigned char v[4];
  for (uint64_t passos = 0; f.bytes_.size() < tamanho && passos <= mini.tamanho() / 64; ++passos) {
    unsigned char b[64];
    const size_t n = mini.le(static_cast<uint64_t>(setor) * 64, b, 64);
    f.bytes_.insert(f.bytes_.end(), b, b + n);
    if (n < 64 || miniFat.le(static_cast<uint64_t>(setor) * 4, v, 4) != 4) break;
    setor = u32(v);
  }
  f.bytes_.resize(std::min<uint64_t>(f.bytes_.size(), tamanho));
  f.tamanho_ = f.bytes_.size();
  return f;
}

FluxoOle2 FluxoOle2::naMemoria(std::vector<unsigned char> bytes) {
  FluxoOle2 f;
  f.bytes_ = std::move(bytes);
  f.tamanho_ = f.bytes_.size();
  return f;
}

size_t FluxoOle2::le(uint64_t pos, unsigned char* destino, size_t n) const {
  if (pos >= tamanho_) return 0;
  n = static_cast<size_t>(std::min<uint64_t>(n, tamanho_ - pos));
  if (setores_.empty()) {
    std::memcpy(destino, bytes_.data() + pos, n);
    return n;
  }
  const uint32_t ts = arquivo_->tamanhoSetor_;
  size_t feito = 0;
  while (feito < n) {
    const uint64_t p = pos + feito;
    size_t k = static_cast<size_t>(p / ts);
    const uint32_t desde = static_cast<uint32_t>(p % ts);
    // Consecutive sectors in the file are read in one go.
    size_t ate = k + 1;
    while (ate < setores_.size() && setores_[ate] == setores_[ate - 1] + 1 &&
           (ate - k) * ts - desde < n - feito)
      ++ate;
    const size_t quer = std::min<size_t>((ate - k) * ts - desde, n - feito);
    const size_t lidos = arquivo_->leSetor(setores_[k], desde, destino + feito, quer);
    feito += lidos;
    if (lidos < quer) break;  // the file ends before the stream does
  }
  return feito;
}

}  // namespace zuv
