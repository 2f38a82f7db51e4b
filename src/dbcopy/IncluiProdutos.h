#pragma once
// Product migration keeping the destination's products ("Incluir Produtos e Deixa os Produtos que
// já possui"): every origin stock item whose unit and group exist becomes a new stock item of the
// destination, with a new product, its unit and group found by description or created, and a
// barcode of its own ("1", "2", ... the first numbers free in the destination).
#include <cstdint>
#include <string>
#include <vector>

#include "common/Resultado.h"
#include "common/Valor.h"

namespace zuv {

class ContextoExecucao;
struct ParBancos;

// The printing description of a product copied from another database: the sanitised text, cut to
// tamanho characters (0: not cut); null stays null.
std::string descricaoImpressao(const Valor& descricaoImp, int tamanho);

// " Insert Into Produto (IDPRODUTO, DESCRICAO,DESCRICAOIMP) Values (" id, sanitised DESCRICAO,
// the printing description ")", from the origin product's DESCRICAO and DESCRICAOIMP.
std::string insercaoProduto(int32_t id, const Valor& descricao, const Valor& descricaoImp,
                            int tamanhoImpressao);

// The destination tables the run writes, to be held for protected write in an all-or-nothing or dry
// run (ContextoExecucao::reservaTabelas before the destination is opened).
const std::vector<std::string>& tabelasIncluiProdutos();

// The whole run in one destination transaction, rolled back on the first failure, which is shown
// as kMensagemErroComando + its description. Ends with kMensagemTotalProdutos + the count.
Resultado AtualizaBancoCadProdutoInclui(ContextoExecucao& ctx, ParBancos& bancos);

}  // namespace zuv
