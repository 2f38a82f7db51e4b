// The grid's cells: pasting text as spreadsheets copy it, up to the grid's edges.
#include "migration/GradeProduto.h"

#include <gtest/gtest.h>

namespace zuv {
namespace {

struct CasoColagem {
  const char* nome;
  int linha, coluna;
  std::string texto;
  std::vector<std::tuple<int, int, std::string>> esperadas;  // cells that must hold these texts
  size_t celulas;                                            // filled cells afterwards
};

TEST(GradeProduto, ColaTextoSeparadoPorTabulacoes) {
  const int fim = GradeProduto::kLinhas;
  const CasoColagem casos[] = {
      // CR LF, empty cells and a quoted cell holding a tab and quotes: the import's pasted grid.
      {"aspas", 1, 1, "\"linha 1\nlinha \"\"2\"\"\"\tx\n", {{1, 1, "linha 1\nlinha \"2\""}, {1, 2, "x"}}, 2},
      {"aspas no meio", 1, 1, "12\" TV\tB\n", {{1, 1, "12\" TV"}, {1, 2, "B"}}, 2},
      {"aspas sem fim", 1, 1, "\"abc\tB", {{1, 1, "\"abc"}, {1, 2, "B"}}, 2},
      {"além da coluna 16", 1, 15, "o\tp\tq\tr\n", {{1, 15, "o"}, {1, 16, "p"}}, 2},
      {"além da última linha", fim, 1, "a\nb\nc\n", {{fim, 1, "a"}}, 1},
      {"texto vazio", 1, 1, "", {}, 0}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    GradeProduto grade;
    grade.colaTexto(caso.linha, caso.coluna, caso.texto);
    for (const auto& [l, c, t] : caso.esperadas)
      EXPECT_EQ(grade.texto(l, c), t) << l << "," << c;
    EXPECT_EQ(grade.celulas(), caso.celulas);
  }
}

}  // namespace
}  // namespace zuv
