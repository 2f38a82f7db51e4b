#pragma once
// produto.xlsx, the product workbook of the standard migration: its layout, the writer that fills
// it from any product recordset (GeraPlanilhaProduto), and the two source queries, the ZUV
// database's own (PreencheRecordset) and the SYSPDV system's (PreencheRecordsetSYSPDV).
#include <functional>
#include <string>

#include "common/Valor.h"

namespace zuv {

class Recordset;
class Tela;

// Heading and width of the workbook column of a recordset field, by the field's position from 0.
// Position 14 and every later one is "Preço Atacado", 14 wide.
const char* cabecalhoProduto(int posicao);
double larguraProduto(int posicao);

// The pattern "####,###,##0.00" under the regional style: 1234.5 -> "1.234,50" (style 1) or
// "1,234.50" (style 2), rounded half away from zero. A text that reads as a number under the
// style is formatted too; any other text comes back unchanged; null gives "".
std::string formataPreco(const Valor& valor, int estilo);

// The statement of PreencheRecordset: every stock item with its product, unit, group, sub-group,
// NCM, ECF rate and CFOP, ordered by group and description; only active items when somenteAtivos
// ("Ativo" rather than "Todos").
std::string consultaProdutosZUV(bool somenteAtivos);
// The statement of PreencheRecordsetSYSPDV, whose 14 fields follow workbook columns 1 to 14.
std::string consultaProdutosSYSPDV();

struct OpcoesEscritaProduto {
  bool aparaBarra = false;  // "SYSPDV" selected: the barcode (field 1) trimmed of blanks
  bool grava = true;        // false in a dry run: everything but the file
  int estilo = 1;           // regional style of the prices
};

// Writes the workbook at caminho from rs (fields in the order of the layout), reporting the row
// on txtRegistro and the progress on Trm, and closes rs. Headings and widths go by a field's
// position, values by its name: VENDAATUAL, CUSTOLIQUIDO and VENDAATACADO formatted as prices and
// right-aligned, ESTOQUEATUAL unchanged and right-aligned, IDITEMPRODUTO and QTDECIMAL skipped
// (their column stays empty), the rest unchanged. Every cell is a text cell, so codes keep their
// leading zeros. An existing file is replaced only once the new one is complete. Returns the rows
// written. Throws ErroPlanilha (and Erro) on failure.
long GeraPlanilhaProduto(Recordset& rs, const std::string& caminho, const OpcoesEscritaProduto& opcoes,
                         Tela& tela);

}  // namespace zuv
