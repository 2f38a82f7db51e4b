#pragma once
// The interaction of a form: message boxes, the progress bar Trm, the wait cursor and the form's
// named controls. A run calls it from its worker thread; every call is carried to the form's
// thread and waits there until done, so a question holds the run until the person answers.
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "common/Tela.h"

class QMessageBox;
class QWidget;

namespace zuv {

// The dialog boxes and the file opener behind TelaQt and the forms. Process-wide; the defaults
// show a QMessageBox and open files with the desktop's program. Tests replace them.
struct CaixasDialogo {
  std::function<void(QWidget* pai, const QString& texto, Icone icone, const QString& titulo)> mensagem;
  std::function<bool(QWidget* pai, const QString& texto, Icone icone, const QString& titulo, Padrao padrao)>
      pergunta;
  std::function<bool(const QString& caminho)> abreArquivo;  // false when nothing could open it
  // A window with a long text (the end-of-run summary, the journal of runs) that waits until the
  // person closes it; pasta, when not empty, gets a button that opens that folder.
  std::function<void(QWidget* pai, const QString& titulo, const QString& texto, const QString& pasta)>
      janelaTexto;
};
CaixasDialogo& caixasDialogo();
CaixasDialogo caixasPadrao();

// The question box the default pergunta shows: Yes and No, padrao's button the default (Enter).
std::unique_ptr<QMessageBox> caixaDePergunta(QWidget* pai, const QString& texto, Icone icone,
                                             const QString& titulo, Padrao padrao);

// The title a box gets: titulo, or the program's name when it is empty.
QString tituloDaCaixa(const std::string& titulo);

// The object name of a form's status line (a read-only text box; FormularioBase::opcoesExecucao).
inline constexpr const char* kControleNotas = "txtNotas";

class TelaQt : public Tela {
 public:
  // Controls are looked up by object name among the children of formulario, which also parents
  // the message boxes. The progress bar is the QProgressBar named "Trm" (else the first one).
  explicit TelaQt(QWidget* formulario);

  void mensagem(const std::string& texto, Icone icone, const std::string& titulo) override;
  // The hint goes under the text in the same box (not in the status line: a form that fails to
  // load is never shown).
  void mensagemComDica(const std::string& texto, const std::string& dica, Icone icone,
                       const std::string& titulo) override;
  bool pergunta(const std::string& texto, Icone icone, const std::string& titulo, Padrao padrao) override;
  void progresso(int valor) override;
  // The bar's value (100 once all rows are done); the form is only called when it changes.
  void progressoLinhas(int valor, long long feitas, long long total) override;
  void cursorEspera(bool ligado) override;
  void mostraControle(const std::string& controle, bool visivel) override;
  void defineTexto(const std::string& controle, const std::string& texto) override;
  void adicionaItem(const std::string& controle, const std::string& item) override;
  void limpaItens(const std::string& controle) override;
  void mostraArquivo(const std::string& caminho) override;
  // Appended to the form's status line (the text box kControleNotas, shown when hidden); on stderr
  // when the form has none.
  void nota(const std::string& texto) override;

  // Turns the wait cursor off if this interaction left it on (the end of a run). UI thread.
  void restauraCursor();
  // From now on calls return at once without showing anything, and questions are answered No.
  // For a form that is going away while its run still talks to it.
  void desliga() { desligada_ = true; }

 private:
  // Runs f on the form's thread and waits for it.
  void naTela(const std::function<void()>& f);
  QWidget* controle(const std::string& nome) const;

  QWidget* formulario_;
  std::atomic<bool> desligada_{false};
  std::atomic<int> valorMostrado_{-1};  // the bar's last value
  bool cursorLigado_ = false;           // form's thread only
};

}  // namespace zuv
