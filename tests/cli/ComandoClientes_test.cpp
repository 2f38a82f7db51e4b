#include <sstream>

#include "cli/LinhaDeComando.h"
#include "customers/AmbienteClientes.h"
#include "shell/PastaPrograma.h"

namespace zuv::teste {
namespace {

class ComandoClientesTest : public AmbienteClientes {
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

TEST_F(ComandoClientesTest, ImportarPrecisaDaPlanilhaEDeUmaResposta) {
  EXPECT_EQ(roda({"clientes", "importar", "--sim"}), 1);
  EXPECT_NE(saida.str().find("clientes.xlsx"), std::string::npos) << saida.str();
  planilha({{"NOME"}, {"Ana"}, {"Bruno"}}, pasta / "clientes.xlsx");
  EXPECT_EQ(roda({"clientes", "importar"}), 2);
  EXPECT_NE(erros.str().find("Atualizar o Cadastro de Cliente"), std::string::npos) << erros.str();
  EXPECT_EQ(roda({"clientes", "importar", "--nao"}), 0);
  EXPECT_EQ(conta("cliente"), 0);
  EXPECT_EQ(roda({"clientes", "importar", "--sim"}), 0) << erros.str();
  EXPECT_EQ(saida.str(), "Atualizar o Cadastro de Cliente [s/n] s (--sim)\nFIM\n");
  EXPECT_EQ(conta("cliente"), 2);
}

TEST_F(ComandoClientesTest, ExcluirListaOsClientesMantidos) {
  conexao->executa("insert into cliente (idcliente, cliente) values (1, 'ANA')");
  conexao->executa("insert into cliente (idcliente, cliente) values (2, 'BIA')");
  conexao->executa("insert into nfsaida (idnfsaida, idcliente) values (1, 2)");
  EXPECT_EQ(roda({"clientes", "excluir", "--sim"}), 0) << erros.str();
  EXPECT_EQ(
      saida.str(),
      "Excluir Base de dados de Cliente do ZUV [s/n] s (--sim)\n"
      "2Nome: BIAOperação não poderá ser completa, há operações vinculada a esse cliente : \nfinalizado\n");
  EXPECT_EQ(conta("cliente"), 1);
  EXPECT_NE(erros.str().find(
                "Alterações gravadas em VENDAS.FDB:\n  CLIENTE: 0 incluídas, 0 alteradas, 1 excluídas\n"),
            std::string::npos)
      << erros.str();
}

// The safety options: the dry run says the same on stdout and its report on stderr; --sem-copia only
// where the run may wipe.
TEST_F(ComandoClientesTest, SimularEAtomicoNaoMudamASaida) {
  planilha({{"NOME"}, {"Ana"}}, pasta / "clientes.xlsx");
  EXPECT_EQ(roda({"clientes", "importar", "--sim", "--simular"}), 0) << erros.str();
  EXPECT_EQ(saida.str(), "Atualizar o Cadastro de Cliente [s/n] s (--sim)\nFIM\n");
  EXPECT_NE(erros.str().find("Simulação: nada foi gravado em VENDAS.FDB. A operação faria:\n"
                             "  CLIENTE: 1 incluídas, 0 alteradas, 0 excluídas\n"),
            std::string::npos)
      << erros.str();
  EXPECT_EQ(conta("cliente"), 0);
  EXPECT_EQ(roda({"clientes", "importar", "--sim", "--atomico"}), 0) << erros.str();
  EXPECT_EQ(conta("cliente"), 1);
  EXPECT_EQ(roda({"clientes", "importar", "--sim", "--sem-copia"}), 2);
  EXPECT_EQ(roda({"clientes", "excluir", "--sim", "--sem-copia", "--atomico"}), 0) << erros.str();
  EXPECT_EQ(conta("cliente"), 0);
  EXPECT_EQ(erros.str().find("Cópia de segurança"), std::string::npos) << erros.str();
}

}  // namespace
}  // namespace zuv::teste
