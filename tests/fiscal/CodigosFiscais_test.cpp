// The check of one cell: the same cell texts through the imports' own readers and through the
// check, which must agree; then the rules of the code lists.
#include "fiscal/CodigosFiscais.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

#include "common/Erro.h"
#include "common/LeituraDeCelulas.h"

namespace zuv::teste {
namespace {

constexpr const char* kRecusa = "<recusa>";

// A column as one import reads it (what it stores, or kRecusa), as the check judges it, and
// whether what the import stores is right for the column.
struct Leitor {
  std::function<std::string(const std::string&)> importa;
  std::function<std::optional<Problema>(const std::string&)> verifica;
  std::function<bool(const std::string& texto, const std::string& gravado)> certo;
};

std::string centavos(const std::function<Decimal()>& le) {
  try {
    return std::to_string(le().unscaled);
  } catch (const ErroConversao&) {
    return kRecusa;
  }
}

bool codigo(const std::string& s, size_t casas, bool vazioPode) {
  return (vazioPode && s.empty()) ||
         (s.size() == casas && s.find_first_not_of("0123456789") == std::string::npos);
}

// Right for a code column: the stored code has its digits; with cortado, the cell was not cut either.
auto codigoCerto(size_t casas, bool vazioPode, bool cortado) {
  return [=](const std::string& t, const std::string& g) {
    return codigo(g, casas, vazioPode) && (!cortado || cortaCodigo(t, std::string::npos).size() <= casas);
  };
}

TEST(CodigosFiscaisTest, EveryCellIsJudgedByWhatItsImportReadsAndStores) {
  const auto P = LayoutFiscal::Produto, T = LayoutFiscal::Tributacao;
  const std::map<std::string, Leitor> leitores = {
      {"preço (produtos)",
       {[](const std::string& t) { return centavos([&] { return leNumero(t, 1); }); },
        [](const std::string& t) { return verificaNumero(t, 1, NumeroProduto::Preco); },
        [](const std::string& t, const std::string& g) { return g != kRecusa && !lidoComoMilhar(t, 1); }}},
      {"preço (produtos, estilo inglês)",
       {[](const std::string& t) { return centavos([&] { return leNumero(t, 2); }); },
        [](const std::string& t) { return verificaNumero(t, 2, NumeroProduto::Preco); },
        [](const std::string& t, const std::string& g) { return g != kRecusa && !lidoComoMilhar(t, 2); }}},
      {"alíquota (tributos)",
       {[](const std::string& t) {
          const auto d = numeroTaxa(t);
          return d ? d->texto('.') : kRecusa;
        },
        [](const std::string& t) { return verificaTaxa(t, TaxaTributos::Aliquota); },
        [](const std::string& t, const std::string& g) {
          return t.empty() || (g != kRecusa && std::stod(g) >= 0 && std::stod(g) <= 100);
        }}},
      {"NCM (produtos)",
       {[](const std::string& t) { return normalizaCodigo(t, 8); },
        [P](const std::string& t) { return verificaNcm(t, P); }, codigoCerto(8, false, true)}},
      {"NCM (tributos)",
       {[](const std::string& t) { return preparaNCM(t); },
        [T](const std::string& t) { return verificaNcm(t, T); },
        [](const std::string& t, const std::string& g) {
          return codigo(g, 8, false) && t.find_first_not_of("0123456789. -") == std::string::npos;
        }}},
      {"CEST (produtos)",
       {[](const std::string& t) { return normalizaCodigo(t, 7); },
        [P](const std::string& t) { return verificaCest(t, P); }, codigoCerto(7, true, true)}},
      {"CEST (tributos)",
       {[](const std::string& t) { return preparaCEST(t); },
        [T](const std::string& t) { return verificaCest(t, T); }, codigoCerto(7, true, false)}},
      {"CFOP (produtos)",
       {[](const std::string& t) { return cortaCodigo(t, 4); },
        [P](const std::string& t) { return verificaCfop(t, true, P); }, codigoCerto(4, true, true)}},
      {"CFOP (tributos)",
       {[](const std::string& t) { return preparaCFOP(t); },
        [T](const std::string& t) { return verificaCfop(t, true, T); }, codigoCerto(4, true, false)}},
      {"CST PIS (tributos)",
       {[](const std::string& t) { return regraCST(t); },
        [](const std::string& t) { return verificaCstPisCofins(t, "CST PIS"); },
        [](const std::string& t, const std::string& g) { return g != "99" || t == "99" || t == "099"; }}},
  };
  // Per reader: the cell's text, what the import stores and the kind of finding ("" for none).
  using Caso = std::tuple<std::string, std::string, std::string>;
  // clang-format off
  const std::vector<std::pair<std::string, std::vector<Caso>>> casos = {
      // Numbers: the import reads "16.86" as 16,86 and "1,234.50" as 1234,50; only "1.234" is
      // read as thousands where a decimal may have been meant.
      {"preço (produtos)", {{"16.86", "1686", ""}, {"1,234.50", "123450", ""}, {"1.234,50", "123450", ""},
          {"R$ 4,99", "499", ""}, {"", "0", ""}, {"1.234", "123400", "Número lido como milhar"},
          {"1.234.567", "123456700", ""}, {"1.23.4", kRecusa, "Preço que não é número"}}},
      {"preço (produtos, estilo inglês)", {{"16,86", "1686", ""}, {"1,234", "123400", "Número lido como milhar"}}},
      {"alíquota (tributos)", {{"17,5", "17.5", ""}, {"17.5", "17.5", ""},
          {"18%", kRecusa, "Alíquota que não é número"}, {"120", "120", "Alíquota fora de 0 a 100"}}},
      // Codes: the import itself drops the dots and restores the one zero a number lost; a
      // heading ("1006") is stored as written, and what is cut, dropped or left short is a finding.
      {"NCM (produtos)", {{"1012100", "01012100", ""}, {"0901.21.00", "09012100", ""},
          {"1006", "1006", "NCM com menos de 8 dígitos"}, {"2203.00.00.99", "22030000", "NCM com mais de 8 caracteres"},
          {"0101210A", "0101210A", "NCM com letras ou símbolos"}, {"", "", "NCM vazio"}}},
      {"NCM (tributos)", {{"1012100", "01012100", ""}, {"0901.21.00", "09012100", ""},
          {"1006", "1006", "NCM com menos de 8 dígitos"}, {"0901210A", "00901210", "NCM com letras ou símbolos"},
          {"2203000099", "2203000099", "NCM com mais de 8 dígitos"}}},
      {"CEST (produtos)", {{"300100", "0300100", ""}, {"03.007.00", "0300700", ""},
          {"12345", "12345", "CEST com menos de 7 dígitos"}, {"", "", ""}}},
      {"CEST (tributos)", {{"300100", "0300100", ""}, {"03.007.00", "0300700", ""},
          {"03 007 00", "03 007 00", "CEST com letras ou símbolos"}}},
      {"CFOP (produtos)", {{"5.405", "5405", ""}, {"5.1023", "5102", "CFOP com mais de 4 caracteres"}}},
      {"CFOP (tributos)", {{"5.405", "5405", ""}, {"510", "510", "CFOP com menos de 4 dígitos"}}},
      {"CST PIS (tributos)", {{"01", "1", ""}, {"001", "1", ""}, {"99", "99", ""},
          {"10", "99", "CST PIS fora da tabela"}, {"1,00", "99", "CST PIS fora da tabela"}}},
  };
  // clang-format on
  for (const auto& [leitor, linhas] : casos)
    for (const auto& [texto, esperado, tipo] : linhas) {
      SCOPED_TRACE(leitor + " \"" + texto + "\"");
      const Leitor& l = leitores.at(leitor);
      const std::string gravado = l.importa(texto);
      const std::optional<Problema> p = l.verifica(texto);
      EXPECT_EQ(gravado, esperado);
      EXPECT_EQ(p ? p->tipo : "", tipo) << (p ? p->motivo : "");
      // The agreement: silent exactly when the import reads the cell and stores it right.
      EXPECT_EQ(!p, l.certo(texto, gravado)) << (p ? p->motivo : "");
    }
}

TEST(CodigosFiscaisTest, StoredCodesFollowTheirLists) {
  const auto P = LayoutFiscal::Produto;
  using Regra = std::function<std::optional<Problema>(std::string_view)>;
  const Regra saida = [&](std::string_view v) { return verificaCfop(v, true, P); };
  const Regra entrada = [](std::string_view v) { return verificaCfop(v, false, LayoutFiscal::Tributacao); };
  const std::string cfopFora = "CFOP com mais de 4 caracteres", csosn = "CSOSN fora da tabela",
                    cst = "CST ICMS fora da tabela", interno = "Cod.Interno que não é número inteiro";
  // The tax import reads "0", "00" and "000" alike, and "60" as "060"; origin 9 does not exist.
  // clang-format off
  const std::vector<std::tuple<Regra, std::string, std::string>> casos = {
      {saida, "", ""}, {saida, "5102", ""}, {saida, "7101", ""},
      {saida, "1102", "CFOP de entrada na coluna de saída"}, {saida, "5100", "CFOP que é título de grupo"},
      {saida, "4102", "CFOP inexistente"}, {saida, "5-102", cfopFora},
      {entrada, "1102", ""}, {entrada, "1.102", ""}, {entrada, "5102", "CFOP de saída na coluna de entrada"},
      {entrada, "2000", "CFOP que é título de grupo"},
      {verificaCsosn, "", ""}, {verificaCsosn, "102", ""}, {verificaCsosn, "104", csosn},
      {verificaCsosn, "0102", csosn}, {verificaCstIcms, "", ""}, {verificaCstIcms, "0", ""},
      {verificaCstIcms, "60", ""}, {verificaCstIcms, "241", ""}, {verificaCstIcms, "7", cst},
      {verificaCstIcms, "01", cst}, {verificaCstIcms, "960", cst},
      {verificaCstIcms, "0600", "CST ICMS com mais de 3 caracteres"},
      {verificaCodigoInterno, "", ""}, {verificaCodigoInterno, "123", ""}, {verificaCodigoInterno, " 7 ", ""},
      {verificaCodigoInterno, "1 OR 1=1", interno}, {verificaCodigoInterno, "12345678901", interno},
      {verificaBarra, "7891000100103", ""},
      {verificaBarra, "789100010010378910001", "Código de barras com mais de 20 caracteres"}};
  // clang-format on
  for (const auto& [regra, valor, tipo] : casos) {
    const auto p = regra(valor);
    EXPECT_EQ(p ? p->tipo : "", tipo) << "valor \"" << valor << "\": " << (p ? p->motivo : "");
  }
  EXPECT_EQ(codigoInternoGravado(" 007 "), "7");
  EXPECT_EQ(barraGravada(" abc'd "), "ABCD");
  // A printed code of digits and separators has one certain correction.
  EXPECT_EQ(verificaNcm("0901-21-00", P)->sugestao, "09012100");
  EXPECT_EQ(verificaCest("03 007 00", LayoutFiscal::Tributacao)->sugestao, "0300700");
}

}  // namespace
}  // namespace zuv::teste
