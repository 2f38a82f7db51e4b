#include "shell/PastaPrograma.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace zuv {
namespace {

class PastaProgramaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv(kVariavelPastaPrograma);
    definePastaPrograma("");
  }
  void TearDown() override { SetUp(); }
};

TEST_F(PastaProgramaTest, OpcaoVenceVariavelQueVenceAPastaDoExecutavel) {
  const std::string exe = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
  setenv(kVariavelPastaPrograma, "/tmp/ambiente/", 1);
  EXPECT_EQ(pastaPrograma(), "/tmp/ambiente");
  definePastaPrograma("/srv/zuv/");
  EXPECT_EQ(pastaPrograma(), "/srv/zuv");
  definePastaPrograma("");
  setenv(kVariavelPastaPrograma, "", 1);  // empty counts as not set
  EXPECT_EQ(pastaPrograma(), exe);
}

TEST_F(PastaProgramaTest, ExtraiAOpcaoNasDuasFormasEDeixaOResto) {
  std::vector<std::string> args{"--pasta-programa", "/a", "clientes", "--pasta-programa=/b", "importar"};
  EXPECT_EQ(extraiPastaPrograma(args), "/b");
  EXPECT_EQ(args, (std::vector<std::string>{"clientes", "importar"}));
  std::vector<std::string> semValor{"--pasta-programa"};
  EXPECT_EQ(extraiPastaPrograma(semValor), std::nullopt);
  EXPECT_EQ(semValor.size(), 1u);  // left for the command line to report
}

}  // namespace
}  // namespace zuv
