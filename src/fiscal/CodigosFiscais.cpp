#include "fiscal/CodigosFiscais.h"

#include <algorithm>
#include <array>

#include "common/Erro.h"
#include "common/LeituraDeCelulas.h"
#include "common/Limpeza.h"
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

// Only digits and the separators a printed code carries ("0101.21.00", "01 012 100", "5-102").
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

std::string tamanho(size_t n) {
  return n == 1 ? "1 dígito" : std::to_string(n) + " dígitos";
}

// The product import's cell: upper case, trimmed; codes are also cleaned (LimpaTexto).
std::string celulaProduto(std::string_view valor) {
  return apara(maiusculas(valor));
}
std::string limpoProduto(std::string_view valor) {
  std::string celula = celulaProduto(valor);
  // LimpaTexto leaves digits, dots, blanks and hyphens as they are: most codes need not go through it.
  return digitosESeparadores(celula) ? celula : LimpaTexto(celula, false);
}

// Whether the product import cuts characters off the code (cortaCodigo).
bool cortado(const std::string& texto, size_t casas) {
  return cortaCodigo(texto, casas) != cortaCodigo(texto, std::string::npos);
}

// The code a printed form stands for, when it is certain: digits and separators only, holding
// the whole code or the code without the leading zero a number loses.
std::string sugestaoDeCodigo(std::string_view celula, size_t casas) {
  if (!digitosESeparadores(celula)) return {};
  const std::string d = digitos(celula);
  if (d.size() == casas) return d;
  if (d.size() + 1 == casas && casas != 4) return "0" + d;  // a CFOP never begins with 0
  return {};
}

// A code of `casas` digits, judged by what the import stores (gravado) from the cell (celula,
// trimmed). cortado: the import cut characters off; soDigitosGuardados: it keeps only the digits.
std::optional<Problema> verificaCodigo(const std::string& nome, size_t casas, std::string_view celula,
                                       const std::string& gravado, bool cortado,
                                       bool soDigitosGuardados = false) {
  const std::string certa = sugestaoDeCodigo(celula, casas);
  if (cortado)
    return Problema{nome + " com mais de " + std::to_string(casas) + " caracteres",
                    "a importação grava só os " + std::to_string(casas) + " primeiros: " + gravado, certa};
  // The tax import drops letters from an NCM and may so make another code of what is left.
  if (soDigitosGuardados && !digitosESeparadores(celula))
    return Problema{nome + " com letras ou símbolos",
                    "a importação guarda só os dígitos (" + (gravado.empty() ? "nenhum" : gravado) + ")",
                    {}};
  if (!soDigitos(gravado))
    return Problema{nome + " com letras ou símbolos",
                    "a importação grava " + gravado + "; o " + nome + " tem só dígitos", certa};
  if (gravado.size() == casas) return std::nullopt;
  return Problema{nome + (gravado.size() < casas ? " com menos de " : " com mais de ") + tamanho(casas),
                  nome + " com " + tamanho(gravado.size()) + ": a importação grava " + gravado + ", mas o " +
                      nome + " tem " + tamanho(casas),
                  certa};
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

std::string ncmGravado(std::string_view valor, LayoutFiscal layout) {
  return layout == LayoutFiscal::Produto ? normalizaCodigo(limpoProduto(valor), 8)
                                         : preparaNCM(maiusculas(valor));
}

std::string cestGravado(std::string_view valor, LayoutFiscal layout) {
  return layout == LayoutFiscal::Produto ? normalizaCodigo(limpoProduto(valor), 7)
                                         : preparaCEST(maiusculas(valor));
}

std::string barraGravada(std::string_view valor) {
  return esquerda(limpoProduto(valor), 20);
}

std::string codigoInternoGravado(std::string_view valor) {
  const std::string t = apara(maiusculas(valor));
  if (verificaCodigoInterno(t) || t.empty()) return {};
  const size_t p = t.find_first_not_of('0');
  return p == std::string::npos ? "0" : t.substr(p);
}

std::optional<Problema> verificaNcm(std::string_view valor, LayoutFiscal layout) {
  const std::string_view celula = semBrancos(valor);
  if (celula.empty()) return Problema{"NCM vazio", "NCM vazio", {}};
  if (layout == LayoutFiscal::Tributacao)
    return verificaCodigo("NCM", 8, celula, preparaNCM(maiusculas(valor)), false, true);
  const std::string limpo = limpoProduto(valor);
  return verificaCodigo("NCM", 8, celula, normalizaCodigo(limpo, 8), cortado(limpo, 8));
}

std::optional<Problema> verificaCest(std::string_view valor, LayoutFiscal layout) {
  const std::string_view celula = semBrancos(valor);
  if (celula.empty()) return std::nullopt;
  if (layout == LayoutFiscal::Tributacao)
    return verificaCodigo("CEST", 7, celula, preparaCEST(maiusculas(valor)), false);
  const std::string limpo = limpoProduto(valor);
  return verificaCodigo("CEST", 7, celula, normalizaCodigo(limpo, 7), cortado(limpo, 7));
}

std::optional<Problema> verificaCfop(std::string_view valor, bool saida, LayoutFiscal layout) {
  const std::string_view celula = semBrancos(valor);
  if (celula.empty()) return std::nullopt;
  const bool produto = layout == LayoutFiscal::Produto;
  const std::string texto = produto ? celulaProduto(valor) : maiusculas(valor);
  const std::string codigo = produto ? cortaCodigo(texto, 4) : preparaCFOP(texto);
  if (auto p = verificaCodigo("CFOP", 4, celula, codigo, produto && cortado(texto, 4))) return p;
  const char primeiro = codigo[0];
  const bool entrada = primeiro >= '1' && primeiro <= '3';
  const bool ehSaida = primeiro >= '5' && primeiro <= '7';
  if (saida && entrada)
    return Problema{"CFOP de entrada na coluna de saída",
                    std::string("CFOP de entrada (começa com ").append(1, primeiro) +
                        ") na coluna de saída: as saídas começam com 5, 6 ou 7",
                    {}};
  if (!saida && ehSaida)
    return Problema{"CFOP de saída na coluna de entrada",
                    std::string("CFOP de saída (começa com ").append(1, primeiro) +
                        ") na coluna de entrada: as entradas começam com 1, 2 ou 3",
                    {}};
  if (!entrada && !ehSaida)
    return Problema{
        "CFOP inexistente",
        std::string("CFOP inexistente: o primeiro dígito deve ser ") + (saida ? "5, 6 ou 7" : "1, 2 ou 3"),
        {}};
  if (codigo.compare(2, 2, "00") == 0)
    return Problema{
        "CFOP que é título de grupo", "CFOP " + codigo + " é o título de um grupo, não uma operação", {}};
  return std::nullopt;
}

std::optional<Problema> verificaCsosn(std::string_view valor) {
  const std::string v = apara(maiusculas(valor));
  if (v.empty() || naLista(v, kCsosn)) return std::nullopt;
  return Problema{
      "CSOSN fora da tabela", "CSOSN fora da tabela (101, 102, 103, 201, 202, 203, 300, 400, 500, 900)", {}};
}

std::optional<Problema> verificaCstIcms(std::string_view valor) {
  const std::string v = apara(maiusculas(valor));
  if (v.empty()) return std::nullopt;
  if (paraCodigos(v).size() > 3)
    return Problema{"CST ICMS com mais de 3 caracteres",
                    "a importação trata um CST de mais de 3 caracteres como vazio",
                    {}};
  if (soDigitos(v)) {
    if (v.size() <= 2 && naLista(std::string(2 - v.size(), '0') + v, kCstIcms)) return std::nullopt;
    if (v.size() == 3 && v[0] <= '8' && naLista(std::string_view(v).substr(1), kCstIcms)) return std::nullopt;
  }
  return Problema{"CST ICMS fora da tabela",
                  "CST ICMS fora da tabela (00, 02, 10, 15, 20, 30, 40, 41, 50, 51, 53, 60, 61, 70, 90; "
                  "com a origem 0 a 8 na frente: 060)",
                  {}};
}

std::optional<Problema> verificaCstPisCofins(std::string_view valor, std::string_view nome) {
  // The tax import applies the rule to the cell as read, blanks included.
  const std::string texto = maiusculas(valor);
  if (regraCST(texto) != "99") return std::nullopt;
  const std::string v = apara(texto);
  if (soDigitos(v) && v.substr(std::min(v.find_first_not_of('0'), v.size())) == "99") return std::nullopt;
  const std::string n(nome);
  return Problema{n + " fora da tabela",
                  n + " fora da tabela (01 a 09, 49 a 56, 60 a 67, 70 a 75, 98, 99): a importação grava 99",
                  {}};
}

std::optional<Problema> verificaBarra(std::string_view valor) {
  const std::string limpo = limpoProduto(valor);
  if (paraCodigos(limpo).size() <= 20) return std::nullopt;
  return Problema{"Código de barras com mais de 20 caracteres",
                  "a importação grava só os 20 primeiros: " + esquerda(limpo, 20),
                  {}};
}

std::optional<Problema> verificaCodigoInterno(std::string_view valor) {
  const std::string v = apara(maiusculas(valor));
  if (v.empty() || (soDigitos(v) && v.size() <= 9)) return std::nullopt;
  return Problema{"Cod.Interno que não é número inteiro",
                  "não é o código interno de um item (um número inteiro): a importação para nesta linha",
                  {}};
}

std::optional<Problema> verificaNumero(std::string_view valor, int estilo, NumeroProduto numero) {
  const std::string texto = celulaProduto(valor);
  if (texto.empty()) return std::nullopt;
  const char* nome = numero == NumeroProduto::Preco     ? "Preço"
                     : numero == NumeroProduto::Estoque ? "Estoque"
                                                        : "Alíquota";
  Decimal lido;
  try {
    lido = leNumero(texto, estilo, numero == NumeroProduto::Estoque ? 3 : 2);
  } catch (const ErroConversao&) {
    const char* consequencia =
        numero == NumeroProduto::Estoque
            ? "um item novo fica com estoque 0 e a atualização do estoque recusa a linha"
            : "a importação recusa a linha";
    return Problema{
        std::string(nome) + " que não é número",
        std::string("não é um número no estilo regional (") + exemploDoEstilo(estilo) + "): " + consequencia,
        {}};
  }
  const std::string comoLido = formataNumero(lido.paraDouble(), estilo);
  if (numero == NumeroProduto::Aliquota && lido.unscaled > 9900)
    return Problema{
        "Alíquota acima de 99",
        "a importação lê " + comoLido + " e ignora uma alíquota acima de 99: o item fica sem alíquota",
        {}};
  if (lidoComoMilhar(texto, estilo)) {
    std::string decimal(texto);
    std::replace(decimal.begin(), decimal.end(), estilo == 2 ? ',' : '.', estilo == 2 ? '.' : ',');
    return Problema{"Número lido como milhar",
                    "a importação lê " + comoLido + ": no estilo regional (" + exemploDoEstilo(estilo) +
                        ") " + (estilo == 2 ? "a vírgula separa" : "o ponto separa") +
                        " milhares; se for um decimal, escreva " + decimal,
                    {}};
  }
  return std::nullopt;
}

std::optional<Problema> verificaTaxa(std::string_view valor, TaxaTributos taxa) {
  const std::string texto = maiusculas(valor);
  if (apara(texto).empty()) return std::nullopt;
  const std::string nome = taxa == TaxaTributos::Aliquota ? "Alíquota" : "Porcentagem";
  const std::optional<Decimal> lida = numeroTaxa(texto);
  if (!lida) {
    const char* consequencia = taxa == TaxaTributos::PisCofins ? "a importação grava vazio"
                               : taxa == TaxaTributos::Aliquota
                                   ? "a importação para nesta linha"
                                   : "com \"ICMS Cad Produto\" a importação para nesta linha";
    return Problema{
        nome + " que não é número", std::string("não é um número (12,5 ou 12.5): ") + consequencia, {}};
  }
  if (lida->unscaled < 0 || lida->paraDouble() > 100)
    return Problema{nome + " fora de 0 a 100", nome + " fora de 0 a 100", {}};
  return std::nullopt;
}

}  // namespace zuv
