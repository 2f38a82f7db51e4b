#pragma once
// The interaction of a headless run: messages, list items and saved files on stdout; progress on
// stderr (on a terminal a bar with percentage, rows done of the total, rows per second and the time
// left, gone once the run ends; otherwise a plain line every 10%); questions answered by --sim /
// --nao, else asked on an interactive terminal, else refused by throwing PerguntaSemResposta.
// After Ctrl+C the run stops at its next row or question (OperacaoInterrompida).
#include <chrono>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "common/Tela.h"

namespace zuv {

// Thrown by a question nobody can answer. Deliberately not a std::exception, so that the run's
// own failure handler does not take it for a failure of the run: it ends the run unanswered.
struct PerguntaSemResposta {
  std::string pergunta;
};

// Thrown at the run's next progress step or question once Ctrl+C was pressed. Like
// PerguntaSemResposta not a std::exception: the run's own failure handler lets it pass, and the
// run context undoes what the run had not committed (everything, in an all-or-nothing run).
struct OperacaoInterrompida {
  long long feitas = -1, total = -1;  // rows done of the total when it stopped (-1: not counted)
  int valor = -1;                     // the progress bar's value then (-1: none shown yet)
};

// Where the terminal interaction reads and writes, and what they are connected to.
struct Terminal {
  std::istream& entrada;
  std::ostream& saida;
  std::ostream& erros;
  bool entradaInterativa = false;  // stdin is a terminal: questions may be asked there
  bool errosNoTerminal = false;    // stderr is a terminal: progress as a redrawn bar
  int largura = 80;                // the terminal's columns (the bar's line never wraps)
  // Asked at each progress step and question: true once the person pressed Ctrl+C (the SIGINT
  // handler's flag). None: nobody can interrupt.
  std::function<bool()> interrompida = {};
};

class TelaTerminal : public Tela {
 public:
  // resposta: the answer to every question (--sim / --nao), or none to ask.
  TelaTerminal(Terminal terminal, std::optional<bool> resposta, bool detalhes = false);

  void mensagem(const std::string& texto, Icone icone, const std::string& titulo) override;
  // A question whose default is No shows "[s/N]" and takes an empty answer as No.
  bool pergunta(const std::string& texto, Icone icone, const std::string& titulo, Padrao padrao) override;
  void progresso(int valor) override;
  void progressoLinhas(int valor, long long feitas, long long total) override;
  void cursorEspera(bool) override {}
  void mostraControle(const std::string&, bool) override {}
  void defineTexto(const std::string& controle, const std::string& texto) override;
  void adicionaItem(const std::string& controle, const std::string& item) override;
  void limpaItens(const std::string&) override {}
  void mostraArquivo(const std::string& caminho) override;
  void nota(const std::string& texto) override;  // on stderr

  // Takes the progress bar off the screen (the end of a run: nothing stale after its last message).
  void terminaProgresso();

 private:
  using Relogio = std::chrono::steady_clock;
  void mostraProgresso(int valor, long long feitas, long long total);
  void verificaInterrupcao() const;
  void limpaBarra();
  void desenhaBarra(Relogio::time_point agora);
  double decorridos(Relogio::time_point agora) const;
  // Writes a line on stderr with the bar out of its way (it comes back after).
  void escreveForaDaBarra(std::ostream& onde, const std::string& texto);

  Terminal t_;
  std::optional<bool> resposta_;
  bool detalhes_;
  int valor_ = -1;                      // last progress value, -1 before the first
  long long feitas_ = -1, total_ = -1;  // rows of the last progressoLinhas of this phase
  int ultimaLinha_ = -1;                // last value written as a plain line
  bool barraNaTela_ = false;
  bool terminada_ = false;  // this phase reached 100: its final line stays, no more redraws
  Relogio::time_point inicio_, ultimoDesenho_;
};

// The progress bar's line: "[#####-----]  50%  00:10 decorridos, faltam 00:10", or with rows
// (feitas of total) "[###---]  50%  1600/3200 linhas, 123 linhas/s, faltam 00:13" and, once all
// are done, "... 3200/3200 linhas, 245 linhas/s, em 00:13". At most largura columns.
std::string linhaProgresso(int valor, double segundosDecorridos, long long feitas = -1, long long total = -1,
                           int largura = 80);

// "sim"/"s"/"yes"/"y" -> true, "não"/"nao"/"n"/"no" -> false (any case, blanks around); else none.
std::optional<bool> lerResposta(const std::string& texto);

}  // namespace zuv
