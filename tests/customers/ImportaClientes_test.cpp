#include "customers/ImportaClientes.h"

#include "customers/AmbienteClientes.h"

namespace zuv::teste {
namespace {

const std::vector<std::string> kCabecalho = {"NOME", "ENDERECO", "NRO"};
const std::string kGravados = "select IDCLIENTE, CLIENTE, CEP, CELULAR, PF, EMAIL, ATIVO from cliente";
const std::string n = "<null>";

class InsercaoClienteTest : public ComEstilo {};

TEST_F(InsercaoClienteTest, CleansEveryColumnAndBuildsTheStatement) {
  // clang-format off
  CelulasCliente celulas = {"", "Rua \"das\" Flores, 10", "10A", "", "Centro", "São Paulo", "Ñ.X", "12.345-678",
                            "(11) 3333-4444", "", "11999998888", "física", "123.456.789-09", "12.345.678-9", "",
                            "isento", "maria@exemplo.com.br"};
  // clang-format on
  // Name and state cut at 60 and 2 characters, not bytes (Ñ is outside the folding table).
  celulas[0] = "Maria d'Ávila | " + std::string(45, 'x') + "ÇÃO";
  EXPECT_EQ(insercaoCliente(limpaCliente(celulas), 42),
            " INSERT INTO Cliente (PF,Ativo,CLIENTE,ENDERECO,NRO,COMPLEMENTO,BAIRRO,CIDADE,ESTADO,CEP,FONE,"
            "FONE2,CELULAR,CPF,RG,CGC,IE,EMAIL,IDCLIENTE) VALUES ('F','S','MARIA DAVILA  " +
                std::string(45, 'X') +
                "C','RUA  DAS  FLORES, 10','10A',Null,'CENTRO','SAO PAULO','Ñ.','12345678','(11) 3333-4444',"
                "Null,'11999998888','123.456.789-','12.345.678-9',Null,'ISENTO','MARIA EXEMPLO.COM.BR', 42)");
  for (auto [celula, pessoa] : {std::pair{"f", "F"}, {" Física", "F"}, {"'F", "F"}, {"X", "J"}, {"", "J"}}) {
    celulas[11] = celula;
    EXPECT_EQ(limpaCliente(celulas).pessoa(), pessoa) << celula;
  }
}

class ImportaClientesTest : public AmbienteClientes {
 protected:
  Resultado importa(const Tabela& linhas, bool resposta = true) {
    planilha(linhas, pasta / kArquivoClientes);
    tela = TelaGravadora{};
    tela.respostaPadrao = resposta;
    return executa(ImportaClientes);
  }
};

TEST_F(ImportaClientesTest, RowsGetTheNextIdentifiersUntilAnEmptyColumnAAndEndTheProgram) {
  conexao->executa("insert into cliente (idcliente, cliente, pf, ativo) values (41, 'EXISTENTE', 'J', 'S')");
  EXPECT_EQ(importa({kCabecalho,
                     {"Maria d'Ávila", "", "", "", "", "", "", "#12345678", "", "", "#11999998888", "física"},
                     {"Carla"},
                     {"", "Rua sem nome"},
                     {"Depois do fim"}}),
            Resultado::encerrar());
  EXPECT_EQ(linhas(kGravados + " where idcliente > 41 order by idcliente"),
            (Tabela{{"42", "MARIA DAVILA", "12345678", "11999998888", "F", n, "S"},
                    {"43", "CARLA", n, n, "J", n, "S"}}));
  EXPECT_EQ(tela.eventos,
            (std::vector<std::string>{"mostra: Trm", "cursor: on", "progresso: 0",
                                      "pergunta: Atualizar o Cadastro de Cliente -> sim", "progresso: 0",
                                      "progresso: 33", "cursor: off", "mensagem: FIM"}));
}

TEST_F(ImportaClientesTest, OnlyAHeadingOrAnswerNoInsertsNothing) {
  EXPECT_EQ(importa({kCabecalho}), Resultado::encerrar());
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"FIM"});
  EXPECT_EQ(importa({kCabecalho, {"Ana"}}, false), Resultado::concluido());
  EXPECT_EQ(tela.eventos.back(), "cursor: off");  // and no message
  EXPECT_EQ(conta("cliente"), 0);
  // An empty heading cell still counts the heading.
  EXPECT_EQ(importa({{"", "ENDERECO"}, {"Ana"}, {"Bia"}}), Resultado::encerrar());
  EXPECT_EQ(conta("cliente"), 2);
  EXPECT_EQ(tela.progressos, (std::vector<int>{0, 0, 33}));
}

TEST_F(ImportaClientesTest, AFailureShowsItsDescriptionAndKeepsTheRowsBefore) {
  EXPECT_EQ(executa(ImportaClientes).desfecho,
            Resultado::Desfecho::Falhou);  // no file
  std::ofstream(pasta / kArquivoClientes) << "NOME;ENDERECO\nAna;Rua 1\n";
  EXPECT_EQ(executa(ImportaClientes).desfecho, Resultado::Desfecho::Falhou);
  EXPECT_TRUE(tela.perguntas.empty());
  ASSERT_EQ(tela.mensagens.size(), 2u);
  EXPECT_NE(tela.mensagens[0].texto.find("clientes.xlsx"), std::string::npos) << tela.mensagens[0].texto;
  const std::string esperado =
      "Linha 4, coluna C (NRO): \"Жук 😀\" tem caracteres que o banco de dados do ZUV não aceita.";
  EXPECT_EQ(importa({kCabecalho, {"Ana"}, {"Ñandú Ltda €"}, {"Bia", "", "Жук 😀"}, {"Carla"}}),
            Resultado::falhou(esperado));
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{esperado});
  EXPECT_EQ(tela.eventos.back(), "cursor: off");
  EXPECT_EQ(conta("cliente"), 2);
}

TEST_F(ImportaClientesTest, AWorkbookSavedByLibreOffice) {
  planilha(
      {kCabecalho, {"José d'Ávila & Cia|ME", "", "", "", "", "", "", "70.000-000", "", "", "#11999998888"}},
      pasta / kArquivoClientes, true);
  EXPECT_EQ(executa(ImportaClientes), Resultado::encerrar());
  EXPECT_EQ(linhas(kGravados),
            (Tabela{{"1", "JOSE DAVILA   CIAME", "70000000", "11999998888", "J", n, "S"}}));
}

}  // namespace
}  // namespace zuv::teste
