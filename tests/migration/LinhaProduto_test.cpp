#include "migration/LinhaProduto.h"

#include "common/Erro.h"
#include "migration/EstimativaImportacao.h"
#include "migration/EstoqueProduto.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

class LinhaProdutoTest : public ComEstilo {};

// The cases the fiscal check's table does not hold (thousands, "R$", "1,234.50", "1.23.4" are there).
TEST_F(LinhaProdutoTest, OneNumberParserForEveryPriceUnderBothStyles) {
  const std::tuple<const char*, int, int64_t> casos[] = {
      {"1234,5", 1, 123450}, {"18%", 1, 1800}, {"  ", 1, 0},      {"-3,5", 1, -350}, {"0,005", 1, 1},
      {"2,675", 1, 268},     {"7.5", 1, 750},  {"12.5", 2, 1250}, {"4,5", 2, 450},   {"1.234,50", 2, 123450}};
  for (const auto& [texto, estilo, centavos] : casos)
    EXPECT_EQ(leNumero(texto, estilo).unscaled, centavos) << texto << " style " << estilo;
  EXPECT_EQ(leNumero("12,3456", 1, 3), (Decimal{12346, 3}));
  // Anything that is not plainly a number fails instead of reaching a statement.
  for (const char* texto :
       {"1 Where 1=1 --", "abc", "12,34,5", "1,2,3.4", "-", ",", "1e5", "1.2345.678", "0x10", "12-"})
    EXPECT_THROW(leNumero(texto, 1), ErroConversao) << texto;
  // Prices as the regional pattern and as statement numbers; the export's text reads back the same.
  for (const auto& [valor, estilo, texto] :
       {std::tuple<Decimal, int, const char*>{{123450, 2}, 1, "1.234,50"},
        {{123450, 2}, 2, "1,234.50"},
        {{5, 2}, 1, "0,05"},
        {{-123456789, 2}, 1, "-1.234.567,89"}})
    EXPECT_EQ(formataPreco(valor, estilo), texto);
  for (const auto& [valor, texto] :
       {std::pair<Decimal, const char*>{{123450, 2}, "1234.50"}, {{-300, 2}, "-3.00"}, {{5, 3}, "0.005"}})
    EXPECT_EQ(numeroSQL(valor), texto);
  for (int64_t v : {0LL, 5LL, 99LL, 123450LL, 100000000LL, 98765432LL})
    EXPECT_EQ(leNumero(formataPreco({v, 2}, 1), 1).unscaled, v);
}

ItemProduto item() {
  ItemProduto i;
  i.idItemProduto = 7;
  i.idProduto = 3;
  i.idUnidade = 1;
  i.custo = {400, 2};
  i.venda = {1000, 2};
  i.margem = {600, 2};
  i.margemPorc = 150;
  i.atacado = {900, 2};
  i.venda2 = {900, 2};
  i.estoque = {12500, 3};
  i.barra = "789";
  i.cadastro = {2026, 12, 8};
  return i;
}

TEST_F(LinhaProdutoTest, TheStockItemInsertNamesOptionalColumnsOnlyWithTheirValue) {
  ItemProduto i = item();
  const std::string fixas = "        idGrade  ,        idItemProduto  ,        idProduto  ,";
  const std::string resto =
      "        CustoLiquido     ,        Custobruto     ,        VENDAATACADO   ,        VendaAtual       , "
      "       VendaAtual2   ,        VENDAATACADO2       ,        VendacDesconto   ,        IdUnidade       "
      " ,        Balanca          ,        Barra      ,        BarraExterno      ,        MargemVenda      "
      ",        MargemVendaPorc  ,        UNIDEMBALAGEM    ,        TIPOESTOQUE      ,        GERARETIQUETA "
      "   ,        ATIVO            ,        DATACADASTRO     ,        AliqICMS            ,        "
      "VALORICMS            ,        IPIPorcentagem            ,        PorcAtacado            ,        "
      "IPIValor            ,        MargemAtacado,        EstoqueAtual,        EstoqueMinimo      ,        "
      "IDLOCAL      ,        IDSUBGRUPO   ,PorcDescMaximo   ) Values (";
  EXPECT_EQ(insercaoEstoque(i).sql(),
            " Insert Into PRODUTOESTOQUE (        CapEmbalagem  ," + fixas + resto +
                " 1,Null,7,3,4.00,4.00,9.00,10.00,9.00,0.00,0,1,'N','789','789',6.00, "
                "150,1,1,'N','S','12/08/2026', 0, 0,0,0,0,0, 12.5, 0,Null,Null, 0)");
  i.idTribCFOP = 4;
  i.idECFLetra = 5;
  i.idNCM = 6;
  i.idProdGrupo = 2;
  i.idSubGrupo = 9;
  EXPECT_EQ(insercaoEstoque(i).sql(),
            " Insert Into PRODUTOESTOQUE (        CapEmbalagem  ,        idTribCFOP ,         IdECFLetra , "
            "        idNCM , " +
                fixas + "        idProdGrupo      ," + resto +
                " 1,4,5,6,Null,7,3,2,4.00,4.00,9.00,10.00,9.00,0.00,0,1,'N','789','789',6.00, "
                "150,1,1,'N','S','12/08/2026', 0, 0,0,0,0,0, 12.5, 0,Null, 9, 0)");
  EXPECT_EQ(insercaoProduto(3, "CAFE " + std::string(60, 'X')).sql(),
            "Insert into PRODUTO ( IDPRODUTO,DESCRICAO , DescricaoImp ) Values ( 3,'CAFE " +
                std::string(50, 'X') + "','CAFE " + std::string(19, 'X') + "')");
}

TEST_F(LinhaProdutoTest, TheUpdateRewritesTheFieldsItIsGivenInTheSystemsOrder) {
  using A = AlteracaoEstoque;
  const Decimal d4{400, 2}, d10{1000, 2}, d6{600, 2}, d9{900, 2};
  const std::string inicio = "Update ProdutoEstoque Estoque SEt ", fim = " Where Barra = 'x''1'";
  struct Caso {
    A alteracao;
    std::string atribuicoes;
  };
  const Caso casos[] = {
      {A{.atacado = d9}, " VENDAATACADO    = 9.00"},
      {A{.atacado = d9, .estoque = Decimal{12500, 3}}, " VENDAATACADO    = 9.00 , EstoqueAtual    =  12.5"},
      {A{.estoque = Decimal{12500, 3}}, "  EstoqueAtual    =  12.5"},
      {A{.custo = d4, .margem = d6, .margemPorc = 150},
       " CustoLiquido    = 4.00, Custobruto      = 4.00 ,MargemVenda     = 6.00 ,MargemVendaPorc =  150"},
      {A{.custo = d4, .venda = d10, .margem = d6, .margemPorc = 150},
       " CustoLiquido    = 4.00, Custobruto      = 4.00 ,VendaAtual      = 10.00 ,MargemVenda     = 6.00 "
       ",MargemVendaPorc =  150"},
      // The sale price alone, its margin against the stored cost.
      {A{.venda = d10, .margem = d6, .margemPorc = 150},
       " VendaAtual      = 10.00 ,MargemVenda     = 6.00 ,MargemVendaPorc =  150"},
      {A{}, ""},
      {A{.idTribCFOP = 4, .idECFLetra = 5, .idNCM = 6, .idProdGrupo = 2, .idSubGrupo = 9},
       " idTribCFOP      = 4 ,IdECFLetra      = 5 ,idNCM           = 6     ,   idProdGrupo      = 2     ,  "
       " IDSUBGRUPO      = 9"},
      {A{.idSubGrupo = 9}, "        IDSUBGRUPO      = 9"},
  };
  for (const Caso& c : casos) {
    Atualizacao u = atualizacaoEstoque(c.alteracao);
    EXPECT_EQ(u.vazia(), c.atribuicoes.empty()) << c.atribuicoes;
    if (!u.vazia()) {
      EXPECT_EQ(u.condicao(" Where Barra = ", "'x''1'").sql(), inicio + c.atribuicoes + fim);
    }
  }
}

// Without the descending index every row reads the whole table, so the time per row grows with
// the items the run creates: the estimate is more than the first rows' pace times the rows.
TEST(EstimativaImportacaoTest, TheTimePerRowGrowsWithTheTableTheRowsRead) {
  using E = EstimativaImportacao;
  // 200 rows measured in 2 s, none of it reading tables: the same pace for all.
  EXPECT_DOUBLE_EQ(E::estimaSegundos(100000, 10000, 200, 2.0, 0.0, 200, false), 1000.0);
  // A quarter of each row is its MAX over about 10 100 items, another quarter MAX(IDPRODUTO); the
  // other half stays the same.
  EXPECT_NEAR(E::estimaSegundos(100000, 10000, 200, 2.0, 0.5, 200, false),
              500 + 0.005 / 10100 * (10000.0 * 100000 + 100000.0 * 100000 / 2), 1.0);
  // Updates create no items: the table stays as large as it was.
  EXPECT_NEAR(E::estimaSegundos(100000, 10000, 200, 2.0, 0.5, 0, true), 1000.0, 1.0);
  for (const auto& [segundos, texto] :
       std::vector<std::pair<double, std::string>>{{20, "menos de 1 min"}, {12010, "cerca de 3 h 20 min"}})
    EXPECT_EQ(E::duracao(segundos), texto);
}

}  // namespace
}  // namespace zuv::teste
