#include "dbcopy/LiteraisCopia.h"

#include <optional>

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
    std::optional<TipoSQL> tipo;  // none: the text as stored
    std::string literal;
  };
  const std::vector<Caso> casos = {
      {Valor(), TipoSQL::FL, "Null"},
      {Valor(), std::nullopt, "Null"},
      {Valor(int64_t{42}), TipoSQL::FL, " 42"},
      {Valor(int64_t{-7}), TipoSQL::FL, "-7"},
      {Valor(int64_t{9223372036854775807}), TipoSQL::FL, " 9223372036854775807"},
      {Valor(Decimal{123456789012345678, 4}), TipoSQL::FL, " 12345678901234.5678"},
      {Valor(Decimal{-3125, 3}), TipoSQL::FL, "-3.125"},
      {Valor(Decimal{350, 2}), TipoSQL::FL, " 3.5"},
      {Valor(0.1), TipoSQL::FL, " 0.1"},
      {Valor(1.0 / 3), TipoSQL::FL, " 0.3333333333333333"},
      {Valor(1e20), TipoSQL::FL, " 1e+20"},
      {Valor("12,5"), TipoSQL::FL, " 12.5"},  // a text read under the regional style, as ConverteSQL
      {Valor("  D'ÁVILA  "), TipoSQL::CH, "'D''ÁVILA'"},
      {Valor(""), TipoSQL::CH, "Null"},
      {Valor("  D'ÁVILA  "), std::nullopt, "'  D''ÁVILA  '"},
      {Valor(""), std::nullopt, "''"},
      {Valor(Data{2024, 2, 29}), TipoSQL::DT, "'02/29/2024'"},
      {Valor(DataHora{{2024, 3, 5}, {0, 0, 0, 0}}), TipoSQL::DT, "'03/05/2024'"},
      {Valor(DataHora{{2024, 3, 5}, {10, 11, 12, 3456}}), TipoSQL::DT, "'03/05/2024 10:11:12.3456'"},
      {Valor(Hora{23, 59, 58, 1}), TipoSQL::DT, "'23:59:58.0001'"},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(c.tipo ? LiteralCopia(c.valor, *c.tipo) : literalGuardado(c.valor), c.literal) << c.literal;
  EXPECT_EQ(textoSimples(Valor(int64_t{12})), "12");
  EXPECT_EQ(textoSimples(Valor(Decimal{125, 1})), "12.5");
  Campo booleano{"C_BOOL", ClasseTipo::Logico};
  EXPECT_EQ(LiteralDoCampo(Valor(int64_t{1}), booleano), "TRUE");
  EXPECT_EQ(LiteralDoCampo(Valor(int64_t{0}), booleano), "FALSE");
  Campo binario{"C_BIN", ClasseTipo::Binario};
  EXPECT_EQ(LiteralDoCampo(Valor(), binario), "Null");
  EXPECT_THROW(LiteralDoCampo(Valor("xyz"), binario), ErroConversao);
}

// One origin row through the statement builder, as both migrations write it.
TEST_F(LiteraisCopiaTest, TheStockItemInsertHasItsColumnsSeparatorsAndValuesInOrder) {
  std::vector<Campo> campos;
  std::vector<Valor> linha;
  for (const ColunaSQL& c : kColunasEstoque) {
    campos.push_back({c.nome, ClasseTipo::Outro});
    const std::string nome = c.nome;
    linha.push_back(c.tipo == TipoSQL::FL ? Valor(Decimal{static_cast<int64_t>(campos.size()) * 10 + 5, 1})
                    : c.tipo == TipoSQL::DT
                        ? Valor(DataHora{{2024, 1, static_cast<int>(campos.size()) - 40}, {}})
                        : Valor(nome.substr(0, 2)));
  }
  const Recordset rs(campos, std::vector<std::vector<Valor>>{linha});
  namespace c = coluna_estoque;
  const std::string inclui = insercaoEstoque(rs, kColunasEstoqueInclui)
                                 .valor(c::IDITEMPRODUTO, "7")
                                 .valor(c::IDSUBGRUPO, "NULL, ", "")
                                 .valor(c::IDNCM, "Null")
                                 .sql(kMeioInsercaoEstoque);
  EXPECT_TRUE(
      inclui.starts_with(" Insert Into ProdutoEstoque (        IDITEMPRODUTO , IDPRODUTO , IDPRODGRUPO , "))
      << inclui;
  EXPECT_NE(inclui.find(" , VENDAPORPLANNEGOCIO )   Values ( 7 ,  2.5 ,  3.5 , NULL,  5.5 ,  6.5 , "),
            std::string::npos);
  EXPECT_NE(inclui.find(" , 'CA' , '01/07/2024' , "), std::string::npos);
  EXPECT_TRUE(inclui.ends_with(" , '01/10/2024' , Null,'Pr','Ta','Co','De', 56.5,'VE')")) << inclui;
  // The predefined migration's 56 columns end with IDGRADESIMILAR and no separator.
  const std::string predefinida = insercaoEstoque(rs, kColunasEstoquePredefinido).sql(kMeioInsercaoEstoque);
  EXPECT_NE(predefinida.find(" , DescricaoGrade , IDGRADESIMILAR )   Values ( "), std::string::npos);
  EXPECT_TRUE(predefinida.ends_with(" , '01/10/2024' ,  51.5,'Pr','Ta','Co','De', 56.5)")) << predefinida;
  EXPECT_TRUE(listaLeituraEstoque("A.").ends_with(
      "A.idNCM,A.ProdutoMaster,A.TamanhoGrade,A.CorGrade,A.DescricaoGrade,A.TamanhoGrade,A.IDGRADESIMILAR"));
  EXPECT_TRUE(listaLeituraEstoque("").starts_with("IDITEMPRODUTO,IDPRODUTO,IDPRODGRUPO,"));
}

}  // namespace
}  // namespace zuv::teste
