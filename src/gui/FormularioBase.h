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
// other form's run is still going.
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "common/Operacao.h"
#include "gui/TelaQt.h"

class QAbstractButton;

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

 private:
  Resultado executaProtegida(const Operacao& op);
  void terminaOperacao(const Resultado& resultado);
  void trataResultado(const Resultado& resultado);

  TelaQt tela_;
  std::thread trabalhador_;
  bool ativa_ = false;  // UI thread only
  std::atomic<bool> trabalhadorTerminou_{true};
  bool destruindo_ = false;
  bool fecharAoTerminar_ = false;
  std::vector<QPointer<QAbstractButton>> desabilitados_;
};

// The question asked when a window is closed during its run.
inline constexpr const char* kPerguntaFecharEmOperacao =
    "Uma operação está em andamento e não pode ser interrompida sem deixar o trabalho pela metade.\n"
    "Fechar esta janela assim que ela terminar?";

// Ends the application: at once when no form has a run going, else when the last run ends.
void encerraPrograma();
bool programaEncerrando();
// What ending the application does (default, and for an empty function: QCoreApplication::exit(0)).
// Tests record it instead; setting it also forgets an ending already asked for.
void defineEncerramento(std::function<void()> encerramento);

}  // namespace zuv
