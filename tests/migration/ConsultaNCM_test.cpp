#include "migration/ConsultaNCM.h"

#include <chrono>

#include "common/Erro.h"
#include "migration/ServidorNCM.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

std::string xml(const std::string& ncm) {
  return "<?xml version=\"1.0\"?><produto><nome>X</nome><CODIGONCM>" + ncm + "</CODIGONCM></produto>";
}

TEST(ConsultaNCMTest, OnlyAnEightDigitCodeOfTheFirstElementIsAccepted) {
  EXPECT_EQ(ConsultaNCM::ncmDaResposta(xml(" 0901.21.00 ")), "09012100");
  EXPECT_EQ(
      ConsultaNCM::ncmDaResposta("<a><b><CODIGONCM>22030000</CODIGONCM></b><CODIGONCM>1</CODIGONCM></a>"),
      "22030000");
  for (const char* resposta :
       {"<a/>", "<a><CODIGONCM>1234567</CODIGONCM></a>", "<a><CODIGONCM>0901210X</CODIGONCM></a>",
        "<a><CODIGONCM>1' or '1</CODIGONCM></a>", "<a><CODIGONCM>123456789</CODIGONCM></a>"})
    EXPECT_EQ(ConsultaNCM::ncmDaResposta(resposta), "") << resposta;
  for (const char* resposta : {"", "not xml", "<a><CODIGONCM>09012100</a>",
                               "<!DOCTYPE a [<!ENTITY e \"09012100\">]><a><CODIGONCM>&e;</CODIGONCM></a>"})
    EXPECT_THROW(ConsultaNCM::ncmDaResposta(resposta), Erro) << resposta;
}

TEST(ConsultaNCMTest, TheRequestCarriesThePortPathAndTheBarcodePercentEncoded) {
  EXPECT_EQ(ConsultaNCM("http://ncm.exemplo.com.br/").url("789 1&x=1"),
            "http://ncm.exemplo.com.br:8080/xmlProduto945MIL.php?barra=789%201%26x%3D1");
  EXPECT_EQ(ConsultaNCM("http://10.0.0.5:9000").url("7891"),
            "http://10.0.0.5:9000/xmlProduto945MIL.php?barra=7891");
  EXPECT_EQ(ConsultaNCM("http://[::1]").url("Ç"), "http://[::1]:8080/xmlProduto945MIL.php?barra=%C3%87");
}

// Replies, silence and garbage in a run:
// ImportaProdutoTest.RowsWithoutNcmAskTheLookupUntilItFailsThreeTimesInARow.
TEST(ConsultaNCMTest, AServerThatNeverAnswersCostsAtMostTheTotalTimeLimit) {
  ServidorNCM servidor([](const std::string&) -> std::optional<std::string> {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    return std::nullopt;
  });
  ConsultaNCM consulta(servidor.endereco(), {.conexao = 200, .total = 300});
  std::string aviso;
  const auto inicio = std::chrono::steady_clock::now();
  EXPECT_EQ(consulta.consulta("1", aviso), "");
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::milliseconds(1000));
}

}  // namespace
}  // namespace zuv::teste
