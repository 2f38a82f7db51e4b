// Preparing a supplier row and its INSERT.
#include "migration/Fornecedores.h"

#include <gtest/gtest.h>

#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

TEST(Fornecedores, LimpaFornecedor) {
  struct Caso {
    CelulasFornecedor celulas, esperado;
  };
  const Caso casos[] = {
      {{"11.222.333/0001-81", "Distribuidora D'Ávila", "joão", "(11) 3333-4444"},
       // LimpaTexto deletes the apostrophe before TrocaAspas could blank it.
       {"11222333000181", "DISTRIBUIDORA DAVILA", "JOAO", "(11) 3333-4444"}},
      // A tax number typed as a number lost its leading zero: 13 digits become 14 again.
      {{"1222333000181", "X", "", ""}, {"01222333000181", "X", "", ""}},
      {{"123.456.789-09", "", "", ""}, {"12345678909", "", "", ""}},  // a CPF stays as it is
      {{"1234567890123456789012", std::string(50, 'a'), "", "fax'1"},
       {"123456789012345678", std::string(40, 'A'), "", "FAX'1"}},
  };
  for (const auto& c : casos) {
    const CelulasFornecedor f = limpaFornecedor(c.celulas);
    EXPECT_EQ(f.cgc, c.esperado.cgc);
    EXPECT_EQ(f.nome, c.esperado.nome);
    EXPECT_EQ(f.contato, c.esperado.contato);
    EXPECT_EQ(f.fax, c.esperado.fax);
  }
}

TEST(Fornecedores, InsercaoDobraAspasDoFaxEDoTelefone) {
  EXPECT_EQ(insercaoFornecedor({"11222333000181", "ACME", "ANA", "1' OR ''='"}, "0800'", 3),
            " INSERT INTO FORNECEDOR ( NOMERAZAO , CONTATO, CGC,FONE1,FAX,IDFORNECEDOR) VALUES ('ACME','ANA',"
            "'11222333000181','0800''','1'' OR ''''=''',3)");
  EXPECT_EQ(bancoFornecedores("/p"), "/p\\DADOS\\VENDAS.FDB");
}

}  // namespace
}  // namespace zuv::teste
