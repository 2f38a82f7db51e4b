#include "common/Operacao.h"

#include <gtest/gtest.h>

#include "common/Erro.h"
#include "common/Tela.h"
#include "support/TelaGravadora.h"

namespace zuv {
namespace {

// (An error that escapes a run becomes a message and a failure: see the form base's tests.)
TEST(Operacao, ATelaEAAtualSoDuranteAOperacaoEOFimGuardaOMotivo) {
  teste::TelaGravadora tela;
  Tela* vista = nullptr;
  const Resultado r = executaOperacao(tela, [&](Tela&) -> Resultado {
    vista = telaAtual();
    throw FimDoPrograma{MotivoFim::Configuracao};
  });
  EXPECT_EQ(vista, &tela);
  EXPECT_EQ(telaAtual(), nullptr) << "only during the run";
  EXPECT_EQ(r, Resultado::encerrar(MotivoFim::Configuracao));
  EXPECT_TRUE(tela.mensagens.empty());
}

}  // namespace
}  // namespace zuv
