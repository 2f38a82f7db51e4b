#pragma once
// Product migration keeping the destination's products ("Incluir Produtos e Deixa os Produtos que
// já possui"): every origin stock item whose unit and group exist becomes a new stock item of the
// destination, with a new product, its unit and group found by description or created, and a
// barcode of its own ("1", "2", ... the first numbers free in the destination).
#include <cstdint>
#include <string>

#include "common/Resultado.h"

namespace zuv {

class ContextoExecucao;
class Recordset;
struct ParBancos;

// The printing description of a product copied from another database: the sanitised text, cut to
// tamanho characters (0: not cut); null stays null.
std::string descricaoImpressao(const Recordset& produto, int tamanho);

// " Insert Into Produto (IDPRODUTO, DESCRICAO,DESCRICAOIMP) Values (" id, sanitised DESCRICAO,
// the printing description ")", from an origin PRODUTO row.
std::string insercaoProduto(int32_t id, const Recordset& produto, int tamanhoImpressao);

// The whole run in one destination transaction, rolled back on the first failure, which is shown
// as kMensagemErroComando + its description. Ends with kMensagemTotalProdutos + the count.
Resultado AtualizaBancoCadProdutoInclui(ContextoExecucao& ctx, ParBancos& bancos);

}  // namespace zuv
