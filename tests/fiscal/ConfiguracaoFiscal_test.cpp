// Where the table paths come from: given paths, then the environment, then tabelas_fiscais.ini.
#include "fiscal/ConfiguracaoFiscal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zuv::teste {
namespace {

TEST(ConfiguracaoFiscalTest, DadoDepoisAmbienteDepoisArquivoDaPasta) {
  namespace fs = std::filesystem;
  const fs::path pasta = fs::temp_directory_path() / ("zuvconfig" + std::to_string(getpid()));
  fs::create_directories(pasta);
  unsetenv(kVariavelTabelaNcm);
  unsetenv(kVariavelTabelaCest);
  EXPECT_EQ(caminhosTabelasFiscais(pasta.string()).ncm, "");  // nothing set: no table

  std::ofstream(pasta / kArquivoTabelasFiscais)
      << "; tabelas\n[tabelas]\n  ncm =  t/ncm.json  \ncest=/abs/cest.html\n";
  CaminhosTabelasFiscais c = caminhosTabelasFiscais(pasta.string());
  EXPECT_EQ(c.ncm, (pasta / "t/ncm.json").string());
  EXPECT_EQ(c.cest, "/abs/cest.html");

  setenv(kVariavelTabelaNcm, "/amb/ncm.json", 1);
  c = caminhosTabelasFiscais(pasta.string(), {"", "/opcao/cest.html"});
  EXPECT_EQ(c.ncm, "/amb/ncm.json");
  EXPECT_EQ(c.cest, "/opcao/cest.html");
  EXPECT_EQ(caminhosTabelasFiscais(pasta.string(), {"/opcao/ncm.json", ""}).ncm, "/opcao/ncm.json");

  unsetenv(kVariavelTabelaNcm);
  fs::remove_all(pasta);
}

}  // namespace
}  // namespace zuv::teste
