#include "dbcopy/LiteraisCopia.h"

#include <firebird/Interface.h>

#include "common/Erro.h"

#include "dbcopy/InsercaoEstoque.h"
#include "platform/Recordset.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

using LiteraisCopiaTest = ComEstilo;

TEST_F(LiteraisCopiaTest, ValuesKeepEveryDigitTheirTimeAndTheirText) {
  struct Caso {
    Valor valor;
    TipoCopia tipo;
    std::string literal;
  };
  const std::vector<Caso> casos = {
      {Valor(), TipoCopia::FL, "Null"},
      {Valor(), TipoCopia::TX, "Null"},
      {Valor(int64_t{42}), TipoCopia::FL, " 42"},
      {Valor(int64_t{-7}), TipoCopia::FL, "-7"},
      {Valor(int64_t{9223372036854775807}), TipoCopia::FL, " 9223372036854775807"},
      {Valor(Decimal{123456789012345678, 4}), TipoCopia::FL, " 12345678901234.5678"},
      {Valor(Decimal{-3125, 3}), TipoCopia::FL, "-3.125"},
      {Valor(Decimal{350, 2}), TipoCopia::FL, " 3.5"},
      {Valor(0.1), TipoCopia::FL, " 0.1"},
      {Valor(1.0 / 3), TipoCopia::FL, " 0.3333333333333333"},
      {Valor(1e20), TipoCopia::FL, " 1e+20"},
      {Valor("12,5"), TipoCopia::FL, " 12.5"},  // a text read under the regional style, as ConverteSQL
      {Valor("  D'ÁVILA  "), TipoCopia::CH, "'D''ÁVILA'"},
      {Valor(""), TipoCopia::CH, "Null"},
      {Valor("  D'ÁVILA  "), TipoCopia::TX, "'  D''ÁVILA  '"},
      {Valor(""), TipoCopia::TX, "''"},
      {Valor(Data{2024, 2, 29}), TipoCopia::DT, "'02/29/2024'"},
      {Valor(DataHora{{2024, 3, 5}, {0, 0, 0, 0}}), TipoCopia::DT, "'03/05/2024'"},
      {Valor(DataHora{{2024, 3, 5}, {10, 11, 12, 3456}}), TipoCopia::DT, "'03/05/2024 10:11:12.3456'"},
      {Valor(Hora{23, 59, 58, 1}), TipoCopia::DT, "'23:59:58.0001'"},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(LiteralCopia(c.valor, c.tipo), c.literal) << c.literal;
  EXPECT_EQ(textoSimples(Valor(int64_t{12})), "12");
  EXPECT_EQ(textoSimples(Valor(Decimal{125, 1})), "12.5");
  Campo booleano{"C_BOOL", ClasseTipo::Numero, SQL_BOOLEAN};
  EXPECT_EQ(LiteralDoCampo(Valor(int64_t{1}), booleano), "TRUE");
  EXPECT_EQ(LiteralDoCampo(Valor(int64_t{0}), booleano), "FALSE");
  Campo binario{"C_BIN", ClasseTipo::Outro, SQL_BLOB};
  EXPECT_EQ(LiteralDoCampo(Valor(), binario), "Null");
  EXPECT_THROW(LiteralDoCampo(Valor("xyz"), binario), ErroConversao);
}

// One origin row through the statement builder, as both migrations write it.
TEST_F(LiteraisCopiaTest, TheStockItemInsertHasItsColumnsSeparatorsAndValuesInOrder) {
  std::vector<Campo> campos;
  std::vector<Valor> linha;
  for (const ColunaEstoque& c : kColunasEstoque) {
    campos.push_back({c.nome, ClasseTipo::Outro});
    const std::string nome = c.nome;
    linha.push_back(c.tipo == TipoCopia::FL ? Valor(Decimal{static_cast<int64_t>(campos.size()) * 10 + 5, 1})
                    : c.tipo == TipoCopia::DT
                        ? Valor(DataHora{{2024, 1, static_cast<int>(campos.size()) - 40}, {}})
                        : Valor(nome.substr(0, 2)));
  }
  const Recordset rs(campos, std::vector<std::vector<Valor>>{linha});
  namespace c = coluna_estoque;
  InsercaoEstoque inclui(rs, kColunasEstoqueInclui);
  inclui.valor(c::IDITEMPRODUTO, "7").valor(c::IDSUBGRUPO, "NULL, ", "").valor(c::IDNCM, "Null");
  std::string colunas, valores;
  for (int i = 1; i <= kColunasEstoqueInclui; ++i) {
    const ColunaEstoque& col = kColunasEstoque[i - 1];
    colunas += std::string(i > 1 ? " , " : "") + col.nome;
    std::string v = i == 1    ? "7"
                    : i == 4  ? "NULL, "
                    : i == 51 ? "Null"
                              : LiteralCopia(linha[i - 1], col.tipo);
    if (i != 4 && i < kColunasEstoqueInclui) v += i <= 50 ? " , " : ",";
    valores += v;
  }
  EXPECT_EQ(inclui.sql(),
            " Insert Into ProdutoEstoque (        " + colunas + " )   Values ( " + valores + ")");
  EXPECT_NE(inclui.sql().find("  3.5 , NULL,  5.5 ,  6.5 , "), std::string::npos);
  EXPECT_NE(inclui.sql().find(" , 'CA' , '01/07/2024' , "), std::string::npos);
  EXPECT_NE(inclui.sql().find("Null,'Pr','Ta','Co','De', 56.5,'VE')"), std::string::npos);
  // The predefined migration's 56 columns end with IDGRADESIMILAR and no separator.
  const std::string predefinida = InsercaoEstoque(rs, kColunasEstoquePredefinido).sql();
  EXPECT_NE(predefinida.find(" , DescricaoGrade , IDGRADESIMILAR )   Values ( "), std::string::npos);
  EXPECT_TRUE(predefinida.ends_with(" , '01/10/2024' ,  51.5,'Pr','Ta','Co','De', 56.5)")) << predefinida;
  EXPECT_TRUE(listaLeituraEstoque("A.").ends_with(
      "A.idNCM,A.ProdutoMaster,A.TamanhoGrade,A.CorGrade,A.DescricaoGrade,A.TamanhoGrade,A.IDGRADESIMILAR"));
  EXPECT_TRUE(listaLeituraEstoque("").starts_with("IDITEMPRODUTO,IDPRODUTO,IDPRODGRUPO,"));
}

}  // namespace
}  // namespace zuv::teste
