#include "platform/RegistrosBiff.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "common/Texto.h"
#include "platform/Windows1252.h"

namespace zuv {

namespace {

constexpr size_t kJanela = 256 * 1024;  // holds any record (at most 65 535 bytes) with room to spare
constexpr uint16_t kContinue = 0x003C;
constexpr uint16_t kBoundsheet = 0x0085;

}  // namespace

FluxoBiff::FluxoBiff(const FluxoOle2& fluxo) : fluxo_(fluxo) {}

void FluxoBiff::defineCifra(std::unique_ptr<CifraXls> cifra, uint64_t desde) {
  cifra_ = std::move(cifra);
  cifradoDesde_ = desde;
}

bool FluxoBiff::garante(uint64_t pos, size_t n) {
  if (pos >= inicioJanela_ && pos + n <= inicioJanela_ + bytesJanela_) return true;
  if (janela_.empty()) janela_.resize(kJanela);
  // A look at the next record keeps the current one in the window, so its data stays valid.
  const bool mantemAtual = dados_ && posicao_ <= pos && pos + n - posicao_ <= janela_.size();
  inicioJanela_ = mantemAtual ? posicao_ : pos;
  bytesJanela_ = fluxo_.le(inicioJanela_, janela_.data(), janela_.size());
  return pos + n <= inicioJanela_ + bytesJanela_;
}

bool FluxoBiff::proximo() {
  const uint64_t pos = seguinte_;
  if (!garante(pos, 4)) return false;
  const unsigned char* h = &janela_[pos - inicioJanela_];
  const uint16_t tipo = le16(h);
  const size_t tamanho = le16(h + 2);
  dados_ = nullptr;
  if (!garante(pos, 4 + tamanho)) return false;
  tipo_ = tipo;
  tamanho_ = tamanho;
  posicao_ = pos;
  seguinte_ = pos + 4 + tamanho;
  dados_ = &janela_[pos + 4 - inicioJanela_];
  if (cifra_ && pos >= cifradoDesde_ && !registroSemCifra(tipo)) {
    claro_.assign(dados_, dados_ + tamanho);
    // The sheet's stream position in a BOUNDSHEET record stays in clear.
    cifra_->decifra(pos + 4, claro_.data(), tamanho, tipo == kBoundsheet ? std::min<size_t>(4, tamanho) : 0);
    dados_ = claro_.data();
  }
  return true;
}

uint16_t FluxoBiff::tipoSeguinte() {
  if (!garante(seguinte_, 4)) return 0;
  return le16(&janela_[seguinte_ - inicioJanela_]);
}

uint64_t FluxoBiff::bytesDasContinuacoes() {
  uint64_t total = 0;
  for (uint64_t pos = seguinte_; garante(pos, 4) && le16(&janela_[pos - inicioJanela_]) == kContinue;) {
    const size_t n = le16(&janela_[pos - inicioJanela_ + 2]);
    total += n;
    pos += 4 + n;
  }
  return total;
}

PaginaDeCodigo::PaginaDeCodigo(int codigo) {
  // 1252 and its aliases (32769 and the ANSI/ASCII ids) go through the program's own table.
  if (codigo == 1252 || codigo == 32769 || codigo == 367 || codigo == 1200 || codigo <= 0) return;
  if (codigo == 28591) {
    latin1_ = true;
    return;
  }
  const std::string nome = codigo == 10000 || codigo == 32768 ? "MACINTOSH" : "CP" + std::to_string(codigo);
  const iconv_t c = iconv_open("UTF-8", nome.c_str());
  if (c != reinterpret_cast<iconv_t>(-1)) iconv_ = c;
}

PaginaDeCodigo::~PaginaDeCodigo() {
  if (iconv_) iconv_close(static_cast<iconv_t>(iconv_));
}

void PaginaDeCodigo::acrescenta(const unsigned char* p, size_t n, std::string& destino) {
  if (latin1_) {
    destino += paraUtf8(std::u32string(p, p + n));
    return;
  }
  if (!iconv_) {
    destino += de1252(std::string_view(reinterpret_cast<const char*>(p), n));
    return;
  }
  // Bytes the code page has no character for are taken as Windows-1252.
  char* entrada = const_cast<char*>(reinterpret_cast<const char*>(p));
  size_t resta = n;
  iconv(static_cast<iconv_t>(iconv_), nullptr, nullptr, nullptr, nullptr);
  while (resta > 0) {
    char buf[1024];
    char* saida = buf;
    size_t livre = sizeof buf;
    const size_t r = iconv(static_cast<iconv_t>(iconv_), &entrada, &resta, &saida, &livre);
    destino.append(buf, static_cast<size_t>(saida - buf));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      destino += de1252(std::string_view(entrada, 1));
      ++entrada;
      --resta;
      iconv(static_cast<iconv_t>(iconv_), nullptr, nullptr, nullptr, nullptr);
    }
  }
}

bool CursorBiff::avanca() {
  while (p_ >= f_.tamanho()) {
    if (f_.tipoSeguinte() != kContinue || !f_.proximo()) return false;
    p_ = 0;
  }
  return true;
}

bool CursorBiff::u8(uint8_t& v) {
  if (!avanca()) return false;
  v = f_.dados()[p_++];
  return true;
}

bool CursorBiff::u16(uint16_t& v) {
  uint8_t a, b;
  if (!u8(a) || !u8(b)) return false;
  v = static_cast<uint16_t>(a | (b << 8));
  return true;
}

bool CursorBiff::u32(uint32_t& v) {
  uint16_t a, b;
  if (!u16(a) || !u16(b)) return false;
  v = a | (static_cast<uint32_t>(b) << 16);
  return true;
}

bool CursorBiff::pula(uint64_t n) {
  while (n > 0) {
    if (!avanca()) return false;
    const size_t k = static_cast<size_t>(std::min<uint64_t>(n, f_.tamanho() - p_));
    p_ += k;
    n -= k;
  }
  return true;
}

bool CursorBiff::caracteres(size_t n, uint8_t flags, std::string& destino) {
  bool largo = flags & 0x01;
  // UTF-16 units: a surrogate pair may be cut by a CONTINUE record, so all parts are joined first.
  std::u32string& unidades = unidades_;
  unidades.clear();
  while (n > 0) {
    if (p_ >= f_.tamanho()) {
      // The characters go on in a CONTINUE record, which begins with their flags again.
      if (f_.tipoSeguinte() != kContinue || !f_.proximo()) break;
      p_ = 0;
      if (f_.tamanho() == 0) continue;
      largo = f_.dados()[p_++] & 0x01;
      continue;
    }
    const unsigned char* d = f_.dados();
    const size_t largura = largo ? 2 : 1;
    const size_t k = std::min(n, (f_.tamanho() - p_) / largura);
    if (k == 0) {
      p_ = f_.tamanho();  // half a character left: skipped
      continue;
    }
    for (size_t i = 0; i < k; ++i)
      unidades += largo ? le16(d + p_ + 2 * i) : d[p_ + i];
    p_ += k * largura;
    n -= k;
  }
  // A high and a low surrogate make one character; a lone one stays, as the other readers keep it.
  size_t j = 0;
  for (size_t i = 0; i < unidades.size(); ++i, ++j) {
    const char32_t c = unidades[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < unidades.size() && unidades[i + 1] >= 0xDC00 &&
        unidades[i + 1] < 0xE000)
      unidades[j] = 0x10000 + ((c - 0xD800) << 10) + (unidades[++i] - 0xDC00);
    else
      unidades[j] = c;
  }
  unidades.resize(j);
  destino += paraUtf8(unidades);
  return n == 0;
}

bool CursorBiff::texto8(size_t n, std::string& destino) {
  uint8_t flags = 0;
  uint16_t runs = 0;
  uint32_t fonetico = 0;
  if (!u8(flags)) return false;
  if ((flags & 0x08) && !u16(runs)) return false;
  if ((flags & 0x04) && !u32(fonetico)) return false;
  if (!caracteres(n, flags, destino)) return false;
  return pula(4ull * runs + fonetico);
}

bool CursorBiff::bytes(size_t n, PaginaDeCodigo& pagina, std::string& destino) {
  while (n > 0) {
    if (!avanca()) return false;
    const size_t k = std::min(n, f_.tamanho() - p_);
    pagina.acrescenta(f_.dados() + p_, k, destino);
    p_ += k;
    n -= k;
  }
  return true;
}

}  // namespace zuv
