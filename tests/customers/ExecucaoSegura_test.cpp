// The customer deletion, and the customer runs under the safety options: all-or-nothing, dry run,
// the backup before the deletion and the change report.
#include <filesystem>

#include "customers/AmbienteClientes.h"
#include "customers/Clientes.h"
#include "customers/ExcluiClientes.h"
#include "customers/ImportaClientes.h"

namespace zuv::teste {
namespace {

OpcoesExecucao opcoes(bool atomico, bool simular, bool semCopia = false, std::string relatorio = {}) {
  return {atomico, simular, semCopia, std::move(relatorio)};
}

class ExecucaoSeguraTest : public AmbienteClientes {
 protected:
  std::vector<fs::path> copias() {
    std::vector<fs::path> r;
    if (fs::exists(banco->pastaDados() / "copias"))
      for (const auto& e : fs::directory_iterator(banco->pastaDados() / "copias"))
        r.push_back(e.path());
    return r;
  }
  // Each customer still holding dependent rows, with how many.
  Tabela dependentes() {
    std::string uniao = "select idcliente from cliente where 0 = 1";
    for (const std::string& t : kDependentes)
      uniao += " union all select idcliente from " + t;
    return linhas("select idcliente, count(*) from (" + uniao + ") group by idcliente");
  }
  // The report of a deletion that removed customers 1 and 3.
  static std::string dois(const std::string& cabeca) {
    std::string s = cabeca;
    for (const char* t : {"CLICONTA", "CLIENTE", "CLIENTEANOTACAO", "CLIENTECOBRANCA", "CLIENTEENTREGA",
                          "CLIREF", "CLITRAB", "CONTACLIENTE"})
      s += std::string("\n  ") + t + ": 0 incluídas, 0 alteradas, 2 excluídas";
    return s;
  }
};

// Answered No, then Yes: the database refuses 2 and 4 (the last of the snapshot), which keep all their
// rows and are listed. Ids reach the statements only as whole numbers.
TEST_F(ExecucaoSeguraTest, RefusedCustomersAreKeptWholeAndListedTheOthersGo) {
  clientes({"ANA", "O''HARA | FILHOS", "CARLA", "DORA"}, {2, 4});
  tela.respostas = {false};
  EXPECT_EQ(executa(ExcluiClientes), Resultado::concluido());
  EXPECT_EQ(dependentes(), (Tabela{{"1", "7"}, {"2", "7"}, {"3", "7"}, {"4", "7"}}));
  EXPECT_EQ(executa(ExcluiClientes), Resultado::concluido());
  EXPECT_EQ(linhas("select idcliente from cliente order by idcliente"), (Tabela{{"2"}, {"4"}}));
  EXPECT_EQ(dependentes(), (Tabela{{"2", "7"}, {"4", "7"}}));
  // The question and the texts word for word: ComandosTest.
  const std::string mantido = "Operação não poderá ser completa, há operações vinculada a esse cliente : ";
  EXPECT_EQ(tela.itens["lstCliente"],
            (std::vector<std::string>{"2Nome: O'HARA | FILHOS" + mantido, "4Nome: DORA" + mantido}));
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"finalizado"});
  // Only whole numbers go into the deletion statements.
  EXPECT_EQ(textoIdCliente(Valor(Decimal{120, 1})), "12");
  EXPECT_EQ(textoIdCliente(Valor(" 7 ")), "7");
  for (const Valor& v : {Valor(Decimal{125, 1}), Valor("1 or 1=1"), Valor()})
    EXPECT_EQ(textoIdCliente(v), std::nullopt);
}

// Each customer's own rollback undoes only that customer in every mode; the dry run keeps everything
// and takes no backup; the others back the database up first.
TEST_F(ExecucaoSeguraTest, DeletionUnderEachOption) {
  struct Caso {
    OpcoesExecucao opcoes;
    Tabela clientes;
    std::string relatorio;
    size_t copias;
  };
  const Caso casos[] = {
      {opcoes(false, false), {{"2"}, {"4"}}, dois("Alterações gravadas em VENDAS.FDB:"), 1},
      {opcoes(false, true),
       {{"1"}, {"2"}, {"3"}, {"4"}},
       dois("Simulação: nada foi gravado em VENDAS.FDB. A operação faria:"),
       0},
      {opcoes(true, false, true), {{"2"}, {"4"}}, dois("Alterações gravadas em VENDAS.FDB:"), 0},
  };
  for (const Caso& c : casos) {
    SetUp();
    clientes({"C1", "C2", "C3", "C4"}, {2, 4});
    tela = TelaGravadora{};
    EXPECT_EQ(executa(ExcluiClientes, c.opcoes), Resultado::concluido());
    EXPECT_EQ(linhas("select idcliente from cliente order by 1"), c.clientes);
    ASSERT_EQ(copias().size(), c.copias);
    ASSERT_FALSE(tela.notas.empty());
    EXPECT_EQ(tela.notas.back(), c.relatorio);  // the backup's note: ImportaFornecedoresTest
  }
}

// A backup that cannot be written (here "copias" is a file, which fails even for root) stops the run
// before anything is deleted.
TEST_F(ExecucaoSeguraTest, AFailedBackupStopsTheDeletion) {
  clientes({"C1", "C2", "C3", "C4"}, {2, 4});
  std::ofstream(banco->pastaDados() / "copias") << "não é uma pasta";
  const Resultado r = executa(ExcluiClientes);
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_TRUE(r.mensagem.starts_with("A cópia de segurança de VENDAS.FDB em " +
                                     (banco->pastaDados() / "copias").string()))
      << r.mensagem;
  EXPECT_NE(r.mensagem.find("nada foi excluído"), std::string::npos) << r.mensagem;
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{r.mensagem});
  EXPECT_EQ(conta("cliente"), 4);
}

// All or nothing: a workbook whose fifth row fails (the rows before it are Windows-1252, "Ñandú Ltda
// €" included) leaves CLIENTE as it was, and the report says what was undone. Without the option
// the rows before a failure stay: ImportaClientesHostilTest.
TEST_F(ExecucaoSeguraTest, ImportAllOrNothing) {
  conexao->executa("insert into cliente (idcliente, cliente) values (7, 'EXISTENTE')");
  Tabela quintaFalha = {{"NOME"}, {"Ana"}, {"Ñandú Ltda €"}, {"Caio"}, {"Davi"}, {"Жук 😀"}, {"Eva"}};
  planilha(quintaFalha, pasta / kArquivoClientes);
  const std::string relatorio = (banco->pastaDados() / "relatorio.csv").string();
  const Resultado r = executa(ImportaClientes, opcoes(true, false, false, relatorio));
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(linhas("select idcliente, cliente from cliente"), (Tabela{{"7", "EXISTENTE"}}));
  EXPECT_EQ(tela.notas.at(0),
            "Tudo ou nada: a operação não terminou e nada foi gravado em VENDAS.FDB. Ela tinha "
            "feito:\n  CLIENTE: 4 incluídas, 0 alteradas, 0 excluídas");
  std::ifstream csv(relatorio, std::ios::binary);
  std::string conteudo((std::istreambuf_iterator<char>(csv)), {});
  EXPECT_EQ(conteudo,
            "\xEF\xBB\xBFTipo;Banco;Tabela;Incluídas;Alteradas;Excluídas;Situação;Onde;Causa\r\n"
            "Alteração;VENDAS.FDB;CLIENTE;4;0;0;desfeitas;;\r\n"
            "Falha;;;;;;;Linha 6;\"Linha 6, coluna A (CLIENTE): \"\"Жук 😀\"\" tem caracteres que o banco "
            "de dados do ZUV não aceita.\"\r\n");
}

}  // namespace
}  // namespace zuv::teste
