// The demo folder script: a ZUV program folder whose database holds the demo store.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/BancoDeTeste.h"

namespace zuv::teste {
namespace {

TEST(DadosDemo, CriaPastaDeProgramaComBancoEPlanilha) {
  std::string pasta = (std::filesystem::temp_directory_path() / "zuvdemo-XXXXXX").string();
  ASSERT_NE(mkdtemp(pasta.data()), nullptr);
  std::string cmd = std::string("'") + ZUV_SOURCE_DIR + "/scripts/demo-data.sh' '" + pasta + "' >/dev/null";
  // Twice: the second run replaces what the first made.
  ASSERT_EQ(std::system((cmd + " && " + cmd).c_str()), 0);
  std::ifstream ini(pasta + "/zuv.ini");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(ini), {}), pasta + "/DADOS\r\n");
  EXPECT_TRUE(std::filesystem::exists(pasta + "/clientes.xlsx"));
  // Hundreds of stock items; 30 customers, their names one byte per character; customer 2 has an
  // invoice, so the customer deletion keeps it.
  const std::string banco = pasta + "/DADOS/VENDAS.FDB";
  EXPECT_EQ(
      BancoDeTeste::consulta(banco,
                             "select iif(count(*) >= 300, 'S', 'N'), (select count(*) from CLIENTE), "
                             "(select CLIENTE || octet_length(CLIENTE) from CLIENTE where IDCLIENTE = 2), "
                             "(select count(*) from NFSAIDA where IDCLIENTE = 2) from PRODUTOESTOQUE"),
      (BancoDeTeste::Linhas{{"S", "30", "PADARIA CORAÇÃO DE JESUS LTDA29", "1"}}));
  // A folder the script did not make is left alone.
  std::filesystem::remove(pasta + "/.zuv-demo");
  EXPECT_NE(std::system(cmd.append(" 2>/dev/null").c_str()), 0);
  EXPECT_TRUE(std::filesystem::exists(banco));
  std::filesystem::remove_all(pasta);
}

}  // namespace
}  // namespace zuv::teste
