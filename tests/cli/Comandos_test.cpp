// The tasks of the command line on a real database: for each run its arguments, exit status, a
// fragment of what it prints and what the database holds afterwards.
#include <sstream>

#include "cli/LinhaDeComando.h"
#include "customers/AmbienteClientes.h"
#include "dbcopy/AmbienteCopia.h"
#include "dbcopy/ParBancos.h"
#include "shell/PastaPrograma.h"

namespace zuv::teste {
namespace {

// The program's database is the copy's destination (stock items 1-5 and 9, customers ANTIGO 1, 2
// and 5); the copy's origin has five items and three customers.
class ComandosTest : public AmbienteCopia {
 protected:
  void SetUp() override {
    AmbienteCopia::SetUp();
    destino->executaIsql(kDestinoComDados);
    destino->executaIsql(kClientesTipados);
  }
};

// In arguments and output, $O and $D stand for the origin's and the destination's paths, $P for the
// program folder, and "?" at the start of the output for the copy's question before it wipes.
TEST_F(ComandosTest, EachTasksExitOutputAndDatabase) {
  struct Caso {
    std::vector<std::string> args;
    int status;
    std::string trecho;              // in stdout, then stderr
    std::string banco;               // stock items/customers/customers named ANTIGO afterwards
    std::string sql = "";            // run on the destination first
    bool planilha = true;            // clientes.xlsx (Ana, Bruno) in the program folder
    const char* digitado = nullptr;  // what a terminal's user types; none: no terminal
    std::string ausente = "";        // in neither stdout nor stderr
  };
  const std::string copiados = "Total de Produtos Recuperado  5\nAtualização feita com sucesso\n";
  const std::string mantido = "Operação não poderá ser completa, há operações vinculada a esse cliente : ";
  const std::string venda = "insert into nfsaida (idnfsaida, idcliente) values (1, 2)";
  const std::vector<std::string> copia = {"zuv", "copiar", "--origem", "$O", "--destino", "$D"};
  const auto mais = [](std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  // clang-format off
  const std::vector<Caso> casos = {
      {{"clientes", "importar", "--sim"}, 1, "clientes.xlsx", "6/3/3", "", false},
      {{"clientes", "importar"}, 2, "importadorzuv: a operação perguntou \"Atualizar o Cadastro de Cliente\" e não há "
                                    "quem responda.\nUse --sim ou --nao para responder sem terminal.\n", "6/3/3"},
      {{"clientes", "importar", "--nao"}, 0, "Atualizar o Cadastro de Cliente [s/n] n (--nao)\n", "6/3/3"},
      {{"clientes", "importar", "--sim"}, 0, "Atualizar o Cadastro de Cliente [s/n] s (--sim)\nFIM\n", "6/5/3"},
      {{"clientes", "importar", "--sim", "--atomico"}, 0, "FIM\n", "6/5/3"},
      {{"clientes", "importar", "--sim", "--simular"}, 0, "Simulação: nada foi gravado em VENDAS.FDB. A operação "
                                                          "faria:\n  CLIENTE: 2 incluídas, 0 alteradas, 0 excluídas\n", "6/3/3"},
      {{"clientes", "importar", "--sim", "--sem-copia"}, 2, "--sem-copia", "6/3/3"},
      {{"clientes", "excluir", "--sim"}, 0, "Excluir Base de dados de Cliente do ZUV [s/N] s (--sim)\n2Nome: ANTIGO 2" +
                                            mantido + "\nfinalizado\n", "6/1/1", venda},
      {{"clientes", "excluir", "--sim", "--sem-copia", "--atomico"}, 0, "Alterações gravadas em VENDAS.FDB:\n  "
                                                                        "CLIENTE: 0 incluídas, 0 alteradas, 3 excluídas\n",
       "6/0/0", "", true, nullptr, "Cópia de segurança"},
      // The copy: the wiping mode asks first; --sim answers, a terminal's empty answer is No.
      {mais(copia, {"--cliente"}), 0, "Fim da Importação\n", "6/3/0"},
      {mais(copia, {"--incluir-produtos"}), 0, copiados, "11/3/3"},
      {mais(copia, {"--incluir-produtos", "--cliente"}), 0, copiados + "Fim da Importação\n", "11/3/0"},
      {copia, 2, "e não há quem responda", "6/3/3"},
      {copia, 1, "?", "6/3/3", "", true, "\n"},
      {mais(copia, {"--sim"}), 0, "?s (--sim)\n" + copiados, "5/3/3"},
      {mais(copia, {"--limpa-banco", "--cliente"}), 0, "?" + copiados + "Fim da Importação\n", "5/3/0", "", true, "s\n"},
      {{"zuv", "copiar", "--origem", "$D", "--destino", "localhost:$D", "--cliente"}, 1,
       mensagemMesmoBanco("localhost:$D") + "\n", "6/3/3"},
      {{"zuv", "copiar", "--origem", "/nao/existe.fdb", "--destino", "$D", "--cliente"}, 2,
       "Erro ao abrir os dados, verifique o caminho do banco de dados \n", "6/3/3"},
      {mais(copia, {"--incluir-produtos", "--limpa-banco"}), 2, "--limpa-banco", "6/3/3"},
      {{"copiar", "--origem", "$O", "--cliente"}, 2, "--destino", "6/3/3"},
      // The fiscal check: usage errors and files it cannot read.
      {{"fiscal", "verificar"}, 2, "ARQUIVO", "6/3/3"},
      {{"fiscal", "verificar", "$P/clientes.xlsx", "--data", "31/02/2026"}, 2, "--data: data inválida: 31/02/2026", "6/3/3"},
      {{"fiscal", "verificar", "$P/nao-existe.xlsx"}, 2, "nao-existe.xlsx", "6/3/3"},
      {{"fiscal", "verificar", "$P/clientes.xlsx"}, 2, "clientes.xlsx: a linha 1 não tem os títulos", "6/3/3"},
      {{"fiscal", "verificar", "$P/clientes.xlsx", "--tabela-ncm", "$P/zuv.ini"}, 2, "zuv.ini: esperava '{'", "6/3/3"},
      {{"fiscal", "verificar", "$P/clientes.xlsx", "--tabela-cest", "$P/nada.html"}, 2, "tabela CEST não encontrada", "6/3/3"},
  };
  // clang-format on
  const fs::path modelo = destino->pastaDados().parent_path().parent_path() / "clientes-modelo.xlsx";
  planilha({{"NOME"}, {"Ana"}, {"Bruno"}}, modelo);
  for (const Caso& c : casos) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + (c.digitado ? c.digitado : ""));
    SetUp();
    const auto troca = [&](std::string s) {
      for (const auto& [de, para] : {std::pair{"$O", origem->caminho().string()},
                                     {"$D", destino->caminho().string()},
                                     {"$P", destino->pastaPrograma().string()}})
        for (size_t i = s.find(de); i != std::string::npos; i = s.find(de, i + para.size()))
          s.replace(i, 2, para);
      return s;
    };
    if (!c.sql.empty()) destino->executaIsql(c.sql + ";");
    if (c.planilha) fs::copy_file(modelo, destino->pastaPrograma() / "clientes.xlsx");
    std::vector<std::string> args = {kOpcaoPastaPrograma, destino->pastaPrograma().string()};
    for (const std::string& a : c.args)
      args.push_back(troca(a));
    std::istringstream entrada(c.digitado ? c.digitado : "");
    std::ostringstream saida, erros;
    EXPECT_EQ(executaLinhaDeComando(args, Terminal{entrada, saida, erros, c.digitado != nullptr}), c.status);
    definePastaPrograma("");
    std::string trecho = troca(c.trecho);
    if (trecho.starts_with('?'))
      trecho.replace(
          0, 1,
          "Limpa Banco e Cadastra Produtos: 1 produto, 6 itens de estoque, 1 grupo e 1 cadastro de "
          "CFOP serão excluídos de " +
              destino->caminho().string() + ". Continuar? [s/N] ");
    const std::string tudo = saida.str() + erros.str();
    EXPECT_NE(tudo.find(trecho), std::string::npos) << tudo;
    if (!c.ausente.empty()) {
      EXPECT_EQ(tudo.find(c.ausente), std::string::npos) << tudo;
    }
    EXPECT_EQ(destino->valor("select (select count(*) from PRODUTOESTOQUE) || '/' || (select count(*) from "
                             "CLIENTE) || '/' || (select count(*) from CLIENTE where CLIENTE starting with "
                             "'ANTIGO') from RDB$DATABASE"),
              c.banco);
  }
}

}  // namespace
}  // namespace zuv::teste
