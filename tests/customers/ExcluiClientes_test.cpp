#include "customers/ExcluiClientes.h"

#include "customers/AmbienteClientes.h"
#include "customers/Clientes.h"

namespace zuv::teste {
namespace {

using Tabela = BancoDeTeste::Linhas;

const std::vector<std::string> kDependentes = {"ClienteCobranca", "ClienteEntrega",  "cliconta",    "CliTrab",
                                               "CLIREF",          "ClienteAnotacao", "Contacliente"};

TEST(ExcluiClientesTextoTest, OnlyWholeNumbersGoIntoTheStatements) {
  EXPECT_EQ(textoIdCliente(Valor(int64_t{12})), "12");
  EXPECT_EQ(textoIdCliente(Valor(Decimal{120, 1})), "12");
  EXPECT_EQ(textoIdCliente(Valor(" 7 ")), "7");
  for (const Valor& v : {Valor(Decimal{125, 1}), Valor("1 or 1=1"), Valor()})
    EXPECT_EQ(textoIdCliente(v), std::nullopt);
}

class ExcluiClientesTest : public AmbienteClientes {
 protected:
  // Customers 1, 2, ... with a row in every dependent table (keyed "ID" + the table's name).
  void clientes(const std::vector<std::string>& nomes) {
    for (size_t i = 0; i < nomes.size(); ++i) {
      const std::string id = std::to_string(i + 1);
      conexao->executa("insert into cliente (idcliente, cliente, pf, ativo) values (" + id + ", '" +
                       nomes[i] + "', 'J', 'S')");
      for (const std::string& t : kDependentes)
        conexao->executa("insert into " + t + " (ID" + t + ", idcliente) values (" + id + ", " + id + ")");
    }
  }
  // Each customer still holding dependent rows, with how many.
  Tabela dependentes() {
    std::string uniao;
    for (const std::string& t : kDependentes)
      uniao += (uniao.empty() ? "" : " union all ") + ("select idcliente from " + t);
    return linhas("select idcliente, count(*) from (" + uniao + ") group by idcliente");
  }
};

TEST_F(ExcluiClientesTest, RefusedCustomersAreKeptWholeAndListedTheOthersGo) {
  clientes({"ANA", "O''HARA | FILHOS", "CARLA", "DORA"});
  // Invoices point to 2 and to 4 (the last of the snapshot), so the database refuses them.
  conexao->executa("insert into nfsaida (idnfsaida, idcliente, numeronf) values (1, 2, 1)");
  conexao->executa("insert into nfsaida (idnfsaida, idcliente, numeronf) values (2, 4, 1)");
  EXPECT_EQ(ExcluiClientes(*conexao, tela), Resultado::concluido());
  EXPECT_EQ(linhas("select idcliente from cliente order by idcliente"), (Tabela{{"2"}, {"4"}}));
  EXPECT_EQ(dependentes(), (Tabela{{"2", "7"}, {"4", "7"}}));
  const std::string mantido = "Operação não poderá ser completa, há operações vinculada a esse cliente : ";
  EXPECT_EQ(tela.eventos,
            (std::vector<std::string>{
                "pergunta: Excluir Base de dados de Cliente do ZUV -> sim", "cursor: on", "limpa: lstCliente",
                "mostra: lstCliente", "item: lstCliente = 2Nome: O'HARA | FILHOS" + mantido,
                "item: lstCliente = 4Nome: DORA" + mantido, "mensagem: finalizado", "cursor: off"}));
  EXPECT_EQ(tela.perguntas[0].titulo, "ZUV ATUALIZAÇÃO DE DADOS");
}

TEST_F(ExcluiClientesTest, AnswerNoDeletesNothingAndAClosedConnectionIsAFailure) {
  clientes({"ANA"});
  tela.respostas = {false};
  EXPECT_EQ(ExcluiClientes(*conexao, tela), Resultado::concluido());
  EXPECT_EQ(conta("cliente"), 1);
  EXPECT_EQ(dependentes(), (Tabela{{"1", "7"}}));
  EXPECT_EQ(tela.eventos, (std::vector<std::string>{
                              "pergunta: Excluir Base de dados de Cliente do ZUV -> nao", "cursor: off"}));
  conexao->fecha();
  const Resultado r = ExcluiClientes(*conexao, tela);
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{r.mensagem});
}

}  // namespace
}  // namespace zuv::teste
