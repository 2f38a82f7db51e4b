#include <gmock/gmock.h>

#include <fstream>
#include <iterator>
#include <tuple>

#include "cli/ApoioComando.h"
#include "customers/AmbienteClientes.h"
#include "migration/AmbienteProdutos.h"

namespace zuv::teste {
namespace {

using ::testing::HasSubstr;

class ComandoProdutosTest : public AmbienteClientes, public Comando {
 protected:
  // ctrlC: the progress step at which the person presses Ctrl+C (0: never).
  int roda(std::vector<std::string> args, int ctrlC = 0) {
    int passos = 0;
    return Comando::roda(std::move(args), pasta.string(), [&] { return ctrlC > 0 && ++passos >= ctrlC; });
  }
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

  // Clean mode asks before anything goes: without a terminal and --sim it stops and deletes nothing.
  const std::vector<std::string> limpa = {"produtos", "importar", "--limpa-base", "--grade",
                                          (pasta / "grade.txt").string()};
  EXPECT_EQ(roda(limpa), 2);
  EXPECT_THAT(erros.str(),
              HasSubstr("Limpa Base de Produtos ( Nova Migração ): 2 produtos e 2 itens de estoque "
                        "serão excluídos de " +
                        banco->caminho().string() + ". Continuar?"));
  EXPECT_EQ(conta("produto"), 2);
  EXPECT_FALSE(fs::exists(banco->pastaDados() / "copias"));
  auto comSim = limpa;
  comSim.push_back("--sim");
  EXPECT_EQ(roda(comSim), 0) << erros.str();
  EXPECT_THAT(saida.str(), HasSubstr("serão excluídos de " + banco->caminho().string() +
                                     ". Continuar? [s/N] s (--sim)\nFim Importação\nFIM\n"));
  EXPECT_EQ(linhas("select iditemproduto, barra from produtoestoque"), (Tabela{{"1", "7893"}}));
  EXPECT_EQ(fs::directory_iterator(banco->pastaDados() / "copias")->path().filename().string().substr(0, 7),
            "VENDAS_");
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

  // Findings are not rows with errors: a clean-mode run stopped at its question (no terminal to
  // answer it) failed none.
  EXPECT_EQ(roda({"produtos", "importar", "--limpa-base"}), 2);
  EXPECT_EQ(roda({"historico", "--linhas", "1"}), 0);
  EXPECT_NE(saida.str().find("\n    Linhas: 0 importadas, 0 atualizadas, 0 com erro\n"), std::string::npos)
      << saida.str();
}

// Ctrl+C stops the import after the row in progress; the import's own rule decides what stays:
// it commits after six rows, then every five, so rows 7 and 8 go and 1 to 6 stay; --atomico keeps
// nothing.
TEST_F(ComandoProdutosTest, CtrlCDizOndeParouEOQueFicaGravado) {
  std::ofstream grade(pasta / "grade.txt");
  grade << "Barra\tNome\tUn\tCusto\tVenda\tEstoque\n";
  for (int i = 1; i <= 10; ++i)
    grade << 7890 + i << "\tItem " << i << "\tUN\t1,00\t2,00\t1\n";
  grade.close();
  const std::vector<std::string> importar = {"produtos", "importar", "--grade",
                                             (pasta / "grade.txt").string()};
  auto comAtomico = importar;
  comAtomico.push_back("--atomico");
  using Caso = std::tuple<std::vector<std::string>, std::string, std::string, int>;
  for (const auto& [args, oQueFica, relatorio, itens] : std::vector<Caso>{
           {importar,
            "Fica gravado o que a operação já tinha confirmado no banco; o que ela ainda não tinha "
            "confirmado foi desfeito.",
            "PRODUTOESTOQUE: 6 incluídas", 6},
           {comAtomico, "Nada foi gravado: com --atomico a operação inteira é desfeita.",
            "nada foi gravado em VENDAS.FDB", 0}}) {
    conexao->executa("delete from produtoestoque");
    conexao->executa("delete from produto");
    // Step 1 is the bar's 0 before the first row: step 9 comes after row 8.
    EXPECT_EQ(roda(args, 9), kSaidaInterrompida) << erros.str();
    EXPECT_NE(erros.str().find("importadorzuv: operação interrompida depois de 8 de 10 linhas.\n" + oQueFica),
              std::string::npos)
        << erros.str();
    EXPECT_NE(erros.str().find(relatorio), std::string::npos) << erros.str();
    EXPECT_EQ(conta("produtoestoque"), itens);
    EXPECT_EQ(saida.str().find("FIM"), std::string::npos);
  }
}

}  // namespace
}  // namespace zuv::teste
