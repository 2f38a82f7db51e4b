#include "cli/TelaTerminal.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "common/Texto.h"

namespace zuv {

namespace {

std::string duracao(double segundos) {
  const long total = std::lround(std::max(0.0, segundos));
  char texto[32];
  if (total >= 3600)
    std::snprintf(texto, sizeof texto, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  else
    std::snprintf(texto, sizeof texto, "%02ld:%02ld", total / 60, total % 60);
  return texto;
}

// "245 linhas/s", "4,5 linhas/s" (a decimal comma under ten).
std::string taxa(double porSegundo) {
  char texto[32];
  if (porSegundo >= 10)
    std::snprintf(texto, sizeof texto, "%.0f linhas/s", porSegundo);
  else
    std::snprintf(texto, sizeof texto, "%.1f linhas/s", porSegundo);
  std::string t = texto;
  if (const size_t ponto = t.find('.'); ponto != std::string::npos) t[ponto] = ',';
  return t;
}

// "1600/3200 linhas, 123 linhas/s, faltam 00:13" (no rate before the first row is done).
std::string textoLinhas(long long feitas, long long total, double segundos) {
  std::string t = std::to_string(feitas) + "/" + std::to_string(total) + " linhas";
  if (feitas <= 0 || segundos <= 0) return t;
  const double porSegundo = static_cast<double>(feitas) / segundos;
  t += ", " + taxa(porSegundo);
  if (feitas >= total) return t + ", em " + duracao(segundos);
  return t + ", faltam " + duracao(static_cast<double>(total - feitas) / porSegundo);
}

constexpr int kLarguraBarra = 30;
constexpr int kLarguraBarraComLinhas = 20;  // leaves room for the rows on an 80-column line
constexpr auto kIntervaloDesenho = std::chrono::milliseconds(250);

}  // namespace

std::string linhaProgresso(int valor, double segundos, long long feitas, long long total, int largura) {
  valor = std::clamp(valor, 0, 100);
  const bool comLinhas = feitas >= 0 && total >= 0;
  const int larguraBarra = comLinhas ? kLarguraBarraComLinhas : kLarguraBarra;
  const int cheios = valor * larguraBarra / 100;
  std::string barra(1, '[');
  barra.append(cheios, '#').append(larguraBarra - cheios, '-').append("] ");
  char pct[8];
  std::snprintf(pct, sizeof pct, "%3d%%", valor);
  std::string texto = std::string(pct) + "  ";
  if (comLinhas) {
    texto += textoLinhas(feitas, total, segundos);
  } else {
    texto += duracao(segundos) + " decorridos";
    if (valor > 0 && valor < 100) texto += ", faltam " + duracao(segundos * (100 - valor) / valor);
  }
  // On a narrow terminal the bar goes first: a line that wraps could not be redrawn in place.
  if (static_cast<int>(barra.size() + texto.size()) >= largura)
    return texto.substr(0, std::max(largura - 1, 0));
  return barra + texto;
}

std::optional<bool> lerResposta(const std::string& texto) {
  std::string r;
  for (char c : texto)
    if (!std::isspace(static_cast<unsigned char>(c)))
      r += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (r == "s" || r == "sim" || r == "y" || r == "yes") return true;
  if (r == "n" || r == "nao" || r == "não" || r == "no" || r == "n\xc3\x83o") return false;
  return std::nullopt;
}

TelaTerminal::TelaTerminal(Terminal terminal, std::optional<bool> resposta, bool detalhes)
    : t_(terminal), resposta_(resposta), detalhes_(detalhes) {}

void TelaTerminal::verificaInterrupcao() const {
  if (t_.interrompida && t_.interrompida()) throw OperacaoInterrompida{feitas_, total_, valor_};
}

double TelaTerminal::decorridos(Relogio::time_point agora) const {
  return std::chrono::duration<double>(agora - inicio_).count();
}

void TelaTerminal::limpaBarra() {
  if (!barraNaTela_) return;
  t_.erros << "\r\033[K" << std::flush;
  barraNaTela_ = false;
}

void TelaTerminal::desenhaBarra(Relogio::time_point agora) {
  t_.erros << "\r\033[K" << linhaProgresso(valor_, decorridos(agora), feitas_, total_, t_.largura)
           << std::flush;
  barraNaTela_ = true;
  ultimoDesenho_ = agora;
}

void TelaTerminal::terminaProgresso() {
  limpaBarra();
}

void TelaTerminal::escreveForaDaBarra(std::ostream& onde, const std::string& texto) {
  const bool voltar = barraNaTela_;
  limpaBarra();
  onde << texto << std::endl;
  if (voltar) desenhaBarra(Relogio::now());
}

void TelaTerminal::mensagem(const std::string& texto, Icone, const std::string&) {
  escreveForaDaBarra(t_.saida, texto);
}

bool TelaTerminal::pergunta(const std::string& texto, Icone, const std::string&, Padrao padrao) {
  verificaInterrupcao();
  limpaBarra();
  const char* opcoes = padrao == Padrao::Nao ? " [s/N] " : " [s/n] ";
  if (resposta_) {
    t_.saida << texto << opcoes << (*resposta_ ? "s (--sim)" : "n (--nao)") << std::endl;
    return *resposta_;
  }
  if (!t_.entradaInterativa) throw PerguntaSemResposta{texto};
  // The time the person takes to answer does not count in the run's rate.
  struct Pausa {
    Relogio::time_point& inicio;
    const Relogio::time_point desde = Relogio::now();
    ~Pausa() { inicio += Relogio::now() - desde; }
  } pausa{inicio_};
  for (;;) {
    t_.saida << texto << opcoes << std::flush;
    std::string linha;
    const bool lida = static_cast<bool>(std::getline(t_.entrada, linha));
    verificaInterrupcao();  // Ctrl+C while the question waited
    if (!lida) {
      t_.saida << std::endl;
      throw PerguntaSemResposta{texto};
    }
    if (auto r = lerResposta(linha)) return *r;
    if (padrao == Padrao::Nao && apara(linha).empty()) return false;
    t_.saida << "Responda s (sim) ou n (não)." << std::endl;
  }
}

void TelaTerminal::progresso(int valor) {
  mostraProgresso(std::clamp(valor, 0, 100), -1, -1);
}

void TelaTerminal::progressoLinhas(int valor, long long feitas, long long total) {
  mostraProgresso(feitas >= total ? 100 : std::clamp(valor, 0, 100), feitas, total);
}

void TelaTerminal::mostraProgresso(int valor, long long feitas, long long total) {
  const Relogio::time_point agora = Relogio::now();
  // A value below the last one (or fewer rows, or another total) starts a new phase: its time
  // and its rate count from now.
  const bool novaFase =
      valor_ < 0 || valor < valor_ || (feitas >= 0 && feitas_ >= 0 && (feitas < feitas_ || total != total_));
  if (novaFase) {
    inicio_ = agora;
    ultimaLinha_ = -1;
    terminada_ = false;
    feitas_ = total_ = -1;
  }
  const bool mudou = novaFase || valor != valor_;
  valor_ = valor;
  if (feitas >= 0) {
    feitas_ = feitas;
    total_ = total;
  }
  verificaInterrupcao();  // between two rows: the run stops here, with this row done
  if (terminada_) return;
  terminada_ = valor == 100;
  if (t_.errosNoTerminal) {
    if (mudou || !barraNaTela_ || terminada_ || agora - ultimoDesenho_ >= kIntervaloDesenho)
      desenhaBarra(agora);
    if (terminada_) {
      // The final line stays above what the run says next ("Fim Importação", "FIM").
      t_.erros << std::endl;
      barraNaTela_ = false;
    }
    return;
  }
  if (ultimaLinha_ < 0 || valor / 10 > ultimaLinha_ / 10) {
    t_.erros << "progresso: " << valor << "%";
    if (feitas_ >= 0) t_.erros << " (" << textoLinhas(feitas_, total_, decorridos(agora)) << ")";
    t_.erros << std::endl;
    ultimaLinha_ = valor;
  }
}

void TelaTerminal::defineTexto(const std::string& controle, const std::string& texto) {
  if (detalhes_) escreveForaDaBarra(t_.erros, controle + ": " + texto);
}

void TelaTerminal::adicionaItem(const std::string&, const std::string& item) {
  escreveForaDaBarra(t_.saida, item);
}

void TelaTerminal::mostraArquivo(const std::string& caminho) {
  escreveForaDaBarra(t_.saida, caminho);
}

void TelaTerminal::nota(const std::string& texto) {
  escreveForaDaBarra(t_.erros, texto);
}

}  // namespace zuv
