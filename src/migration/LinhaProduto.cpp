#include "migration/LinhaProduto.h"

#include <cmath>

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

}  // namespace

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
  l.cfop = cortaCodigo(celula(coluna::kCfop), 4);
  l.csosn = celula(coluna::kCsosn);
  l.cest = normalizaCodigo(texto(planilha ? coluna::kCest : coluna::kCestGrade), 7);
  l.atacado = celula(coluna::kAtacado);
  l.atacado2 = celula(coluna::kAtacado2);
  l.descricao = LimpaTexto(TrocaAspas(LimpaTexto(l.descricao, false)), false);
  return l;
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
