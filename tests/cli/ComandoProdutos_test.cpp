#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/LinhaDeComando.h"
#include "customers/AmbienteClientes.h"
#include "migration/AmbienteProdutos.h"
#include "shell/PastaPrograma.h"

namespace zuv::teste {
namespace {

class ComandoProdutosTest : public AmbienteClientes {
 protected:
  int roda(std::vector<std::string> args) {
    args.insert(args.end(), {kOpcaoPastaPrograma, pasta.string()});
    std::istringstream entrada;
    saida.str("");
    erros.str("");
    const int status = executaLinhaDeComando(args, Terminal{entrada, saida, erros});
    definePastaPrograma("");
    return status;
  }
  std::ostringstream saida, erros;
};

TEST_F(ComandoProdutosTest, ImportarLeAPlanilhaOuAGradeComAsCaixasDoFormulario) {
  EXPECT_EQ(roda({"produtos", "importar", "--limpa-base"}), 1);  // no produto.xlsx: nothing wiped
  EXPECT_NE(saida.str().find("produto.xlsx"), std::string::npos) << saida.str();
  std::ofstream(pasta / "grade.txt") << "Barra\tNome\tUn\tCusto\tVenda\tEstoque\n"
                                        "7891\tArroz\tUN\t20,00\t25,00\t4\n"
                                        "7892\tFeijão\tUN\t6,00\tcaro\t5\n";
  EXPECT_EQ(roda({"produtos", "importar", "--grade", (pasta / "grade.txt").string()}), 0) << erros.str();
  EXPECT_EQ(saida.str(),
            "Linha Excel: 2 Código Barra 7892 Valor de Venda CARO Descrição Programática: \"CARO\" não é um "
            "número.\nFim Importação\nFIM\n");
  EXPECT_NE(erros.str().find("Produtos: 1 importados, 0 atualizados, 1 com erro, em "), std::string::npos)
      << erros.str();
  std::ofstream(pasta / "grade.txt") << "Barra\n7891\tArroz tipo 1\tUN\t21,00\t26,00\t9\n";
  EXPECT_EQ(roda({"produtos", "importar", "--grade", (pasta / "grade.txt").string(), "--estoque",
                  "--nome-produto"}),
            0)
      << erros.str();
  EXPECT_EQ(linhas("select p.descricao, e.custoliquido, e.vendaatual, e.estoqueatual from produtoestoque e "
                   "join produto p on p.idproduto = e.idproduto"),
            (Tabela{{"ARROZ TIPO 1", "20", "25", "9"}}));
  // A text saved by a Windows program is Windows-1252.
  std::ofstream(pasta / "grade.txt", std::ios::binary) << "Barra\n7893\tA\xE7\xFA"
                                                          "car cristal\tUN\t3,00\t4,00\n";
  EXPECT_EQ(roda({"produtos", "importar", "--grade", (pasta / "grade.txt").string()}), 0) << saida.str();
  EXPECT_EQ(saida.str(), "Fim Importação\nFIM\n");
  EXPECT_EQ(linhas("select p.descricao from produtoestoque e join produto p on p.idproduto = e.idproduto "
                   "where e.barra = '7893'"),
            Tabela{{"ACUCAR CRISTAL"}});
  EXPECT_EQ(roda({"produtos", "importar", "--limpa-base", "--atualiza"}), 2);
}

// The fiscal check before a workbook import: one line per kind on stderr, every finding in the
// run's report beside the failing rows, all under the row the spreadsheet shows (the system's own
// "Linha Excel" line keeps its row minus one).
TEST_F(ComandoProdutosTest, FiscalFindingsGoIntoTheReportUnderTheSheetsRowNumbers) {
  Tabela linhas = {kCabecalhoProduto};
  linhas.push_back({"7891", "Arroz", "UN", "20,00", "25,00", "4", "", "", "#1006"});
  linhas.push_back({"7892", "Feijão", "UN", "6,00", "caro", "5", "", "", "07133319"});
  planilha(linhas, pasta / "produto.xlsx");
  const std::string csv = (pasta / "relatorio.csv").string();
  EXPECT_EQ(roda({"produtos", "importar", "--relatorio", csv}), 0) << erros.str();
  EXPECT_EQ(saida.str(),
            "Linha Excel: 2 Código Barra 7892 Valor de Venda CARO Descrição Programática: \"CARO\" não é um "
            "número.\nFim Importação\nFIM\n");
  EXPECT_NE(erros.str().find("\nNCM com menos de 8 dígitos: 1 (linha 2, coluna I \"1006\")\n"
                             "Preço que não é número: 1 (linha 3, coluna E \"caro\")\n"),
            std::string::npos)
      << erros.str();
  std::ifstream f(csv, std::ios::binary);
  const std::string relatorio((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  for (const char* linha : {"Falha;;;;;;;Linha 2, coluna I (NCM) de produto.xlsx;",
                            "Falha;;;;;;;Linha 3, coluna E (Preço Venda) de produto.xlsx;",
                            "Falha;;;;;;;Linha 3 de produto.xlsx;"})
    EXPECT_NE(relatorio.find(linha), std::string::npos) << linha << "\n" << relatorio;
}

}  // namespace
}  // namespace zuv::teste
