#include "customers/ImportaClientes.h"

#include "customers/AmbienteClientes.h"

namespace zuv::teste {
namespace {

using Tabela = BancoDeTeste::Linhas;
const std::vector<std::string> kCabecalho = {"NOME", "ENDERECO", "NRO"};
const std::string kGravados = "select IDCLIENTE, CLIENTE, CEP, CELULAR, PF, EMAIL, ATIVO from cliente";
const std::string n = "<null>";

class InsercaoClienteTest : public ComEstilo {};

TEST_F(InsercaoClienteTest, CleansEveryColumnAndBuildsTheStatement) {
  // clang-format off
  CelulasCliente celulas = {"", "Rua \"das\" Flores, 10", "10A", "", "Centro", "São Paulo", "SP.", "12.345-678",
                            "(11) 3333-4444", "", "11999998888", "física", "123.456.789-09", "12.345.678-9", "",
                            "isento", "maria@exemplo.com.br"};
  // clang-format on
  celulas[0] = "Maria d'Ávila | " + std::string(45, 'x') + "ÇÃO";  // cut at 60 characters, not bytes
  EXPECT_EQ(insercaoCliente(limpaCliente(celulas), 42),
            " INSERT INTO Cliente (PF,Ativo,CLIENTE,ENDERECO,NRO,COMPLEMENTO,BAIRRO,CIDADE,ESTADO,CEP,FONE,"
            "FONE2,CELULAR,CPF,RG,CGC,IE,EMAIL,IDCLIENTE) VALUES ('F','S','MARIA DAVILA  " +
                std::string(45, 'X') +
                "C','RUA  DAS  FLORES, 10','10A',Null,'CENTRO','SAO PAULO','SP','12345678','(11) 3333-4444',"
                "Null,'11999998888','123.456.789-','12.345.678-9',Null,'ISENTO','MARIA EXEMPLO.COM.BR', 42)");
  for (const auto& [celula, pessoa] : std::vector<std::pair<std::string, std::string>>{
           {"f", "F"}, {" Física", "F"}, {"'F", "F"}, {"J", "J"}, {"X", "J"}, {"", "J"}, {"@", "J"}}) {
    CelulasCliente c;
    c[11] = celula;
    c[6] = "Ñ.";  // outside the folding table: still one character of the two the state keeps
    EXPECT_EQ(limpaCliente(c).pessoa(), pessoa) << celula;
    EXPECT_EQ(limpaCliente(c).textos[6], "Ñ.");
  }
}

class ImportaClientesTest : public AmbienteClientes {
 protected:
  Resultado importa(const LinhasTeste& linhas, bool resposta = true) {
    planilhaOpenpyxl(linhas, pasta / kArquivoClientes);
    tela = TelaGravadora{};
    tela.respostaPadrao = resposta;
    return ImportaClientes(*conexao, pasta.string(), tela);
  }
};

TEST_F(ImportaClientesTest, RowsGetTheNextIdentifiersUntilAnEmptyColumnAAndEndTheProgram) {
  conexao->executa("insert into cliente (idcliente, cliente, pf, ativo) values (41, 'EXISTENTE', 'J', 'S')");
  EXPECT_EQ(importa({kCabecalho,
                     {"Maria d'Ávila", "", "", "", "", "", "", "#12345678", "", "", "#11999998888", "física",
                      "", "", "", "", "maria@ex.com"},
                     {"O'Brien | Filhos \"Ltda\"", "", "", "", "", "", "", "12.345-678", "", "", "", "X"},
                     {"Carla"},
                     {"", "Rua sem nome"},
                     {"Depois do fim"}}),
            Resultado::encerrar());
  EXPECT_EQ(linhas(kGravados + " where idcliente > 41 order by idcliente"),
            (Tabela{{"42", "MARIA DAVILA", "12345678", "11999998888", "F", "MARIA EX.COM", "S"},
                    {"43", "OBRIEN  FILHOS  LTDA", "12345678", n, "J", n, "S"},
                    {"44", "CARLA", n, n, "J", n, "S"}}));
  EXPECT_EQ(tela.eventos,
            (std::vector<std::string>{"mostra: Trm", "cursor: on", "progresso: 0",
                                      "pergunta: Atualizar o Cadastro de Cliente -> sim", "progresso: 0",
                                      "progresso: 25", "progresso: 50", "cursor: off", "mensagem: FIM"}));
  EXPECT_EQ(tela.perguntas[0].icone, Icone::Pergunta);
  EXPECT_EQ(tela.perguntas[0].titulo, "ZUV ATUALIZAÇÃO DE DADOS");
}

TEST_F(ImportaClientesTest, OnlyAHeadingOrAnswerNoInsertsNothing) {
  const long antes = conta("cliente");
  EXPECT_EQ(importa({kCabecalho}), Resultado::encerrar());
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"FIM"});
  EXPECT_EQ(importa({kCabecalho, {"Ana"}}, false), Resultado::concluido());
  EXPECT_EQ(tela.eventos.back(), "cursor: off");
  EXPECT_TRUE(tela.mensagens.empty());
  EXPECT_EQ(conta("cliente"), antes);
  // An empty heading cell still counts the heading.
  EXPECT_EQ(importa({{"", "ENDERECO"}, {"Ana"}, {"Bia"}}), Resultado::encerrar());
  EXPECT_EQ(conta("cliente"), antes + 2);
  EXPECT_EQ(tela.progressos, (std::vector<int>{0, 0, 33}));
}

TEST_F(ImportaClientesTest, AFailureShowsItsDescriptionAndKeepsTheRowsBefore) {
  const Resultado r = ImportaClientes(*conexao, pasta.string(), tela);  // no clientes.xlsx
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_NE(r.mensagem.find("clientes.xlsx"), std::string::npos) << r.mensagem;
  std::ofstream(pasta / kArquivoClientes) << "NOME;ENDERECO\nAna;Rua 1\n";
  EXPECT_EQ(ImportaClientes(*conexao, pasta.string(), tela).desfecho, Resultado::Desfecho::Falhou);
  EXPECT_TRUE(tela.perguntas.empty());
  EXPECT_EQ(tela.mensagens.size(), 2u);

  const long antes = conta("cliente");
  std::vector<std::string> russo(17);
  russo[0] = "Bia";
  russo[16] = "Жук 😀";
  const std::string esperado =
      "Linha 4, coluna Q (EMAIL): \"Жук 😀\" tem caracteres que o banco de dados do ZUV não aceita.";
  EXPECT_EQ(importa({kCabecalho, {"Ana"}, {"Ñandú Ltda €"}, russo, {"Carla"}}), Resultado::falhou(esperado));
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{esperado});
  EXPECT_EQ(tela.eventos.back(), "cursor: off");
  EXPECT_EQ(conta("cliente"), antes + 2);
}

TEST_F(ImportaClientesTest, AWorkbookSavedByLibreOffice) {
  planilhaLibreOffice({kCabecalho,
                       {"José d'Ávila & Cia|ME", "Av. Brasil", "1.000", "", "", "Brasília", "DF.",
                        "70.000-000", "", "", "#11999998888", "Física", "", "", "", "", "jose@exemplo.com"},
                       {"Só nome"}},
                      pasta / kArquivoClientes);
  EXPECT_EQ(ImportaClientes(*conexao, pasta.string(), tela), Resultado::encerrar());
  EXPECT_EQ(linhas(kGravados + " order by idcliente"),
            (Tabela{{"1", "JOSE DAVILA   CIAME", "70000000", "11999998888", "F", "JOSE EXEMPLO.COM", "S"},
                    {"2", "SO NOME", n, n, "J", n, "S"}}));
}

}  // namespace
}  // namespace zuv::teste
