#pragma once
// Supplier workbook import: fornecedor.XLS in the program folder replaces the table FORNECEDOR of
// the database DADOS/VENDAS.FDB of the program folder, numbering the suppliers from 1 in sheet
// order.
#include <string>

#include "common/Resultado.h"

namespace zuv {

class ContextoExecucao;

// The text every supplier gets as FONE1 (the workbook's telephone column is not used): the
// environment variable ZUV_FONE_FORNECEDOR, empty when it is not set.
inline constexpr const char* kVariavelFoneFornecedor = "ZUV_FONE_FORNECEDOR";
std::string foneFornecedorPadrao();

struct OpcoesFornecedores {
  std::string fone = foneFornecedorPadrao();  // FONE1 of every supplier
};

// The cells of one supplier row that are written.
struct CelulasFornecedor {
  std::string cgc;      // column 2
  std::string nome;     // column 4
  std::string contato;  // column 19
  std::string fax;      // column 16
};

// Upper case; CGC without ".", "-", "," and "/", cut to 18 and sanitised (a 12- or 13-digit CGC,
// a tax number typed as a number that lost its leading zeros, is padded to 14 digits); name and
// contact cut to 40, sanitised, apostrophes blanked; the fax as it is.
CelulasFornecedor limpaFornecedor(const CelulasFornecedor& celulas);

// The INSERT of a prepared supplier; quotes inside the fax and the telephone text are doubled.
std::string insercaoFornecedor(const CelulasFornecedor& f, const std::string& fone, int numero);

// The data source of the supplier import: pastaPrograma + "\DADOS\VENDAS.FDB", as the connection
// string names it, and the same path as this system opens it (for messages).
std::string bancoFornecedores(const std::string& pastaPrograma);
std::string caminhoBancoFornecedores(const std::string& pastaPrograma);

// The run of the button "Fornecedor". Backs the database up before emptying FORNECEDOR. A row
// with an empty CGC (column 2) ends the list: it is not written, and "Fim" is shown. A failure
// (workbook, database, statement) is shown with its description and stops the run; the suppliers
// written before it stay (or none, in an all-or-nothing run).
Resultado ImportaFornecedores(ContextoExecucao& ctx, const OpcoesFornecedores& opcoes);

}  // namespace zuv
