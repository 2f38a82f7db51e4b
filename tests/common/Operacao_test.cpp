#include "common/Operacao.h"

#include <gtest/gtest.h>

#include "common/Erro.h"
#include "common/Tela.h"
#include "support/TelaGravadora.h"

namespace zuv {
namespace {

using teste::TelaGravadora;

TEST(Operacao, ATelaDaOperacaoEAAtualSoDuranteEla) {
  TelaGravadora tela;
  Tela* vista = nullptr;
  const Resultado r = executaOperacao(tela, [&](Tela&) {
    vista = telaAtual();
    return Resultado::concluido();
  });
  EXPECT_EQ(r, Resultado::concluido());
  EXPECT_EQ(vista, &tela);
  EXPECT_EQ(telaAtual(), nullptr);
}

TEST(Operacao, FimDoProgramaGuardaOMotivo) {
  TelaGravadora tela;
  auto fim = [&](MotivoFim motivo) {
    return executaOperacao(tela, [&](Tela&) -> Resultado { throw FimDoPrograma{motivo}; });
  };
  EXPECT_EQ(fim(MotivoFim::Normal), Resultado::encerrar());
  EXPECT_EQ(fim(MotivoFim::Configuracao), Resultado::encerrar(MotivoFim::Configuracao));
  EXPECT_TRUE(tela.mensagens.empty());
}

TEST(Operacao, ErroSemTratamentoViraMensagemEFalha) {
  TelaGravadora tela;
  const Resultado r = executaOperacao(
      tela, [&](Tela&) -> Resultado { throw ErroBanco("lock conflict on no wait transaction"); });
  EXPECT_EQ(r, Resultado::falhou("lock conflict on no wait transaction"));
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Exclamacao);
  EXPECT_EQ(tela.mensagens[0].texto, "lock conflict on no wait transaction");
}

}  // namespace
}  // namespace zuv
