#pragma once
// The product import of FrmMigracaoPadrao ("Incia a Importação para o Sistema ZUV"): every row of
// produto.xlsx in the program folder, or of the form's grid, becomes a product and its stock item,
// or rewrites the chosen fields of the stock item with the same barcode; units, groups, sub-groups,
// NCM, ECF rates, CFOP and CST records are found or created on the way. Optionally the catalogue
// and everything that depends on it is wiped first.
#include <memory>
#include <string>
#include <vector>

#include "common/Resultado.h"
#include "migration/MigracaoPadrao.h"

namespace zuv {

class ContextoExecucao;
class GradeProduto;

struct OpcoesImportacaoProduto {
  // chkExcel: rows from produto.xlsx; otherwise from `grade`, a snapshot of the grid's cells taken
  // before the run (row 1 holds the headings, as in the workbook).
  bool planilha = true;
  std::shared_ptr<const GradeProduto> grade;
  // optLimpaBase: wipe the catalogue first; otherwise optAtualiza (add to it, rewriting existing
  // items under the field boxes).
  bool limpaBase = false;
  // The field boxes. New items are always written with every column of the row; the boxes decide
  // what is rewritten on existing items (and "Grupo" whether columns 7 and 8 are read at all).
  bool nomeProduto = false, precoCusto = false, precoVenda = false, estoque = false, grupo = false,
       ncm = false, aliqEcf = false, cfopSat = false;
  // Shown on the form but not consulted by the import.
  bool unidade = false, tribSimpNac = false, icmsSt = false, atacado = false;
  // chkTodos: every field box takes its state.
  void marcaTodos(bool marcado);
  // The online NCM lookup's address ("" = no lookup).
  std::string enderecoNCM;
  // The end of a complete run: "Fim Importação" then "FIM" and the end of the program (the form's
  // button); false stops after "Fim Importação" and the summary.
  bool encerraPrograma = true;
};

// What a run did, for the summary line and the tests.
struct ResumoImportacaoProduto {
  long inseridos = 0, atualizados = 0, falhas = 0;
  long semAlteracao = 0;  // rows of an existing item that changed nothing of it
  long confirmacoes = 0;  // commits inside the run, the last one included
  bool mantidos = false;  // the tables were kept in memory (an all-or-nothing run holding them)
  int ultimaLinha = 0;    // the sheet row where the data ended
  double segundos = 0;
  std::string texto() const;
};

// The tables whose new identifiers the import takes as maximum + 1: reserved (ReservaTabelas)
// while it runs, so that another run creating records in them (the tax import: NCM, ECFLetra, CST,
// TribCFOP) waits instead of reading the same maximum.
inline const std::vector<std::string> kTabelasProdutos = {"Unidade",  "ProdutoGrupo",  "SubGrupo", "NCM",
                                                          "NCMGrupo", "ECFLetra",      "CST",      "TribCFOP",
                                                          "Produto",  "ProdutoEstoque"};

// The run. Talks through ctx.tela() and works on ctx.zuv(). `resumo`, when given, receives the
// counts.
Resultado ImportaPlanilhaProduto(ContextoExecucao& ctx, const OpcoesImportacaoProduto& opcoes,
                                 ResumoImportacaoProduto* resumo = nullptr);

}  // namespace zuv
