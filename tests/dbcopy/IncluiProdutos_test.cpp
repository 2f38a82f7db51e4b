#include "dbcopy/IncluiProdutos.h"

#include "dbcopy/AmbienteCopia.h"

namespace zuv::teste {
namespace {

using Linhas = BancoDeTeste::Linhas;

class IncluiProdutosTest : public AmbienteCopia {
 protected:
  Resultado inclui() { return roda(IniciaImportacao, opcoes(ModoCopia::IncluirProdutos)); }

  // The references and barcode of each destination stock item from desde on, by identifier (the
  // sub-group, maker, place and NCM the origin leaves empty stay so).
  Linhas referencias(int desde = 1) const {
    return BancoDeTeste::consulta(
        destino->caminho(),
        "select IDITEMPRODUTO, IDPRODUTO, IDPRODGRUPO, IDUNIDADE, IDTRIBCFOP, BARRA, "
        "coalesce(IDSUBGRUPO, IDFABRICANTE, IDLOCAL, IDNCM) from PRODUTOESTOQUE where IDITEMPRODUTO >= " +
            std::to_string(desde) + " order by 1");
  }

  // Every column of the origin's items (in the run's order) but the references and barcode the run
  // gives anew, against the destination's items from primeiro on, value by value with their exact types.
  void confereColunas(int primeiro) const {
    std::string lista = "VENDAATUAL";
    for (const auto& c :
         valores(*origem,
                 "select trim(RDB$FIELD_NAME) from RDB$RELATION_FIELDS where RDB$RELATION_NAME = "
                 "'PRODUTOESTOQUE' and RDB$FIELD_NAME not in ('VENDAATUAL', 'IDITEMPRODUTO', "
                 "'IDPRODUTO', 'IDPRODGRUPO', 'IDUNIDADE', 'IDTRIBCFOP', 'BARRA')"))
      lista += ", " + c[0].comoTexto();
    const Valores o =
        valores(*origem, "select " + lista + " from PRODUTOESTOQUE order by IDGRADESIMILAR, IDITEMPRODUTO");
    const Valores d = valores(*destino, "select " + lista + " from PRODUTOESTOQUE where IDITEMPRODUTO >= " +
                                            std::to_string(primeiro) + " order by IDITEMPRODUTO");
    ASSERT_EQ(o.size(), d.size());
    EXPECT_EQ(o, d);
  }
};

TEST_F(IncluiProdutosTest, AnEmptyDestinationGetsEveryItemWithNewIdentifiersFromOne) {
  // A printing description longer than the destination's column is cut to it.
  origem->executaIsql(
      "ALTER TABLE PRODUTO ALTER DESCRICAOIMP TYPE VARCHAR(40); COMMIT; "
      "UPDATE PRODUTO SET DESCRICAOIMP = 'ABCDEFGHIJKLMNOPQRSTUVWXYZ0123' WHERE IDPRODUTO = 3");
  EXPECT_EQ(inclui(), Resultado::concluido());
  EXPECT_EQ(tela.textosDasMensagens(),
            (std::vector<std::string>{"Total de Produtos Recuperado  5", "Atualização feita com sucesso"}));
  EXPECT_EQ(tela.mensagens[1].icone, Icone::Nenhum);
  // Origin order: items without IDGRADESIMILAR (10, 12, 13), then 11 and 14. Item 12 has no product,
  // item 13 names a product the origin lacks: neither gets one, and the counter is not used up.
  EXPECT_EQ(referencias(), (Linhas{{"1", "1", "1", "1", "<null>", "1", "<null>"},
                                   {"2", "<null>", "1", "2", "<null>", "2", "<null>"},
                                   {"3", "<null>", "2", "1", "<null>", "3", "<null>"},
                                   {"4", "2", "2", "3", "<null>", "4", "<null>"},
                                   {"5", "3", "2", "1", "<null>", "5", "<null>"}}));
  EXPECT_EQ(BancoDeTeste::consulta(destino->caminho(), "select * from PRODUTO order by 1"),
            (Linhas{{"1", "CAFE TORRADO 500G", "CAFE TORRADO 500G"},
                    {"2", "CARNE MOIDA KG", "<null>"},
                    {"3", "PAO DAGUA", "ABCDEFGHIJKLMNOPQRSTUVWX"}}));
  EXPECT_EQ(BancoDeTeste::consulta(destino->caminho(), "select * from UNIDADE order by 1"),
            (Linhas{{"1", "UN", "N", "N", "0"}, {"2", "GAR'F", "N", "S", "2"}, {"3", "KG", "S", "N", "3"}}));
  EXPECT_EQ(BancoDeTeste::consulta(destino->caminho(), "select * from PRODUTOGRUPO order by 1"),
            BancoDeTeste::consulta(origem->caminho(), "select * from PRODUTOGRUPO order by 1"));
  confereColunas(1);
  // Bytes Windows-1252 leaves unassigned come back as they were.
  EXPECT_EQ(destino->valor(
                "select octet_length(MEIO) || ' ' || ascii_val(substring(MEIO from 2 for 1)) || ' ' || "
                "ascii_val(substring(MEIO from 3 for 1)) || ' ' || ascii_val(substring(MEIO from 4 for 1)) "
                "from PRODUTOESTOQUE where IDITEMPRODUTO = 2"),
            "5 129 141 157");
  EXPECT_EQ(tela.progressos, (std::vector<int>{0, 20, 40, 60, 80, 100}));
  EXPECT_EQ(
      notas("5 item(ns) sem operação fiscal (IDTRIBCFOP): 3 sem operação fiscal na origem, 2 cuja").size(),
      1u);
}

// All-or-nothing (units, groups, barcodes and products read once), then again by the system's
// statements. The destination's unit 'KG ' is the origin's KG (the database ignores trailing blanks).
TEST_F(IncluiProdutosTest, ADestinationKeepsItsRowsAndLendsItsUnitsGroupsAndFiscalOperations) {
  destino->executaIsql(
      std::string(kDestinoComDados) +
      "INSERT INTO UNIDADE (IDUNIDADE, DESCRICAO, MEDIDAFRACAO, METRAGEM, QTDECIMAL) VALUES (6, "
      "'KG ', 'S', 'N', 3);");
  // Record 0 is a record like any other: item 12's has the codes of the destination's 3.
  origem->executaIsql(
      "INSERT INTO TRIBCFOP (IDTRIBCFOP, DESCRICAO, CODFISCAL, CSOSN, CSTSAT) VALUES (0, 'ZERO', '5102', "
      "'102', '00'); UPDATE PRODUTOESTOQUE SET IDTRIBCFOP = 0 WHERE IDITEMPRODUTO = 12;");
  EXPECT_EQ(roda(IniciaImportacao, opcoes(), {.atomico = true, .relatorio = {}}), Resultado::concluido());
  // Barcodes 1-5 and 7 are taken: 6, 8, 9, ...; units UN and KG and group MERCEARIA are the destination's;
  // the origin's fiscal operations 1 and 0 are the destination's 3 (same code, CSOSN and CST), 7 has
  // none.
  EXPECT_EQ(referencias(9), (Linhas{{"9", "20", "8", "4", "<null>", "7", "<null>"},
                                    {"10", "21", "8", "4", "3", "6", "<null>"},
                                    {"11", "<null>", "8", "7", "3", "8", "<null>"},
                                    {"12", "<null>", "9", "4", "<null>", "9", "<null>"},
                                    {"13", "22", "9", "6", "<null>", "10", "<null>"},
                                    {"14", "23", "9", "4", "<null>", "11", "<null>"}}));
  EXPECT_EQ(
      notas("3 item(ns) sem operação fiscal (IDTRIBCFOP): 2 sem operação fiscal na origem, 1 cuja").size(),
      1u);
  EXPECT_EQ(conta(*destino, "PRODUTO"), 4);
  EXPECT_EQ(conta(*destino, "UNIDADE"), 3);
  EXPECT_EQ(conta(*destino, "PRODUTOGRUPO"), 2);
  confereColunas(10);
}

// A failure midway leaves the destination as it was, says so, and shows no success after it.
TEST_F(IncluiProdutosTest, AFailureMidwayLeavesTheDestinationAsItWas) {
  destino->executaIsql(kDestinoComDados);
  destino->executaIsql("ALTER TABLE PRODUTOESTOQUE ADD CONSTRAINT CK_TESTE CHECK (VENDAATUAL < 30)");
  const EstadoBanco antes = estadoDoBanco(*destino);
  EXPECT_EQ(inclui().desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(estadoDoBanco(*destino), antes);
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_TRUE(tela.mensagens[0].texto.starts_with("Erro ao executar o comando: ")) << tela.mensagens[0].texto;
  EXPECT_NE(tela.mensagens[0].texto.find("CK_TESTE"), std::string::npos) << tela.mensagens[0].texto;
  EXPECT_EQ(tela.textos["Label1"], "3");  // item 11, the fourth, failed
}

}  // namespace
}  // namespace zuv::teste
