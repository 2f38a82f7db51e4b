// produto.xlsx from the ZUV database and from SYSPDV, through the two export runs, read back by
// openpyxl: headings, widths, text cells, price pattern, alignment, the SYSPDV translations, and
// the failures of the button paths.
#include "migration/PlanilhaProduto.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/Operacao.h"
#include "migration/AmbienteMigracao.h"
#include "migration/ExportaProdutos.h"
#include "shell/ContextoExecucao.h"

namespace zuv::teste {
namespace {

TEST(PlanilhaProduto, FormataPreco) {
  // Grouping and both styles: LinhaProdutoTest.OneNumberParserForEveryPriceUnderBothStyles.
  const std::pair<Valor, std::string> casos[] = {
      {Decimal{95000, 4}, "9,50"},         {Decimal{12345, 3}, "12,35"},       {Decimal{-12345, 3}, "-12,35"},
      {Decimal{12344, 3}, "12,34"},        {int64_t{1000000}, "1.000.000,00"}, {2.675, "2,68"},
      {std::string("1234,5"), "1.234,50"}, {std::string("abc"), "abc"},        {Valor(), ""}};
  for (const auto& [valor, esperado] : casos)
    EXPECT_EQ(formataPreco(valor, 1), esperado);
}

// "ref=text" for each listed cell, "|right" when right-aligned; a text cell of format "@" unless
// noted ("|n", "|fmt General").
std::string celulas(const PlanilhaLida& p, std::initializer_list<const char*> refs) {
  std::ostringstream s;
  for (const char* r : refs) {
    const CelulaLida& c = p[r];
    s << r << "=" << c.valor << (c.alinhamento == "right" ? "|right" : "")
      << (c.valor.empty() || c.tipo == "s" ? "" : "|" + c.tipo)
      << (c.valor.empty() || c.formato == "@" ? "" : "|fmt " + c.formato) << " ";
  }
  return s.str();
}

class PlanilhaProdutoTest : public ComEstilo {
 protected:
  void SetUp() override {
    ComEstilo::SetUp();
    banco.carregaFixture("zuv_populado.sql");
  }
  Resultado roda(const Execucao& run, OpcoesExecucao opcoes = {}) {
    // As the front ends run it: FimDoPrograma becomes the outcome that ends the program.
    ContextoExecucao ctx(tela, banco.pastaPrograma().string(), opcoes);
    return executaOperacao(tela, [&](Tela&) { return executaNoContexto(ctx, run); });
  }
  fs::path produto() const { return banco.pastaPrograma() / "produto.xlsx"; }
  BancoDeTeste banco;
};

TEST_F(PlanilhaProdutoTest, DoZUVAtivosOuTodos) {
  banco.executaIsql(
      "INSERT INTO PRODUTO (IDPRODUTO, DESCRICAO) VALUES (3, 'ARROZ 5KG');INSERT INTO PRODUTOESTOQUE "
      "(IDITEMPRODUTO, IDPRODUTO, IDPRODGRUPO, BARRA, CUSTOLIQUIDO, VENDAATUAL, VENDAATACADO, "
      "ESTOQUEATUAL, ATIVO) VALUES (3, 3, 1, '0001234', 1000.4567, 1234.5, 1100, 1500.25, 'S');INSERT INTO "
      "PRODUTO (IDPRODUTO, DESCRICAO) VALUES (4, 'INATIVO');INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, "
      "IDPRODUTO, ATIVO) VALUES (4, 4, 'N');");
  auto gera = [](bool todos) {
    return [todos](ContextoExecucao& c) { return GeraExcelOrigem(c, OpcoesPlanilhaProduto{todos}); };
  };
  OpcoesExecucao simular;
  simular.simular = true;
  EXPECT_EQ(roda(gera(false), simular), Resultado::concluido());
  EXPECT_FALSE(fs::exists(produto()));

  EXPECT_EQ(roda(gera(false)), Resultado::concluido());
  EXPECT_EQ(tela.arquivos, std::vector<std::string>{produto().string()});
  EXPECT_TRUE(tela.mensagens.empty());
  EXPECT_EQ(tela.textos["txtRegistro"], "5");
  const PlanilhaLida p = leComOpenpyxl(produto());
  std::string cabecalhos, larguras;
  for (char letra = 'A'; letra <= 'P'; ++letra) {  // P: no heading, the sheet's default width
    const std::string l(1, letra);
    cabecalhos += p[l + "1"].valor + (p[l + "1"].negrito ? "|" : ".|");
    // openpyxl reports the width with the cell padding added.
    if (letra < 'P') larguras += std::to_string(static_cast<int>(p.larguras.at(l))) + " ";
  }
  EXPECT_EQ(
      cabecalhos,
      "Barra|Nome Produto|Unidade|Preço Custo|Preço Venda|Estoque Atual|Nome Grupo|Sub Grupo|NCM|Aliq. ECF "
      "SAT|CFOP VendaSat|Trib.Simples Nacional|Cód.Trib.ICMS CST|Código CEST|Preço Atacado|.|");
  EXPECT_EQ(larguras, "15 35 5 14 14 14 35 30 9 14 9 22 17 17 14 ");
  // Group 1 (ARROZ, CAFÉ) then group 2; the inactive item is left out.
  EXPECT_EQ(
      celulas(p, {"A2", "B2", "D2", "E2", "F2", "O2", "A3", "B3", "C3", "D3", "E3", "F3",
                  "G3", "H3", "I3", "J3", "K3", "L3", "N3", "O3", "A4", "F4", "M4", "A5"}),
      "A2=0001234 B2=ARROZ 5KG D2=1.000,46|right E2=1.234,50|right F2=1500,25|right O2=1.100,00|right "
      "A3=7891234567895 B3=CAFÉ TORRADO 500G C3=UN D3=9,50|right E3=15,90|right F3=40|right G3=MERCEARIA "
      "H3=MATINAIS I3=09012100 J3=18.00 K3=5102 L3=102 N3=1709600 O3=|right A4=2000001 F4=12,5|right M4=60 "
      "A5= ");

  // "Todos": the item without group comes first (nulls first), with an empty barcode cell.
  EXPECT_EQ(roda(gera(true)), Resultado::concluido());
  EXPECT_EQ(celulas(leComOpenpyxl(produto()), {"A2", "B2", "B6"}), "A2= B2=INATIVO B6= ");
}

TEST_F(PlanilhaProdutoTest, DoSYSPDV) {
  preparaSyspdv(
      banco.pastaPrograma() / "BancoOrigem" / "syspdv_srv.fdb",
      "INSERT INTO GRUPO VALUES ('001', '001', 'BEBIDAS');INSERT INTO PRODUTO VALUES ('10', 'REFRIGERANTE "
      "2L', 'UN', 4.1234, 7.5, '001', '001', '22021000', 'F00', '0300700');INSERT INTO PRODUTO VALUES "
      "('20', 'SABAO', 'CX', 2, 3, '009', '009', '34011190', 'T18', NULL);INSERT INTO PRODUTO VALUES "
      "('30', 'AVULSO', 'KG', 1, 1234.5, NULL, NULL, NULL, 'X99', NULL);INSERT INTO PRODUTOAUX VALUES (' "
      "0789100 ', '10');INSERT INTO PRODUTOAUX VALUES ('0789200', '20');INSERT INTO PRODUTOAUX VALUES "
      "('0789201', '20');");
  EXPECT_EQ(SelecionaBancoSYSPDV(banco.pastaPrograma().string(), tela), "BancoOrigem\\syspdv_srv.fdb");
  EXPECT_TRUE(tela.mensagens.empty());
  EXPECT_EQ(roda([](ContextoExecucao& c) { return ImportaOutroBanco(c, OpcoesOutroBanco{}); }),
            Resultado::concluido());
  const PlanilhaLida p = leComOpenpyxl(produto());
  // The barcode trimmed; the rate as the database gives it (the cases are CHAR(5), so "00" is
  // padded); no stock, sub-group, CSOSN, CST or wholesale column.
  EXPECT_EQ(
      celulas(p, {"N1", "O1", "A2", "B2", "D2", "E2", "F2", "G2", "H2", "I2", "J2",
                  "K2", "L2", "M2", "N2", "G3", "J3", "K3", "A4", "E4", "J4", "K4"}),
      "N1=Código CEST O1= A2=0789100 B2=REFRIGERANTE 2L D2=4,12|right E2=7,50|right F2=|right G2=BEBIDAS "
      "H2= I2=22021000 J2=00    K2=5405 L2= M2= N2=0300700 G3= J3=18,00 K3=5102 A4=30 E4=1.234,50|right "
      "J4= K4= ");
}

TEST_F(PlanilhaProdutoTest, Falhas) {
  auto gera = [](ContextoExecucao& c) { return GeraExcelOrigem(c, OpcoesPlanilhaProduto{}); };
  // A target that cannot be written: the writer's own description, not the database's.
  fs::create_directories(produto() / "x");
  const Resultado r = roda(gera);
  EXPECT_TRUE(r.mensagem.starts_with("Erro ao Montar Planilha Excel Não foi possível salvar")) << r.mensagem;
  // No ZUV database (no zuv.ini: BancoZUV's test; no SYSPDV database: the form's test).
  std::ofstream(banco.pastaPrograma() / "zuv.ini") << "/nao/existe\r\n";
  EXPECT_EQ(roda(gera), Resultado::falhou("Erro ao Gerar o Excel"));
  EXPECT_EQ(tela.mensagens.back().icone, Icone::Informacao);
}

}  // namespace
}  // namespace zuv::teste
