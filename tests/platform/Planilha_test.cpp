// The readers on workbooks made by other programs (hand-written XML for each storage form,
// openpyxl, LibreOffice .xlsx and .xls, .xls written record by record) and on files that are not
// sound workbooks.
#include <gmock/gmock.h>

#include "common/Erro.h"
#include "platform/ApoioPlanilha.h"

namespace zuv::teste {
namespace {

// Tests on the workbooks a script writes once per build: gera_planilhas.py (skipped without
// openpyxl) or gera_xls.py (.xls written record by record).
class PlanilhaGerada : public ComPlanilhas {
 protected:
  explicit PlanilhaGerada(std::string script = "gera_planilhas.py") : script_(std::move(script)) {}
  void SetUp() override {
    ComPlanilhas::SetUp();
    if (script_ == "gera_planilhas.py" && !temOpenpyxl())
      GTEST_SKIP() << "python3 com openpyxl não instalado (scripts/setup.sh)";
    pasta_ = pastaEmCache(fonte(script_), [this](const std::string& p) {
      return executa("/usr/bin/python3 '" + fonte(script_) + "' '" + p + "'") == 0;
    });
    ASSERT_FALSE(pasta_.empty()) << script_ << " falhou";
  }
  std::string gerada(const std::string& nome) const { return pasta_ + "/" + nome; }
  std::string script_, pasta_;
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
}

TEST_F(PlanilhaGerada, OutrosLivros) {
  EXPECT_EQ(lista(gerada("openpyxl.xlsx")),
            "1\t1\tBarra\n1\t2\tNome\n1\t3\tPreço\n1\t4\tCadastro\n1\t5\tAtivo\n"
            "2\t1\t7891234567890\n2\t2\tFeijão\n2\t3\t12,9\n2\t4\t05/03/2024\n2\t5\tVERDADEIRO\n2\t8\t0,1\n"
            "4\t1\t0789100010011\n4\t3\t1.234,50\n4\t4\t31/12/2024 23:59:00\n4\t5\tFALSO\n6\t1\t42,5\n"
            "6\t9\tlonge\n");
  EXPECT_TRUE(lista(gerada("openpyxl.xlsx"), 1).ends_with("\n1\t5\tAtivo\n"));  // only the first row
  EXPECT_EQ(lista(gerada("ativa.xlsx")), "1\t1\tsegunda\n");
  EXPECT_EQ(lista(gerada("prefixos.xlsx")), "2\t3\tprefixado\n");  // prefixed names, parts in other folders
  EXPECT_EQ(lista(gerada("data1904.xlsx")), "1\t1\t01/01/1904\n1\t2\t01/03/2024\n");
  EXPECT_EQ(lista(gerada("dimensao_enorme.xlsx")), "1\t1\t1\n");  // read as what it holds
  EXPECT_EQ(abrePlanilha(gerada("vazia.xlsx"))->ultimaLinha(), 0);
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
}

class PlanilhaXls : public PlanilhaGerada {
 protected:
  PlanilhaXls() : PlanilhaGerada("gera_xls.py") {}
};

TEST_F(PlanilhaXls, CadaFormaDeGuardarOValor) {
  // Shared strings (one cut by a CONTINUE record that turns to UTF-16, one with a surrogate pair,
  // one empty), a UTF-16 label; RK integers and cents, MULRK, numbers, a zero-padding format on
  // an RK and a 12-digit barcode, dates, booleans, errors; cached formula results (a text after a
  // shared formula and run on into a CONTINUE record, FALSE, #N/A, an empty text); a blank; a
  // chart's data inside the sheet left out; a cell written twice keeps the last value. The active
  // sheet is the third; encrypted with Excel's default password, the same workbook reads alike.
  const std::string biff8 =
      "1\t1\tBarra\n1\t2\tFeijão Carioca\n1\t3\tRótulo€\n1\t5\tSub ção\n1\t6\tfim\n"
      "2\t1\t0000007891000\n2\t2\t0789100010011\n2\t3\t12,5\n2\t4\t-7\n2\t5\t0,25\n"
      "3\t1\t05/03/2024\n3\t2\t05/03/2024 12:00:00\n3\t3\t0,3\n3\t4\tVERDADEIRO\n3\t5\t#DIV/0!\n"
      "4\t1\t2,5\n4\t2\tresultado!\n4\t3\tFALSO\n4\t4\t#N/A\n5\t3\tAçúcar 🙂 cristal\n6\t2\t2\n";
  for (const char* nome : {"biff8.xls", "rc4.xls", "cryptoapi.xls"})
    EXPECT_EQ(lista(gerada(nome)), biff8) << nome;
  auto p = abrePlanilha(gerada("biff8.xls"));
  EXPECT_EQ(p->ultimaLinha(), 6);
  EXPECT_EQ(p->ultimaColuna(1), 6);
  EXPECT_EQ(p->celula(4, 2) + "|" + p->celula(1, 1) + "|" + p->celula(5, 1) + "|" + p->celula(9, 9),
            "resultado!|Barra||");

  // An active chart sheet gives way to the first sheet of cells; rows out of order and a sheet
  // whose position in the list misses its BOF record; Excel 95 with a Cyrillic code page and
  // dates from 1904; bare Excel 2 and 4 sheets with their formats in order of appearance.
  for (auto [nome, celulas] : {std::pair{"grafico_ativo.xls", "1\t1\tcapa\n"},
                               {"desordenada.xls", "1\t1\t1\n1\t2\t1,5\n2\t2\tb\n3\t1\t33\n"},
                               {"biff5.xls", "1\t1\tПривет\n1\t2\t01/01/1904\n1\t3\t42\n"},
                               {"biff2.xls", "1\t1\t7\n1\t2\t05/03/2024\n2\t1\tCafé\n"},
                               {"biff4.xls", "1\t1\tok\n1\t2\t0000012345\n"}})
    EXPECT_EQ(lista(gerada(nome)), celulas) << nome;

  usaEstilo(kIngles);
  auto q = abrePlanilha(gerada("biff8.xls"));
  EXPECT_EQ(q->celula(2, 3) + " " + q->celula(3, 2) + " " + q->celula(3, 4), "12.5 03/05/2024 12:00:00 TRUE");
}

// Damaged and hostile .xls files end in a message, never in a crash: some were found by fuzzing
// an earlier reader (FreeXL), which crashed or freed memory twice on them.
TEST_F(PlanilhaXls, ArquivosDanificadosOuProtegidos) {
  for (auto [nome, trecho] :
       {std::pair{"xls_registro_grande.xls",
                  "o arquivo está danificado (a pasta de trabalho acaba antes das planilhas)"},
        {"xls_formato_longo.xls", "a célula da linha 2, coluna 65536 passa do limite de 16384 colunas"},
        {"xls_protegida_senha.xls", "planilha protegida por senha"}})
    EXPECT_THAT(erroAoLer(fonte(nome)), Diz(std::string(nome) + "\": " + trecho)) << nome;
  for (const char* nome : {"xls_freexl_sem_alca.xls", "xls_libera_duas_vezes.xls",
                           "xls_falha_segmentacao.xls", "xls_diretorio_danificado.xls"})
    EXPECT_EQ(abrePlanilha(fonte(nome))->celula(1, 1), "Barra") << nome;
  for (auto [nome, trecho] :
       {std::pair{"senha.xls", "planilha protegida por senha"},
        {"sem_bof.xls", "o arquivo está danificado (a pasta de trabalho não começa com um registro BOF)"},
        {"pasta_biff4.xls",
         "a pasta de trabalho é do Excel 4, que o programa não lê; salve-a de novo como .xlsx"}})
    EXPECT_THAT(erroAoLer(gerada(nome)), Diz(std::string(nome) + "\": " + trecho)) << nome;
  EXPECT_THAT(erroAoLer(gerada("biff8.xls"), {.bytesDescomprimidos = 1000}),
              Diz("passa do limite de 1000 bytes"));
  EXPECT_THAT(erroAoLer(gerada("biff8.xls"), {.celulas = 3}),
              Diz("a tabela de textos passa do limite de 3 textos"));
  EXPECT_THAT(erroAoLer(gerada("biff8.xls"), {.celulas = 8}), Diz("a planilha passa do limite de 8 células"));
}

using PlanilhaLibreOffice = ComPlanilhas;

// Made by LibreOffice from one flat ODS: the same values through its .xlsx and its .xls (a
// barcode typed as a number keeps the zero its format shows), also under a name that says .xlsx
// (the content picks the reader).
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
  EXPECT_THAT(xlsx, testing::HasSubstr("\n2\t6\t25,8\n2\t7\tFeijão Carioca 1kg!\n2\t8\t06/03/2024\n"));
  xlsx.replace(xlsx.find("Feijão Carioca 1kg!"), 20, "0");  // LibreOffice's .xls holds 0 for a text result
  EXPECT_EQ(lista(pasta + "/produtos.xls"), xlsx);
  EXPECT_EQ(lista(pasta + "/xls_disfarcado.xlsx"), xlsx);
}

}  // namespace
}  // namespace zuv::teste
