#include "customers/ImportaClientes.h"

#include <gtest/gtest.h>

#include "common/Erro.h"
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
  EXPECT_EQ(tela.eventos, (std::vector<std::string>{"mostra: Trm", "cursor: on", "progresso: 0",
                                                    "pergunta: Atualizar o Cadastro de Cliente -> sim",
                                                    "progresso: 100", "cursor: off", "mensagem: FIM"}));
  EXPECT_EQ(tela.linhas, (std::vector<std::pair<long long, long long>>{{1, 2}, {2, 2}, {2, 2}}));
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
  EXPECT_EQ(tela.progressos, (std::vector<int>{0, 100}));  // the bar ends full
}

// A workbook whose sheet is damaged at row 40 of 60 (bad XML in the middle of the part).
TEST_F(ImportaClientesTest, AWorkbookDamagedMidwayFailsWithItsProblem) {
  Tabela linhas = {kCabecalho};
  for (int i = 2; i <= 60; ++i)
    linhas.push_back({"Cliente " + std::to_string(i)});
  planilha(linhas, pasta / kArquivoClientes);
  const std::string danifica =
      "/usr/bin/python3 -c 'import sys, zipfile\nz = zipfile.ZipFile(sys.argv[1])\n"
      "partes = {n: z.read(n) for n in z.namelist()}\nz.close()\n"
      "p = \"xl/worksheets/sheet1.xml\"\npartes[p] = partes[p].replace(b\"<row r=\\\"40\\\"\", b\"<row <<\", "
      "1)\n"
      "with zipfile.ZipFile(sys.argv[1], \"w\") as z:\n    for n, d in partes.items(): z.writestr(n, d)' '" +
      (pasta / kArquivoClientes).string() + "'";
  ASSERT_EQ(std::system(danifica.c_str()), 0);
  tela = TelaGravadora{};
  tela.respostaPadrao = true;
  const Resultado r = executa(ImportaClientes);
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_NE(r.mensagem.find("clientes.xlsx\": XML inválido na parte xl/worksheets/sheet1.xml"),
            std::string::npos)
      << r.mensagem;
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{r.mensagem});
  EXPECT_EQ(conta("cliente"), 0);
}

// Numbers typed as numbers read as the regional style writes them; "1,234.50" typed as a text stays.
TEST_F(ImportaClientesTest, NumbersUnderEitherRegionalStyle) {
  for (const auto& [estilo, nro] : {std::pair{kBrasileiro, "1234,5"}, {kIngles, "1234.5"}}) {
    usaEstilo(estilo);
    conexao->executa("delete from cliente");
    EXPECT_EQ(importa({kCabecalho,
                       {"Ana", "", "#1234.5", "1,234.50", "", "", "", "#12345678", "", "", "#11999998888"}}),
              Resultado::encerrar());
    EXPECT_EQ(linhas("select NRO, COMPLEMENTO, CEP, CELULAR from cliente"),
              (Tabela{{nro, "1,234.50", "12345678", "11999998888"}}));
  }
}

// DEL is in Windows-1252 but a control character all the same: its row is refused too.
TEST_F(InsercaoClienteTest, ControlCharactersAreRefused) {
  CelulasCliente celulas;
  celulas[4] = "n\x7Fl";
  EXPECT_THROW(exigeCaracteresDoBanco(limpaCliente(celulas), 7), ErroConversao);
}

// Workbooks found by a hostile probe (made with openpyxl): an escaped NUL (_x0000_) and a lone
// surrogate (_xD800_) in row 3, and a row 5 whose name is only quotes, among names full of quotes,
// pipes, semicolons and SQL.
class ImportaClientesHostilTest : public ImportaClientesTest {
 protected:
  Resultado importaArquivo(const std::string& nome) {
    fs::copy_file(ZUV_SOURCE_DIR "/tests/customers/" + nome, pasta / kArquivoClientes,
                  fs::copy_options::overwrite_existing);
    tela = TelaGravadora{};
    tela.respostaPadrao = true;
    return executa(ImportaClientes);
  }
};

TEST_F(ImportaClientesHostilTest, ANulOrALoneSurrogateRefusesItsRowWithAReadableMessage) {
  for (auto [arquivo, visto] : {std::pair{"clientes_nul.xlsx", "ANTES\\u0000DEPOIS"},
                                std::pair{"clientes_surrogate.xlsx", "SUR\\uD800ROGATE"}}) {
    const std::string esperado = "Linha 3, coluna A (CLIENTE): \"" + std::string(visto) +
                                 "\" tem caracteres que o banco de dados do ZUV não aceita.";
    EXPECT_EQ(importaArquivo(arquivo), Resultado::falhou(esperado)) << arquivo;
    EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{esperado});
  }
  // Row 2 of each stays; nothing of row 3.
  EXPECT_EQ(linhas("select CLIENTE from cliente order by idcliente"),
            (Tabela{{"CLIENTE BOM 1"}, {"CLIENTE BOM 1"}}));
}

TEST_F(ImportaClientesHostilTest, ANameThatCleansToNothingIsListedAndSkipped) {
  EXPECT_EQ(importaArquivo("clientes_so_aspas.xlsx"), Resultado::encerrar());
  const std::string aviso =
      "Linha 5: o nome (coluna A) fica vazio depois da limpeza; o cliente não foi incluído.";
  EXPECT_EQ(tela.itens["lstCliente"], std::vector<std::string>{aviso});
  EXPECT_TRUE(tela.visiveis["lstCliente"]);
  EXPECT_EQ(
      tela.textosDasMensagens(),
      (std::vector<std::string>{
          "1 linha não foi importada porque o nome (coluna A) fica vazio depois da limpeza: 5.", "FIM"}));
  // The SQL in the cells stored as text; no NULL name (row 5 left out).
  const Tabela gravados = linhas("select IDCLIENTE, CLIENTE, ENDERECO, NRO from cliente order by idcliente");
  ASSERT_EQ(gravados.size(), 8u);  // rows 2 to 10 but 5
  EXPECT_EQ(gravados[2], (Tabela::value_type{"3", "X); DELETE FROM CLIENTE; --",
                                             "(SELECT RDB RELATION_NAME FROM RDB DATABASE)", "1 OR 1=1"}));
  EXPECT_EQ(gravados[6][1], "TAB HERE E NOVA LINHA CR");  // a tab and line breaks became blanks
}

}  // namespace
}  // namespace zuv::teste
