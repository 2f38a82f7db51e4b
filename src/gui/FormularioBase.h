#pragma once
// Base of the task forms. A button's handler fills its options and calls iniciaOperacao: the run
// goes to a worker thread and talks to the person through tela(), which carries every call to
// this window. One run per form at a time; the form's buttons are disabled while it runs.
//
// Closing the window while a run is going: the run cannot be interrupted without leaving its
// batch half written, so the form asks whether to close once the run has ended. Yes: the window
// stays until the run ends (its questions still come up) and then closes itself. No: nothing
// changes. Either way the run completes and its own transaction rules apply.
//
// A run that returns EncerrarPrograma (or throws FimDoPrograma) ends the application once no
// other form's run is still going; when it was a run on a database (iniciaExecucao), its summary
// (textoFimDeExecucao) is shown first in a window, and the application ends when that is closed.
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/Operacao.h"
#include "gui/Aplicacao.h"
#include "gui/TelaQt.h"
#include "shell/ContextoExecucao.h"

class QAbstractButton;
class QCheckBox;
class QGroupBox;

namespace zuv {

class FormularioBase : public QWidget {
  Q_OBJECT

 public:
  explicit FormularioBase(QWidget* pai = nullptr);
  ~FormularioBase() override;

  TelaQt& tela() { return tela_; }

  // Starts op on a worker thread. False, and nothing started, while a run of this form is still
  // going or the application is ending.
  bool iniciaOperacao(Operacao op);
  // A small group box "Segurança" with the check boxes "Tudo ou nada", "Simular" and "Sem cópia de
  // segurança", the button "Histórico" (the journal of runs of the form's database, with a button
  // that opens its folder), and below them the form's status line (hidden until a run has something
  // to say: where a backup went, the change report). Put it in the form's layout where it does not
  // disturb the system's own controls. Made on the first call.
  QWidget* opcoesExecucao();
  // The choices of that group (none when the form has no such group).
  OpcoesExecucao opcoesEscolhidas() const;
  // Starts execucao on the worker thread in a context with this form's choices, described as tarefa
  // (the command line's name of the same run, e.g. "produtos importar") with the form's ticked
  // boxes as its options; conexao (if given, called on the worker thread) is the ZUV connection to
  // use (the shared slot's or the form's own), else the context opens it on first use. reservadas:
  // tables reserved (ReservaTabelas) for the whole run, its final commit included. False as
  // iniciaOperacao.
  bool iniciaExecucao(std::string tarefa, Execucao execucao, std::function<Conexao*()> conexao = {},
                      std::vector<std::string> reservadas = {});
  // The captions of the form's ticked check boxes and chosen option buttons, after its name.
  std::string opcoesMarcadas() const;

  // Runs op here on the UI thread (short steps such as a form's load, e.g. opening its
  // connection) and handles the outcome like a run's.
  Resultado executaOperacaoAgora(const Operacao& op);
  bool emOperacao() const { return ativa_; }
  // Processes events until the current run has ended.
  void aguardaOperacao();

 signals:
  void operacaoTerminada();

 protected:
  // Called on the UI thread when a run has ended, after the buttons are enabled again.
  virtual void operacaoConcluida(const Resultado&) {}
  void closeEvent(QCloseEvent* evento) override;
  // The database whose journal "Histórico" shows: the program folder's ZUV database unless a form
  // writes another one.
  virtual std::string bancoDoHistorico() const { return {}; }
  // The first time the form is shown: no larger than the screen's free area.
  void showEvent(QShowEvent* evento) override;

 private:
  Resultado executaProtegida(const Operacao& op);
  void terminaOperacao(const Resultado& resultado);
  void trataResultado(const Resultado& resultado);
  void mostraHistorico();

  TelaQt tela_;
  QGroupBox* seguranca_ = nullptr;
  QCheckBox* tudoOuNada_ = nullptr;
  QCheckBox* simular_ = nullptr;
  QCheckBox* semCopia_ = nullptr;
  std::thread trabalhador_;
  bool ativa_ = false;  // UI thread only
  std::atomic<bool> trabalhadorTerminou_{true};
  bool destruindo_ = false;
  bool fecharAoTerminar_ = false;
  bool ajustadoATela_ = false;
  std::vector<QPointer<QAbstractButton>> desabilitados_;
  // The summary of the current run on a database, filled on the worker thread when it ends.
  std::shared_ptr<std::optional<ResumoExecucao>> resumo_;
};

// The question asked when a window is closed during its run.
inline constexpr const char* kPerguntaFecharEmOperacao =
    "Uma operação está em andamento e não pode ser interrompida sem deixar o trabalho pela metade.\n"
    "Fechar esta janela assim que ela terminar?";

}  // namespace zuv
