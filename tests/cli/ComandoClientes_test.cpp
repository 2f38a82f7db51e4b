#include <sstream>

#include "cli/LinhaDeComando.h"
#include "customers/AmbienteClientes.h"
#include "customers/ImportaClientes.h"
#include "shell/PastaPrograma.h"

namespace zuv::teste {
namespace {

class ComandoClientesTest : public AmbienteClientes {
 protected:
  void TearDown() override {
    definePastaPrograma("");
    AmbienteClientes::TearDown();
  }
  int roda(std::vector<std::string> args) {
    args.push_back(kOpcaoPastaPrograma);
    args.push_back(pasta.string());
    std::istringstream entrada;
    saida.str("");
    erros.str("");
    return executaLinhaDeComando(args, Terminal{entrada, saida, erros});
  }
  std::ostringstream saida, erros;
};

TEST_F(ComandoClientesTest, ImportarWithSimImportsAndPrintsFim) {
  planilhaOpenpyxl({{"NOME"}, {"Ana"}, {"Bruno"}}, pasta / kArquivoClientes);
  const long antes = conta("cliente");
  EXPECT_EQ(roda({"clientes", "importar", "--sim"}), 0) << erros.str();
  EXPECT_EQ(saida.str(), "Atualizar o Cadastro de Cliente [s/n] s (--sim)\nFIM\n");
  EXPECT_EQ(conta("cliente"), antes + 2);
}

TEST_F(ComandoClientesTest, ImportarWithoutAnAnswerStopsBeforeWriting) {
  planilhaOpenpyxl({{"NOME"}, {"Ana"}}, pasta / kArquivoClientes);
  const long antes = conta("cliente");
  EXPECT_EQ(roda({"clientes", "importar"}), 2);
  EXPECT_NE(erros.str().find("Atualizar o Cadastro de Cliente"), std::string::npos) << erros.str();
  EXPECT_EQ(conta("cliente"), antes);
  EXPECT_EQ(roda({"clientes", "importar", "--nao"}), 0);
  EXPECT_EQ(conta("cliente"), antes);
}

TEST_F(ComandoClientesTest, ImportarReportsAMissingWorkbookAsAFailure) {
  EXPECT_EQ(roda({"clientes", "importar", "--sim"}), 1);
  EXPECT_NE(saida.str().find("clientes.xlsx"), std::string::npos) << saida.str();
}

TEST_F(ComandoClientesTest, ExcluirListsTheKeptCustomers) {
  conexao->executa("insert into cliente (idcliente, cliente) values (1, 'ANA')");
  conexao->executa("insert into cliente (idcliente, cliente) values (2, 'BIA')");
  conexao->executa("insert into nfsaida (idnfsaida, idcliente) values (1, 2)");
  EXPECT_EQ(roda({"clientes", "excluir", "--sim"}), 0) << erros.str();
  EXPECT_EQ(
      saida.str(),
      "Excluir Base de dados de Cliente do ZUV [s/n] s (--sim)\n"
      "2Nome: BIAOperação não poderá ser completa, há operações vinculada a esse cliente : \nfinalizado\n");
  EXPECT_EQ(conta("cliente"), 1);
}

}  // namespace
}  // namespace zuv::teste
