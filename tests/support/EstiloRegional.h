#pragma once
// Test fixtures that fix the regional style without depending on installed locales.
#include <gtest/gtest.h>

#include "common/Regional.h"
#include "common/Tela.h"
#include "support/TelaGravadora.h"

namespace zuv::teste {

inline const SimbolosNumericos kBrasileiro{",", "."};
inline const SimbolosNumericos kIngles{".", ","};

class ComEstilo : public ::testing::Test {
 protected:
  void SetUp() override { defineSimbolosParaTeste(kBrasileiro); }
  void TearDown() override { defineSimbolosParaTeste(std::nullopt); }
  void usaEstilo(const SimbolosNumericos& s) { defineSimbolosParaTeste(s); }

  TelaGravadora tela;
  TelaDoEscopo escopo{tela};
};

}  // namespace zuv::teste
