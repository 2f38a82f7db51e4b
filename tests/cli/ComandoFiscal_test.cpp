// "importadorzuv fiscal verificar": what it prints and its exit status, with the tables from the
// options and from the settings file of the program folder.
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "cli/ApoioComando.h"
#include "fiscal/ApoioFiscal.h"
#include "fiscal/ConfiguracaoFiscal.h"

namespace zuv::teste {
namespace {

class ComandoFiscalTest : public ComPlanilhasFiscais, public Comando {
 protected:
  void SetUp() override {
    ComPlanilhasFiscais::SetUp();
    unsetenv(kVariavelTabelaNcm);
    unsetenv(kVariavelTabelaCest);
    std::filesystem::create_directories(programa);
  }
  void TearDown() override {
    std::filesystem::remove(programa + "/" + kArquivoTabelasFiscais);
    ComPlanilhasFiscais::TearDown();
  }

  int roda(std::vector<std::string> args) { return Comando::roda(std::move(args), programa); }

  static std::string produtos(const std::string& nome, const std::string& ncm, const std::string& cest) {
    return planilha(
        nome, {kCabecalhoProduto,
               {"7891", "ITEM", "UN", "1", "2", "3", "G", "S", ncm, "18", "5102", "102", "00", cest, ""}});
  }

  std::string programa = pasta() + "/programa";
};

TEST_F(ComandoFiscalTest, SaidaZeroSemAchadosUmComAchados) {
  const std::string boa = produtos("boa.xlsx", "22030000", "0302100");
  EXPECT_EQ(roda({"fiscal", "verificar", boa, "--data", "08/12/2026"}), 0) << erros.str();
  EXPECT_EQ(saida.str(),
            "Sem tabelas oficiais: só as regras dos códigos (--tabela-ncm, --tabela-cest)\n"
            "Planilha: planilha de produtos (produto.xlsx), 1 linha de dados, verificada em 08/12/2026\n"
            "Nenhum achado.\n");

  const std::string ncm = arquivo("ncm.json", kNcmPequena), cest = arquivo("cest.html", kCestPequena);
  const std::string ruim = produtos("ruim.xlsx", "39139050", "1700100");
  EXPECT_EQ(
      roda({"fiscal", "verificar", ruim, "--tabela-ncm", ncm, "--tabela-cest", cest, "--data", "08/12/2026"}),
      1)
      << erros.str();
  // One line per kind of finding; every finding with --detalhes (also after the task) and in the
  // CSV of --relatorio.
  const std::string tabelas =
      "Tabela NCM: Vigente em 13/08/2026 (Resolução Gecex nº 926/2026), 4 códigos de 8 dígitos\n"
      "Tabela CEST: CONVÊNIO ICMS 142/18, 2 códigos (0 revogados)\n"
      "Planilha: planilha de produtos (produto.xlsx), 1 linha de dados, verificada em 08/12/2026\n"
      "NCM fora de vigência: 1 (linha 2, coluna I \"39139050\")\n"
      "CEST de outro NCM: 1 (linha 2, coluna N \"1700100\")\n";
  EXPECT_EQ(saida.str(), tabelas + "2 achados.\n");
  EXPECT_NE(erros.str().find("--detalhes"), std::string::npos) << erros.str();
  const std::string csv = pasta() + "/achados.csv";
  EXPECT_EQ(roda({"fiscal", "verificar", ruim, "--tabela-ncm", ncm, "--tabela-cest", cest, "--data",
                  "08/12/2026", "--detalhes", "--relatorio", csv}),
            1);
  EXPECT_EQ(
      saida.str(),
      tabelas +
          "Linha 2, coluna I (NCM) \"39139050\": NCM 39139050 deixou de vigorar em 30/09/2026\n"
          "Linha 2, coluna N (Código CEST) \"1700100\": CEST 1700100 não vale para o NCM 39139050: vale para "
          "NCM que começa com 1704.90.10\n"
          "2 achados.\n");
  std::ifstream f(csv, std::ios::binary);
  const std::string conteudo((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  EXPECT_NE(conteudo.find(
                "\r\nFalha;;;;;;;Linha 2, coluna N (Código CEST) de ruim.xlsx;\"Verificação fiscal (CEST de "
                "outro NCM): \"\"1700100\"\": CEST 1700100 não vale"),
            std::string::npos)
      << conteudo;

  // The same tables from the settings file of the program folder, by relative paths.
  std::filesystem::copy_file(ncm, programa + "/ncm.json", std::filesystem::copy_options::overwrite_existing);
  std::ofstream(programa + "/" + kArquivoTabelasFiscais)
      << "[tabelas]\n# da Receita\nncm = ncm.json\ncest=\n";
  EXPECT_EQ(roda({"fiscal", "verificar", ruim, "--data", "01/09/2026"}), 0);
  EXPECT_NE(saida.str().find("Tabela NCM: Vigente em 13/08/2026"), std::string::npos) << saida.str();
  EXPECT_EQ(saida.str().find("Tabela CEST"), std::string::npos);
  EXPECT_EQ(saida.str().find("deixou de vigorar"), std::string::npos);  // still in force on 01/09/2026
  EXPECT_NE(saida.str().find("Nenhum achado.\n"), std::string::npos);
}

}  // namespace
}  // namespace zuv::teste
