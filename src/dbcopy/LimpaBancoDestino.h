#pragma once
// Emptying of the destination database before the predefined migration copies the origin's
// catalogue into it: movement, financial, purchasing, sales, cash and comanda tables, the stock
// items' history, then the catalogue itself (stock items, products, manufacturers, NCM, product
// groups, fiscal operations). Children always go before the rows they point to, so a database
// whose foreign keys are all enforced accepts every statement; units, sub-groups and locations
// stay (the copy overwrites them under the origin's identifiers).
#include <string>

#include "schema/Tabelas.h"

namespace zuv {

class Conexao;

// Why the destination cannot be emptied without losing what the copy cannot rebuild, or "" when
// nothing stands in the way: pairs of fiscal operations in TribCFOPVinculo would keep TRIBCFOP
// from being emptied (and the origin's records replace them under other meanings).
std::string impedimentoLimpezaDestino(Conexao& destino);

// Runs kLimpaBancoDestino and then kExcluiCatalogoDestino on the destination, inside whatever
// transaction the caller holds. The first refused statement throws ErroBanco.
void LimpaBancoDestino(Conexao& destino);

}  // namespace zuv
