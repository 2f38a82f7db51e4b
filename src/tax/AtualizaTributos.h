#pragma once
// The tax update imports ("Iniciar Importação" of FrmAtuProdutoNCMCFOP and FrmAtuProdutoNFE):
// every row of produtosat.xlsx writes its fiscal codes back into its stock item, creating the NCM,
// ECF rate letter, CST and CFOP records it names when they are missing. Both forms run the same
// import; the NF-e one has no step for the item's own ICMS rate (column 16).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/LeituraDeCelulas.h"
#include "common/Resultado.h"
#include "common/Valor.h"

namespace zuv {

class ContextoExecucao;

// The code groups written (the forms' check boxes) and the answer to the opening question.
struct OpcoesAtualizaTributos {
  bool ncm = true;              // chkNCM: NCM and CEST
  bool aliquotaICMS = true;     // chkAliquotaICMS: ECF rate letter
  bool cfop = true;             // chkCFOP: outgoing and incoming CFOP records
  bool pis = true;              // chkPIS: PIS/COFINS codes and rates
  bool icmsCadProduto = false;  // chkICMSCadProduto: the item's AliqICMS (SAT import only)
  // Empty the CFOP table first: asked when not given.
  std::optional<bool> excluiCFOP;
};

// The tables whose identifiers the import takes as maximum + 1: reserved (ReservaTabelas) while it
// runs, so that two imports of different forms never take the same identifier.
inline const std::vector<std::string> kTabelasTributos = {"NCM", "ECFLetra", "CST", "TribCFOP"};

inline constexpr const char* kPerguntaExcluiCFOP =
    "Excluir os Cadastro de CFOP, e Criar um Novo, Parametro de Sistema Refazer Manual ";

// --- Preparation of a row (pure) ---
// regraCST, numeroTaxa and the codes (preparaNCM, preparaCEST, preparaCFOP): common/LeituraDeCelulas.h.

// Single quotes doubled, for texts put between quotes directly.
std::string dobraAspas(const std::string& texto);

// Columns 1 to 16 of a sheet row, as read (upper-cased text).
using CelulasTributos = std::array<std::string, 16>;

struct LinhaTributos {
  std::string codigo;     // col 1, trimmed: a whole number, or empty (end of the sheet)
  std::string descricao;  // col 3
  std::string ncm;        // col 5
  std::string aliquota;   // col 6, trimmed: the text kept in LETRAIMPRESSAO / DESCRICAO
  std::optional<Decimal> aliquotaNumero;
  std::string cest;               // col 10
  std::string cfop;               // col 7
  std::string csosn;              // col 8
  std::string cst;                // col 9 (empty when longer than 3 characters)
  std::string cfopEntrada;        // col 11
  std::string pisCST, cofinsCST;  // cols 12 and 14 after regraCST
  Valor pisTaxa, cofinsTaxa;      // cols 13 and 15: null when not numeric
  Valor aliqICMS;                 // col 16 (only when read): 0 when empty
};

// Prepares the cells of sheet row `linha`. Throws ErroConversao naming the row and column when the
// item code is not a whole number, the rate is not a number, or column 16 (leCol16) is not one,
// before any of the row's statements runs.
LinhaTributos preparaLinha(const CelulasTributos& celulas, int linha, bool leCol16);

// --- Statements ---

// The outgoing CFOP description: "CFOP " + code, " CSOSN ..." and " CSTSat ..." / " CST ...".
std::string descricaoCFOP(const std::string& cfop, const std::string& csosn, const std::string& cst);
// The lookup of the outgoing record. A numeric CST is also looked up in the form the import
// stores it in ("060" finds '060' and '60').
std::string consultaCFOPSaida(const std::string& cfop, const std::string& csosn, const std::string& cst);
// The 68-column insert of an outgoing record (CST stored as a number, "0" when empty).
std::string insercaoCFOPSaida(int32_t id, const std::string& descricao, const std::string& cfop,
                              const std::string& cst, const std::string& csosn);
// The 67-column insert of an incoming record.
std::string insercaoCFOPEntrada(int32_t id, const std::string& cfop);

// The identifiers a row's steps found or created; null when their step did not set one.
struct IdsTributos {
  Valor ncm, ecf, cfopSaida, cfopEntrada;
};
// The item update of the ticked groups; empty when no group is ticked (nothing to run).
std::string atualizacaoItem(const OpcoesAtualizaTributos& opcoes, const IdsTributos& ids,
                            const LinhaTributos& l);

// --- Runs ---

// Opens produtosat.xlsx, asks the opening question (or takes the answer from the options), runs
// the CFOP reset on Yes, then writes every row up to the first empty column A. Each row runs in
// one transaction. Ends with "FIM" and the end of the program; a failure shows its description
// and ends the run with the rows before it written.
Resultado AtualizaTributosSAT(ContextoExecucao& ctx, const OpcoesAtualizaTributos& opcoes);
Resultado AtualizaTributosNFE(ContextoExecucao& ctx, const OpcoesAtualizaTributos& opcoes);

}  // namespace zuv
