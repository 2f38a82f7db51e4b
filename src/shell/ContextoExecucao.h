#pragma once
// The context a run works in: the interaction, the program folder, the ZUV connection and the
// other databases it opens, and the safety choices of the person (all-or-nothing, dry run, backup,
// change report). Both front ends build one per run, describe it (descreve) and start the run with
// executaNoContexto; a described run that got a database leaves its journal entry when it ends.
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Resultado.h"
#include "shell/RelatorioAlteracoes.h"

namespace zuv {

class Conexao;
class Tela;

struct OpcoesExecucao {
  bool atomico = false;   // --atomico / "Tudo ou nada": the whole run in one transaction per connection
  bool simular = false;   // --simular: like atomico, always rolled back; no files written, no process stopped
  bool semCopia = false;  // --sem-copia: no backup before wiping
  std::string relatorio;  // --relatorio ARQUIVO: change report CSV ("" = none)
};

class ContextoExecucao {
 public:
  ContextoExecucao(Tela& tela, std::string pastaPrograma, OpcoesExecucao opcoes = {});
  ~ContextoExecucao();
  ContextoExecucao(const ContextoExecucao&) = delete;
  ContextoExecucao& operator=(const ContextoExecucao&) = delete;

  Tela& tela() { return tela_; }

  // What the run is, for its journal entry and end-of-run summary: the task ("produtos importar")
  // and the options as the person gave them. A described run that got a database and either changed
  // rows or is of a task that writes (tarefaGrava: also a failed or cancelled one, and a dry run)
  // writes, when it ends, its journal entry (gravaRelatorioExecucao) into relatorios/ beside the
  // database it wrote, says where (Tela::nota), and hands its summary to aoTerminar.
  void descreve(std::string tarefa, std::string opcoesDadas);
  // What the run reads, when it is not the task's usual workbook (origemDaTarefa): a grid, another
  // database.
  void defineOrigem(std::string origem) { origem_ = std::move(origem); }
  // The run's own counts of rows; without them they are taken from the changes of the task's table
  // (tabelaDaTarefa) and the failures registered.
  void contaLinhas(const ContagemLinhas& linhas) { linhas_ = linhas; }
  // Called at the end of a described run with its summary, on the run's thread.
  void aoTerminar(std::function<void(const ResumoExecucao&)> f) { aoTerminar_ = std::move(f); }
  const std::string& pastaPrograma() const { return pastaPrograma_; }
  const OpcoesExecucao& opcoes() const { return opcoes_; }
  // A dry run: check before writing a file or stopping a process.
  bool simulacao() const { return opcoes_.simular; }

  // The ZUV connection: the one given with usaConexao (a form's own or the shared slot's), or else
  // opened on first use with AbreBancoDados(pastaPrograma, tela) (its messages, FimDoPrograma).
  Conexao& zuv();
  // Borrowed, not closed by the context.
  void usaConexao(Conexao& conexao);
  // Tables an all-or-nothing or dry run holds for protected write on the connections it gets from
  // now on (others may read them and wait to write); ProxCodigo then keeps their next identifiers in
  // memory. Call before zuv()/abreOutra. Nothing changes outside those modes.
  void reservaTabelas(std::vector<std::string> tabelas) { reservadas_ = std::move(tabelas); }
  // Another database (the origin or destination of a database copy, DADOS, SYSPDV): opened now from
  // a connection string, owned by the context, in atomic mode when the run asks for it, closed when
  // the context ends. Throws ErroBanco.
  Conexao& abreOutra(const std::string& textoConexao);

  // Call just before a run deletes rows it did not write itself: backs the database of conexao up
  // into copias/ beside its file (LocalDoBanco), as <NOME>_<AAAAMMDD_HHMMSS>_<tarefa>.fbk, through
  // the engine's backup service, and tells where it is and how to restore it (Tela::nota). Does
  // nothing under semCopia or simular. Throws Erro with a clear message when the backup fails,
  // before anything is deleted.
  void copiaDeSeguranca(Conexao& conexao, const std::string& tarefa);
  // The backups taken by this run, in order.
  const std::vector<std::string>& copias() const { return copias_; }

  // Before a run deletes what instrucoes ("Delete from ...") delete on conexao: the rows they would
  // remove, counted per table, in a question whose default is No: "<oQue>: 3 378 produtos, 12 040
  // vendas e 310 contas serão excluídos de <banco>. Continuar?". True to go on. Not asked when
  // nothing would be removed, nor in a dry run (which only says what it would remove).
  bool confirmaExclusao(Conexao& conexao, const std::vector<std::string>& instrucoes,
                        const std::string& oQue);

  // A row the run refused or failed, kept for the change report with its cause.
  void registraFalha(const std::string& onde, const std::string& causa);
  // A finding of the fiscal check: in the report beside the failures, but not a row that failed.
  void registraAchado(const std::string& onde, const std::string& causa);
  const std::vector<FalhaRegistrada>& falhas() const { return falhas_; }

  // Used by executaNoContexto: ends every connection's run transaction (commit when confirmar,
  // else rollback), tells the change report and writes the journal entry of a described run with
  // desfecho as its outcome. The engine's description when a commit failed (the run is then rolled
  // back, and that is its outcome), else "".
  std::string termina(bool confirmar, const std::string& desfecho = "concluída");

 private:
  struct Ligacao;
  Conexao& prepara(Conexao& conexao);
  ResumoExecucao resume(const std::vector<AlteracoesDoBanco>& bancos, DestinoAlteracoes destino,
                        const std::string& desfecho) const;
  void gravaDiario(ResumoExecucao& resumo);

  Tela& tela_;
  std::string pastaPrograma_;
  OpcoesExecucao opcoes_;
  std::vector<std::unique_ptr<Ligacao>> ligacoes_;  // every connection handed to the run, in order
  Conexao* zuv_ = nullptr;
  std::unique_ptr<Conexao> zuvPropria_;
  std::vector<std::unique_ptr<Conexao>> outras_;
  std::vector<std::string> copias_, restauracoes_;
  std::vector<std::string> reservadas_;
  std::vector<FalhaRegistrada> falhas_;
  std::size_t achados_ = 0;
  bool terminado_ = false;
  std::string tarefa_, opcoesDadas_, origem_;
  std::optional<ContagemLinhas> linhas_;
  std::function<void(const ResumoExecucao&)> aoTerminar_;
  std::time_t inicio_ = std::time(nullptr);
  std::chrono::steady_clock::time_point relogio_ = std::chrono::steady_clock::now();
};

// Runs execucao in the context: the connections it uses are put in atomic mode for an
// all-or-nothing or dry run; at the end every such connection is committed (normal end, including a
// normal FimDoPrograma/EncerrarPrograma) or rolled back (failure, exception, dry run); then the
// per-table change report (rows inserted, updated and deleted, from the engine's counts) goes to
// Tela::nota and to the CSV of --relatorio. A dry run that would end the program ends normally
// instead, so that its report stays on the screen. Returns the run's Resultado; exceptions pass on
// after the rollback and the report.
using Execucao = std::function<Resultado(ContextoExecucao&)>;
Resultado executaNoContexto(ContextoExecucao& ctx, const Execucao& execucao);

}  // namespace zuv
