#include "migration/ImportaPlanilhaProduto.h"

#include <atomic>
#include <future>
#include <thread>

#include "migration/AmbienteProdutos.h"
#include "migration/PlanilhaProduto.h"
#include "migration/ServidorNCM.h"
#include "shell/ContextoExecucao.h"
#include "support/EstadoBanco.h"
#include "tax/AtualizaTributos.h"

namespace zuv::teste {
namespace {

const std::string n = "<null>";
const std::string kItens =
    "select e.IDITEMPRODUTO, e.IDPRODUTO, p.DESCRICAO, e.BARRA, e.CUSTOLIQUIDO, "
    "e.VENDAATUAL, e.MARGEMVENDA, e.MARGEMVENDAPORC, e.ESTOQUEATUAL, e.VENDAATACADO, u.DESCRICAO, "
    "g.DESCRICAO, s.DESCRICAO, c.CODIGONCM, c.CEST, l.PORCICF, t.CODFISCAL from produtoestoque e join "
    "produto p on p.idproduto = e.idproduto left join unidade u on u.idunidade = e.idunidade left join "
    "produtogrupo g on g.idprodgrupo = e.idprodgrupo left join subgrupo s on s.idsubgrupo = e.idsubgrupo "
    "left join ncm c on c.idncm = e.idncm left join ecfletra l on l.idecfletra = e.idecfletra left join "
    "tribcfop t on t.idtribcfop = e.idtribcfop order by e.iditemproduto";

class ImportaProdutoTest : public AmbienteProdutos {};

// Prices as numbers and as text, codes typed as numbers, accents, apostrophes and empty cells.
const Tabela kLinhas = {
    {"#7891000100103", "Café Pilão 500g", "un", "#12.5", "19,90", "#10", "Mercearia", "Matinais", "#9012100",
     "#18", "#5102", "#102", "", "#100100", "17,50"},
    {"0001234", "Biscoito d'Água 200g", "UND", "2.10", "#3.5", "", "", "", "", "7.5", "5102", "102"},
    {"", "Pão francês kg", "KG", "", "#12.99", "#3.25", "Padaria", "", "0901.21.00", "", "5.102"},
    {"", "Pão de queijo kg", "KG", "1.234,50", "", "abc", "", "", "#1905", "", "", "", "", "#17046"},
};

TEST_F(ImportaProdutoTest, NewRowsCreateTheirItemsAndReferencesOnce) {
  OpcoesImportacaoProduto o;
  o.grupo = true;
  EXPECT_EQ(importa(kLinhas, o), Resultado::encerrar());
  // clang-format off
  EXPECT_EQ(linhas(kItens), (Tabela{
      {"1", "1", "CAFE PILAO 500G", "7891000100103", "12,5", "19,9", "7,4", "59,2", "10", "17,5",
       "UN", "MERCEARIA", "MATINAIS", "09012100", "0100100", "18", "5102"},
      // The apostrophe goes, "2.10" is 2,10, UND finds UN, no group is DIVERSOS, no NCM means no CFOP.
      {"2", "2", "BISCOITO DAGUA 200G", "0001234", "2,1", "3,5", "1,4", "66,6667", "0", "0",
       "UN", "DIVERSOS", n, n, n, "7,5", n},
      // Without a cost the sale price is the cost; a dotted NCM finds the one above and keeps its CEST.
      {"3", "3", "PAO FRANCES KG", "", "12,99", "12,99", "0", "0", "3,25", "0", "KG", "PADARIA",
       n, "09012100", "0100100", n, "5102"},
      // A second row without barcode is a new item; a stock that is not a number is 0. A heading
      // (1905) and a 5-digit CEST are more than one lost zero short: stored as written.
      {"4", "4", "PAO DE QUEIJO KG", "", "1234,5", "0", "-1234,5", "-100", "0", "0", "KG",
       "DIVERSOS", n, "1905", "17046", n, n}}));
  EXPECT_EQ(linhas("select idunidade, descricao, medidafracao from unidade order by 1"),
            (Tabela{{"1", "UN", "N"}, {"2", "KG", "N"}}));
  EXPECT_EQ(linhas("select idncm, descricao, idncmgrupo from ncm order by 1"),
            (Tabela{{"1", "CAFE PILAO 500G", "1"}, {"2", "PAO DE QUEIJO KG", "1"}}));
  EXPECT_EQ(linhas("select idncmgrupo, codigoncmgrupo, descricaogrupo from ncmgrupo order by 1"),
            (Tabela{{"1", "1", "GERAL"}, {"2", "2", "CAFE PILAO 500G"}, {"3", "3", "PAO DE QUEIJO KG"}}));
  EXPECT_EQ(linhas("select idecfletra, descricao, letraimpressao from ecfletra order by 1"),
            (Tabela{{"1", "Porcentagem: 18,00", "18,00"}, {"2", "Porcentagem: 7,50", "7,50"}}));
  EXPECT_EQ(linhas("select idtribcfop, descricao, codfiscal, cst, csosn, naturezaoperacao, regime from tribcfop"),
            (Tabela{{"1", "CFOP 5102", "5102", "102", "102", "NAT 5102", "2"}}));
  EXPECT_EQ(linhas("select idcst, codigocst, cst from cst"), (Tabela{{"1", "102", "CSN:102"}}));
  // clang-format on
  EXPECT_EQ(erros(), std::vector<std::string>{});
  EXPECT_TRUE(notas.at(0).ends_with(" s (linhas 2 a 5)")) << notas[0];
}

// Under the English regional style a price typed as text reads as that style writes it ("1,234" is
// a thousand and more, not 1,234 as in Brazil), and a number cell is the number whatever the style.
TEST_F(ImportaProdutoTest, UnderTheEnglishStyleTextPricesReadInThatStyle) {
  usaEstilo(kIngles);
  EXPECT_EQ(importa({{"501", "Arroz", "UN", "1,234", "#2.5"}, {"502", "Feijao", "UN", "#16.86", "20.10"}}),
            Resultado::encerrar());
  EXPECT_EQ(erros(), std::vector<std::string>{});
  EXPECT_EQ(linhas("select barra, custoliquido, vendaatual from produtoestoque order by barra"),
            (Tabela{{"501", "1234", "2,5"}, {"502", "16,86", "20,1"}}));
}

using Opcao = bool OpcoesImportacaoProduto::*;

// Each case's item after its row: the stored row with the columns that change (description, cost,
// sale, margin, stock, wholesale, unit, group, sub-group, NCM, CEST, ECF rate, CFOP).
TEST_F(ImportaProdutoTest, EachFieldBoxRewritesItsFieldsOfAnExistingItemAndEmptyCellsNothing) {
  const auto custo = &OpcoesImportacaoProduto::precoCusto, venda = &OpcoesImportacaoProduto::precoVenda,
             grupo = &OpcoesImportacaoProduto::grupo;
  struct Caso {
    const char* nome;
    std::vector<Opcao> caixas;
    std::vector<std::pair<int, const char*>> muda;  // column, value the item ends with
    Tabela linha = {};                              // after the barcode; none: every column holds a new value
    bool todas = false;
    bool altera = true;
  };
  const std::vector<Caso> casos = {
      {"nenhuma", {}, {}},
      {"nome", {&OpcoesImportacaoProduto::nomeProduto}, {{0, "NOVO NOME"}}},
      // The cost alone: the margin against the stored sale price.
      {"custo", {custo}, {{1, "6"}, {3, "4"}}},
      {"venda", {venda}, {}},
      {"estoque", {&OpcoesImportacaoProduto::estoque}, {{4, "8"}}},
      {"grupo", {grupo}, {{7, "GRUPO B"}, {8, "SUB B"}}},
      {"ncm", {&OpcoesImportacaoProduto::ncm}, {{9, "02013000"}, {10, "7654321"}}},
      {"ecf", {&OpcoesImportacaoProduto::aliqEcf}, {{11, "12"}}},
      {"cfop", {&OpcoesImportacaoProduto::cfopSat}, {{12, "5405"}}},
      {"sem efeito",
       {&OpcoesImportacaoProduto::unidade, &OpcoesImportacaoProduto::tribSimpNac,
        &OpcoesImportacaoProduto::icmsSt, &OpcoesImportacaoProduto::atacado},
       {}},
      // Every box and empty cells: only the description, which the row holds.
      {"todas, celulas vazias", {}, {{0, "NOVO NOME"}}, {{"Novo nome"}}, true},
      // A price list of barcode and sale price: the price is written whatever the cost cell holds,
      // its margin against the stored cost.
      {"custo+venda, so a venda", {custo, venda}, {{2, "2,9"}, {3, "-1,1"}}, {{"", "", "", "2,90"}}},
      {"grupo, so o subgrupo", {grupo}, {{8, "SUB SO"}}, {{"", "", "", "", "", "", "Sub Só"}}},
      // The same values in every column (the printed name cut to 24 ends in a blank, not stored).
      {"todas, os mesmos valores",
       {},
       {{0, "ARROZ TIPO 1 SERRA AZUL 1KG"}},
       {{"Arroz tipo 1 serra azul 1kg", "UN", "4,00", "10,00", "5", "Grupo A", "Sub A", "01012100", "18",
         "5102", "102", "", "1234567", "9,00"}},
       true,
       false},
  };
  Tabela base;
  for (size_t k = 0; k < casos.size(); ++k)
    base.push_back({"B" + std::to_string(k), "Produto " + std::to_string(k), "UN", "4,00", "10,00", "5",
                    "Grupo A", "Sub A", "01012100", "18", "5102", "102", "", "1234567", "9,00"});
  base.back()[1] = casos.back().linha[0][0];
  OpcoesImportacaoProduto comGrupo;
  comGrupo.grupo = true;
  ASSERT_EQ(importa(base, comGrupo), Resultado::encerrar());
  for (size_t k = 0; k < casos.size(); ++k) {
    const Caso& c = casos[k];
    OpcoesImportacaoProduto o;
    for (Opcao caixa : c.caixas)
      o.*caixa = true;
    if (c.todas) o.marcaTodos(true);
    std::vector<std::string> linha = {"Novo nome", "KG", "6,00", "15,00", "8", "Grupo B", "Sub B",
                                      "02013000",  "12", "5405", "500",   "",  "7654321", "13,00"};
    if (!c.linha.empty()) linha = c.linha[0];
    linha.insert(linha.begin(), "b" + std::to_string(k));  // found whatever the case
    ASSERT_EQ(importa({linha}, o), Resultado::encerrar()) << c.nome;
    EXPECT_EQ(erros(), std::vector<std::string>{}) << c.nome;
    EXPECT_EQ(resumo.atualizados, c.altera ? 1 : 0) << c.nome;
    EXPECT_EQ(resumo.semAlteracao, c.altera ? 0 : 1) << c.nome;
  }
  EXPECT_TRUE(notas[0].starts_with("Produtos: 0 importados, 0 atualizados, 1 sem alteração, 0 com erro"))
      << notas[0];
  // No "DIVERSOS" for the existing item whose group cell is empty.
  EXPECT_EQ(linhas("select descricao from produtogrupo order by 1"), (Tabela{{"GRUPO A"}, {"GRUPO B"}}));
  const Tabela itens = linhas(kItens);
  ASSERT_EQ(itens.size(), casos.size());
  for (size_t k = 0; k < casos.size(); ++k) {
    // The wholesale price (column 15) is rewritten whenever its cell holds one.
    std::vector<std::string> esperado = {"",        "4",     "10",       "6",       "5",  "13",  "UN",
                                         "GRUPO A", "SUB A", "01012100", "1234567", "18", "5102"};
    esperado[0] = "PRODUTO " + std::to_string(k);
    if (!casos[k].linha.empty()) esperado[5] = "9";
    for (const auto& [coluna, valor] : casos[k].muda)
      esperado[coluna] = valor;
    std::vector<std::string> obtido;
    for (int i : {2, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16})
      obtido.push_back(itens[k][i]);
    EXPECT_EQ(obtido, esperado) << casos[k].nome;
  }
}

TEST_F(ImportaProdutoTest, FailingRowsAreListedOnceWithTheirLineAndLeaveNothingBehind) {
  Tabela tabela;
  for (int k = 1; k <= 13; ++k)
    tabela.push_back({std::to_string(k), "Produto " + std::to_string(k), "UN", "1,00", "2,00"});
  tabela[3][4] = "abc";     // sheet row 5: a sale price that is not a number
  tabela[8].push_back("");  // sheet row 10: a group the database cannot store
  tabela[8].push_back("");
  tabela[8][6] = "Молоко";
  OpcoesImportacaoProduto o;
  o.grupo = true;
  EXPECT_EQ(importa(tabela, o), Resultado::encerrar());
  ASSERT_EQ(erros().size(), 2u);
  EXPECT_EQ(
      erros()[0],
      "Linha Excel: 4 Código Barra 4 Valor de Venda ABC Descrição Programática: \"ABC\" não é um número.");
  EXPECT_EQ(falhas.size(), 2u);
  EXPECT_TRUE(falhas[0].starts_with("Linha 5 de produto.xlsx: ")) << falhas[0];
  // The rows after a failure go on; the failed ones left no product, group or stock item.
  EXPECT_EQ(conta("produtoestoque"), 11);
  EXPECT_EQ(conta("produto"), 11);
  EXPECT_EQ(conta("produtogrupo"), 1);
  // Thirteen rows: commits after rows 6 and 11, and at the end.
  EXPECT_EQ(resumo.confirmacoes, 3);
  EXPECT_EQ(tela.textos[kControleRegistro], "15");  // the row where the data ended
}

// A database that fails under the run (here a table it does not have) is not a row's fault: the
// run stops at that row with one message, and what was committed before stays.
TEST_F(ImportaProdutoTest, AFailureOfTheDatabaseStopsTheRunAtItsRow) {
  conexao->executa("DROP TABLE CST");
  Tabela tabela;
  for (int k = 1; k <= 9; ++k)
    tabela.push_back({std::to_string(k), "Produto " + std::to_string(k), "UN", "1,00", "2,00"});
  tabela[7].resize(12);
  tabela[7][11] = "102";  // sheet row 9: its CSOSN needs the table CST
  const Resultado r = importa(tabela);
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_TRUE(tela.mensagens[0].texto.starts_with(
      "A importação parou na linha 9 de produto.xlsx: falha do banco de dados (Dynamic SQL Error"))
      << tela.mensagens[0].texto;
  EXPECT_TRUE(tela.mensagens[0].texto.ends_with(
      "). As linhas até a 8 estão gravadas; as seguintes não foram gravadas."))
      << tela.mensagens[0].texto;
  EXPECT_EQ(erros(), std::vector<std::string>{});
  EXPECT_EQ(linhas("select min(barra), max(barra), count(*) from produtoestoque"), (Tabela{{"1", "7", "7"}}));
}

class LimpezaProdutoTest : public AmbienteProdutos {
 protected:
  // The populated fixture, plus a script of the test's own.
  void popula(const std::string& extra = {}) {
    conexao.reset();
    banco->carregaFixture("zuv_populado.sql");
    if (!extra.empty()) banco->executaIsql(extra);
    conexao = std::make_unique<Conexao>(banco->textoConexao());
  }
  std::vector<long> contagens() {
    std::vector<long> r;
    for (const char* t : {"produtoestoque", "produto", "comanda", "itemsaida", "contadet", "ncm", "tribcfop",
                          "produtogrupo", "unidade"})
      r.push_back(conta(t));
    return r;
  }
  OpcoesImportacaoProduto limpa() {
    OpcoesImportacaoProduto o;
    o.limpaBase = true;
    return o;
  }
};

// A workbook without rows: nothing is asked or wiped. Then the wipe is asked first: No leaves
// everything; Yes backs up, wipes and imports.
TEST_F(LimpezaProdutoTest, TheCleanModeAsksThenWipesTheCatalogueAfterABackupAndImportsTheRows) {
  popula();
  const Tabela dois = {{"7891", "Arroz 5kg", "UN", "20", "25"}, {"7892", "Feijão 1kg", "UN", "6", "8"}};
  const std::vector<long> antes = contagens();
  // Only headings, or a first row without barcode and description: nothing to import, nothing wiped,
  // and the run says so and fails.
  const std::string nada =
      "Nenhuma linha de produto em produto.xlsx: a base de produtos não foi limpa e nada foi importado.";
  for (const Tabela& t : {Tabela{}, Tabela{{"", "", "UN", "1", "2"}, {"7891", "Depois do fim"}}}) {
    EXPECT_EQ(importa(t, limpa()), Resultado::falhou(nada));
    EXPECT_EQ(copias + perguntas, 0);
    EXPECT_EQ(contagens(), antes);
  }
  confirmaLimpeza = false;
  EXPECT_EQ(importa(dois, limpa()).desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(perguntas, 1);
  EXPECT_EQ(copias, 0);
  EXPECT_EQ(contagens(), antes);
  EXPECT_EQ(notas, std::vector<std::string>{"Importação cancelada: nada foi excluído nem importado."});
  confirmaLimpeza = true;
  EXPECT_EQ(importa(dois, limpa()), Resultado::encerrar());
  EXPECT_EQ(perguntas, 1);
  EXPECT_EQ(copias, 1);
  EXPECT_EQ(erros(), std::vector<std::string>{});
  EXPECT_EQ(contagens(), (std::vector<long>{2, 2, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(linhas("select idtribcfop from clidono"), Tabela{{n}});
  // The identifiers start again at 1.
  EXPECT_EQ(linhas("select iditemproduto, idproduto, barra from produtoestoque order by 1"),
            (Tabela{{"1", "1", "7891"}, {"2", "2", "7892"}}));
}

// A refused statement is undone with the one that prepares it and the wipe goes on; a reference that
// keeps the stock items undoes the whole wipe. Every refused statement is listed.
TEST_F(LimpezaProdutoTest, RefusedStatementsOfTheWipe) {
  const Tabela arroz = {{"7891", "Arroz 5kg", "UN", "20", "25"}};
  popula("INSERT INTO TRIBCFOPVINCULO (IDCFOPENTRADA, IDCFOPSAIDA) VALUES (1, 2);");
  EXPECT_EQ(importa(arroz, limpa()), Resultado::encerrar());
  EXPECT_EQ(contagens(), (std::vector<long>{1, 1, 0, 0, 0, 0, 2, 0, 2}));
  EXPECT_EQ(linhas("select idtribcfop from clidono"), Tabela{{"1"}});
  ASSERT_EQ(erros().size(), 1u);
  EXPECT_TRUE(erros()[0].starts_with("Delete from TribCFOP: ")) << erros()[0];

  conexao.reset();
  banco = std::make_unique<BancoDeTeste>();
  pasta = banco->pastaPrograma();
  popula(
      "CREATE TABLE ETIQUETA (IDETIQUETA INTEGER NOT NULL PRIMARY KEY, IDITEMPRODUTO INTEGER REFERENCES "
      "PRODUTOESTOQUE (IDITEMPRODUTO));\nCOMMIT;\nINSERT INTO ETIQUETA VALUES (1, 1);");
  const std::vector<long> antes = contagens();
  EXPECT_EQ(importa(arroz, limpa()).desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(copias, 1);
  EXPECT_EQ(contagens(), antes);
  EXPECT_EQ(linhas("select idtribcfop from clidono"), Tabela{{"1"}});
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_TRUE(tela.mensagens[0].texto.starts_with(
      "A base de produtos não foi limpa: a tabela ProdutoEstoque ainda tem registros"))
      << tela.mensagens[0].texto;
  ASSERT_FALSE(erros().empty());
  EXPECT_TRUE(erros()[0].starts_with("Delete from ProdutoEstoque: ")) << erros()[0];
}

// A reply without a code is no failure and an empty barcode is not asked; garbage and silence are
// failures, and a good reply in between starts the count again.
TEST_F(ImportaProdutoTest, RowsWithoutNcmAskTheLookupUntilItFailsThreeTimesInARow) {
  ServidorNCM servidor([](const std::string& alvo) -> std::optional<std::string> {
    if (alvo.ends_with("=111") || alvo.ends_with("=112"))
      return std::string("<produto><CODIGONCM>04012010</CODIGONCM></produto>");
    if (alvo.ends_with("=444")) return std::string("<produto><nome>X</nome></produto>");
    if (alvo.ends_with("=333")) return std::string("<html>erro");
    return std::nullopt;  // closes without a reply
  });
  OpcoesImportacaoProduto o;
  o.enderecoNCM = servidor.endereco();
  Tabela tabela = {{"111", "Leite integral 1L", "UN", "3", "5", "", "", "", "", "", "5102", "102"},
                   {"222", "Carne", "KG", "20", "30", "", "", "", "02013000"},
                   {"", "Sem barra"}};
  for (const char* barra : {"555", "112", "444", "333", "556", "557", "666"})
    tabela.push_back({barra, "Item"});
  EXPECT_EQ(importa(tabela, o), Resultado::encerrar());
  std::vector<std::string> pedidos;
  for (const std::string& alvo : servidor.alvos())
    pedidos.push_back(alvo.substr(alvo.find('=') + 1));
  EXPECT_EQ(pedidos, (std::vector<std::string>{"111", "555", "112", "444", "333", "556", "557"}));
  // The reply's NCM is the row's NCM, and with it the CFOP record.
  EXPECT_EQ(
      linhas("select e.barra, n.codigoncm, t.codfiscal from produtoestoque e left join ncm n on n.idncm = "
             "e.idncm left join tribcfop t on t.idtribcfop = e.idtribcfop where e.barra in ('111', '222') "
             "order by 1"),
      (Tabela{{"111", "04012010", "5102"}, {"222", "02013000", n}}));
  EXPECT_EQ(resumo.inseridos, 10);
  ASSERT_EQ(erros().size(), 1u);
  EXPECT_TRUE(erros()[0].starts_with("Consulta de NCM pela internet desligada depois de 3 falhas seguidas"))
      << erros()[0];
}

TEST_F(ImportaProdutoTest, TheGridsPastedTextsCannotAlterAStatement) {
  conexao->executa("insert into produto (idproduto, descricao) values (1, 'EXISTENTE')");
  conexao->executa("insert into unidade (idunidade, descricao) values (1, 'UN')");
  conexao->executa(
      "insert into produtoestoque (iditemproduto, idproduto, idunidade, barra, vendaatual, vendaatacado) "
      "values (1, 1, 1, 'X', 7, 7)");
  // Pasted from a spreadsheet: tabs between cells, a quoted cell holding a tab and a quote. The first
  // row fails at its hostile wholesale price; the last one, without it, goes in as typed.
  auto colada = std::make_shared<GradeProduto>();
  colada->colaTexto(
      1, 1,
      "Barra\tNome Produto\r\n"
      " ' or ''=' \tÁgua 'com' gás\tcx'\t1,50\t3\t2\t\t\t1012100\t7.5\t\t\t301100\t\t1 Where 1=1 --\r\n"
      "\tSó a descrição\tUN\t2\t4\r\n"
      "7891\tNormal\tUN\t2\t4\t\t\t\t\t\t\t\t\t\t2,5\r\n"
      " ' or ''=' \t\"Água 'com'\tgás \"\"x\"\"\"\tcx'\t1,50\t3\t2\t\t\t1012100\t7.5\t\t\t301100\r\n");
  OpcoesImportacaoProduto o;
  o.planilha = false;
  o.marcaTodos(true);
  o.grade = colada;
  EXPECT_EQ(executa(o), Resultado::encerrar());
  ASSERT_EQ(erros().size(), 1u);
  EXPECT_TRUE(erros()[0].starts_with("Linha Excel: 1 Código Barra ' OR ''=' Valor de Venda 3 "))
      << erros()[0];
  EXPECT_EQ(linhas("select barra, vendaatual, vendaatacado from produtoestoque order by iditemproduto"),
            (Tabela{{"X", "7", "7"}, {"", "4", "0"}, {"7891", "4", "2,5"}, {"' OR ''='", "3", "0"}}));
}

// The same workbooks into two copies of one database: as the system runs them (a commit every five
// rows, every lookup a statement) and all-or-nothing with the tables kept in memory and the
// statements prepared once. Both write exactly the same rows: new items, items found again and
// updated (under every box, a price list, stock and name), failing rows and the clean mode.
TEST_F(LimpezaProdutoTest, AllOrNothingWritesWhatTheSystemsStatementsWrite) {
  popula();
  BancoDeTeste copia;
  copia.carregaFixture("zuv_populado.sql");
  const std::string minusculas =
      "INSERT INTO PRODUTO (IDPRODUTO, DESCRICAO) VALUES (9, 'MINUSCULAS');\nINSERT INTO PRODUTOESTOQUE "
      "(IDITEMPRODUTO, IDPRODUTO, BARRA, VENDAATUAL) VALUES (9, 9, 'xyz9', 3);\nINSERT INTO PRODUTOESTOQUE "
      "(IDITEMPRODUTO, IDPRODUTO, BARRA, VENDAATUAL) VALUES (10, 9, 'dup', 3);\nINSERT INTO PRODUTOESTOQUE "
      "(IDITEMPRODUTO, IDPRODUTO, BARRA, VENDAATUAL) VALUES (11, 9, 'dup ', 4);";
  conexao.reset();
  banco->executaIsql(minusculas);
  copia.executaIsql(minusculas);
  conexao = std::make_unique<Conexao>(banco->textoConexao());
  Conexao outra(copia.textoConexao());

  struct Rodada {
    const char* nome;
    Tabela linhas;
    OpcoesImportacaoProduto opcoes;
    long falhas;
  };
  OpcoesImportacaoProduto todas, precos, limpa, estoque;
  todas.marcaTodos(true);
  precos.precoCusto = precos.precoVenda = true;
  limpa.limpaBase = limpa.grupo = true;
  estoque.estoque = estoque.nomeProduto = true;
  Tabela novas = kLinhas;
  novas.insert(
      novas.end(),
      {{"ABC123", "Com letras", "UN", "1", "2", "", "Açougue", "Sub novo", "22030000", "12", "5405", "500",
        "", "1234567"},
       // Fails at its sub-group, after its unit, group and NCM: nothing of it stays, and the next row
       // creates them under the same identifiers.
       {"FALHA1", "Falha depois", "CX", "1", "2", "", "Grupo Novo", "Молоко", "33030000", "25", "6102",
        "900"},
       {"7891", "Usa CX", "CX", "1", "2", "", "Grupo Novo", "", "33030000", "25", "6102", "900"},
       {"7891000100103", "Café de novo", "UN", "13", "20", "11", "", "Sub dois", "#9012100", "", "", "", "",
        "#100200"},
       {"xyz9", "Achado sem caixa", "UN", "", "4,50", "2"},
       {"dup", "Dois com a mesma barra", "UN", "2", "5"},
       {"7891234567895", "Café existente", "un", "10", "16,50", "", "", "", "", "17.5", "5405", "060"}});
  const std::vector<Rodada> rodadas = {
      {"todas as caixas", novas, todas, 1},
      {"lista de preços",
       {{"7891", "", "", "", "2,90"}, {"ABC123", "", "", "1", "2"}, {"XYZ9", "", "", "3,00", ""}},
       precos,
       0},
      {"nova migração", novas, limpa, 1},
      {"estoque e nome",
       {{"7891", "Usa CX agora", "", "", "", "7"}, {"0001234", "", "", "", "", "x"}},
       estoque,
       1},
  };
  for (const Rodada& r : rodadas) {
    SCOPED_TRACE(r.nome);
    Tabela comCabecalho{kCabecalhoProduto};
    comCabecalho.insert(comCabecalho.end(), r.linhas.begin(), r.linhas.end());
    planilha(comCabecalho, pasta / kArquivoProduto);
    TelaGravadora padrao, atomico;
    ResumoImportacaoProduto resumoPadrao, resumoAtomico;
    auto roda = [&](Conexao& c, TelaGravadora& t, ResumoImportacaoProduto& resumo, bool tudoOuNada) {
      ContextoExecucao ctx(t, pasta.string(), {.atomico = tudoOuNada, .semCopia = true, .relatorio = ""});
      ctx.usaConexao(c);
      return executaNoContexto(
          ctx, [&](ContextoExecucao& x) { return ImportaPlanilhaProduto(x, r.opcoes, &resumo); });
    };
    EXPECT_EQ(roda(*conexao, padrao, resumoPadrao, false), Resultado::encerrar());
    EXPECT_EQ(roda(outra, atomico, resumoAtomico, true), Resultado::encerrar());
    EXPECT_EQ(resumoPadrao.falhas, r.falhas);
    EXPECT_EQ(atomico.itens[kControleProdErro], padrao.itens[kControleProdErro]);
    EXPECT_EQ(std::tie(resumoAtomico.inseridos, resumoAtomico.atualizados, resumoAtomico.semAlteracao,
                       resumoAtomico.falhas),
              std::tie(resumoPadrao.inseridos, resumoPadrao.atualizados, resumoPadrao.semAlteracao,
                       resumoPadrao.falhas));
    EXPECT_EQ(estadoDoBanco(copia), estadoDoBanco(*banco));
  }
  EXPECT_EQ(conta("produtoestoque"), 9);
}

// Two forms running at once: a product import and a tax import both creating an NCM. The one that
// starts second waits for the first instead of reading the same maximum.
TEST_F(LimpezaProdutoTest, AProductImportAndATaxImportAtOnceTakeDifferentIdentifiers) {
  popula();
  planilha({{"Cod.Interno"}, {"1", "", "", "", "22021000"}}, pasta / "produtosat.xlsx");  // item 1's NCM
  planilha({kCabecalhoProduto, {"9990001", "Refrigerante 2L", "UN", "4", "7", "", "", "", "22030000"}},
           pasta / kArquivoProduto);

  // The product import holds before its third sheet row: its NCM is created, not yet committed.
  struct TelaQueSegura : TelaGravadora {
    std::promise<void> parou;
    std::shared_future<void> segue;
    void defineTexto(const std::string& controle, const std::string& texto) override {
      TelaGravadora::defineTexto(controle, texto);
      if (controle != kControleRegistro || texto != "3") return;
      parou.set_value();
      segue.wait();
    }
  } telaProdutos;
  struct TelaQueAguarda : TelaGravadora {
    std::atomic<bool> aguardou{false};
    void nota(const std::string& texto) override { aguardou = aguardou || texto.starts_with("Aguardando"); }
  } telaTributos;
  std::promise<void> libera;
  telaProdutos.segue = libera.get_future().share();
  std::future<void> parou = telaProdutos.parou.get_future();
  auto roda = [&](Tela& t, const Execucao& execucao) {
    Conexao propria(banco->textoConexao());
    ContextoExecucao ctx(t, pasta.string());
    ctx.usaConexao(propria);
    return executaNoContexto(ctx, execucao);
  };
  Resultado produtos, tributos;
  std::thread a([&] {
    produtos = roda(telaProdutos, [](ContextoExecucao& c) { return ImportaPlanilhaProduto(c, {}); });
  });
  parou.wait();
  std::thread b([&] {
    OpcoesAtualizaTributos o;
    o.excluiCFOP = false;
    tributos = roda(telaTributos, [o](ContextoExecucao& c) { return AtualizaTributosSAT(c, o); });
  });
  for (int i = 0; i < 50 && !telaTributos.aguardou; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  libera.set_value();
  a.join();
  b.join();
  EXPECT_TRUE(telaTributos.aguardou);
  EXPECT_EQ(produtos, Resultado::encerrar());
  EXPECT_EQ(tributos, Resultado::encerrar());
  EXPECT_EQ(linhas("select idncm, codigoncm from ncm order by 1"),
            (Tabela{{"1", "09012100"}, {"2", "02013000"}, {"3", "22030000"}, {"4", "22021000"}}));
}

}  // namespace
}  // namespace zuv::teste
