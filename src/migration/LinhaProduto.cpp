#include "migration/LinhaProduto.h"

#include <cmath>
#include <cstdlib>

#include "common/Erro.h"
#include "common/Limpeza.h"
#include "common/Texto.h"
#include "platform/Planilha.h"

namespace zuv {

namespace {

std::string limpo(const std::string& s) {
  return LimpaTexto(apara(s), false);
}

int64_t potencia10(int n) {
  int64_t p = 1;
  while (n-- > 0)
    p *= 10;
  return p;
}

[[noreturn]] void naoNumero(const std::string& texto) {
  throw ErroConversao("\"" + texto + "\" não é um número.");
}

}  // namespace

std::string normalizaCodigo(const std::string& texto, size_t tamanho) {
  std::string s = esquerda(semPontos(apara(texto)), tamanho);
  if (soDigitos(s) && s.size() < tamanho) s.insert(0, tamanho - s.size(), '0');
  return s;
}

LinhaProduto leLinhaProduto(LeitorPlanilha& fonte, int linha, bool planilha) {
  auto celula = [&](int c) { return apara(maiusculas(fonte.celula(linha, c))); };
  // The workbook's texts are cleaned; the grid keeps what was typed or pasted.
  auto texto = [&](int c) { return planilha ? limpo(celula(c)) : celula(c); };
  LinhaProduto l;
  l.descricao = texto(coluna::kDescricao);
  l.barra = esquerda(texto(coluna::kBarra), 20);
  l.unidade = texto(coluna::kUnidade);
  l.custo = celula(coluna::kCusto);
  l.venda = celula(coluna::kVenda);
  l.estoque = celula(coluna::kEstoque);
  l.grupo = texto(coluna::kGrupo);
  l.subGrupo = texto(coluna::kSubGrupo);
  l.unidadeEscrita = celula(coluna::kUnidade);
  l.grupoEscrito = celula(coluna::kGrupo);
  l.subGrupoEscrito = celula(coluna::kSubGrupo);
  l.ncm = normalizaCodigo(texto(coluna::kNcm), 8);
  l.aliquota = celula(coluna::kAliquota);
  // A CFOP is four digits; "5.102" is the same code.
  l.cfop = esquerda(semPontos(celula(coluna::kCfop)), 4);
  l.csosn = celula(coluna::kCsosn);
  l.cest = normalizaCodigo(texto(planilha ? coluna::kCest : coluna::kCestGrade), 7);
  l.atacado = celula(coluna::kAtacado);
  l.atacado2 = celula(coluna::kAtacado2);
  l.descricao = LimpaTexto(TrocaAspas(LimpaTexto(l.descricao, false)), false);
  return l;
}

Decimal leNumero(const std::string& texto, int estilo, int casas) {
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

std::string numeroSQL(const Decimal& valor) {
  const int64_t p = potencia10(valor.scale);
  const int64_t absoluto = valor.unscaled < 0 ? -valor.unscaled : valor.unscaled;
  std::string r(valor.unscaled < 0 ? "-" : "");
  r += std::to_string(absoluto / p);
  if (valor.scale > 0) {
    const std::string fracao = std::to_string(absoluto % p);
    r += '.';
    r.append(valor.scale - fracao.size(), '0');
    r += fracao;
  }
  return r;
}

std::string formataPreco(const Decimal& valor, int estilo) {
  const Decimal v = valor.scale == 2 ? valor : arredonda(valor.paraDouble(), 2);
  const char decimal = estilo == 2 ? '.' : ',', grupo = estilo == 2 ? ',' : '.';
  const int64_t absoluto = v.unscaled < 0 ? -v.unscaled : v.unscaled;
  const std::string inteira = std::to_string(absoluto / 100);
  std::string r;
  for (size_t i = 0; i < inteira.size(); ++i) {
    if (i > 0 && (inteira.size() - i) % 3 == 0) r += grupo;
    r += inteira[i];
  }
  const int centavos = int(absoluto % 100);
  r += decimal;
  r += char('0' + centavos / 10);
  r += char('0' + centavos % 10);
  return (v.unscaled < 0 ? "-" : "") + r;
}

Decimal arredonda(double v, int casas) {
  return Decimal{static_cast<int64_t>(std::llround(v * double(potencia10(casas)))), casas};
}

}  // namespace zuv
