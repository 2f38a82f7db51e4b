#pragma once
// Record helpers that read the database: the next identifier of a table and the ZUV system's
// configuration flags.
#include <cstdint>
#include <string>

namespace zuv {

class Conexao;

// "Select Max(" + NomCol + ") From " + Tabela; 1 when the maximum is null, otherwise max + 1.
// In an atomic run whose transaction holds Tabela for protected write (Conexao::reservada), the
// query runs once and the next identifiers are counted in memory.
int32_t ProxCodigo(Conexao& conexao, const std::string& NomCol, const std::string& Tabela);
// The query itself, always.
int32_t proxCodigoDaTabela(Conexao& conexao, const std::string& NomCol, const std::string& Tabela);
// "S" when some row of CliDono3 has the flag column = 'S', otherwise "N".
std::string ConsultaParametro(Conexao& conexao, const std::string& coluna);

}  // namespace zuv
