#include "common/LeituraDeCelulas.h"

#include <cstdlib>

#include "common/Erro.h"
#include "common/Limpeza.h"
#include "common/Texto.h"

namespace zuv {

namespace {

[[noreturn]] void naoNumero(const std::string& texto) {
  throw ErroConversao("\"" + texto + "\" não é um número.");
}

// The text without what a number cell may carry around its digits: blanks, tabs, "%" and "R$".
std::string semEnfeites(const std::string& texto) {
  std::string s;
  for (size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c == ' ' || c == '%' || c == '\t') continue;
    if ((c == 'R' || c == 'r') && i + 1 < texto.size() && texto[i + 1] == '$') {
      ++i;
      continue;
    }
    s += c;
  }
  return s;
}

}  // namespace

Decimal leNumero(const std::string& texto, int estilo, int casas) {
  std::string s = semEnfeites(texto);
  bool negativo = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negativo = s[0] == '-';
    s.erase(0, 1);
  }
  if (s.empty()) {
    if (negativo) naoNumero(texto);
    return Decimal{0, casas};
  }
  const char grupoEstilo = estilo == 2 ? ',' : '.';
  const size_t ultimoPonto = s.rfind('.'), ultimaVirgula = s.rfind(',');
  char separador = 0;  // the decimal separator of this text, 0 for a whole number
  if (ultimoPonto != std::string::npos && ultimaVirgula != std::string::npos) {
    separador = ultimoPonto > ultimaVirgula ? '.' : ',';
  } else if (ultimoPonto != std::string::npos || ultimaVirgula != std::string::npos) {
    const char c = ultimoPonto != std::string::npos ? '.' : ',';
    const size_t pos = s.rfind(c);
    const bool unico = s.find(c) == pos;
    const bool tresDigitos = s.size() - pos - 1 == 3;
    if (unico && !(c == grupoEstilo && tresDigitos)) separador = c;
  }
  const size_t posDecimal = separador ? s.rfind(separador) : std::string::npos;
  const std::string inteira = s.substr(0, posDecimal);
  const std::string fracao = separador ? s.substr(posDecimal + 1) : std::string();
  // The integer part: digits, and grouping symbols between groups of three.
  std::string digitos;
  const char agrupa =
      separador ? (separador == '.' ? ',' : '.') : (ultimoPonto != std::string::npos ? '.' : ',');
  size_t desdeGrupo = 0;
  bool agrupou = false;
  for (size_t i = 0; i < inteira.size(); ++i) {
    const char c = inteira[i];
    if (c >= '0' && c <= '9') {
      digitos += c;
      ++desdeGrupo;
    } else if (c == agrupa && i > 0 && (!agrupou || desdeGrupo == 3)) {
      agrupou = true;
      desdeGrupo = 0;
    } else {
      naoNumero(texto);
    }
  }
  if (agrupou && desdeGrupo != 3) naoNumero(texto);
  if (separador && !soDigitos(fracao)) naoNumero(texto);
  if (digitos.empty() && fracao.empty()) naoNumero(texto);
  if (digitos.size() > 15) naoNumero(texto);
  // Exact rounding on the digits, half away from zero.
  int64_t valor = digitos.empty() ? 0 : std::strtoll(digitos.c_str(), nullptr, 10);
  for (int i = 0; i < casas; ++i)
    valor = valor * 10 + (i < int(fracao.size()) ? fracao[i] - '0' : 0);
  if (int(fracao.size()) > casas && fracao[casas] >= '5') ++valor;
  return Decimal{negativo ? -valor : valor, casas};
}

bool lidoComoMilhar(const std::string& texto, int estilo) {
  const std::string s = semEnfeites(texto);
  const char grupo = estilo == 2 ? ',' : '.', decimal = estilo == 2 ? '.' : ',';
  const size_t pos = s.find(grupo);
  if (pos == std::string::npos || s.find(grupo, pos + 1) != std::string::npos ||
      s.find(decimal) != std::string::npos || s.size() - pos - 1 != 3)
    return false;
  try {
    leNumero(texto, estilo);
    return true;
  } catch (const ErroConversao&) {
    return false;
  }
}

std::optional<Decimal> numeroTaxa(const std::string& bruto) {
  const std::string s = apara(bruto);
  if (s.empty()) return std::nullopt;
  size_t i = 0;
  const bool negativo = s[0] == '-';
  if (negativo || s[0] == '+') ++i;
  int64_t unscaled = 0;
  int escala = 0, digitos = 0;
  bool separador = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c == ',' || c == '.') {
      if (separador) return std::nullopt;
      separador = true;
    } else if (c >= '0' && c <= '9') {
      if (++digitos > 18) return std::nullopt;
      unscaled = unscaled * 10 + (c - '0');
      if (separador) ++escala;
    } else {
      return std::nullopt;
    }
  }
  if (digitos == 0) return std::nullopt;
  // Trailing zeros after the point say nothing: 18.00 is 18.
  while (escala > 0 && unscaled % 10 == 0) {
    unscaled /= 10;
    --escala;
  }
  return Decimal{negativo ? -unscaled : unscaled, escala};
}

std::string cortaCodigo(const std::string& texto, size_t tamanho) {
  return esquerda(semPontos(apara(texto)), tamanho);
}

std::string normalizaCodigo(const std::string& texto, size_t tamanho) {
  std::string s = cortaCodigo(texto, tamanho);
  if (s.size() + 1 == tamanho && soDigitos(s)) s.insert(0, 1, '0');
  return s;
}

std::string preparaNCM(const std::string& texto) {
  const std::string digitos = SomenteDigitos(texto);
  return digitos.size() == 7 ? "0" + digitos : digitos;
}

std::string preparaCEST(const std::string& texto) {
  const std::string cest = semPontos(apara(texto));
  return cest.size() == 6 && soDigitos(cest) ? "0" + cest : cest;
}

std::string preparaCFOP(const std::string& texto) {
  return semPontos(apara(texto));
}

std::string regraCST(const std::string& cst) {
  if (cst.empty()) return cst;
  static constexpr const char* kValidos[] = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "49", "50",
                                             "51", "52", "53", "54", "55", "56", "60", "61", "62", "63", "64",
                                             "65", "66", "67", "70", "71", "72", "73", "74", "75", "98"};
  std::string codigo = cst;
  if (soDigitos(cst)) {
    const size_t p = cst.find_first_not_of('0');
    codigo = p == std::string::npos ? "0" : cst.substr(p);
  }
  for (const char* v : kValidos)
    if (codigo == v) return codigo;
  return "99";
}

}  // namespace zuv
