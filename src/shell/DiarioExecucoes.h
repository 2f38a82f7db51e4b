#pragma once
// The journal of runs: every run that writes a database leaves its report (gravaRelatorioExecucao)
// in relatorios/ beside that database, as AAAAMMDD_HHMMSS_<tarefa>.csv, and "importadorzuv
// historico" lists the recent ones. Also what each task reads, for the entry's "Origem".
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace zuv {

struct LocalDoBanco;

inline constexpr const char* kPastaRelatorios = "relatorios";
inline constexpr const char* kPastaCopias = "copias";

// The journal file of a run of tarefa started at inicio, in the database's relatorios/ (not yet
// created): a name no earlier entry has.
std::string arquivoDoDiario(const LocalDoBanco& local, std::time_t inicio, const std::string& tarefa);

// A task name as part of a file name: letters, digits, '-' and '_' ("produtos importar" ->
// "produtos-importar").
std::string parteDeArquivo(const std::string& tarefa);

// What a task reads when nothing more precise is known: the workbook of the program folder it
// imports ("" for tasks without one). And the table whose rows are the task's own (CLIENTE for the
// customer import), whose inserts and updates count as rows imported and updated ("" when none).
std::string origemDaTarefa(const std::string& tarefa, const std::string& pastaPrograma);
std::string tabelaDaTarefa(const std::string& tarefa);
// Whether the task writes a database: its runs are journaled even when they changed nothing (a
// failure, a "No"); the other tasks' runs (exports) only when they changed rows.
bool tarefaGrava(const std::string& tarefa);

// One journal entry: its file and the fields of its first block ("Tarefa", "Início", "Resultado",
// "Linhas", ...).
struct EntradaDiario {
  std::string arquivo;
  std::map<std::string, std::string> campos;
  std::string campo(const std::string& nome) const;
};

// The newest entries of a relatorios/ folder, newest first, at most maximo. An absent folder has none.
std::vector<EntradaDiario> leDiario(const std::string& pasta, size_t maximo);

// The entries, each as its start, task and outcome, then its counts and its report's path.
std::string textoHistorico(const std::vector<EntradaDiario>& entradas);

// The recent runs that wrote a database (at most maximo), as "importadorzuv historico" prints them.
std::string historicoDoBanco(const LocalDoBanco& local, size_t maximo);

}  // namespace zuv
