#pragma once
// The predefined database-to-database migration ("Limpa Banco e Cadastra Produtos"): empties the
// destination's catalogue and movements, then copies every origin stock item with its product and
// the records it points to, under the origin's identifiers (NCM records renumbered).
//
// Cleanup, copy and grade pass are one destination transaction: a failure anywhere rolls the
// destination back to what it was. The comanda generators are set after the commit, because
// Firebird does not undo a generator change on rollback.
#include <functional>
#include <string>

#include "common/Resultado.h"
#include "common/Valor.h"

namespace zuv {

class Conexao;
class ContextoExecucao;
class Recordset;
class Tela;
struct ParBancos;

struct OpcoesAtualizaBanco {
  // Called once the destination is known to accept the cleanup and before anything is deleted (the
  // question, then the backup of the destination); false or an exception stops the run with nothing
  // deleted.
  std::function<bool(Conexao& destino)> antesDeApagar;
  // A dry run: the generators are not set (they would stay set after the rollback).
  bool simulacao = false;
};

// The run. Messages: "Total de Produtos Recuperado  " + the stock items copied (information
// icon) at the end; "Erro ao executar o comando: " + the description on a failure, after which
// the destination is as before.
Resultado AtualizaBanco(Conexao& origem, Conexao& destino, Tela& tela,
                        const OpcoesAtualizaBanco& opcoes = {});

// The same in a run context: the destination is backed up before anything is deleted, and a
// dry run leaves the generators alone.
Resultado AtualizaBanco(ContextoExecucao& ctx, Conexao& origem, Conexao& destino);
Resultado AtualizaBanco(ContextoExecucao& ctx, ParBancos& bancos);

namespace atualiza {

// The origin query of the stock items, and its column positions used below.
std::string consultaItens();
// The statements of one stock item from a row of consultaItens(); idProduto, idNCM and idTribCFOP
// are what the product, NCM and fiscal-operation steps gave for it.
std::string insercaoItem(const Recordset& item, const Valor& idProduto, const Valor& idNCM,
                         const Valor& idTribCFOP);
std::string atualizacaoItem(const Recordset& item, const Valor& idProduto, const Valor& idTribCFOP);
// The product of a stock item from its origin PRODUTO columns (the printed name cut to
// tamanhoImpressao characters; 0: not cut).
std::string insercaoProduto(const Valor& id, const Valor& descricao, const Valor& descricaoImp,
                            int tamanhoImpressao);

}  // namespace atualiza
}  // namespace zuv
