#include "fiscal/CodigosFiscais.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "common/Erro.h"
#include "common/Regional.h"
#include "common/Texto.h"

namespace zuv {

namespace {

bool digito(char c) {
  return c >= '0' && c <= '9';
}

std::string digitos(std::string_view s) {
  std::string r;
  for (char c : s)
    if (digito(c)) r += c;
  return r;
}

// Only digits and the separators a printed code carries ("0101.21.00", "01 012 100", "5.102").
bool digitosESeparadores(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return digito(c) || c == '.' || c == ' ' || c == '-'; });
}

template <size_t N>
bool naLista(std::string_view v, const std::array<const char*, N>& lista) {
  return std::any_of(lista.begin(), lista.end(), [&](const char* c) { return v == c; });
}

constexpr std::array<const char*, 10> kCsosn = {"101", "102", "103", "201", "202",
                                                "203", "300", "400", "500", "900"};
constexpr std::array<const char*, 15> kCstIcms = {"00", "02", "10", "15", "20", "30", "40", "41",
                                                  "50", "51", "53", "60", "61", "70", "90"};

bool cstPisCofinsValido(int n) {
  return (n >= 1 && n <= 9) || (n >= 49 && n <= 56) || (n >= 60 && n <= 67) || (n >= 70 && n <= 75) ||
         n == 98 || n == 99;
}

// The code with the zero it lost in front.
std::string comZero(std::string_view v) {
  return std::string("0").append(v);
}

std::string tamanho(size_t n) {
  return n == 1 ? "1 dígito" : std::to_string(n) + " dígitos";
}

// A code of `casas` digits; `perdeZero` digits mean a leading zero was lost (only where no valid
// code has that length).
std::optional<Problema> verificaCodigo(std::string_view valor, std::string_view nome, size_t casas) {
  const std::string_view v = semBrancos(valor);
  const std::string n(nome);
  if (soDigitos(v)) {
    if (v.size() == casas) return std::nullopt;
    if (v.size() == casas - 1)
      return Problema{
          n + " com " + tamanho(v.size()) + ": o zero à esquerda se perdeu (código digitado como número)",
          comZero(v)};
    return Problema{n + " deve ter " + tamanho(casas) + " (tem " + tamanho(v.size()) + ")", {}};
  }
  const std::string d = digitos(v);
  if (digitosESeparadores(v) && d.size() == casas)
    return Problema{n + " com pontos ou espaços: a importação espera só os " + tamanho(casas), d};
  return Problema{n + " deve ter só " + tamanho(casas), {}};
}

// Strictly a number of the style: sign, currency sign, digits grouped by threes or not grouped,
// decimal part, exponent.
bool numeroEstrito(std::string_view t, int estilo) {
  const char dec = estilo == 2 ? '.' : ',';
  const char grp = estilo == 2 ? ',' : '.';
  size_t i = 0;
  auto brancos = [&] {
    while (i < t.size() && t[i] == ' ')
      ++i;
  };
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i, brancos();
  const std::string_view moeda = estilo == 2 ? "$" : "R$";
  if (t.substr(i, moeda.size()) == moeda) i += moeda.size(), brancos();
  size_t inteiros = 0, grupo = 0;
  bool agrupado = false;
  for (; i < t.size() && (digito(t[i]) || t[i] == grp); ++i) {
    if (t[i] == grp) {
      if (grupo == 0 || (agrupado ? grupo != 3 : grupo > 3)) return false;
      agrupado = true;
      grupo = 0;
    } else {
      ++inteiros, ++grupo;
    }
  }
  if (agrupado && grupo != 3) return false;
  size_t decimais = 0;
  if (i < t.size() && t[i] == dec)
    for (++i; i < t.size() && digito(t[i]); ++i)
      ++decimais;
  if (inteiros + decimais == 0) return false;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
    size_t expoente = 0;
    for (; i < t.size() && digito(t[i]); ++i)
      ++expoente;
    if (expoente == 0) return false;
  }
  return i == t.size();
}

// The same number with the decimal and grouping symbols of the other style swapped.
std::string trocaSeparadores(std::string_view t) {
  std::string r(t);
  for (char& c : r)
    c = c == '.' ? ',' : c == ',' ? '.' : c;
  return r;
}

const char* exemploDoEstilo(int estilo) {
  return estilo == 2 ? "1,234.56" : "1.234,56";
}

}  // namespace

std::string_view semBrancos(std::string_view s) {
  const auto branco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && branco(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && branco(s.back()))
    s.remove_suffix(1);
  return s;
}

std::optional<Problema> verificaNcm(std::string_view valor) {
  if (semBrancos(valor).empty()) return Problema{"NCM vazio", {}};
  return verificaCodigo(valor, "NCM", 8);
}

std::optional<Problema> verificaCest(std::string_view valor) {
  if (semBrancos(valor).empty()) return std::nullopt;
  return verificaCodigo(valor, "CEST", 7);
}

std::optional<Problema> verificaCfop(std::string_view valor, bool saida) {
  const std::string_view v = semBrancos(valor);
  if (v.empty()) return std::nullopt;
  std::string codigo(v);
  std::string sugestao;
  if (!soDigitos(v)) {
    const std::string d = digitos(v);
    if (!digitosESeparadores(v) || d.size() != 4) return Problema{"CFOP deve ter só 4 dígitos", {}};
    codigo = sugestao = d;
  } else if (v.size() != 4) {
    return Problema{"CFOP deve ter 4 dígitos (tem " + tamanho(v.size()) + ")", {}};
  }
  const char primeiro = codigo[0];
  const bool entrada = primeiro >= '1' && primeiro <= '3';
  const bool ehSaida = primeiro >= '5' && primeiro <= '7';
  std::string motivo;
  if (saida && entrada)
    motivo = std::string("CFOP de entrada (começa com ").append(1, primeiro) +
             ") na coluna de saída: as saídas começam com 5, 6 ou 7";
  else if (!saida && ehSaida)
    motivo = std::string("CFOP de saída (começa com ").append(1, primeiro) +
             ") na coluna de entrada: as entradas começam com 1, 2 ou 3";
  else if (!entrada && !ehSaida)
    motivo =
        std::string("CFOP inexistente: o primeiro dígito deve ser ") + (saida ? "5, 6 ou 7" : "1, 2 ou 3");
  else if (codigo.compare(2, 2, "00") == 0)
    motivo = "CFOP " + codigo + " é o título de um grupo, não uma operação";
  if (!motivo.empty()) return Problema{motivo, {}};
  if (!sugestao.empty())
    return Problema{"CFOP com ponto ou espaço: a importação espera só os 4 dígitos", sugestao};
  return std::nullopt;
}

std::optional<Problema> verificaCsosn(std::string_view valor) {
  const std::string_view v = semBrancos(valor);
  if (v.empty() || naLista(v, kCsosn)) return std::nullopt;
  return Problema{"CSOSN fora da tabela (101, 102, 103, 201, 202, 203, 300, 400, 500, 900)", {}};
}

std::optional<Problema> verificaCstIcms(std::string_view valor) {
  const std::string_view v = semBrancos(valor);
  if (v.empty()) return std::nullopt;
  if (soDigitos(v)) {
    if (v.size() == 2 && naLista(v, kCstIcms)) return std::nullopt;
    if (v.size() == 3 && v[0] <= '8' && naLista(v.substr(1), kCstIcms)) return std::nullopt;
    if (v.size() == 1 && naLista(comZero(v), kCstIcms))
      return Problema{"CST ICMS com 1 dígito: o zero à esquerda se perdeu (código digitado como número)",
                      comZero(v)};
  }
  return Problema{
      "CST ICMS fora da tabela (00, 02, 10, 15, 20, 30, 40, 41, 50, 51, 53, 60, 61, 70, 90; "
      "com a origem 0 a 8 na frente: 060)",
      {}};
}

std::optional<Problema> verificaCstPisCofins(std::string_view valor, std::string_view nome) {
  const std::string_view v = semBrancos(valor);
  if (v.empty()) return std::nullopt;
  if (soDigitos(v) && v.size() <= 2) {
    int n = 0;
    std::from_chars(v.data(), v.data() + v.size(), n);
    if (cstPisCofinsValido(n)) return std::nullopt;
  }
  return Problema{std::string(nome) + " fora da tabela (01 a 09, 49 a 56, 60 a 67, 70 a 75, 98, 99)", {}};
}

std::optional<Problema> verificaNumero(std::string_view valor, int estilo, std::string_view nome,
                                       bool porcentagem) {
  const std::string_view v = semBrancos(valor);
  if (v.empty()) return std::nullopt;
  const std::string n(nome);
  const int outro = estilo == 2 ? 1 : 2;
  const std::string sugestao = numeroEstrito(v, outro) ? trocaSeparadores(v) : std::string();
  if (!numeroEstrito(v, estilo)) {
    try {
      const double lido = lerNumero(std::string(v), estilo);
      return Problema{n + ": o texto seria lido como " + formataNumero(lido, estilo) +
                          ": no estilo regional (" + exemploDoEstilo(estilo) + ") " +
                          (estilo == 2 ? "a vírgula separa" : "o ponto separa") + " milhares",
                      sugestao};
    } catch (const ErroConversao&) {
      return Problema{n + " não é um número no estilo regional (" + exemploDoEstilo(estilo) + ")", sugestao};
    }
  }
  if (porcentagem) {
    const double p = lerNumero(std::string(v), estilo);
    if (p < 0 || p > 100) return Problema{n + " fora de 0 a 100", {}};
  }
  return std::nullopt;
}

std::optional<Problema> verificaCodigoInterno(std::string_view valor) {
  const std::string_view v = semBrancos(valor);
  if (v.empty() || (soDigitos(v) && v.size() <= 9)) return std::nullopt;
  return Problema{"Cod.Interno deve ser um número inteiro: a importação acha o item por ele", {}};
}

}  // namespace zuv
