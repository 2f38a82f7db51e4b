#pragma once
// The interaction interface: everything a run says to or asks of the person goes through it.
// The GUI implements it with widgets, the command line with the terminal, tests with a recording
// fake. Runs never talk to a front end in any other way.
#include <string>

namespace zuv {

inline constexpr const char* kNomePrograma = "ImportadorZUV";

enum class Icone { Nenhum, Informacao, Pergunta, Exclamacao };

// The answer a question's box offers as its default button (Enter). A question whose Yes deletes
// data defaults to No.
enum class Padrao { Sim, Nao };

class Tela {
 public:
  virtual ~Tela() = default;

  // A message box. An empty title means the program's name.
  virtual void mensagem(const std::string& texto, Icone icone = Icone::Nenhum,
                        const std::string& titulo = {}) = 0;
  // A Yes/No question; true for Yes.
  virtual bool pergunta(const std::string& texto, Icone icone = Icone::Pergunta,
                        const std::string& titulo = {}, Padrao padrao = Padrao::Sim) = 0;
  // Progress bar value, 0 to 100.
  virtual void progresso(int valor) = 0;
  // Progress of a run through rows, called after each row: valor is the bar's value as the run
  // computes it, feitas of total rows are done. Once all are done the bar shows 100, whatever the
  // run's formula gives. The command line also shows the rows and their rate; an implementation
  // redraws only as often as it sees fit. By default the bar's value.
  virtual void progressoLinhas(int valor, long long feitas, long long total) {
    progresso(feitas >= total ? 100 : valor);
  }
  // Hourglass (wait) pointer on or off.
  virtual void cursorEspera(bool ligado) = 0;
  // Shows or hides a named control of the form (progress bar, list box).
  virtual void mostraControle(const std::string& controle, bool visivel) = 0;
  // Sets the text of a named label or text box.
  virtual void defineTexto(const std::string& controle, const std::string& texto) = 0;
  // Appends an item to a named list box or error box.
  virtual void adicionaItem(const std::string& controle, const std::string& item) = 0;
  // Empties a named list box or error box.
  virtual void limpaItens(const std::string& controle) = 0;
  // Puts a saved file (an exported workbook) in front of the person: the GUI opens it with the
  // desktop's program for it, the command line prints its full path. Never waits for the person.
  virtual void mostraArquivo(const std::string& caminho) = 0;
  // A message box with the system's text exactly as it stands and, under it, the project's hint on
  // what to do about it (the GUI shows it in the same box, the command line on stderr after the
  // message). By default the message, then the hint as a note.
  virtual void mensagemComDica(const std::string& texto, const std::string& dica, Icone icone = Icone::Nenhum,
                               const std::string& titulo = {}) {
    mensagem(texto, icone, titulo);
    nota(dica);
  }
  // Side information that is not one of the system's own messages (where a backup went, the change
  // report): the command line prints it on stderr, the GUI in the form's status line. Never shown
  // with mensagem(), so the system's messages stay exactly theirs.
  virtual void nota(const std::string& texto) { (void)texto; }
};

// The interaction of the run on this thread, for shared routines that must warn the person
// without taking it as a parameter (ConverteSQL, the regional-style check). Set by a run's scope.
Tela* telaAtual();

class TelaDoEscopo {
 public:
  explicit TelaDoEscopo(Tela& tela);
  ~TelaDoEscopo();
  TelaDoEscopo(const TelaDoEscopo&) = delete;
  TelaDoEscopo& operator=(const TelaDoEscopo&) = delete;

 private:
  Tela* anterior_;
};

}  // namespace zuv
