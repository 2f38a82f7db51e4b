#include "shell/Menu.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zuv {
namespace {

TEST(Menu, TituloComADataDoDia) {
  EXPECT_EQ(tituloMenuComData(Data{2026, 12, 5}, "/"), "Importador Sistema ZUV  & Data Criação 05/12/2026");
  EXPECT_EQ(tituloMenuComData(Data{2027, 1, 31}, "."), "Importador Sistema ZUV  & Data Criação 31.01.2027");
}

TEST(Menu, SeparadorDeDataDoAmbiente) {
  const char* antes = std::getenv("LC_ALL");
  const std::string guardado = antes ? antes : "";
  setenv("LC_ALL", "C", 1);  // "%m/%d/%y"
  EXPECT_EQ(separadorDataDoAmbiente(), "/");
  setenv("LC_ALL", "xx_YY.inexistente", 1);
  EXPECT_EQ(separadorDataDoAmbiente(), "/");
  if (antes)
    setenv("LC_ALL", guardado.c_str(), 1);
  else
    unsetenv("LC_ALL");
}

}  // namespace
}  // namespace zuv
