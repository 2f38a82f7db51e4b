#include "shell/Menu.h"

#include <gtest/gtest.h>

namespace zuv {
namespace {

TEST(Menu, TituloComADataDoDia) {
  EXPECT_EQ(tituloMenuComData(Data{2026, 12, 5}, "/"), "Importador Sistema ZUV  & Data Criação 05/12/2026");
  EXPECT_EQ(tituloMenuComData(Data{2027, 1, 31}, "."), "Importador Sistema ZUV  & Data Criação 31.01.2027");
}

}  // namespace
}  // namespace zuv
