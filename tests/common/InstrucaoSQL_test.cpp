#include "common/InstrucaoSQL.h"

#include <gtest/gtest.h>

#include "common/Erro.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

class InstrucaoSQLTest : public ComEstilo {};

TEST_F(InstrucaoSQLTest, ColumnsAndValuesSideBySideWithTheirSeparatorsVerbatim) {
  Insercao i(" INSERT INTO Produto (");
  EXPECT_TRUE(i.vazia());
  i.campo("IDPRODUTO", Valor(int64_t{12}), TipoSQL::IN)
      .campo("DESCRICAO", Valor("D'ÁGUA"), TipoSQL::CH)
      .separadoresDoUltimo(" , ", ", ")
      .campo("ATIVO", "'S'")
      .campo("PRECO", Valor(""), TipoSQL::MO);
  EXPECT_FALSE(i.vazia());
  EXPECT_EQ(i.sql(),
            " INSERT INTO Produto (IDPRODUTO,DESCRICAO , ATIVO,PRECO) VALUES ( 12,'D''ÁGUA', 'S',Null)");
  EXPECT_EQ(i.separadores(", ", " ,").sql(") values(", ") "),
            " INSERT INTO Produto (IDPRODUTO, DESCRICAO , ATIVO, PRECO) values( 12 ,'D''ÁGUA', 'S' ,Null) ");

  // From a column table: fixed values, irregular blanks, values set by name or position.
  static constexpr ColunaSQL kColunas[] = {{"ID", TipoSQL::FL, nullptr, nullptr, " ,"},
                                           {"TIPO", TipoSQL::CH, "'S'", ", "},
                                           {"NOME"},
                                           {"OBS", TipoSQL::CH, "Null"}};
  Insercao t(" INSERT INTO T (", kColunas);
  t.converte("ID", Valor(int64_t{7})).converte("NOME", Valor(" O'BRIEN "));
  EXPECT_EQ(t.sql(), " INSERT INTO T (ID,TIPO, NOME,OBS) VALUES ( 7 ,'S','O''BRIEN',Null)");
  EXPECT_EQ(t.valor(2, "NULL, ", "").sql(), " INSERT INTO T (ID,TIPO, NOME,OBS) VALUES ( 7 ,'S',NULL, Null)");
  EXPECT_THROW(t.valor("IDADE", "1"), Erro);

  Atualizacao a("Update ProdutoEstoque Set ");
  EXPECT_TRUE(a.vazia());
  a.campo("NCM = '01012100'")
      .campo("Preco = ", Valor("3,5"), TipoSQL::FL)
      .campo("Data = ", Valor("31/12/2024"), TipoSQL::DT);
  EXPECT_EQ(a.sql(" Where idProdutoEstoque = 12"),
            "Update ProdutoEstoque Set NCM = '01012100',Preco =  3.5,Data = '12/31/2024' Where "
            "idProdutoEstoque = 12");
  EXPECT_EQ(a.separador(" , ").sql(""),
            "Update ProdutoEstoque Set NCM = '01012100' , Preco =  3.5 , Data = '12/31/2024'");
}

}  // namespace
}  // namespace zuv::teste
