// The tax update import: preparation of the cells, the statements it builds, and whole cycles on
// the populated fixture (export, edit with openpyxl as a person would, import).
#include <gtest/gtest.h>

#include "tax/AmbienteTributos.h"
#include "tax/AtualizaTributos.h"
#include "tax/PlanilhaTributos.h"
#include "tax/Tributos.h"

namespace zuv::teste {
namespace {

TEST(PreparacaoTributos, CodigosDigitadosComoNumeroOuTexto) {
  const std::vector<std::pair<std::string, std::string>> cst = {
      {"", ""},     {"1", "1"},  {"01", "1"},  {"049", "49"}, {"60", "60"}, {"98", "98"},
      {"00", "99"}, {"0", "99"}, {"10", "99"}, {"ABC", "99"}, {"76", "99"}, {"99", "99"}};
  for (const auto& [entrada, esperado] : cst)
    EXPECT_EQ(regraCST(entrada), esperado) << entrada;

  EXPECT_EQ(preparaNCM("1012100"), "01012100");
  EXPECT_EQ(preparaNCM("0901.21.00"), "09012100");
  EXPECT_EQ(preparaNCM("12345678"), "12345678");
  EXPECT_EQ(preparaCEST("300100"), "0300100");
  EXPECT_EQ(preparaCEST(" 03.001.00 "), "0300100");
  EXPECT_EQ(preparaCEST("1709600"), "1709600");
  EXPECT_EQ(preparaCFOP(" 5.102"), "5102");
  const std::vector<std::pair<std::string, std::string>> icms = {
      {"60", "060"}, {"0", "000"}, {" 10 ", "010"}, {"060", "060"}, {"102", "102"}, {"1234", ""}, {"", ""}};
  for (const auto& [entrada, esperado] : icms)
    EXPECT_EQ(preparaCST(entrada), esperado) << entrada;

  const std::vector<std::pair<std::string, std::string>> taxas = {
      {"18.00", "18"}, {"17,5", "17.5"}, {"17.5", "17.5"}, {" 1,65 ", "1.65"}, {"0", "0"}};
  for (const auto& [entrada, esperado] : taxas) {
    const auto d = numeroTaxa(entrada);
    ASSERT_TRUE(d) << entrada;
    EXPECT_EQ(d->texto('.'), esperado) << entrada;
  }
  for (const char* invalido : {"", "18%", "ISENTO", "1.234,5", ","})
    EXPECT_FALSE(numeroTaxa(invalido)) << invalido;
}

// Columns and values of an INSERT, counted outside quotes.
std::pair<int, int> contaInsercao(const std::string& sql) {
  const auto conta = [](const std::string& s) {
    int n = 1;
    bool aspas = false;
    for (char c : s) {
      if (c == '\'') aspas = !aspas;
      if (c == ',' && !aspas) ++n;
    }
    return n;
  };
  const size_t valores = sql.find(" VALUES (");
  const size_t abre = sql.find('(');
  return {conta(sql.substr(abre + 1, sql.rfind(')', valores) - abre - 1)),
          conta(sql.substr(valores + 9, sql.size() - valores - 10))};
}

TEST(InstrucoesTributos, RegistrosDeCFOP) {
  const std::string saida = insercaoCFOPSaida(7, "CFOP 5102 CSOSN 1'2", "5102", "060", "1'2");
  EXPECT_EQ(contaInsercao(saida), std::make_pair(68, 68));
  EXPECT_NE(saida.find(",'CFOP 5102 CSOSN 1''2','','',"), std::string::npos);
  EXPECT_NE(saida.find("Null, '60','1''2','S')"), std::string::npos);
  EXPECT_NE(saida.find("CSTSat,CSOSN ,Ativo ) VALUES (7 ,'S',"), std::string::npos);

  const std::string entrada = insercaoCFOPEntrada(8, "1102");
  EXPECT_EQ(contaInsercao(entrada), std::make_pair(67, 67));
  EXPECT_NE(entrada.find("CSTSat,CSOSN  ) VALUES (8 ,'S','CFOP Entrada 1102','',"), std::string::npos);
  EXPECT_NE(entrada.find(", 0,'NAT 1102',Null ,'N',"), std::string::npos);
  EXPECT_TRUE(entrada.ends_with(",Null, Null,Null)"));

  EXPECT_EQ(consultaCFOPSaida("5405", "", "060"),
            "Select * From TribCFOP Where  CodFiscal =  '5405' And Coalesce(CSOSN,'')  = '' And "
            "Coalesce(CSTSAT,'') IN ('060','60')");
  EXPECT_EQ(consultaCFOPSaida("5102", "", "000"),
            "Select * From TribCFOP Where  CodFiscal =  '5102' And Coalesce(CSOSN,'')  = '' And "
            "Coalesce(CSTSAT,'') IN ('000','00','0')");
  EXPECT_EQ(consultaCFOPSaida("5102", "102", "60"),
            "Select * From TribCFOP Where  CodFiscal =  '5102' And Coalesce(CSOSN,'')  = '102' And "
            "Coalesce(CSTSAT,'') = '60'");
  EXPECT_EQ(descricaoCFOP("5102", "", "40"), "CFOP 5102 CSTSat 40");
  EXPECT_EQ(descricaoCFOP("5102", "102", "40"), "CFOP 5102 CSOSN 102 CST 40");
}

}  // namespace
}  // namespace zuv::teste
