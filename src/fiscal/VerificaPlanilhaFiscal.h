#pragma once
// The fiscal check of a product workbook (produto.xlsx) or a tax workbook (produtosat.xlsx)
// before an import: every data row's codes against the rules of the codes and, when given, the
// official NCM and CEST tables. Nothing is written anywhere; the result is a list of findings.
#include <string>
#include <vector>

#include "common/Valor.h"
#include "fiscal/TabelasFiscais.h"

namespace zuv {

class Tela;

// Which workbook it is, told by the headings of row 1.
enum class LayoutFiscal { Produto, Tributacao };

// One doubtful cell.
struct AchadoFiscal {
  int linha = 0;         // sheet row (1 = headings)
  int coluna = 0;        // sheet column, from 1
  std::string titulo;    // the column's heading ("NCM")
  std::string valor;     // the cell as read
  std::string motivo;    // what is wrong
  std::string sugestao;  // the value to type instead, when only one is possible
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

// One line: Linha 5, coluna I (NCM): "1012100" - NCM com 7 dígitos: ... Sugestão: 01012100
std::string textoDoAchado(const AchadoFiscal& achado);

// For the import commands, before they start: runs the checks that need no table on the
// workbook and lists each finding as an item of the control (CLI: one line on stdout). Returns
// false when recusaSeAchar is set and there is a finding: the import must not start (a message
// says why). A workbook that cannot be read or is of neither layout lists nothing and returns
// true: the import reports that itself.
bool verificaAntesDaImportacao(Tela& tela, const std::string& caminho, bool recusaSeAchar,
                               const std::string& controle = "lstVerificacaoFiscal");

}  // namespace zuv
