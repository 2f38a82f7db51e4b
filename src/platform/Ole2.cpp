#include "platform/Ole2.h"

#include <cstring>

#include <stdexcept>
#include "common/Texto.h"

namespace zuv {

namespace {

constexpr uint32_t kFimCadeia = 0xFFFFFFFE;
constexpr uint32_t kLivre = 0xFFFFFFFF;

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

ArquivoOle2::ArquivoOle2(std::vector<unsigned char> bytes) : b_(std::move(bytes)) {
  static const unsigned char kAssinatura[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (b_.size() < 512 || std::memcmp(b_.data(), kAssinatura, 8) != 0) quebrado("cabeçalho");
  const uint16_t deslocamento = u16(&b_[0x1E]);
  if (deslocamento != 9 && deslocamento != 12) quebrado("tamanho de setor");
  tamanhoSetor_ = 1u << deslocamento;
  corteMini_ = u32(&b_[0x38]);
  const uint32_t setoresArquivo = static_cast<uint32_t>(b_.size() / tamanhoSetor_);

  // The FAT's own sectors: 109 in the header, the rest in the DIFAT chain.
  std::vector<uint32_t> setoresFat;
  const uint32_t numFat = u32(&b_[0x2C]);
  if (numFat > setoresArquivo) quebrado("FAT");
  for (int i = 0; i < 109 && setoresFat.size() < numFat; ++i)
    setoresFat.push_back(u32(&b_[0x4C + 4 * i]));
  uint32_t difat = u32(&b_[0x44]);
  for (uint32_t passos = 0; setoresFat.size() < numFat && difat < kFimCadeia; ++passos) {
    if (passos > setoresArquivo) quebrado("DIFAT");
    const unsigned char* s = setor(difat);
    const uint32_t n = tamanhoSetor_ / 4 - 1;
    for (uint32_t i = 0; i < n && setoresFat.size() < numFat; ++i)
      setoresFat.push_back(u32(s + 4 * i));
    difat = u32(s + 4 * n);
  }
  for (uint32_t s : setoresFat) {
    const unsigned char* p = setor(s);
    for (uint32_t i = 0; i < tamanhoSetor_ / 4; ++i)
      fat_.push_back(u32(p + 4 * i));
  }

  const std::vector<unsigned char> dir = cadeia(u32(&b_[0x30]), UINT64_MAX);
  for (size_t off = 0; off + 128 <= dir.size(); off += 128) {
    const unsigned char* e = &dir[off];
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

  // Small streams live in the mini stream, held by the root entry and mapped by the mini FAT.
  const std::vector<unsigned char> mf = cadeia(u32(&b_[0x3C]), UINT64_MAX);
  for (size_t i = 0; i + 4 <= mf.size(); i += 4)
    miniFat_.push_back(u32(&mf[i]));
  if (entradas_[0].inicio < kFimCadeia) miniFluxo_ = cadeia(entradas_[0].inicio, entradas_[0].tamanho);
}

const unsigned char* ArquivoOle2::setor(uint32_t n) const {
  const uint64_t off = (static_cast<uint64_t>(n) + 1) * tamanhoSetor_;
  if (n >= kFimCadeia - 5 || off + tamanhoSetor_ > b_.size()) quebrado("setor fora do arquivo");
  return &b_[off];
}

std::vector<unsigned char> ArquivoOle2::cadeia(uint32_t inicio, uint64_t tamanho) const {
  std::vector<unsigned char> r;
  const size_t maxPassos = b_.size() / tamanhoSetor_ + 1;
  for (size_t passos = 0; inicio != kFimCadeia && inicio != kLivre && r.size() < tamanho; ++passos) {
    if (passos > maxPassos || inicio >= fat_.size()) quebrado("cadeia de setores");
    const unsigned char* s = setor(inicio);
    r.insert(r.end(), s, s + tamanhoSetor_);
    inicio = fat_[inicio];
  }
  if (tamanho != UINT64_MAX) {
    if (r.size() < tamanho) quebrado("fluxo incompleto");
    r.resize(tamanho);
  }
  return r;
}

std::vector<unsigned char> ArquivoOle2::cadeiaMini(uint32_t inicio, uint64_t tamanho) const {
  std::vector<unsigned char> r;
  const size_t maxPassos = miniFat_.size() + 1;
  for (size_t passos = 0; inicio != kFimCadeia && r.size() < tamanho; ++passos) {
    const uint64_t off = static_cast<uint64_t>(inicio) * 64;
    if (passos > maxPassos || inicio >= miniFat_.size() || off + 64 > miniFluxo_.size())
      quebrado("cadeia de mini setores");
    r.insert(r.end(), miniFluxo_.begin() + off, miniFluxo_.begin() + off + 64);
    inicio = miniFat_[inicio];
  }
  if (r.size() < tamanho) quebrado("fluxo incompleto");
  r.resize(tamanho);
  return r;
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

std::optional<std::vector<unsigned char>> ArquivoOle2::fluxo(const std::string& nome) const {
  const Entrada* e = procura(nome);
  if (!e) return std::nullopt;
  if (e->tamanho > b_.size()) quebrado("tamanho de fluxo");
  if (e->tamanho < corteMini_) return cadeiaMini(e->inicio, e->tamanho);
  return cadeia(e->inicio, e->tamanho);
}

namespace {

// An XLUnicodeString body (after its character count): flags, then 8-bit Latin-1 or UTF-16LE
// characters. Returns the text in UTF-8.
std::string stringBiff(const unsigned char* p, const unsigned char* fim, size_t caracteres) {
  if (p >= fim) return {};
  const bool largo = *p & 0x01;
  ++p;
  std::u32string s;
  for (size_t i = 0; i < caracteres && p + (largo ? 2 : 1) <= fim; ++i) {
    s += largo ? static_cast<char32_t>(u16(p)) : static_cast<char32_t>(*p);
    p += largo ? 2 : 1;
  }
  return paraUtf8(s);
}

const char* textoErroBiff(unsigned codigo) {
  switch (codigo) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return "#ERRO";
  }
}

}  // namespace

namespace {

void poe16(std::vector<unsigned char>& b, size_t off, uint16_t v) {
  b[off] = static_cast<unsigned char>(v);
  b[off + 1] = static_cast<unsigned char>(v >> 8);
}
void poe32(std::vector<unsigned char>& b, size_t off, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[off + i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

std::vector<unsigned char> ole2ComUmFluxo(const std::string& nome, const std::vector<unsigned char>& fluxo) {
  constexpr size_t S = 4096;
  // A stream under 4096 bytes would live in the mini stream: pad it (the BIFF records end at EOF).
  const size_t tamanho = std::max(fluxo.size(), S);
  const size_t setoresFluxo = (tamanho + S - 1) / S;
  size_t setoresFat = 1;
  while (setoresFat * (S / 4) < setoresFluxo + 1 + setoresFat)
    ++setoresFat;
  if (setoresFat > 109) throw std::runtime_error("fluxo grande demais");
  const size_t dir = setoresFluxo;  // sectors: stream, directory, FAT
  std::vector<unsigned char> b(S * (1 + setoresFluxo + 1 + setoresFat), 0);
  static const unsigned char kAssinatura[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::memcpy(b.data(), kAssinatura, 8);
  poe16(b, 0x18, 0x3E);
  poe16(b, 0x1A, 4);
  poe16(b, 0x1C, 0xFFFE);
  poe16(b, 0x1E, 12);
  poe16(b, 0x20, 6);
  poe32(b, 0x28, 1);
  poe32(b, 0x2C, static_cast<uint32_t>(setoresFat));
  poe32(b, 0x30, static_cast<uint32_t>(dir));
  poe32(b, 0x38, 4096);
  poe32(b, 0x3C, kFimCadeia);
  poe32(b, 0x44, kFimCadeia);
  for (size_t i = 0; i < 109; ++i)
    poe32(b, 0x4C + 4 * i, i < setoresFat ? static_cast<uint32_t>(dir + 1 + i) : kLivre);
  std::copy(fluxo.begin(), fluxo.end(), b.begin() + S);

  // Directory: the root and the one stream.
  const size_t d = S * (1 + dir);
  auto entrada = [&](size_t off, const std::string& n, unsigned char tipo, uint32_t filho, uint32_t inicio,
                     uint32_t tam) {
    for (size_t i = 0; i < n.size() && i < 31; ++i)
      poe16(b, off + 2 * i, static_cast<unsigned char>(n[i]));
    poe16(b, off + 64, static_cast<uint16_t>(2 * (std::min<size_t>(n.size(), 31) + 1)));
    b[off + 66] = tipo;
    b[off + 67] = 1;  // black
    poe32(b, off + 68, kLivre);
    poe32(b, off + 72, kLivre);
    poe32(b, off + 76, filho);
    poe32(b, off + 116, inicio);
    poe32(b, off + 120, tam);
  };
  entrada(d, "Root Entry", 5, 1, kFimCadeia, 0);
  entrada(d + 128, nome, 2, kLivre, 0, static_cast<uint32_t>(tamanho));
  for (size_t off = d + 256; off < d + S; off += 128) {
    poe32(b, off + 68, kLivre);
    poe32(b, off + 72, kLivre);
    poe32(b, off + 76, kLivre);
  }

  const size_t f = S * (1 + dir + 1);
  for (size_t i = 0; i < setoresFat * (S / 4); ++i) {
    uint32_t v = kLivre;
    if (i + 1 < setoresFluxo)
      v = static_cast<uint32_t>(i + 1);
    else if (i + 1 == setoresFluxo || i == dir)
      v = kFimCadeia;
    else if (i > dir && i <= dir + setoresFat)
      v = 0xFFFFFFFD;  // FAT sectors
    poe32(b, f + 4 * i, v);
  }
  return b;
}

bool estruturaBiffValida(const std::vector<unsigned char>& livro, size_t maiorRegistro) {
  size_t off = 0;
  while (off + 4 <= livro.size()) {
    const size_t tam = u16(&livro[off + 2]);
    if (tam > maiorRegistro || off + 4 + tam > livro.size()) return false;
    // Strings whose length runs past their record (BIFF8 FORMAT, BOUNDSHEET, LABEL).
    const unsigned char* d = &livro[off + 4];
    const uint16_t tipo = u16(&livro[off]);
    auto cabe = [&](size_t posCch, bool cch16) {
      const size_t posFlags = posCch + (cch16 ? 2 : 1);
      if (posFlags >= tam) return posFlags == tam;
      const size_t cch = cch16 ? u16(d + posCch) : d[posCch];
      return posFlags + 1 + cch * ((d[posFlags] & 1) ? 2 : 1) <= tam;
    };
    if (maiorRegistro == 8224 && ((tipo == 0x041E && !cabe(2, true)) || (tipo == 0x0085 && !cabe(6, false)) ||
                                  (tipo == 0x0204 && !cabe(6, true))))
      return false;
    off += 4 + tam;
  }
  return true;
}

bool biffProtegido(const std::vector<unsigned char>& livro) {
  for (size_t off = 0; off + 4 <= livro.size(); off += 4 + u16(&livro[off + 2])) {
    const uint16_t tipo = u16(&livro[off]);
    if (tipo == 0x002F) return true;
    if (tipo == 0x000A) break;
  }
  return false;
}

InfoBiff leInfoBiff(const std::vector<unsigned char>& livro, int64_t limiteFormulas) {
  InfoBiff info;
  std::vector<uint32_t> folhas;  // stream offsets of the sheets' BOF records (BOUNDSHEET)
  size_t off = 0;
  auto registro = [&](uint16_t& tipo, uint16_t& tam, const unsigned char*& d) {
    if (off + 4 > livro.size()) return false;
    tipo = u16(&livro[off]);
    tam = u16(&livro[off + 2]);
    d = &livro[off + 4];
    if (off + 4 + tam > livro.size()) return false;
    off += 4 + tam;
    return true;
  };
  uint16_t tipo, tam;
  const unsigned char* d;
  // Globals: up to the first EOF.
  while (registro(tipo, tam, d)) {
    if (tipo == 0x002F) info.protegida = true;
    if (tipo == 0x003D && tam >= 12) info.abaAtiva = u16(d + 10);
    if (tipo == 0x0022 && tam >= 2) info.base1904 = u16(d) == 1;
    if (tipo == 0x0085 && tam >= 4) folhas.push_back(u32(d));
    if (tipo == 0x00E0 && tam >= 4 && info.formatoDoXf.size() < 65536) info.formatoDoXf.push_back(u16(d + 2));
    if (tipo == 0x041E && tam >= 5) info.formatos[u16(d)] = stringBiff(d + 4, d + tam, u16(d + 2));
    if (tipo == 0x000A) break;
  }
  // Every sheet: the size it claims.
  while (registro(tipo, tam, d)) {
    if (tipo == 0x0200 && tam >= 14) {
      // DIMENSIONS (BIFF8): first row, last row + 1 (32 bits), first column, last column + 1.
      const uint64_t linhas = u32(d + 4) > u32(d) ? u32(d + 4) - u32(d) : 0;
      const uint64_t colunas = u16(d + 10) > u16(d + 8) ? u16(d + 10) - u16(d + 8) : 0;
      info.maiorFolha = std::max(info.maiorFolha, linhas * colunas);
    }
  }
  // The active sheet: the cached results of its formulas.
  const size_t ativa =
      info.abaAtiva >= 0 && static_cast<size_t>(info.abaAtiva) < folhas.size() ? info.abaAtiva : 0;
  if (folhas.empty()) return info;
  off = folhas[ativa];
  FormulaXls* textoPendente = nullptr;  // a string result comes in the STRING record that follows
  while (registro(tipo, tam, d) && tipo != 0x000A) {
    if (tipo == 0x0006 && tam >= 20) {
      textoPendente = nullptr;
      if (static_cast<int64_t>(info.formulas.size()) >= limiteFormulas) continue;
      FormulaXls f;
      f.xf = u16(d + 4);
      const unsigned char* r = d + 6;
      if (r[6] == 0xFF && r[7] == 0xFF) {
        if (r[0] == 0) {
          f.tipo = FormulaXls::Texto;
        } else if (r[0] == 1) {
          f.tipo = FormulaXls::Booleano;
          f.numero = r[2];
        } else if (r[0] == 2) {
          f.tipo = FormulaXls::Erro;
          f.texto = textoErroBiff(r[2]);
        } else {
          f.tipo = FormulaXls::Texto;  // an empty string
        }
      } else {
        std::memcpy(&f.numero, r, 8);
      }
      auto& destino = info.formulas[{u16(d) + 1, u16(d + 2) + 1}] = std::move(f);
      if (destino.tipo == FormulaXls::Texto && r[0] == 0) textoPendente = &destino;
    } else if (tipo == 0x0207 && tam >= 3 && textoPendente) {
      textoPendente->texto = stringBiff(d + 2, d + tam, u16(d));
      textoPendente = nullptr;
    }
  }
  return info;
}

}  // namespace zuv
