#include "dbcopy/LimpaBancoDestino.h"

#include "platform/Conexao.h"
#include "platform/Recordset.h"

namespace zuv {

std::string impedimentoLimpezaDestino(Conexao& destino) {
  Recordset vinculos = destino.abre("Select count(*) Total From TRIBCFOPVINCULO");
  const Valor& total = vinculos.valor(0);
  if (total.nulo() || total.paraDouble() == 0) return {};
  const long long n = static_cast<long long>(total.paraDouble());
  return "A tabela TribCFOPVinculo do banco de dados destino tem vínculos entre operações fiscais "
         "(registros: " +
         std::to_string(n) +
         ") que impedem apagar os registros de TRIBCFOP. Nada foi apagado; desfaça esses vínculos no destino "
         "antes "
         "da migração.";
}

void LimpaBancoDestino(Conexao& destino) {
  for (const char* sql : kLimpaBancoDestino)
    destino.executa(sql);
  for (const char* sql : kExcluiCatalogoDestino)
    destino.executa(sql);
}

}  // namespace zuv
