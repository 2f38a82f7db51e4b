#include "customers/ExcluiClientes.h"

#include "common/ConverteSQL.h"

#include "customers/AmbienteClientes.h"
#include "customers/Clientes.h"

namespace zuv::teste {
namespace {

const std::vector<std::string> kDependentes = {"ClienteCobranca", "ClienteEntrega",  "cliconta",    "CliTrab",
                                               "CLIREF",          "ClienteAnotacao", "Contacliente"};

TEST(ExcluiClientesTextoTest, OnlyWholeNumbersGoIntoTheStatements) {
  EXPECT_EQ(textoIdCliente(Valor(int64_t{12})), "12");
  EXPECT_EQ(textoIdCliente(Valor(Decimal{120, 1})), "12");
  EXPECT_EQ(textoIdCliente(Valor(" 7 ")), "7");
  EXPECT_EQ(textoIdCliente(Valor(Decimal{125, 1})), std::nullopt);
  EXPECT_EQ(textoIdCliente(Valor("1 or 1=1")), std::nullopt);
  EXPECT_EQ(textoIdCliente(Valor()), std::nullopt);
  EXPECT_EQ(itemClienteMantido("7", "ANA"),
            "7Nome: ANAOperação não poderá ser completa, há operações vinculada a esse cliente : ");
}

class ExcluiClientesTest : public AmbienteClientes {
 protected:
  void cliente(int id, const std::string& nome) {
    conexao->executa("insert into cliente (idcliente, cliente, pf, ativo) values (" + std::to_string(id) +
                     ", " + ConverteSQL(Valor(nome), "CH") + ", 'J', 'S')");
    for (const std::string& tabela : kDependentes)
      conexao->executa(insercaoDependente(tabela, id));
  }
  static std::string insercaoDependente(const std::string& tabela, int id) {
    // Every dependent table is keyed "ID" + its name, except Contacliente's IDCONTACLIENTE.
    const std::string chave = "ID" + tabela;
    return "insert into " + tabela + " (" + chave + ", idcliente) values (" + std::to_string(id) + ", " +
           std::to_string(id) + ")";
  }
  // An invoice that points to the customer, so the database refuses to remove it.
  void venda(int idCliente) {
    conexao->executa("insert into nfsaida (idnfsaida, idcliente, numeronf) values (" +
                     std::to_string(idCliente) + ", " + std::to_string(idCliente) + ", 1)");
  }
  long dependentes(int id) {
    long n = 0;
    for (const std::string& tabela : kDependentes)
      n += conta(tabela + " where idcliente = " + std::to_string(id));
    return n;
  }
  std::vector<std::string> lista() { return tela.itens[kControleLista]; }
};

TEST_F(ExcluiClientesTest, RemovesEveryCustomerWithItsDependants) {
  cliente(1, "ANA");
  cliente(2, "BRUNO");
  EXPECT_EQ(ExcluiClientes(*conexao, tela), Resultado::concluido());
  EXPECT_EQ(conta("cliente"), 0);
  EXPECT_EQ(dependentes(1) + dependentes(2), 0);
  EXPECT_TRUE(lista().empty());
  EXPECT_TRUE(tela.visiveis[kControleLista]);
  ASSERT_EQ(tela.perguntas.size(), 1u);
  EXPECT_EQ(tela.perguntas[0].texto, "Excluir Base de dados de Cliente do ZUV");
  EXPECT_EQ(tela.perguntas[0].icone, Icone::Pergunta);
  EXPECT_EQ(tela.perguntas[0].titulo, "ZUV ATUALIZAÇÃO DE DADOS");
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_EQ(tela.mensagens[0].texto, "finalizado");
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Nenhum);
  EXPECT_EQ(tela.cursores, (std::vector<bool>{true, false}));
}

TEST_F(ExcluiClientesTest, ACustomerWithASaleIsKeptWholeAndListed) {
  cliente(1, "ANA");
  cliente(2, "O'HARA | FILHOS");
  cliente(3, "CARLA");
  cliente(4, "DORA");
  venda(2);
  venda(4);  // the last customer of the snapshot refused too
  const long dependentesDe2 = dependentes(2);
  tela.itens[kControleLista] = {"item de uma exclusão anterior"};

  EXPECT_EQ(ExcluiClientes(*conexao, tela), Resultado::concluido());
  EXPECT_EQ(linhas("select idcliente from cliente order by idcliente"),
            (std::vector<std::vector<std::string>>{{"2"}, {"4"}}));
  EXPECT_EQ(dependentes(2), dependentesDe2);  // nothing of a kept customer is lost
  EXPECT_EQ(dependentes(4), dependentesDe2);
  EXPECT_EQ(dependentes(1) + dependentes(3), 0);
  EXPECT_EQ(lista(),
            (std::vector<std::string>{
                "2Nome: O'HARA | FILHOSOperação não poderá ser completa, há operações vinculada a "
                "esse cliente : ",
                "4Nome: DORAOperação não poderá ser completa, há operações vinculada a esse cliente : "}));
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"finalizado"});
}

TEST_F(ExcluiClientesTest, AnsweringNoDeletesNothing) {
  cliente(1, "ANA");
  tela.respostas = {false};
  EXPECT_EQ(ExcluiClientes(*conexao, tela), Resultado::concluido());
  EXPECT_EQ(conta("cliente"), 1);
  EXPECT_EQ(dependentes(1), static_cast<long>(kDependentes.size()));
  EXPECT_TRUE(tela.mensagens.empty());
  EXPECT_FALSE(tela.visiveis.count(kControleLista));
}

TEST_F(ExcluiClientesTest, AnEmptyTableJustFinishes) {
  EXPECT_EQ(ExcluiClientes(*conexao, tela), Resultado::concluido());
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"finalizado"});
  EXPECT_TRUE(lista().empty());
}

TEST_F(ExcluiClientesTest, AClosedConnectionIsAFailureNotAFinish) {
  conexao->fecha();
  const Resultado r = ExcluiClientes(*conexao, tela);
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{r.mensagem});
}

}  // namespace
}  // namespace zuv::teste
