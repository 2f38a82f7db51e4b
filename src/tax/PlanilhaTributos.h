#pragma once
// The tax workbook exports: every active stock item with its fiscal codes, written to
// produtosat.xlsx (SAT codes, button "Gerar Planilha Excel" of FrmAtuProdutoNCMCFOP) or
// produtoNfe.xlsx (NF-e codes, the same button of FrmAtuProdutoNFE), then shown to the person.
#include <string>
#include <vector>

#include "common/Resultado.h"

namespace zuv {

class ContextoExecucao;
class Recordset;
class Tela;

struct ColunaTributos {
  const char* titulo;
  double largura;  // 0 hides the column
};

// Headings and widths by column position. The SAT sheet has 15 columns, 16 with the system flag
// ProdutoEstoqueAliqICMS ("Porcentagem ICMS Cadastro Produto").
extern const std::vector<ColunaTributos> kColunasSAT;
extern const std::vector<ColunaTributos> kColunasNFE;

// The product tax queries. The SAT one lists the item's AliqICMS last when aliqICMS is set.
std::string consultaTributosSAT(bool aliqICMS);
std::string consultaTributosNFE();

struct OpcoesExportaSAT {
  bool fixa = false;  // chkFixa: handed to the export, which takes no account of it
};

// Writes the records of `registros` into a new workbook at `caminho`: headings of `colunas` in
// bold row 1 (one per field), the fields by position from row 2, numbers as number cells and
// null as an empty cell, every cell text-formatted; progress on Trm. Throws on failure; the old
// file stays untouched then. With `grava` false (dry run) the file is not written.
void geraPlanilhaTributos(Recordset registros, const std::vector<ColunaTributos>& colunas,
                          const std::string& caminho, Tela& tela, bool grava = true);

// The export runs: hourglass, Trm visible, query, workbook, workbook shown, form stays open.
Resultado ExportaSAT(ContextoExecucao& ctx, const OpcoesExportaSAT& opcoes);
Resultado ExportaNFE(ContextoExecucao& ctx);

}  // namespace zuv
