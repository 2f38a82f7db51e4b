#pragma once
// Customer workbook import: every data row of clientes.xlsx in the program folder becomes a new
// customer of the table Cliente, with the next free identifier. Nothing is matched or updated.
#include <array>
#include <cstdint>
#include <string>

#include "common/Resultado.h"

namespace zuv {

class ContextoExecucao;

inline constexpr const char* kArquivoClientes = "clientes.xlsx";

// Columns A to Q of a customer row, as text.
inline constexpr int kColunasCliente = 17;
using CelulasCliente = std::array<std::string, kColunasCliente>;

// A row ready for its statement: the cleaned and cut texts in column order (column L holds the
// person type, 'F' or 'J').
struct ClienteLimpo {
  CelulasCliente textos;
  const std::string& pessoa() const { return textos[11]; }
};

// Upper case, tabs and line breaks as blanks, LimpaTexto (symbols blanked), TrocaAspas, digits
// only for the postal code, cut to the column's length; then a person type other than F becomes J.
ClienteLimpo limpaCliente(const CelulasCliente& celulas);

// The INSERT of one customer with the identifier id.
std::string insercaoCliente(const ClienteLimpo& cliente, int32_t id);

// Throws ErroConversao naming the sheet row and column when a text holds characters the ZUV
// database (Windows-1252) cannot store, instead of letting them arrive as '?', or a control
// character (a NUL would cut the statement short). The message shows them escaped (\u0000).
void exigeCaracteresDoBanco(const ClienteLimpo& cliente, int linha);

// The run of the button "Importação Atualizar". Asks before it writes; ends the program after a
// complete import; on a failure shows its description and keeps the customers inserted so far.
// A row whose name cleans to nothing is listed in lstCliente and skipped; a message before "FIM"
// names those rows.
// FimDoPrograma (regional settings) passes through to the front end's executaOperacao.
// Reads clientes.xlsx from ctx.pastaPrograma() and writes through ctx.zuv(); the failing row is
// also kept for the change report.
Resultado ImportaClientes(ContextoExecucao& ctx);

}  // namespace zuv
