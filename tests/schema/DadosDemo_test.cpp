// The demo folder script: a ZUV program folder whose database holds the demo store.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/BancoDeTeste.h"

namespace zuv::teste {
namespace {

namespace fs = std::filesystem;

TEST(DadosDemo, CriaPastaDeProgramaComBancoEPlanilha) {
  std::string modelo = (fs::temp_directory_path() / "zuvdemo-XXXXXX").string();
  ASSERT_NE(mkdtemp(modelo.data()), nullptr);
  fs::path pasta = modelo;
  std::string cmd =
      std::string("'") + ZUV_SOURCE_DIR + "/scripts/demo-data.sh' '" + pasta.string() + "' >/dev/null";
  // Twice: the second run replaces what the first made.
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  ASSERT_EQ(std::system(cmd.c_str()), 0);

  std::ifstream ini(pasta / "zuv.ini");
  std::string primeira;
  std::getline(ini, primeira);
  EXPECT_EQ(primeira, (pasta / "DADOS").string() + "\r");
  EXPECT_TRUE(fs::exists(pasta / "clientes.xlsx"));

  fs::path banco = pasta / "DADOS" / "VENDAS.FDB";
  auto contagens = BancoDeTeste::consulta(
      banco,
      "select (select count(*) from PRODUTOESTOQUE), (select count(*) from PRODUTOESTOQUE where ATIVO = "
      "'S'), "
      "(select count(*) from UNIDADE), (select count(*) from NCM where CEST is not null), "
      "(select count(*) from TRIBCFOP where CODFISCAL in ('5102', '5405')), (select count(*) from CLIENTE) "
      "from rdb$database");
  ASSERT_EQ(contagens.size(), 1u);
  EXPECT_GE(std::stoi(contagens[0][0]), 300);
  EXPECT_LT(std::stoi(contagens[0][1]), std::stoi(contagens[0][0]));
  EXPECT_GE(std::stoi(contagens[0][2]), 4);
  EXPECT_GE(std::stoi(contagens[0][3]), 10);
  EXPECT_EQ(contagens[0][4], "2");
  EXPECT_EQ(contagens[0][5], "30");
  // Accented names are stored one byte per character.
  EXPECT_EQ(
      BancoDeTeste::consulta(banco, "select CLIENTE, octet_length(CLIENTE) from CLIENTE where IDCLIENTE = 2"),
      (BancoDeTeste::Linhas{{"PADARIA CORAÇÃO DE JESUS LTDA", "29"}}));
  // Customer 2 has an invoice: the database refuses to delete it.
  EXPECT_THROW(BancoDeTeste::executaIsql(banco,
                                         "Delete From ClienteAnotacao where idcliente = 2;\n"
                                         "Delete From Cliente where idcliente = 2"),
               std::runtime_error);

  // A folder the script did not make is left alone.
  fs::remove(pasta / ".zuv-demo");
  EXPECT_NE(std::system(cmd.append(" 2>/dev/null").c_str()), 0);
  EXPECT_TRUE(fs::exists(banco));
  fs::remove_all(pasta);
}

}  // namespace
}  // namespace zuv::teste
