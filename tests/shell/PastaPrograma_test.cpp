#include "shell/PastaPrograma.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace zuv {
namespace {

namespace fs = std::filesystem;

class PastaProgramaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv(kVariavelPastaPrograma);
    definePastaPrograma("");
  }
  void TearDown() override { SetUp(); }
};

TEST_F(PastaProgramaTest, PorPadraoEAPastaDoExecutavel) {
  const fs::path exe = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(pastaPrograma(), exe.parent_path().string());
  EXPECT_EQ(pastaPrograma(), pastaDoExecutavel());
}

TEST_F(PastaProgramaTest, VariavelDeAmbienteEOpcaoEscolhemOutraAOpcaoVence) {
  setenv(kVariavelPastaPrograma, "/tmp/ambiente/", 1);
  EXPECT_EQ(pastaPrograma(), "/tmp/ambiente");
  definePastaPrograma("/srv/zuv/");
  EXPECT_EQ(pastaPrograma(), "/srv/zuv");
  definePastaPrograma("");  // back to the environment
  EXPECT_EQ(pastaPrograma(), "/tmp/ambiente");
  setenv(kVariavelPastaPrograma, "", 1);  // empty counts as not set
  EXPECT_EQ(pastaPrograma(), pastaDoExecutavel());
}

TEST_F(PastaProgramaTest, PastaRelativaFicaAbsolutaNoMomentoEmQueEDefinida) {
  const fs::path antes = fs::current_path();
  definePastaPrograma("dados/../zuv");
  fs::current_path("/");
  EXPECT_EQ(pastaPrograma(), (antes / "zuv").string());
  fs::current_path(antes);
}

TEST_F(PastaProgramaTest, ExtraiAOpcaoNasDuasFormasEDeixaOResto) {
  std::vector<std::string> args{"--pasta-programa", "/a", "clientes", "--pasta-programa=/b", "importar"};
  EXPECT_EQ(extraiPastaPrograma(args), "/b");
  EXPECT_EQ(args, (std::vector<std::string>{"clientes", "importar"}));

  std::vector<std::string> soAPasta{"--pasta-programa", "/a"};
  EXPECT_EQ(extraiPastaPrograma(soAPasta), "/a");
  EXPECT_TRUE(soAPasta.empty());  // the menu opens with this folder

  std::vector<std::string> semValor{"--pasta-programa"};
  EXPECT_EQ(extraiPastaPrograma(semValor), std::nullopt);
  EXPECT_EQ(semValor.size(), 1u);  // left for the command line to report
}

}  // namespace
}  // namespace zuv
