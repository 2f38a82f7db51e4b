#pragma once
// The interaction of a headless run: messages, list items and saved files on stdout; progress on
// stderr (a bar with percentage, elapsed time and ETA on a terminal, a plain line every 10%
// otherwise); questions answered by --sim / --nao, else asked on an interactive terminal, else
// refused by throwing PerguntaSemResposta.
#include <chrono>
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

// Where the terminal interaction reads and writes, and what they are connected to.
struct Terminal {
  std::istream& entrada;
  std::ostream& saida;
  std::ostream& erros;
  bool entradaInterativa = false;  // stdin is a terminal: questions may be asked there
  bool errosNoTerminal = false;    // stderr is a terminal: progress as a redrawn bar
};

class TelaTerminal : public Tela {
 public:
  // resposta: the answer to every question (--sim / --nao), or none to ask.
  TelaTerminal(Terminal terminal, std::optional<bool> resposta, bool detalhes = false);

  void mensagem(const std::string& texto, Icone icone, const std::string& titulo) override;
  // A question whose default is No shows "[s/N]" and takes an empty answer as No.
  bool pergunta(const std::string& texto, Icone icone, const std::string& titulo, Padrao padrao) override;
  void progresso(int valor) override;
  void cursorEspera(bool) override {}
  void mostraControle(const std::string&, bool) override {}
  void defineTexto(const std::string& controle, const std::string& texto) override;
  void adicionaItem(const std::string& controle, const std::string& item) override;
  void limpaItens(const std::string&) override {}
  void mostraArquivo(const std::string& caminho) override;
  void nota(const std::string& texto) override;  // on stderr

  // Ends the progress bar's line, if one is on the screen.
  void terminaProgresso();

 private:
  void limpaBarra();
  void desenhaBarra();

  Terminal t_;
  std::optional<bool> resposta_;
  bool detalhes_;
  int valor_ = -1;        // last progress value, -1 before the first
  int ultimaLinha_ = -1;  // last value written as a plain line
  bool barraNaTela_ = false;
  std::chrono::steady_clock::time_point inicio_;
};

// The progress bar's line: "[#####-----]  50%  00:10 decorridos, faltam 00:10".
std::string linhaProgresso(int valor, double segundosDecorridos);

// "sim"/"s"/"yes"/"y" -> true, "não"/"nao"/"n"/"no" -> false (any case, blanks around); else none.
std::optional<bool> lerResposta(const std::string& texto);

}  // namespace zuv
