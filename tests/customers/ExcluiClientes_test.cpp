#include "customers/ExcluiClientes.h"

#include "customers/AmbienteClientes.h"
#include "customers/Clientes.h"

namespace zuv::teste {
namespace {

class ExcluiClientesTest : public AmbienteClientes {
 protected:
  // Each customer still holding dependent rows, with how many.
  Tabela dependentes() {
    std::string uniao = "select idcliente from cliente where 0 = 1";
    for (const std::string& t : kDependentes)
      uniao += " union all select idcliente from " + t;
    return linhas("select idcliente, count(*) from (" + uniao + ") group by idcliente");
  }
};

// Answered No, then Yes: the database refuses 2 and 4 (the last of the snapshot), which keep all their
// rows and are listed; then a closed connection is a failure. Ids reach the statements only as whole numbers.
TEST_F(ExcluiClientesTest, RefusedCustomersAreKeptWholeAndListedTheOthersGo) {
  clientes({"ANA", "O''HARA | FILHOS", "CARLA", "DORA"}, {2, 4});
  tela.respostas = {false};
  EXPECT_EQ(executa(ExcluiClientes), Resultado::concluido());
  EXPECT_EQ(dependentes(), (Tabela{{"1", "7"}, {"2", "7"}, {"3", "7"}, {"4", "7"}}));
  EXPECT_EQ(executa(ExcluiClientes), Resultado::concluido());
  EXPECT_EQ(linhas("select idcliente from cliente order by idcliente"), (Tabela{{"2"}, {"4"}}));
  EXPECT_EQ(dependentes(), (Tabela{{"2", "7"}, {"4", "7"}}));
  const std::string pergunta = "pergunta: Excluir Base de dados de Cliente do ZUV -> ";
  const std::string mantido = "Operação não poderá ser completa, há operações vinculada a esse cliente : ";
  EXPECT_EQ(tela.eventos,
            (std::vector<std::string>{
                pergunta + "nao", "cursor: off", pergunta + "sim", "cursor: on", "limpa: lstCliente",
                "mostra: lstCliente", "item: lstCliente = 2Nome: O'HARA | FILHOS" + mantido,
                "item: lstCliente = 4Nome: DORA" + mantido, "mensagem: finalizado", "cursor: off"}));
  conexao->fecha();
  EXPECT_EQ(executa(ExcluiClientes).desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(tela.mensagens.size(), 2u) << "the failure is shown";
  // Only whole numbers go into the deletion statements.
  EXPECT_EQ(textoIdCliente(Valor(Decimal{120, 1})), "12");
  EXPECT_EQ(textoIdCliente(Valor(" 7 ")), "7");
  for (const Valor& v : {Valor(Decimal{125, 1}), Valor("1 or 1=1"), Valor()})
    EXPECT_EQ(textoIdCliente(v), std::nullopt);
}

}  // namespace
}  // namespace zuv::teste
