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

constexpr int kLarguraBarra = 30;

}  // namespace

std::string linhaProgresso(int valor, double segundos) {
  valor = std::clamp(valor, 0, 100);
  const int cheios = valor * kLarguraBarra / 100;
  std::string linha(1, '[');
  linha.append(cheios, '#').append(kLarguraBarra - cheios, '-').append("] ");
  char pct[8];
  std::snprintf(pct, sizeof pct, "%3d%%", valor);
  linha += pct;
  linha += "  " + duracao(segundos) + " decorridos";
  if (valor > 0 && valor < 100) linha += ", faltam " + duracao(segundos * (100 - valor) / valor);
  return linha;
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

void TelaTerminal::limpaBarra() {
  if (!barraNaTela_) return;
  t_.erros << "\r\033[K" << std::flush;
  barraNaTela_ = false;
}

void TelaTerminal::desenhaBarra() {
  const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio_).count();
  t_.erros << "\r\033[K" << linhaProgresso(valor_, segundos) << std::flush;
  barraNaTela_ = true;
}

void TelaTerminal::terminaProgresso() {
  if (barraNaTela_) t_.erros << "\n" << std::flush;
  barraNaTela_ = false;
}

void TelaTerminal::mensagem(const std::string& texto, Icone, const std::string&) {
  limpaBarra();
  t_.saida << texto << std::endl;
  if (valor_ >= 0 && t_.errosNoTerminal) desenhaBarra();
}

bool TelaTerminal::pergunta(const std::string& texto, Icone, const std::string&, Padrao padrao) {
  terminaProgresso();
  const char* opcoes = padrao == Padrao::Nao ? " [s/N] " : " [s/n] ";
  if (resposta_) {
    t_.saida << texto << opcoes << (*resposta_ ? "s (--sim)" : "n (--nao)") << std::endl;
    return *resposta_;
  }
  if (!t_.entradaInterativa) throw PerguntaSemResposta{texto};
  for (;;) {
    t_.saida << texto << opcoes << std::flush;
    std::string linha;
    if (!std::getline(t_.entrada, linha)) {
      t_.saida << std::endl;
      throw PerguntaSemResposta{texto};
    }
    if (auto r = lerResposta(linha)) return *r;
    if (padrao == Padrao::Nao && apara(linha).empty()) return false;
    t_.saida << "Responda s (sim) ou n (não)." << std::endl;
  }
}

void TelaTerminal::progresso(int valor) {
  valor = std::clamp(valor, 0, 100);
  // A value below the last one starts a new phase: its time counts from now.
  if (valor_ < 0 || valor < valor_) {
    inicio_ = std::chrono::steady_clock::now();
    ultimaLinha_ = -1;
  }
  const bool mudou = valor != valor_;
  valor_ = valor;
  if (t_.errosNoTerminal) {
    if (mudou || !barraNaTela_) desenhaBarra();
    return;
  }
  if (ultimaLinha_ < 0 || valor / 10 > ultimaLinha_ / 10) {
    t_.erros << "progresso: " << valor << "%" << std::endl;
    ultimaLinha_ = valor;
  }
}

void TelaTerminal::defineTexto(const std::string& controle, const std::string& texto) {
  if (!detalhes_) return;
  limpaBarra();
  t_.erros << controle << ": " << texto << std::endl;
  if (valor_ >= 0 && t_.errosNoTerminal) desenhaBarra();
}

void TelaTerminal::adicionaItem(const std::string&, const std::string& item) {
  limpaBarra();
  t_.saida << item << std::endl;
  if (valor_ >= 0 && t_.errosNoTerminal) desenhaBarra();
}

void TelaTerminal::mostraArquivo(const std::string& caminho) {
  limpaBarra();
  t_.saida << caminho << std::endl;
  if (valor_ >= 0 && t_.errosNoTerminal) desenhaBarra();
}

void TelaTerminal::nota(const std::string& texto) {
  limpaBarra();
  t_.erros << texto << std::endl;
  if (valor_ >= 0 && t_.errosNoTerminal) desenhaBarra();
}

}  // namespace zuv
