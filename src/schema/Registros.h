#pragma once
// Record helpers that read the database: the next identifier of a table and the ZUV system's
// configuration flags.
#include <cstdint>
#include <string>

namespace zuv {

class Conexao;

// "Select Max(" + NomCol + ") From " + Tabela; 1 when the maximum is null, otherwise max + 1.
int32_t ProxCodigo(Conexao& conexao, const std::string& NomCol, const std::string& Tabela);
// "S" when some row of CliDono3 has the flag column = 'S', otherwise "N".
std::string ConsultaParametro(Conexao& conexao, const std::string& coluna);

}  // namespace zuv
