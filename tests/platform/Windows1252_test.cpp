#include "platform/Windows1252.h"

#include <gtest/gtest.h>

#include "common/Erro.h"

namespace zuv {
namespace {

TEST(Windows1252, TodoByteVaiEVoltaEOQueNaoCabeEErro) {
  std::string bytes;
  for (int b = 1; b < 256; ++b)
    bytes += static_cast<char>(b);
  const std::string utf8 = de1252(bytes);
  EXPECT_TRUE(utf8Valido(utf8));
  EXPECT_EQ(para1252(utf8), bytes);
  EXPECT_EQ(de1252("\x80\x8A\x9F\xE7"), "€ŠŸç");
  // A character outside the table, or text that is not UTF-8, is an error.
  EXPECT_THROW(para1252("Caixa ✓"), ErroConversao);
  EXPECT_THROW(para1252("\xE7"), ErroConversao);  // Latin-1 byte where UTF-8 is expected
  EXPECT_FALSE(utf8Valido("\xC0\xAF"));           // overlong '/'
  EXPECT_FALSE(utf8Valido("\xED\xA0\x80"));       // surrogate
  EXPECT_FALSE(utf8Valido("\xE2\x82"));           // cut short
  EXPECT_TRUE(utf8Valido("Ação 😀"));
}

}  // namespace
}  // namespace zuv
