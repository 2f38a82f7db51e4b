// Our writer through our reader, through openpyxl and through LibreOffice: values, the text
// format on every cell, bold row 1, widths, hidden columns and right alignment are in the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/Erro.h"
#include "platform/ApoioPlanilha.h"
#include "platform/Planilha.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

class EscritorPlanilhaTeste : public ComEstilo {
 protected:
  static std::string le(const std::string& arquivo) {
    std::ifstream f(arquivo);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }
  // The product workbook's shape: headings, a barcode, a price aligned right, a hidden column.
  static void escreveProdutos(const std::string& caminho) {
    EscritorPlanilha e;
    e.escreve(1, 1, "Barra");
    e.larguraColuna(1, 15);
    e.escreve(1, 2, "Nome Produto");
    e.larguraColuna(2, 35);
    e.escreve(1, 4, "Preço Custo");
    e.larguraColuna(3, 0);
    e.escreve(2, 1, "7891234567890");
    e.escreve(2, 2, "Feijão <1kg> & \"Cia\"");
    e.escreve(2, 4, "1.234,50");
    e.alinhaDireita(2, 4);
    e.escreve(3, 2, "escrita fora de ordem");
    e.alinhaDireita(3, 1);  // alignment before the value
    e.escreve(3, 1, "0001");
    e.escreve(2, 2, "Feijão <1kg> & \"Cia\"");  // written again: the last one wins
    e.salva(caminho);
  }
};

TEST_F(EscritorPlanilhaTeste, VoltaPeloNossoLeitor) {
  const std::string arq = naPasta("nosso.xlsx");
  escreveProdutos(arq);
  auto p = abrePlanilha(arq);
  EXPECT_EQ(p->celula(1, 1), "Barra");
  EXPECT_EQ(p->celula(1, 4), "Preço Custo");
  EXPECT_EQ(p->celula(2, 1), "7891234567890");
  EXPECT_EQ(p->celula(2, 2), "Feijão <1kg> & \"Cia\"");
  EXPECT_EQ(p->celula(2, 4), "1.234,50");
  EXPECT_EQ(p->celula(3, 1), "0001");
  EXPECT_EQ(p->celula(3, 2), "escrita fora de ordem");
  EXPECT_EQ(p->ultimaLinha(), 3);
}

TEST_F(EscritorPlanilhaTeste, SubstituiArquivoExistenteEFalhaComClareza) {
  const std::string arq = naPasta("substituida.xlsx");
  std::ofstream(arq) << "conteúdo antigo";
  EscritorPlanilha e;
  e.escreve(1, 1, "novo");
  e.salva(arq);
  EXPECT_EQ(abrePlanilha(arq)->celula(1, 1), "novo");
  for (const auto& f : std::filesystem::directory_iterator(pastaTemporaria()))
    EXPECT_EQ(f.path().string().find("substituida.xlsx."), std::string::npos) << "temporário esquecido";

  try {
    e.salva(naPasta("nao/existe/x.xlsx"));
    FAIL() << "salvou numa pasta que não existe";
  } catch (const ErroPlanilha& erro) {
    EXPECT_NE(std::string(erro.what()).find("Não foi possível salvar a planilha \""), std::string::npos);
  }
  EXPECT_THROW(e.escreve(0, 1, "x"), ErroPlanilha);
  EXPECT_THROW(e.escreve(1, 16385, "x"), ErroPlanilha);
}

TEST_F(EscritorPlanilhaTeste, FormatosNoArquivoVistosPeloOpenpyxl) {
  if (!temPythonOpenpyxl()) GTEST_SKIP() << "python3 com openpyxl não instalado (scripts/setup.sh)";
  const std::string arq = naPasta("formatos.xlsx");
  escreveProdutos(arq);
  const std::string saida = naPasta("formatos.txt");
  const std::string script =
      "import openpyxl, sys\n"
      "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
      "cd = ws.column_dimensions\n"
      "out = [ws.dimensions, ws['A2'].value, ws['A2'].data_type, ws['A1'].font.b, ws['A2'].font.b,\n"
      "       ws['A1'].number_format, ws['D2'].number_format, ws['D2'].alignment.horizontal,\n"
      "       ws['A3'].alignment.horizontal, ws['B2'].alignment.horizontal, round(cd['A'].width), "
      "round(cd['B'].width),\n"
      "       cd['C'].hidden, cd['D'].hidden, ws.row_dimensions[1].font.b]\n"
      "# Column styles: every column of the sheet has the text format.\n"
      "cols = sorted((d.min, d.max, d.number_format) for d in cd.values())\n"
      "out.append(cols[0][0] == 1 and cols[-1][1] == 16384 and all(c[2] == '@' for c in cols))\n"
      "out.append(all(cols[i][1] + 1 == cols[i + 1][0] for i in range(len(cols) - 1)))\n"
      "open(sys.argv[2], 'w').write('|'.join(map(str, out)))\n";
  std::ofstream(naPasta("formatos.py")) << script;
  ASSERT_EQ(executa("/usr/bin/python3 '" + naPasta("formatos.py") + "' '" + arq + "' '" + saida + "'"), 0);
  EXPECT_EQ(le(saida),
            "A1:D3|7891234567890|s|True|False|@|@|right|right|None|16|36|True|False|True|True|True");
}

TEST_F(EscritorPlanilhaTeste, AbreNoLibreOfficeComOsFormatos) {
  if (!temLibreOffice()) GTEST_SKIP() << "LibreOffice (soffice) não instalado (scripts/setup.sh)";
  const std::string arq = naPasta("paralo.xlsx");
  escreveProdutos(arq);
  // LibreOffice reads our file and writes it back: the barcode must stay text, not a number.
  const std::string fods = naPasta("paralo.fods");
  ASSERT_TRUE(converteComLibreOffice(arq, "fods"));
  const std::string doc = le(fods);
  EXPECT_NE(doc.find("office:value-type=\"string\""), std::string::npos);
  EXPECT_EQ(doc.find("office:value=\"7891234567890\""), std::string::npos) << "o código virou número";
  EXPECT_NE(doc.find("<text:p>7891234567890</text:p>"), std::string::npos);
  EXPECT_NE(doc.find("fo:font-weight=\"bold\""), std::string::npos);
  EXPECT_NE(doc.find("fo:text-align=\"end\""), std::string::npos);
  EXPECT_NE(doc.find("table:visibility=\"collapse\""), std::string::npos);
  EXPECT_NE(doc.find("<number:text-content/>"), std::string::npos);  // the "@" format
}

}  // namespace
}  // namespace zuv::teste
