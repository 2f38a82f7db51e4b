// Our writer through our reader and through openpyxl: values, the text format on every cell, bold
// row 1, widths, a hidden column and right alignment are in the file.
#include <gmock/gmock.h>

#include "common/Erro.h"
#include "platform/ApoioPlanilha.h"

namespace zuv::teste {
namespace {

class EscritorPlanilhaTeste : public ComPlanilhas {
 protected:
  // The product workbook's shape (headings, a barcode, a price aligned right, a hidden column),
  // saved over an older file of that name.
  static std::string escreveProdutos(const std::string& nome) {
    const std::string arquivo = naPasta(nome);
    std::ofstream(arquivo) << "conteúdo antigo";
    EscritorPlanilha e;
    e.escreve(1, 1, "Barra");
    e.larguraColuna(1, 15);
    e.escreve(1, 2, "Nome");
    e.larguraColuna(2, 35);
    e.larguraColuna(3, 0);
    e.escreve(2, 1, "7891234567890");
    e.escreve(2, 2, "antes");
    e.escreve(2, 4, "1.234,50");
    e.alinhaDireita(2, 4);
    e.alinhaDireita(3, 1);  // alignment before the value
    e.escreve(3, 1, "0001");
    e.escreve(2, 2, "Feijão <1kg> & \"Cia\"");  // out of order and written again: the last one wins
    e.salva(arquivo);
    return arquivo;
  }
};

TEST_F(EscritorPlanilhaTeste, VoltaPeloNossoLeitorEFalhaComClareza) {
  EXPECT_EQ(lista(escreveProdutos("nosso.xlsx")),
            "1\t1\tBarra\n1\t2\tNome\n2\t1\t7891234567890\n2\t2\tFeijão <1kg> & \"Cia\"\n2\t4\t1.234,50\n"
            "3\t1\t0001\n");
  for (const auto& f : std::filesystem::directory_iterator(naPasta("")))
    EXPECT_FALSE(f.path().filename().string().starts_with("nosso.xlsx.")) << "temporário esquecido";

  EscritorPlanilha e;
  EXPECT_THROW(e.escreve(0, 1, "x"), ErroPlanilha);
  EXPECT_THROW(e.escreve(1, 16385, "x"), ErroPlanilha);
  EXPECT_THAT(
      [&] { e.salva(naPasta("nao/existe/x.xlsx")); },
      testing::ThrowsMessage<ErroPlanilha>(testing::StartsWith("Não foi possível salvar a planilha \"")));
}

TEST_F(EscritorPlanilhaTeste, FormatosNoArquivoVistosPeloOpenpyxl) {
  if (!temOpenpyxl()) GTEST_SKIP() << "python3 com openpyxl não instalado (scripts/setup.sh)";
  // The last two: the column styles cover every column of the sheet without gaps, all with "@".
  std::ofstream(naPasta("formatos.py"))
      << "import openpyxl, sys\nws = openpyxl.load_workbook(sys.argv[1]).active\ncd = ws.column_dimensions\n"
         "cols = sorted((d.min, d.max, d.number_format) for d in cd.values())\n"
         "print(ws.dimensions, ws['A2'].value, ws['A2'].data_type, ws['A1'].font.b, ws['A2'].font.b,\n"
         "  ws['A1'].number_format, ws['D2'].number_format, ws['D2'].alignment.horizontal,\n"
         "  ws['A3'].alignment.horizontal, ws['B2'].alignment.horizontal, round(cd['A'].width),\n"
         "  round(cd['B'].width), cd['C'].hidden, cd['D'].hidden, ws.row_dimensions[1].font.b,\n"
         "  cols[0][0] == 1 and cols[-1][1] == 16384 and all(c[2] == '@' for c in cols),\n"
         "  all(cols[i][1] + 1 == cols[i + 1][0] for i in range(len(cols) - 1)), sep='|', end='')\n";
  ASSERT_EQ(executa("/usr/bin/python3 '" + naPasta("formatos.py") + "' '" + escreveProdutos("formatos.xlsx") +
                    "' >'" + naPasta("formatos.txt") + "'"),
            0);
  EXPECT_EQ(le(naPasta("formatos.txt")),
            "A1:D3|7891234567890|s|True|False|@|@|right|right|None|16|36|True|False|True|True|True");
}

}  // namespace
}  // namespace zuv::teste
