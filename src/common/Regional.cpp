#include "common/Regional.h"

#include <langinfo.h>
#include <locale.h>

#include <charconv>
#include <cmath>
#include <ctime>
#include <mutex>

#include "common/Erro.h"
#include "common/Tela.h"
#include "common/Texto.h"

namespace zuv {

namespace {

std::mutex g_mutex;
std::optional<SimbolosNumericos> g_simbolosTeste;
int g_estiloLembrado = 0;  // 0 until the first check

const std::string Q = "\"";

// " O "ImportadorZUV" Será Fechado, podendo ser Reinicializado em seguida!" — the common ending of
// both warnings, naming the program that closes.
std::string finalDoAviso() {
  return " O " + Q + kNomePrograma + Q + " Será Fechado," + " podendo ser Reinicializado em seguida!";
}

std::string avisoInconsistente() {
  return "As informações para " + Q + "Símbolo Decimal" + Q + " e para " + Q +
         "Símbolo de Agrupamento de Dígitos" + Q + ", na Opção " + Q + "Configurações" + " Regionais" + Q +
         " do seu PAINEL DE CONTROLE, não estão Consistentes." +
         " Isto pode provocar instabilidade no Sistema." + finalDoAviso();
}

std::string avisoAlterado() {
  return "Foram detectadas alterações no " + Q + "Símbolo Decimal" + Q + " ou no " + Q +
         "Símbolo de Agrupamento de Dígitos" + Q + ", após a inicialização deste Sistema. Este" +
         " procedimento pode provocar instabilidade no Sistema." + finalDoAviso();
}

[[noreturn]] void encerra(const std::string& aviso) {
  if (Tela* t = telaAtual()) t->mensagem(aviso, Icone::Exclamacao);
  throw FimDoPrograma{MotivoFim::Configuracao};
}

[[noreturn]] void falhaConversao(const std::string& texto, const char* oQue) {
  throw ErroConversao("Tipos incompatíveis: \"" + texto + "\" não é " + oQue + " válido(a)");
}

bool digito(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

SimbolosNumericos simbolosDoAmbiente() {
  {
    std::lock_guard lock(g_mutex);
    if (g_simbolosTeste) return *g_simbolosTeste;
  }
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (!loc) return {".", ""};  // a locale that is not installed behaves as C
  SimbolosNumericos s{nl_langinfo_l(RADIXCHAR, loc), nl_langinfo_l(THOUSEP, loc)};
  freelocale(loc);
  return s;
}

void defineSimbolosParaTeste(std::optional<SimbolosNumericos> simbolos) {
  std::lock_guard lock(g_mutex);
  g_simbolosTeste = std::move(simbolos);
  g_estiloLembrado = 0;
}

void defineSimbolosParaTesteMantendoEstilo(SimbolosNumericos simbolos) {
  std::lock_guard lock(g_mutex);
  g_simbolosTeste = std::move(simbolos);
}

int estiloDosSimbolos(const SimbolosNumericos& s) {
  // "3333.33" written with the pattern "#,###.##" and the machine's symbols.
  const std::string escrito = "3" + s.agrupamento + "333" + s.decimal + "33";
  if (escrito == "3.333,33" || s.agrupamento.empty()) return 1;
  if (escrito == "3,333.33") return 2;
  return 0;
}

int RetornaConfigWin() {
  const int estilo = estiloDosSimbolos(simbolosDoAmbiente());
  int lembrado;
  {
    std::lock_guard lock(g_mutex);
    if (estilo != 0 && g_estiloLembrado == 0) g_estiloLembrado = estilo;
    lembrado = g_estiloLembrado;
  }
  if (estilo == 0) encerra(avisoInconsistente());
  if (estilo != lembrado) encerra(avisoAlterado());
  return estilo;
}

int estiloLembrado() {
  std::lock_guard lock(g_mutex);
  return g_estiloLembrado;
}

std::string formataNumero(double v, int estilo) {
  if (v == 0) v = 0;  // no "-0"
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  std::string s(buf, r.ptr);
  for (char& c : s) {
    if (c == 'e')
      c = 'E';
    else if (c == '.' && estilo == 1)
      c = ',';
  }
  return s;
}

double lerNumero(const std::string& texto, int estilo) {
  const char dec = estilo == 2 ? '.' : ',';
  const char grp = estilo == 2 ? ',' : '.';
  const std::string t = apara(texto);
  size_t i = 0;
  std::string normal;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
    if (t[i] == '-') normal += '-';
    ++i;
    while (i < t.size() && t[i] == ' ')
      ++i;
  }
  const std::string moeda = estilo == 2 ? "$" : "R$";
  if (t.compare(i, moeda.size(), moeda) == 0) {
    i += moeda.size();
    while (i < t.size() && t[i] == ' ')
      ++i;
  }
  bool temDigito = false;
  for (; i < t.size() && (digito(t[i]) || t[i] == grp); ++i) {
    if (t[i] != grp) normal += t[i], temDigito = true;
  }
  if (i < t.size() && t[i] == dec) {
    normal += '.';
    for (++i; i < t.size() && digito(t[i]); ++i)
      normal += t[i], temDigito = true;
  }
  if (temDigito && i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
    normal += 'e';
    ++i;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) normal += t[i++];
    bool expDigito = false;
    for (; i < t.size() && digito(t[i]); ++i)
      normal += t[i], expDigito = true;
    if (!expDigito) falhaConversao(texto, "um número");
  }
  if (!temDigito || i != t.size()) falhaConversao(texto, "um número");
  double v = 0;
  auto r = std::from_chars(normal.data(), normal.data() + normal.size(), v);
  if (r.ec != std::errc() || r.ptr != normal.data() + normal.size() || !std::isfinite(v))
    falhaConversao(texto, "um número");
  return v;
}

DataHora lerDataHora(const std::string& texto, int estilo) {
  const std::string t = apara(texto);
  // Split into up to three date fields and up to three time fields.
  int campos[3] = {0, 0, 0};
  int larguras[3] = {0, 0, 0};
  size_t n = 0, i = 0;
  char sep = 0;
  while (n < 3) {
    if (i >= t.size() || !digito(t[i])) falhaConversao(texto, "uma data");
    int v = 0, w = 0;
    for (; i < t.size() && digito(t[i]) && w < 5; ++i, ++w)
      v = v * 10 + (t[i] - '0');
    campos[n] = v;
    larguras[n++] = w;
    if (n == 3 || i >= t.size()) break;
    if (t[i] != '/' && t[i] != '-' && t[i] != '.') break;
    if (sep == 0) sep = t[i];
    if (t[i] != sep) falhaConversao(texto, "uma data");
    ++i;
  }
  if (n != 3) falhaConversao(texto, "uma data");
  Data d;
  if (larguras[0] == 4) {
    d = {campos[0], campos[1], campos[2]};
  } else {
    d.ano = campos[2];
    if (larguras[2] <= 2)
      d.ano += d.ano < 30 ? 2000 : 1900;
    else if (larguras[2] != 4)
      falhaConversao(texto, "uma data");
    d.dia = estilo == 2 ? campos[1] : campos[0];
    d.mes = estilo == 2 ? campos[0] : campos[1];
  }
  if (!d.valida()) falhaConversao(texto, "uma data");

  Hora h;
  if (i < t.size()) {
    if (t[i] != ' ' && t[i] != 'T') falhaConversao(texto, "uma data");
    while (i < t.size() && (t[i] == ' ' || t[i] == 'T'))
      ++i;
    int partes[3] = {0, 0, 0};
    size_t k = 0;
    while (k < 3 && i < t.size() && digito(t[i])) {
      int v = 0, w = 0;
      for (; i < t.size() && digito(t[i]) && w < 3; ++i, ++w)
        v = v * 10 + (t[i] - '0');
      partes[k++] = v;
      if (i < t.size() && t[i] == ':')
        ++i;
      else
        break;
    }
    if (i < t.size() && t[i] == '.') {  // fraction of a second
      int escala = 1000;
      for (++i; i < t.size() && digito(t[i]); ++i) {
        h.fracao += (t[i] - '0') * escala;
        escala /= 10;
      }
    }
    if (k < 2 || i != t.size() || partes[0] > 23 || partes[1] > 59 || partes[2] > 59)
      falhaConversao(texto, "uma data");
    h.hora = partes[0];
    h.minuto = partes[1];
    h.segundo = partes[2];
  }
  return {d, h};
}

std::string formataData(const Data& d, int estilo) {
  char buf[32];
  if (estilo == 2)
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.mes, d.dia, d.ano);
  else
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.dia, d.mes, d.ano);
  return buf;
}

int estiloRegional() {
  const int lembrado = estiloLembrado();
  return lembrado ? lembrado : RetornaConfigWin();
}

int estiloDaLeitura() {
  int estilo = estiloLembrado();
  if (estilo == 0) estilo = estiloDosSimbolos(simbolosDoAmbiente());
  return estilo == 0 ? 1 : estilo;
}

}  // namespace zuv
