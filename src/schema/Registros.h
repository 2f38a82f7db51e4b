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
// The same with the maximum taken by the statement the system issues for that table (e.g.
// "Select max(idNCM) idNCM From NCM"), whose first field is the maximum: every run takes its new
// identifiers here, so the in-memory count of an atomic run serves them all.
int32_t ProxCodigo(Conexao& conexao, const std::string& NomCol, const std::string& Tabela,
                   const std::string& instrucao);
// The query itself, always.
int32_t proxCodigoDaTabela(Conexao& conexao, const std::string& NomCol, const std::string& Tabela);
// "S" when some row of CliDono3 has the flag column = 'S', otherwise "N".
std::string ConsultaParametro(Conexao& conexao, const std::string& coluna);

}  // namespace zuv
