// The tax update import: preparation of the cells and the statements it builds (rates are read as
// CodigosFiscaisTest and the cycles' edits check).
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

  // NCM, CEST and CFOP typed with dots, blanks and lost zeros: the cycles' edits.
  const std::vector<std::pair<std::string, std::string>> icms = {
      {"60", "060"}, {"0", "000"}, {" 10 ", "010"}, {"060", "060"}, {"102", "102"}, {"1234", ""}, {"", ""}};
  for (const auto& [entrada, esperado] : icms)
    EXPECT_EQ(preparaCST(entrada), esperado) << entrada;
}

// The two CFOP records exactly as the system writes them, a quote in the description doubled.
TEST(InstrucoesTributos, RegistrosDeCFOP) {
  const std::string colunas =
      std::string(
          " INSERT INTO TribCFOP "
          "(idTribCFOP,Tipo,Descricao,CredICMS,CredIPI,GeraDpl,AtuEst,PoderTerc,AtuPrecoCompra,") +
      " CalcICMS,CalcIPI,CodFiscal,RedICMS,RedIPI,DestacaIPI,IPIBase,CalcDifICMS,CalcIPIFrete,CalcIPIDespesa,"
      "CalcISS,MatConsumo,DespIntCusto,IPIIntCusto,LFiscICMS,LFiscIPI,LFiscISS,NumLivro,ObsFiscal,"
      "OrigemProduto,"
      "CST,STF,CContabil,CredPIS,CredCofins,CalcPIS,CalcCofins,InscEstSubTrib,LetraImpressao,PorcINSS,"
      "NaturezaOperacao,modBC,CalcSubTrib, CofinsCST,PISCST,CofinsPorcentagem,PISPorcentagem,CredSN,"
      "AliqIVASubTribFrete,  AliqIVASubTrib, ICMSST ,Regime,PorcReducaoBCICMS,AliquotaICMS,TextoPadraoArt23, "
      "PorcAprovICMS, MostrarPorcICMS, MostrarBaseICMS  ,IPICST,IPIMostraValor,pMVAST,pRedBCST "
      ",VendaDig_ICMS, VendaDig_ST, VendaDig_IPI,Obs , CSTSat,CSOSN ";
  const auto valores = [](const std::string& id, const std::string& descricao, const std::string& cfop,
                          const std::string& natureza) {
    return " VALUES (" + id + " ,'S','" + descricao + "','','','','','','','',''," + cfop +
           ",0,0,'','','','','','','','','','','','','','','0','','','','','','','','','', 0,'" + natureza +
           "',Null "
           ",'N','','',Null,Null,Null,Null,Null,Null,2,Null,Null,'N',Null,'','','','N',Null,Null,'','',"
           "'',Null, ";
  };
  EXPECT_EQ(insercaoCFOPSaida(7, "CFOP 5102 CSOSN 1'2 CST 060", "5102", "060", "1'2"),
            colunas + ",Ativo )" +
                valores("7", "CFOP 5102 CSOSN 1''2 CST 060", "'5102'", "CFOP 5102 CSOSN 1''2 CST 060") +
                "'60','1''2','S')");
  EXPECT_EQ(insercaoCFOPSaida(9, "CFOP 5102", "5102", "", ""),
            colunas + ",Ativo )" + valores("9", "CFOP 5102", "'5102'", "CFOP 5102") + "'0',Null,'S')");
  EXPECT_EQ(insercaoCFOPEntrada(8, "1102"),
            colunas + " )" + valores("8", "CFOP Entrada 1102", "'1102'", "NAT 1102") + "Null,Null)");

  EXPECT_EQ(consultaCFOPSaida("5405", "", "060"),
            "Select * From TribCFOP Where  CodFiscal =  '5405' And Coalesce(CSOSN,'')  = '' And "
            "Coalesce(CSTSAT,'') IN ('060','60')");
  EXPECT_EQ(consultaCFOPSaida("5102", "", "000"),
            "Select * From TribCFOP Where  CodFiscal =  '5102' And Coalesce(CSOSN,'')  = '' And "
            "Coalesce(CSTSAT,'') IN ('000','00','0')");
  EXPECT_EQ(consultaCFOPSaida("5102", "102", "60"),
            "Select * From TribCFOP Where  CodFiscal =  '5102' And Coalesce(CSOSN,'')  = '102' And "
            "Coalesce(CSTSAT,'') = '60'");
}

}  // namespace
}  // namespace zuv::teste
