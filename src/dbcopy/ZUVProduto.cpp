#include "dbcopy/ZUVProduto.h"

#include "common/Tela.h"
#include "dbcopy/AtualizaBanco.h"
#include "dbcopy/CopiaTabela.h"
#include "dbcopy/IncluiProdutos.h"
#include "dbcopy/ParBancos.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

Resultado ExecutaModo(ContextoExecucao& ctx, ParBancos& bancos, ModoCopia modo) {
  return modo == ModoCopia::IncluirProdutos ? AtualizaBancoCadProdutoInclui(ctx, bancos)
                                            : AtualizaBanco(ctx, bancos);
}

namespace {

// The main run on an open pair; the success message only when the run reported no failure.
Resultado principal(ContextoExecucao& ctx, ParBancos& bancos, ModoCopia modo) {
  Resultado r = ExecutaModo(ctx, bancos, modo);
  if (r.desfecho == Resultado::Desfecho::Concluido) ctx.tela().mensagem(kMensagemSucesso);
  return r;
}

// The destination tables the mode's run holds in an all-or-nothing or dry run.
std::vector<std::string> reservadas(ModoCopia modo) {
  return modo == ModoCopia::IncluirProdutos ? tabelasIncluiProdutos() : std::vector<std::string>{};
}

Resultado recusado(const OpcoesCopia& opcoes) {
  return Resultado::falhou(mensagemMesmoBanco(opcoes.destino));
}

}  // namespace

Resultado IniciaImportacao(ContextoExecucao& ctx, const OpcoesCopia& opcoes) {
  auto bancos = AbreBancos(ctx, opcoes.origem, opcoes.destino, reservadas(opcoes.modo));
  if (!bancos) return recusado(opcoes);
  return principal(ctx, *bancos, opcoes.modo);
}

Resultado IniciaImportacaoIndividual(ContextoExecucao& ctx, const OpcoesCopia& opcoes) {
  auto bancos = AbreBancos(ctx, opcoes.origem, opcoes.destino, reservadas(opcoes.modo));
  if (!bancos) return recusado(opcoes);
  Resultado r = principal(ctx, *bancos, opcoes.modo);
  // A failed main run stops here: the customers are not copied over a half-done migration.
  if (r.desfecho != Resultado::Desfecho::Concluido || !opcoes.cliente) return r;
  return MigraProduto(ctx, *bancos);
}

Resultado CopiaClientes(ContextoExecucao& ctx, const OpcoesCopia& opcoes) {
  auto bancos = AbreBancos(ctx, opcoes.origem, opcoes.destino);
  if (!bancos) return recusado(opcoes);
  return MigraProduto(ctx, *bancos);
}

}  // namespace zuv
