// The legacy .xls corpus (Apache POI's test workbooks in ../shared/corpus, or $ZUV_CORPUS; skipped
// when absent): every file read or refused as LibreOffice reads it, and its cells as LibreOffice's
// conversion gives them: all of them through a hash, a sample cell by cell (corpus_xls.json, made
// by corpus_xls.py, which says how to make it again).
#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "common/Erro.h"
#include "common/Texto.h"
#include "platform/ApoioPlanilha.h"

namespace zuv::teste {
namespace {

// Just enough JSON for the expected values: objects, arrays, strings and numbers.
struct Json {
  std::string texto;
  double numero = 0;
  std::vector<Json> lista;
  std::map<std::string, Json> objeto;
  const Json& operator[](const std::string& chave) const { return objeto.at(chave); }
};

class LeitorJson {
 public:
  explicit LeitorJson(const std::string& t) : t_(t) {}
  Json valor() {
    espacos();
    Json j;
    if (t_.at(p_) == '{') {
      ++p_;
      for (espacos(); t_.at(p_) != '}'; espacos()) {
        const std::string chave = texto();
        espacos();
        ++p_;  // ':'
        j.objeto[chave] = valor();
        espacos();
        if (t_.at(p_) == ',') ++p_;
      }
      ++p_;
    } else if (t_.at(p_) == '[') {
      ++p_;
      for (espacos(); t_.at(p_) != ']'; espacos()) {
        j.lista.push_back(valor());
        espacos();
        if (t_.at(p_) == ',') ++p_;
      }
      ++p_;
    } else if (t_.at(p_) == '"') {
      j.texto = texto();
    } else {
      size_t n = 0;
      j.numero = std::stod(t_.substr(p_), &n);
      p_ += n;
    }
    return j;
  }

 private:
  void espacos() {
    while (p_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[p_])))
      ++p_;
  }
  std::string texto() {
    std::string s;
    for (++p_; t_.at(p_) != '"'; ++p_) {
      if (t_[p_] != '\\') {
        s += t_[p_];
        continue;
      }
      const char e = t_.at(++p_);
      if (e != 'u') {
        s += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 'b' ? '\b' : e == 'f' ? '\f' : e;
        continue;
      }
      char32_t c = static_cast<char32_t>(std::stoul(t_.substr(p_ + 1, 4), nullptr, 16));
      p_ += 4;
      if (c >= 0xD800 && c < 0xDC00 && t_.compare(p_ + 1, 2, "\\u") == 0) {
        c = 0x10000 + ((c - 0xD800) << 10) + (std::stoul(t_.substr(p_ + 3, 4), nullptr, 16) - 0xDC00);
        p_ += 6;
      }
      s += paraUtf8(std::u32string(1, c));
    }
    ++p_;
    return s;
  }
  const std::string& t_;
  size_t p_ = 0;
};

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
    std::ifstream f(fonte("corpus_xls.json"));
    const std::string texto{std::istreambuf_iterator<char>(f), {}};
    esperado_ = LeitorJson(texto).valor();
  }

  // "" when the file reads; the message otherwise.
  static std::string leitura(const std::string& arquivo, std::string& celulas, int linhas = 0) {
    try {
      celulas = lista(arquivo, linhas);
      return "";
    } catch (const ErroPlanilha& e) {
      return e.what();
    }
  }

  std::string pasta_;
  Json esperado_;
};

TEST_F(CorpusXls, CadaArquivoComoOLibreOfficeLe) {
  std::ifstream manifesto(pasta_ + "/xls-manifest.tsv");
  std::string linha;
  std::getline(manifesto, linha);
  int lidos = 0, recusados = 0, comparados = 0;
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
      ++recusados;
      continue;
    }
    const std::string& esperado = esperado_["arquivos"][nome].texto;
    // LibreOffice shows nothing, or the file's bytes as text: the file is damaged, and saying so
    // is as good as showing nothing (an empty file says it is empty).
    const bool semCelulas = esperado == "texto" || esperado.starts_with("0 ");
    if (!erro.empty() && semCelulas) {
      EXPECT_THAT(erro, testing::AnyOf(testing::HasSubstr("danificado"), testing::HasSubstr("está vazio")));
      ++recusados;
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
  std::cout << lidos << " lidos, " << recusados << " recusados, " << comparados
            << " comparados célula a célula\n";
}

TEST_F(CorpusXls, AmostraCelulaACelula) {
  for (const auto& [nome, amostra] : esperado_["amostra"].objeto) {
    std::string celulas, esperadas;
    const std::string erro =
        leitura(pasta_ + "/xls/" + nome, celulas, static_cast<int>(amostra["linhas"].numero));
    for (const Json& c : amostra["celulas"].lista)
      esperadas += c.texto + "\n";
    EXPECT_EQ(erro, "") << nome;
    EXPECT_EQ(celulas, esperadas) << nome;
  }
}

}  // namespace
}  // namespace zuv::teste
