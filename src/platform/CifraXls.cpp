#include "platform/CifraXls.h"

#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace zuv {

namespace {

// Excel's password for workbooks that open without asking one.
constexpr char kSenhaPadrao[] = "VelvetSweatshop";
constexpr size_t kBloco = 1024;  // RC4 starts a new key every 1024 bytes of the stream

uint16_t u16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t u32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint32_t rotl(uint32_t x, int n) {
  return (x << n) | (x >> (32 - n));
}

// The password as UTF-16LE bytes (it is ASCII).
std::vector<unsigned char> senhaUtf16() {
  std::vector<unsigned char> r;
  for (const char* c = kSenhaPadrao; *c; ++c) {
    r.push_back(static_cast<unsigned char>(*c));
    r.push_back(0);
  }
  return r;
}

using Md5 = std::array<unsigned char, 16>;
using Sha1 = std::array<unsigned char, 20>;

// Merkle-Damgard padding shared by MD5 (little-endian length) and SHA-1 (big-endian length).
std::vector<unsigned char> completa(std::vector<unsigned char> m, bool grandeEndian) {
  const uint64_t bits = static_cast<uint64_t>(m.size()) * 8;
  m.push_back(0x80);
  while (m.size() % 64 != 56)
    m.push_back(0);
  for (int i = 0; i < 8; ++i)
    m.push_back(static_cast<unsigned char>(bits >> (grandeEndian ? 56 - 8 * i : 8 * i)));
  return m;
}

Md5 md5(std::vector<unsigned char> m) {
  static const int kDesloca[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                   5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                   4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                   6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
  static const auto kSeno = [] {
    std::array<uint32_t, 64> k{};
    for (int i = 0; i < 64; ++i)
      k[i] = static_cast<uint32_t>(std::floor(std::fabs(std::sin(i + 1.0)) * 4294967296.0));
    return k;
  }();
  m = completa(std::move(m), false);
  uint32_t h[4] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
  for (size_t b = 0; b < m.size(); b += 64) {
    uint32_t w[16];
    for (int i = 0; i < 16; ++i)
      w[i] = u32(&m[b + 4 * i]);
    uint32_t a = h[0], bb = h[1], c = h[2], d = h[3];
    for (int i = 0; i < 64; ++i) {
      uint32_t f;
      int g;
      if (i < 16) {
        f = (bb & c) | (~bb & d);
        g = i;
      } else if (i < 32) {
        f = (d & bb) | (~d & c);
        g = (5 * i + 1) % 16;
      } else if (i < 48) {
        f = bb ^ c ^ d;
        g = (3 * i + 5) % 16;
      } else {
        f = c ^ (bb | ~d);
        g = (7 * i) % 16;
      }
      const uint32_t t = d;
      d = c;
      c = bb;
      bb = bb + rotl(a + f + kSeno[i] + w[g], kDesloca[i]);
      a = t;
    }
    h[0] += a;
    h[1] += bb;
    h[2] += c;
    h[3] += d;
  }
  Md5 r;
  for (int i = 0; i < 16; ++i)
    r[i] = static_cast<unsigned char>(h[i / 4] >> (8 * (i % 4)));
  return r;
}

Sha1 sha1(std::vector<unsigned char> m) {
  m = completa(std::move(m), true);
  uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  for (size_t b = 0; b < m.size(); b += 64) {
    uint32_t w[80];
    for (int i = 0; i < 16; ++i)
      w[i] = (static_cast<uint32_t>(m[b + 4 * i]) << 24) | (m[b + 4 * i + 1] << 16) |
             (m[b + 4 * i + 2] << 8) | m[b + 4 * i + 3];
    for (int i = 16; i < 80; ++i)
      w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    uint32_t a = h[0], bb = h[1], c = h[2], d = h[3], e = h[4];
    for (int i = 0; i < 80; ++i) {
      uint32_t f, k;
      if (i < 20) {
        f = (bb & c) | (~bb & d);
        k = 0x5A827999;
      } else if (i < 40) {
        f = bb ^ c ^ d;
        k = 0x6ED9EBA1;
      } else if (i < 60) {
        f = (bb & c) | (bb & d) | (c & d);
        k = 0x8F1BBCDC;
      } else {
        f = bb ^ c ^ d;
        k = 0xCA62C1D6;
      }
      const uint32_t t = rotl(a, 5) + f + e + k + w[i];
      e = d;
      d = c;
      c = rotl(bb, 30);
      bb = a;
      a = t;
    }
    h[0] += a;
    h[1] += bb;
    h[2] += c;
    h[3] += d;
    h[4] += e;
  }
  Sha1 r;
  for (int i = 0; i < 20; ++i)
    r[i] = static_cast<unsigned char>(h[i / 4] >> (24 - 8 * (i % 4)));
  return r;
}

class Rc4 {
 public:
  Rc4(const unsigned char* chave, size_t n) {
    for (int i = 0; i < 256; ++i)
      s_[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
      j = (j + s_[i] + chave[i % n]) & 0xFF;
      std::swap(s_[i], s_[j]);
    }
  }
  unsigned char proximo() {
    i_ = (i_ + 1) & 0xFF;
    j_ = (j_ + s_[i_]) & 0xFF;
    std::swap(s_[i_], s_[j_]);
    return s_[(s_[i_] + s_[j_]) & 0xFF];
  }

 private:
  unsigned char s_[256];
  int i_ = 0, j_ = 0;
};

// RC4 over the stream: block n of 1024 bytes has its own key, derived from the password.
class CifraRc4 : public CifraXls {
 public:
  // base: what the key of each block is hashed from, before the block's number.
  CifraRc4(std::vector<unsigned char> base, bool cryptoApi, size_t bytesChave)
      : base_(std::move(base)), cryptoApi_(cryptoApi), bytesChave_(bytesChave) {}

  std::array<unsigned char, 16> chave(uint32_t bloco) const {
    std::vector<unsigned char> m = base_;
    for (int i = 0; i < 4; ++i)
      m.push_back(static_cast<unsigned char>(bloco >> (8 * i)));
    std::array<unsigned char, 16> k{};
    if (cryptoApi_) {
      const Sha1 h = sha1(std::move(m));
      std::memcpy(k.data(), h.data(), bytesChave_);  // a 40-bit key is padded with zeros to 128 bits
    } else {
      k = md5(std::move(m));
    }
    return k;
  }

  void decifra(uint64_t pos, unsigned char* dados, size_t tamanho, size_t desde) override {
    for (size_t i = desde; i < tamanho; ++i) {
      posiciona(pos + i);
      dados[i] ^= rc4_->proximo();
      ++posicao_;
    }
  }

 private:
  // Makes the key stream stand at stream position p: a new key at each block, skipping ahead
  // within one (the record headers in between are not encrypted but take their place).
  void posiciona(uint64_t p) {
    const uint64_t bloco = p / kBloco;
    if (!rc4_ || bloco != bloco_ || p < posicao_) {
      const auto k = chave(static_cast<uint32_t>(bloco));
      rc4_.emplace(k.data(), k.size());
      bloco_ = bloco;
      posicao_ = bloco * kBloco;
    }
    for (; posicao_ < p; ++posicao_)
      rc4_->proximo();
  }

  std::vector<unsigned char> base_;
  bool cryptoApi_;
  size_t bytesChave_;
  std::optional<Rc4> rc4_;
  uint64_t bloco_ = 0, posicao_ = 0;
};

// XOR obfuscation (method 1): a 16-byte array made from the password, applied by the position.
class CifraXor : public CifraXls {
 public:
  explicit CifraXor(std::array<unsigned char, 16> tabela) : tabela_(tabela) {}
  void decifra(uint64_t pos, unsigned char* dados, size_t tamanho, size_t desde) override {
    for (size_t i = desde; i < tamanho; ++i) {
      const unsigned char v = dados[i] ^ tabela_[(pos + tamanho + i) & 0x0F];
      dados[i] = static_cast<unsigned char>((v << 3) | (v >> 5));
    }
  }

 private:
  std::array<unsigned char, 16> tabela_;
};

unsigned char rotacionaDireita1(unsigned char v) {
  return static_cast<unsigned char>((v >> 1) | (v << 7));
}

// The key and verifier of the XOR method for the default password.
uint16_t chaveXor() {
  static const uint16_t kInicial[15] = {0xE1F0, 0x1D0F, 0xCC9C, 0x84C0, 0x110C, 0x0E10, 0xF1CE, 0x313E,
                                        0x1872, 0xE139, 0xD40F, 0x84F9, 0x280C, 0xA96A, 0x4EC3};
  static const uint16_t kMatriz[105] = {
      0xAEFC, 0x4DD9, 0x9BB2, 0x2745, 0x4E8A, 0x9D14, 0x2A09, 0x7B61, 0xF6C2, 0xFDA5, 0xEB6B, 0xC6F7,
      0x9DCF, 0x2BBF, 0x4563, 0x8AC6, 0x05AD, 0x0B5A, 0x16B4, 0x2D68, 0x5AD0, 0x0375, 0x06EA, 0x0DD4,
      0x1BA8, 0x3750, 0x6EA0, 0xDD40, 0xD849, 0xA0B3, 0x5147, 0xA28E, 0x553D, 0xAA7A, 0x44D5, 0x6F45,
      0xDE8A, 0xAD35, 0x4A4B, 0x9496, 0x390D, 0x721A, 0xEB23, 0xC667, 0x9CEF, 0x29FF, 0x53FE, 0xA7FC,
      0x5FD9, 0x47D3, 0x8FA6, 0x0F6D, 0x1EDA, 0x3DB4, 0x7B68, 0xF6D0, 0xB861, 0x60E3, 0xC1C6, 0x93AD,
      0x377B, 0x6EF6, 0xDDEC, 0x45A0, 0x8B40, 0x06A1, 0x0D42, 0x1A84, 0x3508, 0x6A10, 0xAA51, 0x4483,
      0x8906, 0x022D, 0x045A, 0x08B4, 0x1168, 0x76B4, 0xED68, 0xCAF1, 0x85C3, 0x1BA7, 0x374E, 0x6E9C,
      0x3730, 0x6E60, 0xDCC0, 0xA9A1, 0x4363, 0x86C6, 0x1DAD, 0x3331, 0x6662, 0xCCC4, 0x89A9, 0x0373,
      0x06E6, 0x0DCC, 0x1021, 0x2042, 0x4084, 0x8108, 0x1231, 0x2462, 0x48C4};
  const size_t n = sizeof kSenhaPadrao - 1;
  uint16_t chave = kInicial[n - 1];
  int elemento = 0x68;
  for (size_t i = n; i-- > 0;) {
    unsigned char c = static_cast<unsigned char>(kSenhaPadrao[i]);
    for (int k = 0; k < 7; ++k, --elemento, c = static_cast<unsigned char>(c << 1))
      if (c & 0x40) chave ^= kMatriz[elemento];
  }
  return chave;
}

uint16_t verificadorXor() {
  const size_t n = sizeof kSenhaPadrao - 1;
  uint16_t v = 0;
  for (size_t i = n + 1; i-- > 0;) {
    const unsigned char b =
        i == 0 ? static_cast<unsigned char>(n) : static_cast<unsigned char>(kSenhaPadrao[i - 1]);
    v = static_cast<uint16_t>((((v >> 14) & 1) | ((v << 1) & 0x7FFF)) ^ b);
  }
  return v ^ 0xCE4B;
}

std::array<unsigned char, 16> tabelaXor(uint16_t chave) {
  static const unsigned char kPreenche[15] = {0xBB, 0xFF, 0xFF, 0xBA, 0xFF, 0xFF, 0xB9, 0x80,
                                              0x00, 0xBE, 0x0F, 0x00, 0xBF, 0x0F, 0x00};
  const unsigned char* senha = reinterpret_cast<const unsigned char*>(kSenhaPadrao);
  const int n = sizeof kSenhaPadrao - 1;
  const unsigned char alto = static_cast<unsigned char>(chave >> 8),
                      baixo = static_cast<unsigned char>(chave);
  std::array<unsigned char, 16> t{};
  int i = n;
  if (i & 1) {
    t[i] = rotacionaDireita1(kPreenche[0] ^ alto);
    --i;
    t[i] = rotacionaDireita1(senha[n - 1] ^ baixo);
  }
  while (i > 0) {
    --i;
    t[i] = rotacionaDireita1(senha[i] ^ alto);
    --i;
    t[i] = rotacionaDireita1(senha[i] ^ baixo);
  }
  i = 15;
  for (int p = 15 - n; p > 0;) {
    t[i--] = rotacionaDireita1(kPreenche[p--] ^ alto);
    t[i--] = rotacionaDireita1(kPreenche[p--] ^ baixo);
  }
  return t;
}

// RC4 (MD5 key, version 1.1): the salt and the encrypted verifier and its hash.
std::unique_ptr<CifraXls> cifraRc4(const unsigned char* d, size_t n) {
  if (n < 52) return nullptr;
  const Md5 h0 = md5(senhaUtf16());
  std::vector<unsigned char> m;
  for (int i = 0; i < 16; ++i) {
    m.insert(m.end(), h0.begin(), h0.begin() + 5);
    m.insert(m.end(), d + 4, d + 20);
  }
  const Md5 h1 = md5(std::move(m));
  auto cifra = std::make_unique<CifraRc4>(std::vector<unsigned char>(h1.begin(), h1.begin() + 5), false, 16);
  const auto k = cifra->chave(0);
  Rc4 rc4(k.data(), k.size());
  std::vector<unsigned char> verificador(d + 20, d + 36);
  unsigned char hash[16];
  for (auto& b : verificador)
    b ^= rc4.proximo();
  for (int i = 0; i < 16; ++i)
    hash[i] = d[36 + i] ^ rc4.proximo();
  const Md5 esperado = md5(std::move(verificador));
  if (std::memcmp(esperado.data(), hash, 16) != 0) return nullptr;
  return cifra;
}

// RC4 CryptoAPI (SHA-1 key): an encryption header and a verifier of variable size.
std::unique_ptr<CifraXls> cifraCryptoApi(const unsigned char* d, size_t n) {
  if (n < 12) return nullptr;
  const uint32_t tamanhoCabecalho = u32(d + 8);
  if (tamanhoCabecalho < 32 || tamanhoCabecalho > n - 12) return nullptr;
  const unsigned char* cab = d + 12;
  const uint32_t algoritmo = u32(cab + 8), hash = u32(cab + 12);
  uint32_t bitsChave = u32(cab + 16);
  if ((algoritmo != 0 && algoritmo != 0x6801) || (hash != 0 && hash != 0x8004)) return nullptr;
  if (bitsChave == 0) bitsChave = 40;
  if (bitsChave < 40 || bitsChave > 128 || bitsChave % 8) return nullptr;
  const unsigned char* v = cab + tamanhoCabecalho;
  const size_t resto = n - 12 - tamanhoCabecalho;
  if (resto < 4 + 16 + 16 + 4 + 20 || u32(v) != 16) return nullptr;
  std::vector<unsigned char> m(v + 4, v + 20);
  const auto senha = senhaUtf16();
  m.insert(m.end(), senha.begin(), senha.end());
  const Sha1 h0 = sha1(std::move(m));
  auto cifra =
      std::make_unique<CifraRc4>(std::vector<unsigned char>(h0.begin(), h0.end()), true, bitsChave / 8);
  const auto k = cifra->chave(0);
  Rc4 rc4(k.data(), k.size());
  std::vector<unsigned char> verificador(v + 20, v + 36);
  for (auto& b : verificador)
    b ^= rc4.proximo();
  unsigned char hashVerificador[20];
  for (int i = 0; i < 20; ++i)
    hashVerificador[i] = v[40 + i] ^ rc4.proximo();
  const Sha1 esperado = sha1(std::move(verificador));
  if (std::memcmp(esperado.data(), hashVerificador, 20) != 0) return nullptr;
  return cifra;
}

}  // namespace

std::unique_ptr<CifraXls> cifraComSenhaPadrao(const unsigned char* d, size_t n, bool biff8) {
  // BIFF5 XOR: key and verifier; BIFF8: the method first (0 XOR, 1 RC4 of either kind).
  if (!biff8) {
    if (n < 4 || u16(d) != chaveXor() || u16(d + 2) != verificadorXor()) return nullptr;
    return std::make_unique<CifraXor>(tabelaXor(chaveXor()));
  }
  if (n < 2) return nullptr;
  if (u16(d) == 0) {
    if (n < 6 || u16(d + 2) != chaveXor() || u16(d + 4) != verificadorXor()) return nullptr;
    return std::make_unique<CifraXor>(tabelaXor(chaveXor()));
  }
  if (u16(d) != 1 || n < 6) return nullptr;
  const uint16_t maior = u16(d + 2), menor = u16(d + 4);
  if (maior == 1 && menor == 1) return cifraRc4(d + 2, n - 2);
  if (maior >= 2 && maior <= 4 && menor == 2) return cifraCryptoApi(d + 2, n - 2);
  return nullptr;
}

bool registroSemCifra(uint16_t tipo) {
  switch (tipo) {
    case 0x0809:  // BOF
    case 0x0009:
    case 0x0209:
    case 0x0409:
    case 0x002F:  // FILEPASS
    case 0x0194:  // USREXCL
    case 0x0195:  // FILELOCK
    case 0x00E1:  // INTERFACEHDR
    case 0x0196:  // RRDINFO
    case 0x0138:  // RRDHEAD
      return true;
    default:
      return false;
  }
}

}  // namespace zuv
