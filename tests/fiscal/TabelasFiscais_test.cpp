// The loaders of the official tables on small files of the published shapes, and once on the
// real files when the shared data folder is there.
#include "fiscal/TabelasFiscais.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace zuv::teste {
namespace {

// A Siscomex file: headings of every level, an 8-digit code that ended on 30/09/2026, one that
// starts later, one listed twice (an ended period and the current one), and extra fields.
const std::string kNcm =
    R"({"Data_Ultima_Atualizacao_NCM":"Vigente em 13/08/2026","Ato":"Resolu\u00e7\u00e3o Gecex n\u00ba 926/2026",
 "Nomenclaturas":[
  {"Codigo":"01","Descricao":"Animais vivos.","Data_Inicio":"01/04/2022","Data_Fim":"31/12/9999"},
  {"Codigo":"0101.2","Descricao":"- Cavalos:","Data_Inicio":"01/04/2022","Data_Fim":"31/12/9999"},
  {"Codigo":"0101.21.00","Descricao":"-- Reprodutores <i>de ra\u00e7a</i>","Data_Inicio":"01/04/2022","Data_Fim":"31/12/9999","Tipo_Ato_Ini":"Res Camex","Numero_Ato_Ini":"272"},
  {"Codigo":"3913.90.50","Descricao":"Quitosan","Data_Inicio":"01/04/2022","Data_Fim":"30/09/2026","Tipo_Ato_Fim":"Res Gecex"},
  {"Codigo":"8517.13.00","Descricao":"Smartphones","Data_Inicio":"01/01/2027","Data_Fim":"31/12/9999"},
  {"Codigo":"2202.99.00","Descricao":"Outras","Data_Inicio":"01/04/2022","Data_Fim":"31/01/2026"},
  {"Codigo":"2202.99.00","Descricao":"Outras","Data_Inicio":"01/02/2026","Data_Fim":"31/12/9999"}
 ]})";

// A CONFAZ page: the current rows of two annexes, an earlier wording in green below a current
// one, a revoked code, a row whose NCM/SH are chapters, one with no NCM/SH (any item), entities.
const std::string kCest =
    R"(<html><head><title>CONV&Ecirc;NIO ICMS 142/18 &#8212; Conselho</title></head><body>
<p class="A8-1Remissao">Nova redação, efeitos a partir de 01.02.25.</p>
<table border="1"><tbody><tr><td><p>ITEM</p></td><td><p>CEST</p></td><td><p>NCM/SH</p></td><td><p>DESCRIÇÃO</p></td></tr>
<tr><td><p class="A7-2Tabelajustificado">1.0</p></td><td><p class="A7-2Tabelajustificado">17.001.00</p></td>
    <td><p class="A7-2Tabelajustificado">1704.90.10</p></td><td><p>Chocolate branco</p></td></tr>
<tr><td colspan="4"><p class="A8-2RemissaoAnt">Redação original, efeitos até 30.04.23.</p></td></tr>
<tr><td><p class="A9-2Tabelajustificadoverde">1</p></td><td><p class="A9-2Tabelajustificadoverde">17.001.00</p></td>
    <td><p class="A9-2Tabelajustificadoverde">1806</p></td><td><p class="A9-2Tabelajustificadoverde">Chocolates</p></td></tr>
<tr><td><p>2.0</p></td><td><p>03.001.00</p></td><td><p>2201.10.00</p></td><td><p>REVOGADO</p></td></tr>
<tr><td><p>3.0</p></td><td><p>03.003.00</p></td><td><p>2201.10.00&nbsp;2201.90.00</p></td><td><p>&Aacute;gua mineral</p></td></tr>
</tbody></table>
<table><tbody><tr><td>55.0</td><td>28.055.00</td><td>Capítulos 13 e 15 a 17</td><td>Porta a porta</td></tr>
<tr><td>999.0</td><td>01.999.00</td><td></td><td>Outras peças</td></tr></tbody></table>
</body></html>)";

TEST(TabelaNcmTest, LeSoOsCodigosDe8DigitosComSuasVigencias) {
  const TabelaNcm t = TabelaNcm::deJson(kNcm);
  EXPECT_EQ(t.descricao(), "Vigente em 13/08/2026 (Resolução Gecex nº 926/2026), 4 códigos de 8 dígitos");
  EXPECT_EQ(t.vigencias("22029900").size(), 2u);
  EXPECT_TRUE(t.vigencias("01").empty());      // chapters are not product codes
  EXPECT_TRUE(t.vigencias("010121").empty());  // a prefix of 01012100 is no code
}

// A byte-order mark and Latin-1 are accepted; a file out of the format is refused with its name.
TEST(TabelaNcmTest, MarcaDeOrdemELatin1SaoAceitasEArquivoForaDoFormatoRecusado) {
  const std::string latin1 = "\xEF\xBB\xBF{\"Ato\":\"Resolu\xE7\xE3o\",\"Nomenclaturas\":[]}";
  // Not UTF-8: read as Windows-1252.
  EXPECT_EQ(TabelaNcm::deJson(latin1).descricao(),
            "versão não informada (Resolução), 0 códigos de 8 dígitos");
  // clang-format off
  for (const std::string& r : {std::string(), std::string("[]"), std::string(R"({"Nomenclatura":[]})"),
           std::string(R"({"Nomenclaturas":[{"Codigo":"0101.21.00","Data_Inicio":"2022-04-01"}]})"),
           std::string(R"({"Nomenclaturas":[{"Codigo":"0101.21.00"})"), std::string(R"({"Nomenclaturas":[]} x)"),
           std::string(R"({"a":"\q","Nomenclaturas":[]})"), std::string(1000, '[') + std::string(1000, ']')}) {
    // clang-format on
    SCOPED_TRACE(r.substr(0, 60));
    try {
      TabelaNcm::deJson(r, "t.json");
      ADD_FAILURE() << "aceito";
    } catch (const ErroTabelaFiscal& e) {
      EXPECT_EQ(std::string(e.what()).rfind("t.json: ", 0), 0u) << e.what();
    }
  }
  EXPECT_THROW(TabelaNcm::carrega("/nao/existe.json"), ErroTabelaFiscal);
}

TEST(TabelaCestTest, LeAsLinhasVigentesDoConvenio) {
  const TabelaCest t = TabelaCest::deHtml(kCest);
  EXPECT_EQ(t.versao(), "CONVÊNIO ICMS 142/18, última alteração com efeitos a partir de 01/02/2025");
  EXPECT_EQ(t.descricao(), t.versao() + ", 5 códigos (1 revogados)");

  const ItemCest* chocolate = t.procura("1700100");
  ASSERT_TRUE(chocolate);
  EXPECT_EQ(chocolate->prefixos, std::vector<std::string>{"17049010"});  // not 1806: earlier wording
  ASSERT_TRUE(t.procura("0300100"));
  EXPECT_TRUE(t.procura("0300100")->revogado);
  EXPECT_EQ(t.procura("0300300")->prefixos, (std::vector<std::string>{"22011000", "22019000"}));
  EXPECT_EQ(t.procura("2805500")->prefixos, (std::vector<std::string>{"13", "15", "16", "17"}));
  EXPECT_TRUE(t.procura("0199900")->prefixos.empty());  // no NCM/SH: any item
  EXPECT_THROW(TabelaCest::deHtml("<html><table><tr><td>1</td></tr></table></html>"), ErroTabelaFiscal);
  // Tags and entities never closed: read in one pass (this would take hours if each row or
  // entity searched to the end of the page).
  std::string semFechar;
  for (int i = 0; i < 100000; ++i)
    semFechar += "<tr><td>&amp&<td";
  EXPECT_THROW(TabelaCest::deHtml(semFechar), ErroTabelaFiscal);
}

// The real published files, when the shared data folder is beside the source tree.
TEST(TabelasOficiaisTest, ArquivosReaisDoGoverno) {
  const std::string pasta = ZUV_SOURCE_DIR "/../shared/data";
  const std::string ncm = pasta + "/Tabela_NCM_Vigente_20260813.json";
  const std::string cest = pasta + "/cest_convenio_icms_142_18.html";
  if (!std::filesystem::exists(ncm) || !std::filesystem::exists(cest))
    GTEST_SKIP() << "sem as tabelas oficiais em " << pasta;

  const TabelaNcm n = TabelaNcm::carrega(ncm);
  EXPECT_EQ(n.descricao(), "Vigente em 13/08/2026 (Resolução Gecex nº 926/2026), 10515 códigos de 8 dígitos");

  const TabelaCest c = TabelaCest::carrega(cest);
  EXPECT_EQ(c.codigos(), 1050u);
  EXPECT_EQ(c.versao().rfind("CONVÊNIO ICMS 142/18", 0), 0u);
  ASSERT_TRUE(c.procura("2806300"));
  EXPECT_EQ(c.procura("2806300")->prefixos.size(), 15u);  // "Capítulos 22, 27, ... e 96"
}

}  // namespace
}  // namespace zuv::teste
