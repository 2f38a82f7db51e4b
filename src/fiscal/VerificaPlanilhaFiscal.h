#pragma once
// The fiscal check of a product workbook (produto.xlsx) or a tax workbook (produtosat.xlsx)
// before an import: every data row's numbers and codes read as the import reads them, what it
// would refuse or change, the stored codes against the rules of their lists and, when given, the
// official NCM and CEST tables. Nothing is written anywhere; the result is a list of findings.
#include <string>
#include <vector>

#include "common/Valor.h"
#include "fiscal/CodigosFiscais.h"
#include "fiscal/TabelasFiscais.h"
#include "shell/RelatorioAlteracoes.h"

namespace zuv {

class ContextoExecucao;

// One doubtful cell.
struct AchadoFiscal {
  int linha = 0;         // sheet row as the spreadsheet shows it (1 = headings)
  int coluna = 0;        // sheet column, from 1
  std::string titulo;    // the column's heading ("NCM")
  std::string valor;     // the cell as read
  std::string tipo;      // the kind of finding ("NCM com menos de 8 dígitos"): one line of the summary
  std::string motivo;    // what is wrong
  std::string sugestao;  // the value to type instead, when only one is possible
  int vezes = 1;         // rows it stands for: a barcode repeated in 3 rows is one finding of 3
  bool operator==(const AchadoFiscal&) const = default;
};

struct OpcoesVerificacaoFiscal {
  Data dia = Data::hoje();  // NCM codes must be in force on this day
  int estilo = 0;           // regional style of numbers (1, 2); 0: the process's style
};

struct ResultadoVerificacaoFiscal {
  LayoutFiscal layout = LayoutFiscal::Produto;
  int linhasDeDados = 0;              // rows the import would read (up to the row where it stops)
  std::vector<AchadoFiscal> achados;  // in row order, then column order
};

// Checks the workbook at caminho. tabelas may be null (only the checks that need no table).
// Throws ErroPlanilha when the workbook cannot be read, and Erro when row 1 has neither
// layout's headings.
ResultadoVerificacaoFiscal verificaPlanilha(const std::string& caminho, const TabelasFiscais* tabelas,
                                            const OpcoesVerificacaoFiscal& opcoes = {});

std::vector<AchadoFiscal> verificaPlanilhaFiscal(const std::string& caminho, const TabelasFiscais* tabelas,
                                                 const OpcoesVerificacaoFiscal& opcoes = {});

// "produto.xlsx (planilha de produtos)" / "produtosat.xlsx (planilha de tributação)"
const char* nomeDoLayout(LayoutFiscal layout);

// "I" for 9, "AA" for 27.
std::string letraDaColuna(int coluna);

// One line: Linha 5, coluna I (NCM) "1006": NCM com 4 dígitos: ... Sugestão: ...
std::string textoDoAchado(const AchadoFiscal& achado);

// The findings of one kind, in row order.
struct GrupoDeAchados {
  std::string tipo;
  std::vector<size_t> indices;  // into the findings grouped
};
// One group per kind, in the order of each kind's first finding.
std::vector<GrupoDeAchados> agrupaAchados(const std::vector<AchadoFiscal>& achados);
// The kind, its count and up to three examples (row, column, value):
// NCM com menos de 8 dígitos: 12 (linha 5, coluna I "1006"; linha 9, coluna I "22"; ...)
std::string textoDoGrupo(const GrupoDeAchados& grupo, const std::vector<AchadoFiscal>& achados);

// Every finding as a line of a run's report: where ("Linha 5, coluna I (NCM) de produto.xlsx")
// and what ("Verificação fiscal (NCM com menos de 8 dígitos): ...").
std::vector<FalhaRegistrada> achadosNoRelatorio(const std::vector<AchadoFiscal>& achados,
                                                const std::string& planilha);

// For the import commands, before they start: runs the checks that need no table on the
// workbook, says the findings one line per kind as notes (CLI: standard error, so the run's own
// output stays exactly as it is) and puts every finding in the run's report (registraFalha).
// Returns false when recusaSeAchar is set and there is a finding: the import must not start (a
// message says why). A workbook that cannot be read or is of neither layout lists nothing and
// returns true: the import reports that itself.
bool verificaAntesDaImportacao(ContextoExecucao& ctx, const std::string& caminho, bool recusaSeAchar);

}  // namespace zuv
