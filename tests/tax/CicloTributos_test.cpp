// Whole cycles on the populated fixture: export, edit the workbook with openpyxl as a person
// would (codes typed as numbers and as text), import; the CFOP reset; the NF-e export.
#include <gtest/gtest.h>

#include "tax/AmbienteTributos.h"
#include "tax/AtualizaTributos.h"
#include "tax/ExcluiCadastroCFOP.h"
#include "tax/PlanilhaTributos.h"
#include "tax/Tributos.h"

namespace zuv::teste {
namespace {

using Linhas = BancoDeTeste::Linhas;

class CicloTributos : public AmbienteTributos {
 protected:
  Resultado exportaSAT() {
    return executa([](ContextoExecucao& ctx) { return ExportaSAT(ctx, {}); });
  }
  Resultado importaSAT(OpcoesAtualizaTributos o = {}, OpcoesExecucao e = {}) {
    if (!o.excluiCFOP) o.excluiCFOP = false;
    return executa([o](ContextoExecucao& ctx) { return AtualizaTributosSAT(ctx, o); }, e);
  }
  // idNCM, idECFLetra, idTribCFOP, idTribCFOPEntradada, PIS/COFINS and AliqICMS of an item.
  Linhas item(int id) {
    return linhas(
        "select idNCM, idECFLetra, idTribCFOP, idTribCFOPEntradada, PisCSTSai, PISPorcentagemSai, "
        "CofinsCSTSai, CofinsPorcentagemSai, AliqICMS from ProdutoEstoque where idItemProduto = " +
        std::to_string(id));
  }
};

TEST_F(CicloTributos, ExportaSATComColunaDeEntradaEFlag) {
  conexao->executa(
      "update ProdutoEstoque set PisCSTSai = 1, PISPorcentagemSai = 1.65, AliqICMS = 12 where idItemProduto "
      "= 1");
  conexao->executa("update ProdutoEstoque set Ativo = 'N' where idItemProduto = 2");
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  EXPECT_EQ(tela.arquivos, std::vector<std::string>{sat().string()});
  const Linhas c = celulas(sat(), 3, 16);
  EXPECT_EQ(c[0],
            (std::vector<std::string>{"Cod.Interno", "Código Barra", "Descrição Produto", "Grupo Produto",
                                      "NCM", "Aliq. ECF SAT", "CFOP SAT", "Trib.Simples Nacional",
                                      "Cód.Trib.ICMS CST", "Código CEST", "CFP de Entrada", "Código CST PIS",
                                      "Porcentagem PIS", "Código CST Cofins", "Porcentagem Cofins", ""}));
  // Column 11 is the incoming record (5405), not the outgoing one; the inactive item is left out.
  EXPECT_EQ(c[1], (std::vector<std::string>{"1", "7891234567895", "CAFÉ TORRADO 500G", "MERCEARIA",
                                            "09012100", "18.00", "5102", "102", "", "1709600", "5405", "1",
                                            "1,65", "", "", ""}));
  EXPECT_EQ(c[2], std::vector<std::string>(16, ""));

  conexao->executa("update CliDono3 set ProdutoEstoqueAliqICMS = 'S'");
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  const Linhas f = celulas(sat(), 2, 16);
  EXPECT_EQ(f[0][15], "Porcentagem ICMS Cadastro Produto");
  EXPECT_EQ(f[1][15], "12");
}

TEST_F(CicloTributos, ExportaNFEComColunasOcultas) {
  ASSERT_EQ(executa([](ContextoExecucao& ctx) { return ExportaNFE(ctx); }), Resultado::concluido());
  const Linhas c = celulas(pasta / "produtoNfe.xlsx", 3, 11);
  EXPECT_EQ(c[0], (std::vector<std::string>{"Código Barra", "Cod.Interno", "CFOP Inerno", "Descrição Produto",
                                            "Grupo Produto", "NCM", "Código CEST", "CFOP NFE",
                                            "Cód.Trib.ICMS CST", "Natureza Operação", ""}));
  EXPECT_EQ(c[2], (std::vector<std::string>{"2000001", "2", "2", "CARNE MOÍDA KG", "AÇOUGUE", "02013000", "",
                                            "5405", "", "VENDA ST", ""}));

  // A file that cannot be replaced (here a folder in its place) ends the export with its message
  // and nothing shown.
  fs::create_directories(sat() / "ocupado");
  EXPECT_EQ(exportaSAT().desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(tela.mensagens.back().texto, "Erro ao Gerar o Excel");
  EXPECT_EQ(tela.arquivos.size(), 1u);
  EXPECT_NE(tela.notas.back().find("produtosat.xlsx"), std::string::npos) << tela.notas.back();
}

// The edits a person makes: numbers typed where codes lost their zeros, texts with dots and
// zeros, a quote in a description, and a new item whose CST "060" must find its record again.
// Imported all-or-nothing (each lookup read once): every record a row creates is named again by a
// later row, which must find it.
TEST_F(CicloTributos, ExportaEditaImporta) {
  for (const std::string p : {"3, 'PÃO D''ÁGUA'", "4, 'PÃO DOCE'"}) {
    const std::string id = p.substr(0, 1);
    conexao->executa("insert into Produto (idProduto, Descricao) values (" + p + ")");
    conexao->executa("insert into ProdutoEstoque (idItemProduto, idProduto, idProdGrupo, Ativo) values (" +
                     id + ", " + id + ", 1, 'S')");
  }
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  // Rows: 2 = item 1, 3 = item 3 (PÃO D'ÁGUA), 4 = item 4, 5 = item 2 (group 2).
  ASSERT_EQ(celulas(sat(), 5, 1), (Linhas{{"Cod.Interno"}, {"1"}, {"3"}, {"4"}, {"2"}}));
  editaPlanilha(sat(), {
                           {2, 5, "#1012100"}, {2, 10, "#300100"}, {2, 6, "17,5"},    {2, 12, "01"},
                           {2, 13, "#1.65"},   {2, 14, "#6"},      {2, 15, "7,6"},    {3, 5, "0901.21.00"},
                           {3, 6, "#17.5"},    {3, 7, " 5.405"},   {3, 9, "060"},     {3, 10, " 03.001.00 "},
                           {3, 11, "#1102"},   {4, 5, "#1006"},    {4, 6, "#18"},     {4, 7, "#5405"},
                           {4, 9, "#60"},      {4, 8, "1'0"},      {5, 6, " "},       {5, 11, " "},
                           {5, 12, "049"},     {5, 13, "X"},       {4, 10, "#12345"}, {4, 11, "1102"},
                           {5, 5, "#1012100"}, {5, 10, "#300100"}, {5, 8, "1'0"},     {5, 9, "060"},
                       });
  ASSERT_EQ(importaSAT({}, {.atomico = true, .relatorio = {}}), Resultado::encerrar());
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"FIM"});

  // NCM and CEST restored and written; an existing NCM rewrites only its CEST. A heading (1006) and a
  // 5-digit CEST are more than one lost zero short: stored as written.
  EXPECT_EQ(linhas("select idNCM, CodigoNCM, Descricao, idNCMGrupo, CEST from NCM order by idNCM"),
            (Linhas{{"1", "09012100", "CAFÉ TORRADO", "1", "0300100"},
                    {"2", "02013000", "CARNE BOVINA", "1", "<null>"},
                    {"3", "01012100", "CAFÉ TORRADO 500G", "1", "0300100"},
                    {"4", "1006", "PÃO DOCE", "1", "12345"}}));
  // 17,5 and 17.5 are one rate; 18 is found.
  EXPECT_EQ(linhas("select idECFLetra, LetraImpressao, PorcICF, Descricao from ECFLetra order by 1"),
            (Linhas{{"1", "18,00", "18", "Porcentagem: 18,00"}, {"2", "17,5", "17,5", "ECF  17,5"}}));
  // CSOSN 1'0 got its CST record, and item 2 found it and record 4 again; item 3 (CST 060) found
  // record 2 (CSTSat 60).
  EXPECT_EQ(linhas("select CodigoCST, CST from CST where idCST > 1"),
            (Linhas{{"1'0", "DIVERSOS CODIGO: 1'0"}}));
  // The records' texts are the statements' (InstrucoesTributos).
  EXPECT_EQ(linhas("select idTribCFOP, CodFiscal, CSTSat, CSOSN from TribCFOP order by 1"),
            (Linhas{{"1", "5102", "<null>", "102"},
                    {"2", "5405", "60", "<null>"},
                    {"3", "1102", "<null>", "<null>"},
                    {"4", "5405", "60", "1'0"}}));
  EXPECT_EQ(item(1), (Linhas{{"3", "2", "1", "2", "1", "1,65", "6", "7,6", "<null>"}}));
  EXPECT_EQ(item(3), (Linhas{{"1", "2", "2", "3", "<null>", "<null>", "<null>", "<null>", "<null>"}}));
  EXPECT_EQ(item(4), (Linhas{{"4", "1", "4", "3", "<null>", "<null>", "<null>", "<null>", "<null>"}}));
  // Blank rate and incoming CFOP clear the links; PIS CST 049 is 49; a rate X is Null.
  EXPECT_EQ(item(2), (Linhas{{"3", "<null>", "4", "<null>", "49", "<null>", "<null>", "<null>", "<null>"}}));
}

// The reset empties TRIBCFOP; with a TribCFOPVinculo pairing the database refuses the final delete
// and nothing of the reset stays. Then the import goes on and creates records from 1.
TEST_F(CicloTributos, ReinicioDoCadastroDeCFOP) {
  const Linhas cfopAntes = linhas("select * from TribCFOP order by 1");
  OpcoesAtualizaTributos o;
  o.excluiCFOP = true;
  // Under --atomico a failure after the reset rolls the reset back too: no store without CFOPs.
  OpcoesExecucao atomico;
  atomico.atomico = true;
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  editaPlanilha(sat(), {{3, 1, "X"}});
  EXPECT_EQ(importaSAT(o, atomico).desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(linhas("select * from TribCFOP order by 1"), cfopAntes);
  EXPECT_EQ(item(1)[0][2], "1");

  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  conexao->executa("insert into TribCFOPVinculo (idCFOPEntrada, idCFOPSaida) values (2, 1)");
  // The refused reset is a failure of the run, although the rows were imported (its messages and
  // note: ComandoTributosTest.ExportaEditaImportaComOpcoes).
  ASSERT_EQ(importaSAT(o), Resultado::encerrar(MotivoFim::Falha));
  EXPECT_EQ(linhas("select * from TribCFOP order by 1").size(), cfopAntes.size());
  EXPECT_EQ(um("select idTribCFOP from CliDono"), "1");

  conexao->executa("delete from TribCFOPVinculo");
  ASSERT_EQ(importaSAT(o), Resultado::encerrar());
  EXPECT_EQ(um("select idTribCFOP from CliDono"), "<null>");
  EXPECT_EQ(linhas("select idTribCFOP, CodFiscal, CSOSN, CSTSat, Ativo from TribCFOP order by 1"),
            (Linhas{{"1", "5102", "102", "0", "S"},
                    {"2", "5405", "<null>", "<null>", "S"},
                    {"3", "5405", "<null>", "60", "S"}}));
  EXPECT_EQ(item(1)[0][2] + "/" + item(1)[0][3] + " " + item(2)[0][2] + "/" + item(2)[0][3], "1/2 3/<null>");
}

// Records the store made itself (letters exempt, substitution and not taxed at 0 %, CFOP 3 with the
// CST written "060") are found again, all-or-nothing too (each lookup read once): a CST typed as a
// number ("60") is the store's "060", and an item whose letter has the row's rate keeps it.
TEST_F(CicloTributos, StoreRecordsAreFoundAgain) {
  for (const char* sql :
       {"insert into ECFLetra (idECFLetra, LetraImpressao, PorcICF, Descricao) values (2, 'I', 0, 'ISENTO')",
        "insert into ECFLetra (idECFLetra, LetraImpressao, PorcICF, Descricao) values (3, 'F', 0, 'SUBST')",
        "insert into ECFLetra (idECFLetra, LetraImpressao, PorcICF, Descricao) values (4, 'N', 0, 'NT')",
        "insert into TribCFOP (idTribCFOP, Tipo, Descricao, CodFiscal, CSOSN, CSTSat) values (3, 'S', 'ST', "
        "'5405', '500', '060')",
        "update ProdutoEstoque set idECFLetra = 3 where idItemProduto = 1",
        "update ProdutoEstoque set idECFLetra = 4, idTribCFOP = 3 where idItemProduto = 2"})
    conexao->executa(sql);
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  editaPlanilha(sat(), {{3, 9, "#60"}});
  ASSERT_EQ(importaSAT({}, {.atomico = true, .relatorio = {}}), Resultado::encerrar());
  EXPECT_EQ(item(1)[0][1] + " " + item(2)[0][1] + " " + item(2)[0][2], "3 4 3");
  EXPECT_EQ(um("select count(*) from ECFLetra") + " " + um("select count(*) from TribCFOP"), "4 3");
}

TEST_F(CicloTributos, PlanilhaVaziaCodigoInvalidoEGruposDesmarcados) {
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  editaPlanilha(sat(), {{2, 1, ""}});  // row 2 column 1 empty: an empty workbook
  tela = {};
  ASSERT_EQ(importaSAT(), Resultado::encerrar());
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"FIM"});
  EXPECT_EQ(tela.progressos, (std::vector<int>{0, 100}));

  // A code that would rewrite every item ends the run before its row writes anything.
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  editaPlanilha(sat(), {{2, 5, "#33011000"}, {3, 1, "2 OR 1=1"}, {3, 5, "#44011000"}});
  tela = {};
  const Resultado r = importaSAT();
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(tela.textosDasMensagens(),
            std::vector<std::string>{
                "Linha 3, coluna A (Cod.Interno): \"2 OR 1=1\" não é o código interno de um item "
                "(um número inteiro)."});
  EXPECT_EQ(item(2)[0][0], "2");
  EXPECT_EQ(item(1)[0][0], "3");  // the row before stays written

  // Only chkICMSCadProduto: no item update, only AliqICMS; skipped when column 16 has no heading.
  OpcoesAtualizaTributos o;
  o.ncm = o.aliquotaICMS = o.cfop = o.pis = false;
  o.icmsCadProduto = true;
  conexao->executa("update ProdutoEstoque set AliqICMS = 7");
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  ASSERT_EQ(importaSAT(o), Resultado::encerrar());
  EXPECT_EQ(um("select AliqICMS from ProdutoEstoque where idItemProduto = 1"), "7");
  conexao->executa("update CliDono3 set ProdutoEstoqueAliqICMS = 'S'");
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  editaPlanilha(sat(), {{2, 16, "12,5"}, {3, 16, ""}, {2, 5, "#55011000"}});
  ASSERT_EQ(importaSAT(o), Resultado::encerrar());
  EXPECT_EQ(linhas("select AliqICMS, idNCM from ProdutoEstoque order by idItemProduto"),
            (Linhas{{"12,5", "3"}, {"0", "2"}}));
  EXPECT_EQ(um("select count(*) from NCM where CodigoNCM = '55011000'"), "0");
}

TEST_F(CicloTributos, ImportacaoNFELeAPlanilhaSAT) {
  OpcoesAtualizaTributos o;
  o.excluiCFOP = false;
  const auto nfe = [&] {
    return executa([o](ContextoExecucao& ctx) { return AtualizaTributosNFE(ctx, o); });
  };
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  editaPlanilha(sat(), {{2, 3, "ÁGUA | \"50%\""}, {2, 5, "#66011000"}});
  tela = {};
  ASSERT_EQ(nfe(), Resultado::encerrar());
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"FIM"});
  EXPECT_EQ(linhas("select Descricao from NCM where CodigoNCM = '66011000'"), (Linhas{{"AGUA |  50  "}}));
}

// Under the English regional style the export writes rates with a decimal point and the import
// reads them back as the same numbers; a rate typed as a number keeps the text the cell shows.
// Then a description outside Windows-1252 ends the run at its row with the database's own words.
TEST_F(CicloTributos, UnderTheEnglishStyleRatesComeBackAndATextOutside1252EndsTheRun) {
  usaEstilo(kIngles);
  conexao->executa(
      "update ProdutoEstoque set PisCSTSai = 1, PISPorcentagemSai = 1.65, CofinsCSTSai = 1, "
      "CofinsPorcentagemSai = 7.6 where idItemProduto = 1");
  ASSERT_EQ(exportaSAT(), Resultado::concluido());
  const Linhas c = celulas(sat(), 2, 15);
  EXPECT_EQ(c[1][12] + " " + c[1][14], "1.65 7.6");
  editaPlanilha(sat(), {{2, 6, "#17.5"}, {3, 13, "#0.65"}, {3, 15, "3.5"}});
  ASSERT_EQ(importaSAT(), Resultado::encerrar());
  EXPECT_EQ(item(1)[0][5] + " " + item(1)[0][7] + " " + item(2)[0][5] + " " + item(2)[0][7],
            "1,65 7,6 0,65 3,5");
  EXPECT_EQ(linhas("select LetraImpressao, PorcICF, Descricao from ECFLetra where idECFLetra = 2"),
            (Linhas{{"17.5", "17,5", "ECF  17.5"}}));

  editaPlanilha(sat(), {{2, 5, "#66011000"}, {3, 3, "Молоко ✓"}, {3, 5, "#77011000"}});
  tela = {};
  EXPECT_EQ(importaSAT().desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(tela.textosDasMensagens(),
            std::vector<std::string>{"O caractere \"М\" (U+041C) não existe na página de código Windows-1252 "
                                     "do banco de dados; o comando não foi executado."});
  EXPECT_EQ(linhas("select CodigoNCM from NCM where CodigoNCM in ('66011000', '77011000')"),
            (Linhas{{"66011000"}}));  // the row before stays written
}

}  // namespace
}  // namespace zuv::teste
