#include "platform/Planilha.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <ostream>

#include "common/Erro.h"
#include "common/Regional.h"
#include "common/Texto.h"
#include "platform/LeitorXls.h"
#include "platform/LeitorXlsx.h"

namespace zuv {

void falhaLeitura(const std::string& caminho, const std::string& problema) {
  throw ErroPlanilha("Não foi possível ler a planilha \"" + caminho + "\": " + problema + ".");
}

namespace {

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
  // A legacy workbook of Excel 2 to 4 is a bare stream of records that begins with a BOF record.
  const bool biffNu = assinatura[0] == 0x09 &&
                      (assinatura[1] == 0 || assinatura[1] == 2 || assinatura[1] == 4 || assinatura[1] == 8);
  const int estilo = estiloDaLeitura();
  try {
    if (std::memcmp(assinatura, kZip, 4) == 0) return abreXlsx(caminho, limites, estilo);
    if (std::memcmp(assinatura, kOle2, 8) == 0 || biffNu) {
      if (static_cast<uint64_t>(st.st_size) > limites.bytesDescomprimidos)
        falhaLeitura(caminho, "o arquivo passa do limite de " + std::to_string(limites.bytesDescomprimidos) +
                                  " bytes");
      return abreXls(caminho, limites, estilo);
    }
  } catch (const std::bad_alloc&) {
    falhaLeitura(caminho, "memória insuficiente para ler a planilha");
  }
  falhaLeitura(caminho, "o arquivo não é uma planilha do Excel (.xlsx ou .xls)");
}

void listaCelulas(const std::string& caminho, int maxLinhas,
                  const std::function<void(const std::string&)>& linha) {
  auto leitor = abrePlanilha(caminho);
  int ultima = leitor->ultimaLinha();
  if (maxLinhas > 0 && maxLinhas < ultima) ultima = maxLinhas;
  for (int l = 1; l <= ultima; ++l) {
    const int colunas = leitor->ultimaColuna(l);
    for (int c = 1; c <= colunas; ++c) {
      const std::string t = leitor->celula(l, c);
      if (!t.empty()) linha(std::to_string(l) + '\t' + std::to_string(c) + '\t' + escapaLinha(t));
    }
  }
}

void listaCelulas(const std::string& caminho, int maxLinhas, std::ostream& saida) {
  listaCelulas(caminho, maxLinhas, [&](const std::string& l) { saida << l << '\n'; });
}

}  // namespace zuv
