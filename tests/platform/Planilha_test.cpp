// The readers on workbooks made by other programs (hand-written XML for each storage form,
// openpyxl, LibreOffice .xlsx and .xls) and on files that are not sound workbooks.
#include <gmock/gmock.h>

#include "common/Erro.h"
#include "platform/ApoioPlanilha.h"
#include "platform/FreeXlIsolada.h"

#include <sys/stat.h>

#include <chrono>

// FreeXL loses 384 bytes when it gives up on some damaged files (a fault of the library, found by
// fuzzing); LeakSanitizer in the asan build is told to ignore leaks from inside it.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfreexl\n";
}

namespace zuv::teste {
namespace {

// Tests on the workbooks of gera_planilhas.py (made once per build); skipped without openpyxl.
class PlanilhaGerada : public ComPlanilhas {
 protected:
  void SetUp() override {
    ComPlanilhas::SetUp();
    if (!temOpenpyxl()) GTEST_SKIP() << "python3 com openpyxl não instalado (scripts/setup.sh)";
    pasta_ = pastaEmCache(fonte("gera_planilhas.py"), [](const std::string& p) {
      return executa("/usr/bin/python3 '" + fonte("gera_planilhas.py") + "' '" + p + "'") == 0;
    });
    ASSERT_FALSE(pasta_.empty()) << "gera_planilhas.py falhou";
  }
  std::string gerada(const std::string& nome) const { return pasta_ + "/" + nome; }
  std::string pasta_;
};

TEST_F(PlanilhaGerada, CadaFormaDeGuardarOValor) {
  // Shared, inline and rich strings (phonetic run left out), escapes; numbers in full up to 15
  // digits; date and time formats (a custom format without date letters and "@" keep the number);
  // a serial before the calendar; booleans, errors, cached formula results, a cell of type "d";
  // cells without references after F6, a row without r, and row 10 that only has a height.
  EXPECT_EQ(lista(gerada("formas.xlsx")),
            "1\t1\tcompartilhado\n1\t2\tem linha\n1\t3\tNegrito\n1\t4\trico \n1\t5\tquebra\\r\\nlinha\n"
            "2\t1\t7891234567890\n2\t2\t3,5\n2\t3\t-0,1\n2\t4\t1,23456789012346E+16\n2\t5\t0,3\n2\t6\t1E-07\n"
            "3\t1\t05/03/2024\n3\t2\t05/03/2024\n3\t3\t05/03/2024 12:00:00\n3\t4\t12:00:00\n3\t5\t45356\n"
            "3\t6\t12\n3\t7\t-1\n4\t1\tVERDADEIRO\n4\t2\tFALSO\n4\t3\t#N/A\n4\t4\t#DIV/0!\n"
            "4\t5\t15782469135780\n4\t6\tab\n4\t7\t05/03/2024\n6\t1\t1\n6\t3\tc6\n6\t6\t6\n6\t7\t7\n"
            "7\t1\tlinha sem r\n9\t2\tAçúcar & Café\n");
  auto p = abrePlanilha(gerada("formas.xlsx"));
  EXPECT_EQ(p->ultimaLinha(), 9);
  EXPECT_EQ(p->ultimaColuna(9), 2);
  EXPECT_EQ(p->celula(6, 300) + p->celula(0, 1), "");
  EXPECT_EQ(p->celula(2, 1), "7891234567890");  // back after a full pass: the stream restarts

  usaEstilo(kIngles);
  auto q = abrePlanilha(gerada("formas.xlsx"));
  EXPECT_EQ(q->celula(2, 2) + " " + q->celula(3, 3) + " " + q->celula(4, 1), "3.5 03/05/2024 12:00:00 TRUE");
}

TEST_F(PlanilhaGerada, OutrosLivros) {
  EXPECT_EQ(lista(gerada("openpyxl.xlsx")),
            "1\t1\tBarra\n1\t2\tNome\n1\t3\tPreço\n1\t4\tCadastro\n1\t5\tAtivo\n"
            "2\t1\t7891234567890\n2\t2\tFeijão\n2\t3\t12,9\n2\t4\t05/03/2024\n2\t5\tVERDADEIRO\n2\t8\t0,1\n"
            "4\t3\t1.234,50\n4\t4\t31/12/2024 23:59:00\n4\t5\tFALSO\n6\t9\tlonge\n");
  EXPECT_TRUE(lista(gerada("openpyxl.xlsx"), 1).ends_with("\n1\t5\tAtivo\n"));  // only the first row
  EXPECT_EQ(lista(gerada("ativa.xlsx")), "1\t1\tsegunda\n");
  EXPECT_EQ(lista(gerada("prefixos.xlsx")), "2\t3\tprefixado\n");  // prefixed names, parts in other folders
  EXPECT_EQ(lista(gerada("data1904.xlsx")), "1\t1\t01/01/1904\n1\t2\t01/03/2024\n");
  EXPECT_EQ(lista(gerada("dimensao_enorme.xlsx")), "1\t1\t1\n");  // read as what it holds
  EXPECT_EQ(abrePlanilha(gerada("vazia.xlsx"))->ultimaLinha(), 0);
  // A directory overwritten with garbage beside an intact workbook stream (found by fuzzing).
  EXPECT_EQ(abrePlanilha(fonte("xls_diretorio_danificado.xls"))->celula(1, 1), "Barra");
}

MATCHER_P(Diz, trecho, "") {
  return arg.starts_with("Não foi possível ler a planilha \"") && arg.find(trecho) != std::string::npos;
}

// The message of reading the whole sheet, "" when it reads fine.
std::string erroAoLer(const std::string& arquivo, LimitesLeitura limites = {}) {
  try {
    auto p = abrePlanilha(arquivo, limites);
    for (int l = 1, n = p->ultimaLinha(); l <= n; ++l)
      p->celula(l, 1);
    return "";
  } catch (const ErroPlanilha& e) {
    return e.what();
  }
}

TEST_F(PlanilhaGerada, ArquivosQueNaoSaoPlanilhasBoas) {
  // Each message names the file, then the problem.
  for (std::string caso :
       {"nao_existe.xlsx\": arquivo não encontrado", "pasta.xlsx\": o caminho não é um arquivo",
        "texto.xlsx\": o arquivo não é uma planilha do Excel", "vazio.xlsx\": o arquivo está vazio",
        "zip_sem_livro.xlsx\": o arquivo é um zip, mas não", "truncada.xlsx\": o arquivo está danificado",
        "ole_sem_livro.xls\": o arquivo não é uma planilha do Excel (documento OLE2 sem pasta de trabalho)",
        "linhas_fora_de_ordem.xlsx\": linhas fora de ordem", "protegida.xlsx\": planilha protegida por senha",
        "dtd.xlsx\": a parte xl/workbook.xml traz uma DTD",
        "xml_ruim.xlsx\": XML inválido na parte xl/worksheets/sheet1.xml, linha 1",
        "texto_inexistente.xlsx\": a célula da linha 1, coluna 1 aponta um texto que não existe",
        "bomba.xlsx\": a parte xl/worksheets/sheet1.xml tem uma taxa de compressão suspeita",
        "colunas_demais.xlsx\": a célula da linha 1, coluna 475254 passa do limite de 16384 colunas"})
    EXPECT_THAT(erroAoLer(gerada(caso.substr(0, caso.find('"')))), Diz(caso));
  EXPECT_THAT(erroAoLer(gerada("formas.xlsx"), {.bytesDescomprimidos = 200}),
              Diz("passa do limite de 200 bytes"));
  EXPECT_THAT(erroAoLer(gerada("formas.xlsx"), {.celulas = 10}), Diz("passa do limite de 10"));
  // Found by fuzzing: a BIFF record longer than its stream made FreeXL read past a buffer, and a
  // damaged file made it answer OK without a handle.
  for (const char* nome : {"xls_registro_grande.xls", "xls_freexl_sem_alca.xls", "xls_formato_longo.xls"})
    EXPECT_THAT(erroAoLer(fonte(nome)), Diz("o arquivo está danificado"));
}

using PlanilhaXls = ComPlanilhas;

// Found by fuzzing: FreeXL frees memory twice on one file and faults on the other. In its child
// process either fault becomes the damaged-file message and this process goes on. An encrypted
// .xls, whose records are ciphertext, is called protected rather than damaged.
TEST_F(PlanilhaXls, FalhasDaFreeXlViramMensagem) {
  for (auto [nome, trecho] : {std::pair{"xls_libera_duas_vezes.xls", "o arquivo está danificado"},
                              std::pair{"xls_falha_segmentacao.xls", "o arquivo está danificado"},
                              std::pair{"xls_protegida_senha.xls", "planilha protegida por senha"}})
    EXPECT_THAT(erroAoLer(fonte(nome)), Diz(std::string(nome) + "\": " + trecho)) << nome;
}

// The child's answer is bounded in time (a FIFO that never delivers keeps FreeXL waiting in its
// open) and in size.
TEST_F(PlanilhaXls, RespostaDoProcessoDaFreeXlTemLimites) {
  auto erro = [](const std::string& arquivo, LimitesXls limites) {
    try {
      leFolhaXlsIsolada(arquivo, "x.xls", 0, limites);
      return std::string();
    } catch (const ErroPlanilha& e) {
      return std::string(e.what());
    }
  };
  const std::string fifo = naPasta("sem_fim.xls");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const auto inicio = std::chrono::steady_clock::now();
  EXPECT_THAT(erro(fifo, {.tempo = std::chrono::milliseconds(1000)}),
              Diz("o arquivo está danificado (a leitura do .xls não terminou em 1 s)"));
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(5));

  const std::string xls = ZUV_SOURCE_DIR "/fuzz/sementes/produtos.xls";
  EXPECT_THAT(erro(xls, {.bytes = 64}), Diz("passa do limite de 64 bytes lidos"));
  EXPECT_THAT(erro(xls, {.celulas = 3}), Diz("passa do limite de 3 células"));
  const FolhaXls folha = leFolhaXlsIsolada(xls, "x.xls", 0, {});
  EXPECT_GT(folha.celulas.size(), 1u);
}

using PlanilhaLibreOffice = ComPlanilhas;

// Made by LibreOffice from one flat ODS: the same values through its .xlsx and its .xls, also
// under a name that says .xlsx (the content picks the reader).
TEST_F(PlanilhaLibreOffice, XlsxEXlsDaoOsMesmosTextos) {
  if (!temLibreOffice()) GTEST_SKIP() << "LibreOffice (soffice) não instalado (scripts/setup.sh)";
  const std::string fods = fonte("produtos.fods");
  const std::string pasta = pastaEmCache(fods, [&](const std::string& p) {
    return converte(fods, "xlsx", p) && converte(fods, "xls", p) &&
           std::filesystem::copy_file(p + "/produtos.xls", p + "/xls_disfarcado.xlsx");
  });
  ASSERT_FALSE(pasta.empty()) << "a conversão com LibreOffice falhou";
  // Formulas give the results LibreOffice cached.
  std::string xlsx = lista(pasta + "/produtos.xlsx");
  EXPECT_EQ(
      xlsx,
      "1\t1\tBarra\n1\t2\tNome\n1\t3\tPreço\n1\t4\tCadastro\n1\t5\tAtivo\n1\t6\tDobro\n1\t7\tExclama\n"
      "1\t8\tAmanhã\n2\t1\t7891234567890\n2\t2\tFeijão Carioca 1kg\n2\t3\t12,9\n2\t4\t05/03/2024\n2\t5\t1\n"
      "2\t6\t25,8\n2\t7\tFeijão Carioca 1kg!\n2\t8\t06/03/2024\n4\t3\t1.234,50\n4\t4\t31/12/2024 23:59:00\n"
      "4\t5\t0\n4\t6\t#DIV/0!\n");
  xlsx.replace(xlsx.find("Feijão Carioca 1kg!"), 20, "0");  // its .xls holds 0 for a text result
  EXPECT_EQ(lista(pasta + "/produtos.xls"), xlsx);
  EXPECT_EQ(lista(pasta + "/xls_disfarcado.xlsx"), xlsx);
}

}  // namespace
}  // namespace zuv::teste
