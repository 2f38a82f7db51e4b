// The legacy .xls corpus (Apache POI's test workbooks in ../shared/corpus, or $ZUV_CORPUS; skipped
// when absent): every file read or refused as LibreOffice reads it, and its cells as LibreOffice's
// conversion gives them, through a hash (corpus_xls.json, made by corpus_xls.py, which says how to
// make it again and lists the cells of each file).
#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "common/Erro.h"
#include "platform/ApoioPlanilha.h"

namespace zuv::teste {
namespace {

std::string fnv(const std::string& s) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (const unsigned char c : s)
    h = (h ^ c) * 0x100000001B3ull;
  char b[17];
  std::snprintf(b, sizeof b, "%016llx", static_cast<unsigned long long>(h));
  return b;
}

class CorpusXls : public ComPlanilhas {
 protected:
  void SetUp() override {
    ComPlanilhas::SetUp();
    const char* env = std::getenv("ZUV_CORPUS");
    pasta_ = env ? env : ZUV_SOURCE_DIR "/../shared/corpus";
    if (!std::filesystem::exists(pasta_ + "/xls-manifest.tsv")) GTEST_SKIP() << "sem o corpus em " << pasta_;
    // corpus_xls.py writes one "name": "expected" pair a line (json.dump with indent=0).
    std::ifstream json(fonte("corpus_xls.json"));
    const std::regex par("^\"([^\"]+)\": \"([^\"]*)\",?$");
    std::smatch m;
    for (std::string linha; std::getline(json, linha);)
      if (std::regex_match(linha, m, par)) arquivos_[m[1]] = m[2];
  }

  // "" when the file reads; the message otherwise.
  static std::string leitura(const std::string& arquivo, std::string& celulas) {
    try {
      celulas = lista(arquivo);
      return "";
    } catch (const ErroPlanilha& e) {
      return e.what();
    }
  }

  std::string pasta_;
  std::map<std::string, std::string> arquivos_;
};

TEST_F(CorpusXls, CadaArquivoComoOLibreOfficeLe) {
  std::ifstream manifesto(pasta_ + "/xls-manifest.tsv");
  std::string linha;
  std::getline(manifesto, linha);
  int lidos = 0, comparados = 0;
  while (std::getline(manifesto, linha)) {
    std::istringstream campos(linha);
    std::string nome, hoje, libreoffice;
    std::getline(campos, nome, '\t');
    std::getline(campos, hoje, '\t');
    std::getline(campos, libreoffice, '\t');
    std::string celulas;
    const std::string erro = leitura(pasta_ + "/xls/" + nome, celulas);
    SCOPED_TRACE(nome + ": " + erro);
    if (libreoffice.find("cannot") != std::string::npos) {
      // Encrypted with a password of its own.
      EXPECT_THAT(erro, testing::HasSubstr("planilha protegida por senha"));
      continue;
    }
    const std::string& esperado = arquivos_.at(nome);
    // LibreOffice shows nothing, or the file's bytes as text: the file is damaged, and saying so
    // is as good as showing nothing (an empty file says it is empty).
    const bool semCelulas = esperado == "texto" || esperado.starts_with("0 ");
    if (!erro.empty() && semCelulas) {
      EXPECT_THAT(erro, testing::AnyOf(testing::HasSubstr("danificado"), testing::HasSubstr("está vazio")));
      continue;
    }
    EXPECT_EQ(erro, "");
    ++lidos;
    if (esperado == "texto" || esperado.starts_with("diferente")) continue;
    const size_t n = static_cast<size_t>(std::count(celulas.begin(), celulas.end(), '\n'));
    EXPECT_EQ(std::to_string(n) + " " + fnv(celulas), esperado)
        << "compare com as listas de corpus_xls.py --listas";
    ++comparados;
  }
  EXPECT_GE(lidos, 400);
  EXPECT_GE(comparados, 320);
}

}  // namespace
}  // namespace zuv::teste
