#include "platform/Ole2.h"

#include <cstring>
#include <stdexcept>

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

std::string minusculas(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
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

InfoBiff leInfoBiff(const std::vector<unsigned char>& livro) {
  InfoBiff info;
  bool globais = true;
  for (size_t off = 0; off + 4 <= livro.size();) {
    const uint16_t tipo = u16(&livro[off]);
    const uint16_t tam = u16(&livro[off + 2]);
    const unsigned char* d = &livro[off + 4];
    if (off + 4 + tam > livro.size()) break;
    if (globais) {
      if (tipo == 0x002F) info.protegida = true;
      if (tipo == 0x003D && tam >= 12) info.abaAtiva = u16(d + 10);
      if (tipo == 0x000A) globais = false;
    } else if (tipo == 0x0200 && tam >= 14) {
      // DIMENSIONS (BIFF8): first row, last row + 1 (32 bits), first column, last column + 1.
      const uint64_t linhas = u32(d + 4) > u32(d) ? u32(d + 4) - u32(d) : 0;
      const uint64_t colunas = u16(d + 10) > u16(d + 8) ? u16(d + 10) - u16(d + 8) : 0;
      info.maiorFolha = std::max(info.maiorFolha, linhas * colunas);
    }
    off += 4 + tam;
  }
  return info;
}

}  // namespace zuv
