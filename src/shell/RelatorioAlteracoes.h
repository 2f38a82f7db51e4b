#pragma once
// The change report of a run: per database and table, the rows inserted, updated and deleted, and
// the rows the run refused or failed with their causes. As text for the person (the command line's
// stderr, the form's status line) and as a CSV that a spreadsheet opens. With what the run was and
// how it ended, it is the run's journal entry and the window a form shows when its run ends the
// program.
#include <ctime>
#include <optional>
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

// The rows of the run's own kind (customers, stock items) it imported, updated, deleted and failed.
struct ContagemLinhas {
  long long importadas = 0, atualizadas = 0, excluidas = 0, comErro = 0;
};

// A run as its journal entry and the end-of-run window tell it.
struct ResumoExecucao {
  std::string tarefa;  // "produtos importar"
  std::string opcoes;  // as given: "--limpa-base --sim", or the form's ticked boxes
  std::string origem;  // the file or database the run read ("" when none)
  std::string banco;   // the database it wrote
  std::time_t inicio = 0, fim = 0;
  double segundos = 0;
  std::string desfecho;  // "concluída", "simulação", "falhou: <mensagem>", "interrompida"
  std::optional<ContagemLinhas> linhas;
  std::vector<std::string> copias, restauracoes;  // each backup and the command that restores it
  std::vector<AlteracoesDoBanco> bancos;
  std::vector<FalhaRegistrada> falhas;
  DestinoAlteracoes destino = DestinoAlteracoes::Gravadas;
  std::string relatorio;  // its journal entry ("" when none was written)
};

// "3 000 importadas, 200 atualizadas, 2 com erro" (and "3 378 excluídas" before the errors when
// some were); without the counts of the run's kind, the rows changed in every table ("3 200
// incluídas, 200 alteradas, 3 378 excluídas, 2 com erro"), or "" when no row changed or failed.
std::string textoContagens(const ResumoExecucao& resumo);

// The end-of-run window: what ran and how it ended, the counts and time, the change report per
// table, every failed row with its cause, the backups with their restore commands, the journal file.
std::string textoFimDeExecucao(const ResumoExecucao& resumo);

// The journal entry: the CSV of gravaRelatorioCsv preceded by a block of "field;value" rows (task,
// options, source, database, start, end, outcome, counts, backups) and an empty row. Throws Erro.
void gravaRelatorioExecucao(const std::string& caminho, const ResumoExecucao& resumo);

// "08/12/2026 10:15:00" in local time.
std::string dataHora(std::time_t t);

}  // namespace zuv
