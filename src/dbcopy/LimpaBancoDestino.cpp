#include "dbcopy/LimpaBancoDestino.h"

#include "platform/Conexao.h"
#include "platform/Recordset.h"

namespace zuv {

std::string impedimentoLimpezaDestino(Conexao& destino) {
  Recordset vinculos = destino.abre("Select count(*) Total From TRIBCFOPVINCULO");
  const Valor& total = vinculos.valor(0);
  if (total.nulo() || total.paraDouble() == 0) return {};
  const long long n = static_cast<long long>(total.paraDouble());
  return "O banco de dados destino tem " + std::to_string(n) + (n == 1 ? " vínculo" : " vínculos") +
         " entre operações fiscais na tabela TribCFOPVinculo, que impedem apagar os registros de "
         "TRIBCFOP. Nada foi apagado; desfaça esses vínculos no destino antes da migração.";
}

void LimpaBancoDestino(Conexao& destino) {
  for (const char* sql : kLimpaBancoDestino)
    destino.executa(sql);
  for (const char* sql : kApagaCatalogoDestino)
    destino.executa(sql);
}

}  // namespace zuv
