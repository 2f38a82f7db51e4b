#pragma once
// The change report of a run: per database and table, the rows inserted, updated and deleted, and
// the rows the run refused or failed with their causes. As text for the person (the command line's
// stderr, the form's status line) and as a CSV that a spreadsheet opens.
#include <string>
#include <vector>

#include "platform/Alteracoes.h"

namespace zuv {

struct AlteracoesDoBanco {
  std::string banco;  // the database file's name, e.g. VENDAS.FDB
  Alteracoes alteracoes;
};

// A row the run refused or failed, with its cause.
struct FalhaRegistrada {
  std::string onde, causa;
};

// What became of the changes: kept, undone by an all-or-nothing run that failed, or a dry run's.
enum class DestinoAlteracoes { Gravadas, Desfeitas, Simuladas };

// The report's text; "" when no row changed, unless it is a dry run (which always reports).
std::string textoRelatorio(const std::vector<AlteracoesDoBanco>& bancos, DestinoAlteracoes destino);

// Writes the report as CSV (UTF-8 with a byte-order mark, ';' between fields, as a spreadsheet
// of a Brazilian desktop expects): a heading, one row per table, one row per failure. Throws Erro.
void gravaRelatorioCsv(const std::string& caminho, const std::vector<AlteracoesDoBanco>& bancos,
                       const std::vector<FalhaRegistrada>& falhas, DestinoAlteracoes destino);

}  // namespace zuv
