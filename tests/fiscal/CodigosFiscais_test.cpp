// The rules of the fiscal codes and numbers, one table per kind of value: what passes, what is
// reported, and the correction offered only where it is certain.
#include "fiscal/CodigosFiscais.h"

#include <gtest/gtest.h>

#include <functional>

namespace zuv::teste {
namespace {

struct Caso {
  std::string valor;
  bool aceito;
  std::string sugestao = {};
  std::string trechoDoMotivo = {};
};

void confere(const std::function<std::optional<Problema>(std::string_view)>& regra,
             const std::vector<Caso>& casos) {
  for (const Caso& c : casos) {
    SCOPED_TRACE("valor \"" + c.valor + "\"");
    const auto p = regra(c.valor);
    ASSERT_EQ(!p.has_value(), c.aceito) << (p ? p->motivo : "");
    if (!p) continue;
    EXPECT_EQ(p->sugestao, c.sugestao);
    EXPECT_NE(p->motivo.find(c.trechoDoMotivo), std::string::npos) << p->motivo;
  }
}

TEST(CodigosFiscaisTest, Ncm) {
  confere(verificaNcm, {
                           {"01012100", true},
                           {" 22030000 ", true},
                           {"", false, "", "NCM vazio"},
                           {"1012100", false, "01012100", "zero à esquerda"},
                           {"0101.21.00", false, "01012100", "pontos"},
                           {"0101 21 00", false, "01012100", "pontos"},
                           {"101.21.00", false, "", "só 8 dígitos"},  // 7 digits with dots: not certain
                           {"101210", false, "", "tem 6 dígitos"},
                           {"010121000", false, "", "tem 9 dígitos"},
                           {"0101210A", false, "", "só 8 dígitos"},
                           {"1,0121E+7", false, "", "só 8 dígitos"},
                       });
}

TEST(CodigosFiscaisTest, Cest) {
  confere(verificaCest, {
                            {"", true},
                            {"0100100", true},
                            {"100100", false, "0100100", "zero à esquerda"},
                            {"01.001.00", false, "0100100", "pontos"},
                            {"12345", false, "", "tem 5 dígitos"},
                            {"17.001", false, "", "só 7 dígitos"},
                        });
}

TEST(CodigosFiscaisTest, CfopDeSaidaEDeEntrada) {
  auto saida = [](std::string_view v) { return verificaCfop(v, true); };
  auto entrada = [](std::string_view v) { return verificaCfop(v, false); };
  confere(saida, {
                     {"", true},
                     {"5102", true},
                     {"6108", true},
                     {"7101", true},
                     {"5.405", false, "5405", "ponto"},
                     {"1102", false, "", "entrada (começa com 1)"},
                     {"5100", false, "", "título de um grupo"},
                     {"4102", false, "", "5, 6 ou 7"},
                     {"510", false, "", "tem 3 dígitos"},
                     {"51020", false, "", "tem 5 dígitos"},
                     {"5.10", false, "", "só 4 dígitos"},
                 });
  confere(entrada, {
                       {"1102", true},
                       {"2403", true},
                       {"5102", false, "", "saída (começa com 5)"},
                       {"1.102", false, "1102", "ponto"},
                       {"2000", false, "", "título"},
                   });
}

TEST(CodigosFiscaisTest, ListasDeCsosnECst) {
  confere(verificaCsosn, {
                             {"", true},
                             {"102", true},
                             {"900", true},
                             {"104", false, "", "CSOSN fora da tabela"},
                             {"0102", false, "", "CSOSN"},
                             {"10", false, "", "CSOSN"},
                         });
  confere(verificaCstIcms, {
                               {"", true},
                               {"00", true},
                               {"60", true},
                               {"060", true},  // origin 0 + CST 60, as the tax workbooks carry it
                               {"241", true},
                               {"0", false, "00", "zero à esquerda"},
                               {"2", false, "02", "zero à esquerda"},
                               {"7", false, "", "fora da tabela"},
                               {"01", false, "", "fora da tabela"},
                               {"960", false, "", "fora da tabela"},  // origin 9 does not exist
                               {"0600", false, "", "fora da tabela"},
                           });
  auto pis = [](std::string_view v) { return verificaCstPisCofins(v, "CST PIS"); };
  confere(pis, {
                   {"", true},
                   {"1", true},  // kept as a number in the database: exported without the zero
                   {"01", true},
                   {"49", true},
                   {"99", true},
                   {"10", false, "", "CST PIS fora da tabela"},
                   {"57", false, "", "CST PIS"},
                   {"001", false, "", "CST PIS"},
                   {"1,00", false, "", "CST PIS"},
               });
}

TEST(CodigosFiscaisTest, NumerosNoEstiloRegional) {
  auto brasil = [](std::string_view v) { return verificaNumero(v, 1, "Preço"); };
  auto ingles = [](std::string_view v) { return verificaNumero(v, 2, "Preço"); };
  confere(brasil, {
                      {"", true},
                      {"12,50", true},
                      {"1.234,50", true},
                      {"1234,5", true},
                      {"-3", true},
                      {"R$ 10,00", true},
                      {"1.234.567", true},
                      {"1,5E-05", true},  // a tiny number as a spreadsheet shows it
                      {"12.50", false, "12,50", "seria lido como 1250"},
                      {"1.2345,00", false, "", "seria lido como 12345"},
                      {"1,234.50", false, "1.234,50", "não é um número"},
                      {"12,5%", false, "", "não é um número"},
                      {"doze", false, "", "não é um número"},
                      {"1.234", true},  // a thousand two hundred: both styles read it, no doubt here
                  });
  confere(ingles, {
                      {"12.50", true},
                      {"1,234.50", true},
                      {"12,50", false, "12.50", "seria lido como 1250"},
                      {"1.234,50", false, "1,234.50", "não é um número"},
                  });
  auto porcentagem = [](std::string_view v) { return verificaNumero(v, 1, "Porcentagem", true); };
  confere(porcentagem, {
                           {"1,65", true},
                           {"100", true},
                           {"0", true},
                           {"101", false, "", "fora de 0 a 100"},
                           {"-1", false, "", "fora de 0 a 100"},
                       });
}

TEST(CodigosFiscaisTest, CodigoInterno) {
  confere(verificaCodigoInterno, {
                                     {"", true},
                                     {"123", true},
                                     {" 7 ", true},
                                     {"1 OR 1=1", false, "", "número inteiro"},
                                     {"12,5", false, "", "número inteiro"},
                                     {"12345678901", false, "", "número inteiro"},
                                 });
}

}  // namespace
}  // namespace zuv::teste
