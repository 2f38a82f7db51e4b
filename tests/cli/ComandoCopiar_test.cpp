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
  // digitado: what the person types on a terminal (none: no terminal).
  int roda(std::vector<std::string> args, const char* digitado = nullptr) {
    args.insert(args.begin(), "copiar");
    args.insert(args.end(), {kOpcaoPastaPrograma, destino->pastaPrograma().string()});
    std::istringstream entrada(digitado ? digitado : "");
    saida.str("");
    erros.str("");
    const int status = executaLinhaDeComando(args, Terminal{entrada, saida, erros, digitado != nullptr});
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

// The wiping mode asks first, naming what goes ("?" in the expected output): --sim answers, a
// terminal's empty answer is No, and without either nothing is deleted (exit 2).
TEST_F(ComandoCopiarTest, EachCombinationOfOptionsRunsWhatTheFormsButtonsRun) {
  struct Caso {
    std::vector<std::string> opcoes;
    int status;
    std::string saida;
    long itens, clientesAntigos;
    const char* digitado = nullptr;
  };
  const std::string copiados = "Total de Produtos Recuperado  5\nAtualização feita com sucesso\n";
  const std::vector<Caso> casos = {
      {{"--cliente"}, 0, "Fim da Importação\n", 6, 0},
      {{"--incluir-produtos"}, 0, copiados, 11, 3},
      {{"--incluir-produtos", "--cliente"}, 0, copiados + "Fim da Importação\n", 11, 0},
      {{}, 2, "", 6, 3},
      {{}, 1, "?", 6, 3, "\n"},
      {{"--sim"}, 0, "?s (--sim)\n" + copiados, 5, 3},
      {{"--limpa-banco", "--cliente"}, 0, "?" + copiados + "Fim da Importação\n", 5, 0, "s\n"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(::testing::PrintToString(c.opcoes) + (c.digitado ? c.digitado : ""));
    SetUp();
    std::string esperada = c.saida;
    if (esperada.starts_with('?'))
      esperada.replace(
          0, 1,
          "Limpa Banco e Cadastra Produtos: 1 produto, 6 itens de estoque, 1 grupo e 1 cadastro de "
          "CFOP serão excluídos de " +
              destino->caminho().string() + ". Continuar? [s/N] ");
    EXPECT_EQ(roda(com(c.opcoes), c.digitado), c.status) << erros.str();
    EXPECT_EQ(saida.str(), esperada);
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
