#include "platform/Planilha.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "common/Erro.h"
#include "common/Regional.h"
#include "common/Texto.h"
#include "platform/LeitorXls.h"
#include "platform/LeitorXlsx.h"
#include "platform/Ole2.h"
#include "platform/ZipPlanilha.h"

namespace zuv {

void falhaLeitura(const std::string& caminho, const std::string& problema) {
  throw ErroPlanilha("Não foi possível ler a planilha \"" + caminho + "\": " + problema + ".");
}

namespace {

std::unique_ptr<LeitorPlanilha> abreOle2(const std::string& caminho, const LimitesLeitura& limites,
                                         uint64_t tamanho, int estilo) {
  if (tamanho > limites.bytesDescomprimidos)
    falhaLeitura(caminho,
                 "o arquivo passa do limite de " + std::to_string(limites.bytesDescomprimidos) + " bytes");
  std::ifstream f(caminho, std::ios::binary);
  std::vector<unsigned char> bytes(tamanho);
  if (!f.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(tamanho)))
    falhaLeitura(caminho, "o arquivo não pôde ser lido");
  InfoBiff info;
  std::vector<unsigned char> limpo;
  try {
    ArquivoOle2 ole(std::move(bytes));
    // An .xlsx saved with a password is an OLE2 file holding the encrypted package.
    if (ole.temFluxo("EncryptionInfo") || ole.temFluxo("EncryptedPackage"))
      falhaLeitura(caminho, "planilha protegida por senha");
    std::string nome = "Workbook";
    auto livro = ole.fluxo(nome);
    size_t maiorRegistro = 8224;
    if (!livro) {
      nome = "Book";
      livro = ole.fluxo(nome);
      maiorRegistro = 2080;
    }
    if (!livro)
      falhaLeitura(caminho, "o arquivo não é uma planilha do Excel (documento OLE2 sem pasta de trabalho)");
    // An encrypted workbook's records hold ciphertext: it is protected, not damaged.
    if (biffProtegido(*livro)) falhaLeitura(caminho, "planilha protegida por senha");
    if (!estruturaBiffValida(*livro, maiorRegistro))
      falhaLeitura(caminho, "o arquivo está danificado (registro do .xls fora do tamanho do fluxo)");
    info = leInfoBiff(*livro, limites.celulas);
    limpo = ole2ComUmFluxo(nome, *livro);
  } catch (const std::runtime_error& e) {
    if (dynamic_cast<const ErroPlanilha*>(&e)) throw;
    falhaLeitura(caminho, std::string("o arquivo está danificado (") + e.what() + ")");
  }
  if (info.maiorFolha > static_cast<uint64_t>(limites.celulas))
    falhaLeitura(caminho, "a planilha passa do limite de " + std::to_string(limites.celulas) + " células");

  // FreeXL opens files by name: it gets a plain copy of the workbook stream alone, made here, so
  // only a container this reader has checked reaches it. The copy is gone once FreeXL has read it.
  std::string copia = (std::filesystem::temp_directory_path() / "zuvxlsXXXXXX").string();
  const int fd = mkstemp(copia.data());
  if (fd < 0) falhaLeitura(caminho, "sem espaço temporário para ler o .xls");
  struct Remove {
    std::string p;
    ~Remove() { std::remove(p.c_str()); }
  } remove{copia};
  const bool escrito = ::write(fd, limpo.data(), limpo.size()) == static_cast<ssize_t>(limpo.size());
  ::close(fd);
  if (!escrito) falhaLeitura(caminho, "sem espaço temporário para ler o .xls");
  return abreXls(copia, caminho, std::move(info), estilo, limites);
}

// Tabs, line breaks and backslashes as \t, \n, \r and \\; other control characters, lone
// surrogates and bytes that are not UTF-8 as textoVisivel writes them.
std::string escapaLinha(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  size_t inicio = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const char* e = c == '\t' ? "\\t" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\\' ? "\\\\" : nullptr;
    if (!e) continue;
    r += textoVisivel(std::string_view(s).substr(inicio, i - inicio));
    r += e;
    inicio = i + 1;
  }
  return r + textoVisivel(std::string_view(s).substr(inicio));
}

}  // namespace

std::unique_ptr<LeitorPlanilha> abrePlanilha(const std::string& caminho, LimitesLeitura limites) {
  struct stat st {};
  if (::stat(caminho.c_str(), &st) != 0) falhaLeitura(caminho, "arquivo não encontrado");
  if (!S_ISREG(st.st_mode)) falhaLeitura(caminho, "o caminho não é um arquivo");
  unsigned char assinatura[8] = {};
  {
    std::ifstream f(caminho, std::ios::binary);
    if (!f)
      falhaLeitura(caminho, "o arquivo não pôde ser aberto (" + std::string(std::strerror(errno)) + ")");
    f.read(reinterpret_cast<char*>(assinatura), sizeof assinatura);
    if (f.gcount() == 0) falhaLeitura(caminho, "o arquivo está vazio");
  }
  static const unsigned char kZip[4] = {'P', 'K', 3, 4};
  static const unsigned char kOle2[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  const int estilo = estiloDaLeitura();
  try {
    if (std::memcmp(assinatura, kZip, 4) == 0) return abreXlsx(caminho, limites, estilo);
    if (std::memcmp(assinatura, kOle2, 8) == 0)
      return abreOle2(caminho, limites, static_cast<uint64_t>(st.st_size), estilo);
  } catch (const std::bad_alloc&) {
    falhaLeitura(caminho, "memória insuficiente para ler a planilha");
  }
  falhaLeitura(caminho, "o arquivo não é uma planilha do Excel (.xlsx ou .xls)");
}

void listaCelulas(const std::string& caminho, int maxLinhas, std::ostream& saida) {
  auto leitor = abrePlanilha(caminho);
  int ultima = leitor->ultimaLinha();
  if (maxLinhas > 0 && maxLinhas < ultima) ultima = maxLinhas;
  for (int l = 1; l <= ultima; ++l) {
    const int colunas = leitor->ultimaColuna(l);
    for (int c = 1; c <= colunas; ++c) {
      const std::string t = leitor->celula(l, c);
      if (!t.empty()) saida << l << '\t' << c << '\t' << escapaLinha(t) << '\n';
    }
  }
}

}  // namespace zuv
