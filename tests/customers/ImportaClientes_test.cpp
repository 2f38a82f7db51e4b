#include "customers/ImportaClientes.h"

#include "common/Erro.h"
#include "customers/AmbienteClientes.h"
#include "customers/Clientes.h"

namespace zuv::teste {
namespace {

const LinhaTeste kCabecalho = {"NOME",  "ENDERECO", "NRO", "COMPL", "BAIRRO", "CIDADE", "UF", "CEP",  "FONE",
                               "FONE2", "CELULAR",  "PF",  "CPF",   "RG",     "CGC",    "IE", "EMAIL"};

LinhaTeste soNome(const std::string& nome) {
  return {nome};
}

// Selects the stored columns in the order of the workbook.
const char* kColunasGravadas =
    "select CLIENTE, ENDERECO, NRO, COMPLEMENTO, BAIRRO, CIDADE, ESTADO, CEP, FONE, FONE2, CELULAR, PF, "
    "CPF, RG, CGC, IE, EMAIL, ATIVO from cliente";

TEST(InsercaoClienteTest, CleansEveryColumnAndBuildsTheStatement) {
  defineSimbolosParaTeste(kBrasileiro);
  const CelulasCliente celulas = {"Maria d'Ávila",
                                  "Rua das Flores, 10",
                                  "10A",
                                  "",
                                  "Centro",
                                  "São Paulo",
                                  "SP.",
                                  "12.345-678",
                                  "(11) 3333-4444",
                                  "",
                                  "11999998888",
                                  "física",
                                  "123.456.789-09",
                                  "12.345.678-9",
                                  "",
                                  "isento",
                                  "maria@exemplo.com.br"};
  EXPECT_EQ(
      insercaoCliente(limpaCliente(celulas), 42),
      " INSERT INTO Cliente (PF,Ativo,CLIENTE,ENDERECO,NRO,COMPLEMENTO,BAIRRO,CIDADE,ESTADO,CEP,FONE,"
      "FONE2,CELULAR,CPF,RG,CGC,IE,EMAIL,IDCLIENTE) VALUES ('F','S','MARIA DAVILA','RUA DAS FLORES, 10',"
      "'10A',Null,'CENTRO','SAO PAULO','SP','12345678','(11) 3333-4444',Null,'11999998888',"
      "'123.456.789-','12.345.678-9',Null,'ISENTO','MARIA EXEMPLO.COM.BR', 42)");
  defineSimbolosParaTeste(std::nullopt);
}

TEST(InsercaoClienteTest, PersonTypeIsFOnlyForAnF) {
  for (const auto& [celula, pessoa] : std::vector<std::pair<std::string, std::string>>{{"F", "F"},
                                                                                       {"f", "F"},
                                                                                       {"Física", "F"},
                                                                                       {" fisica", "F"},
                                                                                       {"J", "J"},
                                                                                       {"Jurídica", "J"},
                                                                                       {"X", "J"},
                                                                                       {"", "J"},
                                                                                       {"'F", "F"},
                                                                                       {"@", "J"}}) {
    CelulasCliente c;
    c[11] = celula;
    EXPECT_EQ(limpaCliente(c).pessoa(), pessoa) << celula;
  }
}

TEST(InsercaoClienteTest, CutsCharactersNotBytes) {
  CelulasCliente c;
  c[0] = std::string(59, 'A') + "ÇÃO";  // accents fold to one letter each
  c[6] = "Ñ.";
  const ClienteLimpo l = limpaCliente(c);
  EXPECT_EQ(l.textos[0], std::string(59, 'A') + "C");
  EXPECT_EQ(l.textos[6], "Ñ.");  // Ñ is outside the folding table and stays one character
}

TEST(InsercaoClienteTest, RefusesTextTheDatabaseCannotHoldNamingRowAndColumn) {
  CelulasCliente c;
  c[0] = "Ñandú Ltda €";
  EXPECT_NO_THROW(exigeCaracteresDoBanco(limpaCliente(c), 2));
  c[16] = "Жук 😀";
  try {
    exigeCaracteresDoBanco(limpaCliente(c), 7);
    FAIL() << "no error";
  } catch (const ErroConversao& e) {
    EXPECT_EQ(std::string(e.what()),
              "Linha 7, coluna Q (EMAIL): \"Жук 😀\" tem caracteres que o banco de dados do ZUV não aceita.");
  }
}

class ImportaClientesTest : public AmbienteClientes {
 protected:
  Resultado importa(const LinhasTeste& linhas) {
    planilhaOpenpyxl(linhas, pasta / kArquivoClientes);
    return ImportaClientes(*conexao, pasta.string(), tela);
  }
};

TEST_F(ImportaClientesTest, ThreeRowsGetTheNextIdentifiersAndEndTheProgram) {
  conexao->executa("insert into cliente (idcliente, cliente, pf, ativo) values (41, 'EXISTENTE', 'J', 'S')");
  const long antes = conta("cliente");
  const Resultado r = importa({kCabecalho, soNome("Ana"), soNome("Bruno"), soNome("Carla")});

  EXPECT_EQ(r, Resultado::encerrar());
  EXPECT_EQ(conta("cliente"), antes + 3);
  EXPECT_EQ(linhas("select idcliente, cliente from cliente where idcliente > 41 order by idcliente"),
            (std::vector<std::vector<std::string>>{{"42", "ANA"}, {"43", "BRUNO"}, {"44", "CARLA"}}));
  ASSERT_EQ(tela.perguntas.size(), 1u);
  EXPECT_EQ(tela.perguntas[0].texto, "Atualizar o Cadastro de Cliente");
  EXPECT_EQ(tela.perguntas[0].icone, Icone::Pergunta);
  EXPECT_EQ(tela.perguntas[0].titulo, "ZUV ATUALIZAÇÃO DE DADOS");
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_EQ(tela.mensagens[0].texto, "FIM");
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Nenhum);
  EXPECT_EQ(tela.progressos, (std::vector<int>{0, 0, 25, 50}));  // 4 rows counted with the heading
  EXPECT_EQ(tela.cursores, (std::vector<bool>{true, false}));
  EXPECT_TRUE(tela.visiveis[kControleProgresso]);
}

TEST_F(ImportaClientesTest, StoresTheCleanedColumns) {
  const long antes = conta("cliente");
  importa({kCabecalho,
           {"Maria d'Ávila " + std::string(60, 'x'), "Rua das Flores, 10", "10A", "", "Centro", "São Paulo",
            "SP.", "12.345-678", "(11) 3333-4444", "", 11999998888.0, "física", "123.456.789-09", "", "",
            "isento", "maria@exemplo.com.br"},
           {"O'Brien | Filhos \"Ltda\"", "", "", "", "", "", "", 12345678.0, "", "", "", "X"}});
  ASSERT_EQ(conta("cliente"), antes + 2);
  const auto gravados = linhas(std::string(kColunasGravadas) + " order by idcliente desc rows 2");
  EXPECT_EQ(gravados[1],
            (std::vector<std::string>{("MARIA DAVILA " + std::string(47, 'X')), "RUA DAS FLORES, 10", "10A",
                                      "<null>", "CENTRO", "SAO PAULO", "SP", "12345678", "(11) 3333-4444",
                                      "<null>", "11999998888", "F", "123.456.789-", "<null>", "<null>",
                                      "ISENTO", "MARIA EXEMPLO.COM.BR", "S"}));
  EXPECT_EQ(gravados[0],
            (std::vector<std::string>{"OBRIEN  FILHOS  LTDA", "<null>", "<null>", "<null>", "<null>",
                                      "<null>", "<null>", "12345678", "<null>", "<null>", "<null>", "J",
                                      "<null>", "<null>", "<null>", "<null>", "<null>", "S"}));
}

TEST_F(ImportaClientesTest, AnEmptyColumnAEndsTheImportThere) {
  const long antes = conta("cliente");
  LinhaTeste semNome = {"", "Rua sem nome", "1"};
  importa({kCabecalho, soNome("Ana"), semNome, soNome("Depois do fim")});
  EXPECT_EQ(conta("cliente"), antes + 1);
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"FIM"});
}

TEST_F(ImportaClientesTest, AnsweringNoInsertsNothing) {
  const long antes = conta("cliente");
  tela.respostas = {false};
  EXPECT_EQ(importa({kCabecalho, soNome("Ana")}), Resultado::concluido());
  EXPECT_EQ(conta("cliente"), antes);
  EXPECT_TRUE(tela.mensagens.empty());
  EXPECT_EQ(tela.cursores, (std::vector<bool>{true, false}));
}

TEST_F(ImportaClientesTest, OnlyAHeadingInsertsNothingAndStillEnds) {
  const long antes = conta("cliente");
  EXPECT_EQ(importa({kCabecalho}), Resultado::encerrar());
  EXPECT_EQ(conta("cliente"), antes);
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"FIM"});
}

TEST_F(ImportaClientesTest, AnEmptyHeadingCellStillCountsTheHeading) {
  const long antes = conta("cliente");
  EXPECT_EQ(importa({{"", "ENDERECO"}, soNome("Ana"), soNome("Bia")}), Resultado::encerrar());
  EXPECT_EQ(conta("cliente"), antes + 2);
  EXPECT_EQ(tela.progressos, (std::vector<int>{0, 0, 33}));
}

TEST_F(ImportaClientesTest, NonLatinTextStopsAtItsRowAndKeepsTheRowsBefore) {
  const long antes = conta("cliente");
  const Resultado r = importa({kCabecalho, soNome("Ana"), soNome("Борис"), soNome("Carla")});
  const std::string esperado =
      "Linha 3, coluna A (CLIENTE): \"Борис\" tem caracteres que o banco de dados do ZUV não aceita.";
  EXPECT_EQ(r, Resultado::falhou(esperado));
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{esperado});
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Nenhum);
  EXPECT_EQ(conta("cliente"), antes + 1);
  EXPECT_EQ(tela.cursores, (std::vector<bool>{true, false}));
}

TEST_F(ImportaClientesTest, ARefusedStatementShowsTheEngineMessageAndKeepsTheRowsBefore) {
  conexao->executa("create exception nome_recusado 'nome recusado pelo teste'");
  conexao->executa(
      "create trigger recusa_nome for cliente before insert as begin "
      "if (new.cliente = 'RECUSADO') then exception nome_recusado; end");
  const long antes = conta("cliente");
  const Resultado r = importa({kCabecalho, soNome("Ana"), soNome("Recusado"), soNome("Carla")});
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_NE(tela.mensagens[0].texto.find("nome recusado pelo teste"), std::string::npos)
      << tela.mensagens[0].texto;
  EXPECT_EQ(conta("cliente"), antes + 1);
}

TEST_F(ImportaClientesTest, AMissingOrBrokenWorkbookIsReportedBeforeTheQuestion) {
  Resultado r = ImportaClientes(*conexao, pasta.string(), tela);
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_NE(r.mensagem.find("clientes.xlsx"), std::string::npos) << r.mensagem;

  std::ofstream(pasta / kArquivoClientes) << "NOME;ENDERECO\nAna;Rua 1\n";
  r = ImportaClientes(*conexao, pasta.string(), tela);
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_FALSE(r.mensagem.empty());
  EXPECT_TRUE(tela.perguntas.empty());
  EXPECT_EQ(tela.mensagens.size(), 2u);
}

// The same cases through workbooks LibreOffice Calc saved, made once for the whole suite.
class ImportaClientesLibreOfficeTest : public ImportaClientesTest {
 protected:
  static void SetUpTestSuite() {
    planilhas = new fs::path(pastaTemporaria("zuv-lo-clientes-"));
    planilhasLibreOffice({{"tres", {kCabecalho, soNome("Ana"), soNome("Bruno"), soNome("Carla")}},
                          {"limpeza",
                           {kCabecalho,
                            {"José d'Ávila & Cia|ME", "Av. Brasil", "1.000", "", "", "Brasília", "DF.",
                             "70.000-000", "", "", "", "Física", "", "", "", "", "jose@exemplo.com"},
                            {"Só nome"}}},
                          {"cabecalho", {kCabecalho}}},
                         *planilhas);
  }
  static void TearDownTestSuite() {
    fs::remove_all(*planilhas);
    delete planilhas;
  }
  Resultado importaLO(const std::string& nome) {
    fs::copy_file(*planilhas / (nome + ".xlsx"), pasta / kArquivoClientes);
    return ImportaClientes(*conexao, pasta.string(), tela);
  }
  static fs::path* planilhas;
};
fs::path* ImportaClientesLibreOfficeTest::planilhas = nullptr;

TEST_F(ImportaClientesLibreOfficeTest, ImportsEveryDataRow) {
  const long antes = conta("cliente");
  EXPECT_EQ(importaLO("tres"), Resultado::encerrar());
  EXPECT_EQ(conta("cliente"), antes + 3);
}

TEST_F(ImportaClientesLibreOfficeTest, StoresTheCleanedColumns) {
  importaLO("limpeza");
  const auto gravados = linhas(std::string(kColunasGravadas) + " order by idcliente desc rows 2");
  ASSERT_EQ(gravados.size(), 2u);
  EXPECT_EQ(gravados[1],
            (std::vector<std::string>{"JOSE DAVILA   CIAME", "AV. BRASIL", "1.000", "<null>", "<null>",
                                      "BRASILIA", "DF", "70000000", "<null>", "<null>", "<null>", "F",
                                      "<null>", "<null>", "<null>", "<null>", "JOSE EXEMPLO.COM", "S"}));
  EXPECT_EQ(gravados[0][0], "SO NOME");
  EXPECT_EQ(gravados[0][11], "J");
}

TEST_F(ImportaClientesLibreOfficeTest, OnlyAHeadingInsertsNothing) {
  const long antes = conta("cliente");
  EXPECT_EQ(importaLO("cabecalho"), Resultado::encerrar());
  EXPECT_EQ(conta("cliente"), antes);
}

}  // namespace
}  // namespace zuv::teste
