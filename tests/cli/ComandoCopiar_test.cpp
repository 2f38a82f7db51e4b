#include <sstream>

#include "cli/LinhaDeComando.h"
#include "dbcopy/AmbienteCopia.h"
#include "dbcopy/AtualizaBanco.h"
#include "dbcopy/ParBancos.h"
#include "shell/PastaPrograma.h"

namespace zuv::teste {
namespace {

class ComandoCopiarTest : public AmbienteCopia {
 protected:
  void SetUp() override {
    AmbienteCopia::SetUp();
    destino->executaIsql(kDestinoComDados);
    destino->executaIsql(kClientesTipados);
  }
  int roda(std::vector<std::string> args) {
    args.insert(args.begin(), "copiar");
    args.insert(args.end(), {kOpcaoPastaPrograma, destino->pastaPrograma().string()});
    std::istringstream entrada;
    saida.str("");
    erros.str("");
    const int status = executaLinhaDeComando(args, Terminal{entrada, saida, erros});
    definePastaPrograma("");
    return status;
  }
  std::vector<std::string> caminhos() const {
    return {"--origem", origem->caminho().string(), "--destino", destino->caminho().string()};
  }
  std::vector<std::string> com(std::vector<std::string> extra) const {
    auto a = caminhos();
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
  }
  std::ostringstream saida, erros;
};

TEST_F(ComandoCopiarTest, EachCombinationOfOptionsRunsWhatTheFormsButtonsRun) {
  struct Caso {
    std::vector<std::string> opcoes;
    int status;
    std::string saida;
    long itens, clientesAntigos;
  };
  const std::vector<Caso> casos = {
      {{"--cliente"}, 0, "Fim da Importação\n", 6, 0},
      {{"--incluir-produtos"}, 0, "Total de Produtos Recuperado  5\nAtualização feita com sucesso\n", 11, 3},
      {{"--incluir-produtos", "--cliente"},
       0,
       "Total de Produtos Recuperado  5\nAtualização feita com sucesso\nFim da Importação\n",
       11,
       0},
      {{}, 0, "Total de Produtos Recuperado  5\nAtualização feita com sucesso\n", 5, 3},
      {{"--limpa-banco", "--cliente"},
       0,
       "Total de Produtos Recuperado  5\nAtualização feita com sucesso\nFim da Importação\n",
       5,
       0},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(::testing::PrintToString(c.opcoes));
    SetUp();
    EXPECT_EQ(roda(com(c.opcoes)), c.status) << erros.str();
    EXPECT_EQ(saida.str(), c.saida);
    EXPECT_EQ(conta(*destino, "PRODUTOESTOQUE"), c.itens);
    EXPECT_EQ(std::stol(destino->valor("select count(*) from CLIENTE where CLIENTE starting with 'ANTIGO'")),
              c.clientesAntigos);
  }
}

TEST_F(ComandoCopiarTest, WrongDatabasesAndOptionsAreRefused) {
  const std::string arquivo = destino->caminho().string();
  EXPECT_EQ(roda({"--origem", arquivo, "--destino", "localhost:" + arquivo, "--cliente"}), 1);
  EXPECT_EQ(saida.str(), mensagemMesmoBanco("localhost:" + arquivo) + "\n");
  EXPECT_EQ(roda({"--origem", "/nao/existe.fdb", "--destino", arquivo, "--cliente"}), 2);
  EXPECT_EQ(saida.str(), "Erro ao abrir os dados, verifique o caminho do banco de dados \n");
  EXPECT_EQ(roda(com({"--incluir-produtos", "--limpa-banco"})), 2);
  EXPECT_EQ(roda({"--origem", arquivo, "--cliente"}), 2);
  EXPECT_NE(erros.str().find("--destino"), std::string::npos) << erros.str();
  EXPECT_EQ(conta(*destino, "CLIENTE"), 3);
}

}  // namespace
}  // namespace zuv::teste
