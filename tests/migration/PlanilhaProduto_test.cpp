// produto.xlsx: the price pattern, the two source queries on fixture databases, and the written
// workbook as openpyxl reads it back (headings, widths, text cells, formats, alignment).
#include "migration/PlanilhaProduto.h"

#include <gtest/gtest.h>

#include "migration/AmbienteMigracao.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"

namespace zuv::teste {
namespace {

TEST(PlanilhaProduto, FormataPreco) {
  struct Caso {
    Valor valor;
    int estilo;
    std::string esperado;
  };
  const Caso casos[] = {
      {Decimal{123450, 2}, 1, "1.234,50"},
      {Decimal{95000, 4}, 1, "9,50"},
      {Decimal{123456789, 2}, 2, "1,234,567.89"},
      {Decimal{-123456789, 2}, 1, "-1.234.567,89"},
      {Decimal{12345, 3}, 1, "12,35"},  // half away from zero, both signs
      {Decimal{-12345, 3}, 1, "-12,35"},
      {Decimal{12344, 3}, 1, "12,34"},
      {Decimal{5, 1}, 1, "0,50"},
      {int64_t{0}, 1, "0,00"},
      {int64_t{1000000}, 1, "1.000.000,00"},
      {2.675, 1, "2,68"},
      {std::string("1234,5"), 1, "1.234,50"},  // a number text under the style
      {std::string("abc"), 1, "abc"},
      {Valor(), 1, ""},
  };
  for (const auto& c : casos)
    EXPECT_EQ(formataPreco(c.valor, c.estilo), c.esperado) << c.esperado;
}

TEST(PlanilhaProduto, CabecalhosPorPosicao) {
  EXPECT_STREQ(cabecalhoProduto(0), "Barra");
  EXPECT_EQ(larguraProduto(0), 15);
  EXPECT_STREQ(cabecalhoProduto(13), "Código CEST");
  EXPECT_STREQ(cabecalhoProduto(14), "Preço Atacado");
  EXPECT_STREQ(cabecalhoProduto(20), "Preço Atacado");
  EXPECT_EQ(larguraProduto(20), 14);
}

class PlanilhaDosBancos : public ComEstilo {
 protected:
  void SetUp() override {
    ComEstilo::SetUp();
    banco.carregaFixture("zuv_populado.sql");
  }
  Recordset consulta(const std::string& textoConexao, const std::string& sql) {
    Conexao c(textoConexao);
    return c.abre(sql);
  }
  fs::path syspdv() const { return banco.pastaDados() / "syspdv_srv.fdb"; }
  std::string conexaoSyspdv() const {
    return " data source=" + syspdv().string() + "; user id=sysdba;password=quartzine; ctype=none";
  }
  PlanilhaLida gera(Recordset rs, bool syspdv) {
    const fs::path arquivo = banco.pastaPrograma() / "produto.xlsx";
    OpcoesEscritaProduto o;
    o.aparaBarra = syspdv;
    GeraPlanilhaProduto(rs, arquivo.string(), o, tela);
    return leComOpenpyxl(arquivo);
  }
  BancoDeTeste banco;
};

TEST_F(PlanilhaDosBancos, ConsultaZUVAtivosOuTodos) {
  banco.executaIsql(
      "INSERT INTO PRODUTO (IDPRODUTO, DESCRICAO) VALUES (3, 'INATIVO');"
      "INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, BARRA, ATIVO) VALUES (3, 3, NULL, 'N');");
  Recordset ativos = consulta(banco.textoConexao(), consultaProdutosZUV(true));
  Recordset todos = consulta(banco.textoConexao(), consultaProdutosZUV(false));
  EXPECT_EQ(ativos.totalRegistros(), 2);
  EXPECT_EQ(todos.totalRegistros(), 3);
  ASSERT_EQ(todos.totalCampos(), 15);
  EXPECT_EQ(todos.campo(14).nome, "VENDAATACADO");
  // Ordered by group: the item without group (null) comes first in Firebird's ascending order.
  EXPECT_EQ(todos.valor(1), Valor("INATIVO"));
  EXPECT_EQ(todos.valor(0), Valor(""));  // no barcode: an empty text
}

TEST_F(PlanilhaDosBancos, PlanilhaDoZUV) {
  banco.executaIsql(
      "INSERT INTO PRODUTO (IDPRODUTO, DESCRICAO) VALUES (3, 'ARROZ 5KG');"
      "INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDPRODGRUPO, BARRA, CUSTOLIQUIDO, VENDAATUAL,"
      " VENDAATACADO, ESTOQUEATUAL, ATIVO) VALUES (3, 3, 1, '0001234', 1000.4567, 1234.5, 1100, 1500.25, "
      "'S');");
  const PlanilhaLida p = gera(consulta(banco.textoConexao(), consultaProdutosZUV(true)), false);

  const char* cabecalhos[] = {"Barra",
                              "Nome Produto",
                              "Unidade",
                              "Preço Custo",
                              "Preço Venda",
                              "Estoque Atual",
                              "Nome Grupo",
                              "Sub Grupo",
                              "NCM",
                              "Aliq. ECF SAT",
                              "CFOP VendaSat",
                              "Trib.Simples Nacional",
                              "Cód.Trib.ICMS CST",
                              "Código CEST",
                              "Preço Atacado"};
  const double larguras[] = {15, 35, 5, 14, 14, 14, 35, 30, 9, 14, 9, 22, 17, 17, 14};
  for (int i = 0; i < 15; ++i) {
    const std::string letra(1, static_cast<char>('A' + i));
    EXPECT_EQ(p[letra + "1"].valor, cabecalhos[i]);
    EXPECT_TRUE(p[letra + "1"].negrito) << letra;
    EXPECT_NEAR(p.larguras.at(letra), larguras[i], 0.72) << letra;  // openpyxl adds the cell padding
  }
  EXPECT_EQ(p["P1"].valor, "");

  // Row order: group 1 (MERCEARIA: ARROZ, CAFÉ), then group 2.
  struct Esperada {
    const char* ref;
    const char* valor;
    const char* alinhamento;
  };
  const Esperada celulas[] = {
      {"A2", "0001234", ""},
      {"B2", "ARROZ 5KG", ""},
      {"D2", "1.000,46", "right"},
      {"E2", "1.234,50", "right"},
      {"F2", "1500,25", "right"},
      {"O2", "1.100,00", "right"},
      {"A3", "7891234567895", ""},
      {"B3", "CAFÉ TORRADO 500G", ""},
      {"C3", "UN", ""},
      {"D3", "9,50", "right"},
      {"E3", "15,90", "right"},
      {"F3", "40", "right"},
      {"G3", "MERCEARIA", ""},
      {"H3", "MATINAIS", ""},
      {"I3", "09012100", ""},
      {"J3", "18.00", ""},
      {"K3", "5102", ""},
      {"L3", "102", ""},
      {"N3", "1709600", ""},
      {"O3", "", "right"},
      {"A4", "2000001", ""},
      {"F4", "12,5", "right"},
      {"M4", "60", ""},
  };
  for (const auto& c : celulas) {
    SCOPED_TRACE(c.ref);
    EXPECT_EQ(p[c.ref].valor, c.valor);
    EXPECT_EQ(p[c.ref].alinhamento, c.alinhamento);
    EXPECT_EQ(p[c.ref].formato, "@");
    if (*c.valor) {
      EXPECT_EQ(p[c.ref].tipo, "s");  // text cells: codes keep their zeros
    }
  }
  EXPECT_EQ(p["A5"].valor, "");
  EXPECT_EQ(tela.textos["txtRegistro"], "5");
  EXPECT_EQ(tela.progressos.front(), 0);
  EXPECT_EQ(tela.progressos.back(), 100);
}

TEST_F(PlanilhaDosBancos, PlanilhaDoSYSPDV) {
  preparaSyspdv(
      syspdv(),
      "INSERT INTO GRUPO VALUES ('001', '001', 'BEBIDAS');"
      "INSERT INTO PRODUTO VALUES ('10', 'REFRIGERANTE 2L', 'UN', 4.1234, 7.5, '001', '001', "
      "'22021000', 'F00', '0300700');"
      "INSERT INTO PRODUTO VALUES ('20', 'SABAO', 'CX', 2, 3, '009', '009', '34011190', 'T18', NULL);"
      "INSERT INTO PRODUTO VALUES ('30', 'AVULSO', 'KG', 1, 1234.5, NULL, NULL, NULL, 'X99', NULL);"
      "INSERT INTO PRODUTOAUX VALUES (' 0789100 ', '10');"
      "INSERT INTO PRODUTOAUX VALUES ('0789200', '20');"
      "INSERT INTO PRODUTOAUX VALUES ('0789201', '20');");
  Recordset rs = consulta(conexaoSyspdv(), consultaProdutosSYSPDV());
  ASSERT_EQ(rs.totalCampos(), 14);
  const PlanilhaLida p = gera(std::move(rs), true);

  EXPECT_EQ(p["N1"].valor, "Código CEST");
  EXPECT_EQ(p["O1"].valor, "");  // no wholesale field, no wholesale column
  // Rows by product code ('10', '20', '30': the primary key's order of a plain scan).
  struct Esperada {
    const char* ref;
    const char* valor;
  };
  const Esperada celulas[] = {
      {"A2", "0789100"}, {"B2", "REFRIGERANTE 2L"},
      {"D2", "4,12"},    {"E2", "7,50"},
      {"F2", ""},        {"G2", "BEBIDAS"},
      {"H2", ""},        {"I2", "22021000"},
      {"J2", "00   "},   {"K2", "5405"},
      {"L2", ""},        {"M2", ""},
      {"N2", "0300700"}, {"G3", ""},
      {"J3", "18,00"},   {"K3", "5102"},
      {"A4", "30"},      {"E4", "1.234,50"},
      {"J4", ""},        {"K4", ""},
  };
  // The rate comes as the database gives it: the cases are CHAR(5), so "00" is padded.
  for (const auto& c : celulas)
    EXPECT_EQ(p[c.ref].valor, c.valor) << c.ref;
  // Two auxiliary codes: the first the database returns.
  EXPECT_TRUE(p["A3"].valor == "0789200" || p["A3"].valor == "0789201") << p["A3"].valor;
}

// Any recordset: fields past the 15th repeat the wholesale heading; IDITEMPRODUTO and QTDECIMAL
// leave their column empty; a barcode keeps its blanks unless SYSPDV is selected.
TEST_F(PlanilhaDosBancos, CamposPorNomeEPosicao) {
  std::vector<Campo> campos;
  for (const char* n : {"BARRA", "IDITEMPRODUTO", "QTDECIMAL", "VENDAATUAL", "X5", "X6", "X7", "X8", "X9",
                        "X10", "X11", "X12", "X13", "X14", "VENDAATACADO", "VENDAATACADO2"})
    campos.push_back({n, ClasseTipo::Texto});
  std::vector<Valor> linha{Valor(" 01 "), Valor(int64_t{7}), Valor(int64_t{3}), Valor(Decimal{25, 0})};
  linha.resize(16, Valor("t"));
  linha[14] = Valor(Decimal{1, 0});
  const PlanilhaLida p = gera(Recordset(campos, {linha}), false);
  EXPECT_EQ(p["A2"].valor, " 01 ");
  EXPECT_EQ(p["B2"].valor, "");
  EXPECT_EQ(p["C2"].valor, "");
  EXPECT_EQ(p["D2"].valor, "25,00");
  EXPECT_EQ(p["O2"].valor, "1,00");
  EXPECT_EQ(p["P1"].valor, "Preço Atacado");
  EXPECT_NEAR(p.larguras.at("P"), 14, 0.72);
  EXPECT_EQ(p["P2"].valor, "t");
}

}  // namespace
}  // namespace zuv::teste
