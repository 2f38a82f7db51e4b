#include "migration/ImportaPlanilhaProduto.h"

#include <iterator>

#include "common/ReservaTabelas.h"
#include "common/Tela.h"
#include "migration/ImportacaoProduto.h"
#include "schema/Tabelas.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

Resultado ImportaPlanilhaProduto(ContextoExecucao& ctx, const OpcoesImportacaoProduto& opcoes,
                                 ResumoImportacaoProduto* resumo) {
  ReservaTabelas reserva(kTabelasProdutos, [&] {
    ctx.tela().nota(
        "Aguardando outra operação que grava nas mesmas tabelas (unidades, grupos, NCM, ECFLetra, "
        "CST, TribCFOP, produtos)...");
  });
  // An all-or-nothing run holds them in its transaction too: nobody else writes them until it ends,
  // so the import keeps them in memory (see ImportacaoProduto).
  ctx.reservaTabelas(kTabelasProdutos);
  Conexao& conexao = ctx.zuv();
  AmbienteImportacao ambiente{
      conexao,
      ctx.tela(),
      ctx.pastaPrograma(),
      [&] { ctx.copiaDeSeguranca(conexao, "produtos"); },
      [&](const std::string& onde, const std::string& causa) { ctx.registraFalha(onde, causa); },
      [&](const std::string& texto) { ctx.tela().nota(texto); },
      [&] {
        return ctx.confirmaExclusao(conexao, {std::begin(kLimpaBaseProdutos), std::end(kLimpaBaseProdutos)},
                                    "Limpa Base de Produtos ( Nova Migração )");
      }};
  ResumoImportacaoProduto proprio;
  ResumoImportacaoProduto& r = resumo ? *resumo : proprio;
  const Resultado resultado = importaProdutos(ambiente, opcoes, r);
  ctx.contaLinhas({.importadas = r.inseridos, .atualizadas = r.atualizados, .comErro = r.falhas});
  return resultado;
}

}  // namespace zuv
