// The readers on workbooks made by other programs: hand-written XML for each storage form,
// openpyxl, and LibreOffice (.xlsx and .xls).
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "common/Erro.h"
#include "platform/ApoioPlanilha.h"
#include "platform/Planilha.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

class PlanilhaGerada : public ComPlanilhasGeradas {
 protected:
  static std::string lista(const std::string& nome, int maxLinhas = 0) {
    std::ostringstream s;
    listaCelulas(naPasta(nome), maxLinhas, s);
    return s.str();
  }
};

TEST_F(PlanilhaGerada, TextosCompartilhadosEmLinhaERicos) {
  auto p = abrePlanilha(naPasta("formas.xlsx"));
  EXPECT_EQ(p->celula(1, 1), "compartilhado");
  EXPECT_EQ(p->celula(1, 2), "em linha");
  EXPECT_EQ(p->celula(1, 3), "Negrito");  // runs joined, phonetic run left out
  EXPECT_EQ(p->celula(1, 4), "rico ");
  EXPECT_EQ(p->celula(1, 5), "quebra\r\nlinha");
  EXPECT_EQ(p->celula(9, 2), "Açúcar & Café");
}

TEST_F(PlanilhaGerada, NumerosSobOEstiloComInteirosPorExtenso) {
  auto p = abrePlanilha(naPasta("formas.xlsx"));
  EXPECT_EQ(p->celula(2, 1), "7891234567890");
  EXPECT_EQ(p->celula(2, 2), "3,5");
  EXPECT_EQ(p->celula(2, 3), "-0,1");
  EXPECT_EQ(p->celula(2, 4), "1,23456789012346E+16");
  EXPECT_EQ(p->celula(2, 5), "0,3");
  EXPECT_EQ(p->celula(3, 5), "45356");  // a custom number format without date letters
  EXPECT_EQ(p->celula(3, 6), "12");     // numFmt 49 is "@": the number stays a number
  usaEstilo(kIngles);
  auto q = abrePlanilha(naPasta("formas.xlsx"));
  EXPECT_EQ(q->celula(2, 2), "3.5");
  EXPECT_EQ(q->celula(3, 1), "03/05/2024");
  EXPECT_EQ(q->celula(4, 1), "TRUE");
}

TEST_F(PlanilhaGerada, DatasHorasBooleanosErrosEFormulas) {
  auto p = abrePlanilha(naPasta("formas.xlsx"));
  EXPECT_EQ(p->celula(3, 1), "05/03/2024");           // built-in 14
  EXPECT_EQ(p->celula(3, 2), "05/03/2024");           // [$-416]dd/mm/yyyy, time of day not shown
  EXPECT_EQ(p->celula(3, 3), "05/03/2024 12:00:00");  // the format shows the time
  EXPECT_EQ(p->celula(3, 4), "12:00:00");             // [h]:mm:ss
  EXPECT_EQ(p->celula(3, 7), "-1");                   // before the calendar: the number
  EXPECT_EQ(p->celula(4, 1), "VERDADEIRO");
  EXPECT_EQ(p->celula(4, 2), "FALSO");
  EXPECT_EQ(p->celula(4, 3), "#N/A");
  EXPECT_EQ(p->celula(4, 4), "#DIV/0!");
  EXPECT_EQ(p->celula(4, 5), "15782469135780");  // a formula's cached value
  EXPECT_EQ(p->celula(4, 6), "ab");
  EXPECT_EQ(p->celula(4, 7), "05/03/2024");  // a cell of type "d"

  auto q = abrePlanilha(naPasta("data1904.xlsx"));
  EXPECT_EQ(q->celula(1, 1), "01/01/1904");
  EXPECT_EQ(q->celula(1, 2), "01/03/2024");
}

TEST_F(PlanilhaGerada, CelulasSemReferenciaELinhasVazias) {
  auto p = abrePlanilha(naPasta("formas.xlsx"));
  EXPECT_EQ(p->celula(5, 1), "");  // a row the file does not have
  EXPECT_EQ(p->celula(6, 1), "1");
  EXPECT_EQ(p->celula(6, 2), "");
  EXPECT_EQ(p->celula(6, 3), "c6");
  EXPECT_EQ(p->celula(6, 6), "6");
  EXPECT_EQ(p->celula(6, 7), "7");  // after F6: G6
  EXPECT_EQ(p->celula(7, 1), "linha sem r");
  EXPECT_EQ(p->celula(9, 3), "");
  EXPECT_EQ(p->celula(6, 300), "");
  EXPECT_EQ(p->celula(0, 1), "");
  EXPECT_EQ(p->ultimaLinha(), 9);  // row 10 only has a height
  EXPECT_EQ(p->ultimaColuna(6), 7);
  EXPECT_EQ(p->ultimaColuna(9), 2);
  EXPECT_EQ(abrePlanilha(naPasta("vazia.xlsx"))->ultimaLinha(), 0);
}

TEST_F(PlanilhaGerada, PassagemDeContagemEDepoisLeituraDesdeOInicio) {
  auto p = abrePlanilha(naPasta("formas.xlsx"));
  int n = 1;
  while (!p->celula(n, 1).empty())
    ++n;
  EXPECT_EQ(n, 5);
  EXPECT_EQ(p->ultimaLinha(), 9);
  // The headings' row stays at hand while later rows are read.
  EXPECT_EQ(p->celula(1, 2), "em linha");
  // Going back after a full pass re-reads the stream.
  EXPECT_EQ(p->celula(2, 1), "7891234567890");
  EXPECT_EQ(p->celula(1, 1), "compartilhado");
  EXPECT_EQ(p->celula(9, 2), "Açúcar & Café");
  EXPECT_EQ(p->celula(2, 1), "7891234567890");
}

TEST_F(PlanilhaGerada, FolhaAtivaPrefixosECaminhosDasPartes) {
  EXPECT_EQ(abrePlanilha(naPasta("ativa.xlsx"))->celula(1, 1), "segunda");
  EXPECT_EQ(abrePlanilha(naPasta("prefixos.xlsx"))->celula(2, 3), "prefixado");
}

TEST_F(PlanilhaGerada, OpenpyxlComSegundaFolhaAtiva) {
  EXPECT_EQ(lista("openpyxl.xlsx"),
            "1\t1\tBarra\n1\t2\tNome\n1\t3\tPreço\n1\t4\tCadastro\n1\t5\tAtivo\n"
            "2\t1\t7891234567890\n2\t2\tFeijão\n2\t3\t12,9\n2\t4\t05/03/2024\n2\t5\tVERDADEIRO\n2\t8\t0,1\n"
            "4\t3\t1.234,50\n4\t4\t31/12/2024 23:59:00\n4\t5\tFALSO\n6\t9\tlonge\n");
  EXPECT_EQ(lista("openpyxl.xlsx", 1), "1\t1\tBarra\n1\t2\tNome\n1\t3\tPreço\n1\t4\tCadastro\n1\t5\tAtivo\n");
  EXPECT_EQ(lista("formas.xlsx", 1).substr(0, 20), "1\t1\tcompartilhado\n1\t");
  EXPECT_NE(lista("formas.xlsx").find("1\t5\tquebra\\r\\nlinha\n"), std::string::npos);
}

// Made by LibreOffice from one flat ODS: the same values through its .xlsx and its .xls.
class PlanilhaLibreOffice : public ComEstilo {
 protected:
  static void SetUpTestSuite() {
    if (!temLibreOffice()) return;
    const std::string fods = fonteDeTeste("produtos.fods");
    pasta_ = pastaEmCache(fods, [&](const std::string& pasta) {
      if (!converteComLibreOffice(fods, "xlsx", pasta) || !converteComLibreOffice(fods, "xls", pasta))
        return false;
      // The .xls under a name that says .xlsx: the content picks the reader.
      std::filesystem::copy_file(pasta + "/produtos.xls", pasta + "/xls_disfarcado.xlsx");
      return true;
    });
  }
  void SetUp() override {
    ComEstilo::SetUp();
    if (!temLibreOffice()) GTEST_SKIP() << "LibreOffice (soffice) não instalado (scripts/setup.sh)";
    ASSERT_FALSE(pasta_.empty()) << "a conversão com LibreOffice falhou";
  }
  static inline std::string pasta_;
  static std::string naPasta(const std::string& nome) { return pasta_ + "/" + nome; }
};

TEST_F(PlanilhaLibreOffice, XlsxEXlsDaoOsMesmosTextos) {
  for (const char* nome : {"produtos.xlsx", "produtos.xls", "xls_disfarcado.xlsx"}) {
    SCOPED_TRACE(nome);
    auto p = abrePlanilha(naPasta(nome));
    EXPECT_EQ(p->celula(1, 3), "Preço");
    EXPECT_EQ(p->celula(2, 1), "7891234567890");
    EXPECT_EQ(p->celula(2, 2), "Feijão Carioca 1kg");
    EXPECT_EQ(p->celula(2, 3), "12,9");
    EXPECT_EQ(p->celula(2, 4), "05/03/2024");
    EXPECT_EQ(p->celula(3, 1), "");
    EXPECT_EQ(p->celula(4, 1), "");
    EXPECT_EQ(p->celula(4, 3), "1.234,50");
    EXPECT_EQ(p->celula(4, 4), "31/12/2024 23:59:00");
    // Formulas give the results LibreOffice cached.
    EXPECT_EQ(p->celula(2, 6), "25,8");
    EXPECT_EQ(p->celula(2, 8), "06/03/2024");
    EXPECT_EQ(p->celula(4, 6), "#DIV/0!");
    EXPECT_EQ(p->ultimaLinha(), 4);
    EXPECT_EQ(p->ultimaColuna(2), 8);
    EXPECT_EQ(p->celula(1, 1), "Barra");
  }
  // LibreOffice keeps the text result of a formula in .xlsx only (its .xls holds 0 there).
  EXPECT_EQ(abrePlanilha(naPasta("produtos.xlsx"))->celula(2, 7), "Feijão Carioca 1kg!");
}

}  // namespace
}  // namespace zuv::teste
