// The CEST table of Convênio ICMS 142/18 as the CONFAZ page publishes it: every table row whose
// cells hold a code "NN.NNN.NN" followed by its NCM/SH cell and its description. The page keeps
// earlier wordings of an item below the current one, styled in green ("...verde" classes); those
// rows are left out.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>

#include "common/Texto.h"
#include "fiscal/LeArquivoTabela.h"
#include "fiscal/TabelasFiscais.h"

namespace zuv {

namespace {

bool digito(char c) {
  return c >= '0' && c <= '9';
}

void acrescentaUtf8(std::string& r, char32_t c) {
  r += paraUtf8(std::u32string(1, c));
}

// Named entities older pages use for Portuguese text: the Latin-1 letters from U+00C0, in order,
// and a few signs.
constexpr const char* kLetrasLatin1[] = {
    "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute",
    "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute",
    "Ocirc",  "Otilde", "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute",
    "THORN",  "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",    "ntilde",
    "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave", "uacute", "ucirc",
    "uuml",   "yacute", "thorn",  "yuml"};

struct Entidade {
  const char* nome;
  char32_t codigo;
};
constexpr Entidade kEntidades[] = {
    {"amp", '&'},      {"lt", '<'},       {"gt", '>'},       {"quot", '"'},
    {"apos", '\''},    {"nbsp", ' '},     {"ordm", 0xBA},    {"ordf", 0xAA},
    {"deg", 0xB0},     {"sect", 0xA7},    {"ndash", 0x2013}, {"mdash", 0x2014},
    {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"lsquo", 0x2018}, {"rsquo", 0x2019}};

char32_t entidadeNomeada(std::string_view nome) {
  for (const Entidade& e : kEntidades)
    if (nome == e.nome) return e.codigo;
  for (size_t i = 0; i < std::size(kLetrasLatin1); ++i)
    if (nome == kLetrasLatin1[i]) return static_cast<char32_t>(0xC0 + i);
  return 0;
}

// The text of a piece of HTML: tags dropped, entities decoded, runs of blanks (also no-break
// spaces) made one blank, trimmed.
std::string textoDoHtml(std::string_view h) {
  std::string bruto;
  for (size_t i = 0; i < h.size(); ++i) {
    const char c = h[i];
    if (c == '<') {
      const size_t fim = h.find('>', i);
      if (fim == std::string_view::npos) break;
      i = fim;
      bruto += ' ';
    } else if (c == '&') {
      const size_t perto = h.substr(i, 12).find(';');  // entity names are short
      const size_t fim = perto == std::string_view::npos ? perto : i + perto;
      if (fim == std::string_view::npos) {
        bruto += c;
        continue;
      }
      const std::string_view nome = h.substr(i + 1, fim - i - 1);
      char32_t codigo = 0;
      if (nome.size() > 1 && nome[0] == '#') {
        const bool hexa = nome[1] == 'x' || nome[1] == 'X';
        const std::string_view n = nome.substr(hexa ? 2 : 1);
        unsigned v = 0;
        if (std::from_chars(n.data(), n.data() + n.size(), v, hexa ? 16 : 10).ptr == n.data() + n.size())
          codigo = v;
      } else {
        codigo = entidadeNomeada(nome);
      }
      if (codigo == 0) {
        bruto += c;
        continue;
      }
      acrescentaUtf8(bruto, codigo == 0xA0 ? U' ' : codigo);
      i = fim;
    } else {
      bruto += c;
    }
  }
  std::string r;
  for (size_t i = 0; i < bruto.size(); ++i) {
    const bool nbsp = bruto.compare(i, 2, "\xC2\xA0") == 0;
    const char c = bruto[i];
    if (nbsp || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      if (nbsp) ++i;
      if (!r.empty() && r.back() != ' ') r += ' ';
    } else {
      r += c;
    }
  }
  if (!r.empty() && r.back() == ' ') r.pop_back();
  return r;
}

// "01.001.00" -> "0100100"; otherwise empty.
std::string codigoCest(std::string_view t) {
  if (t.size() != 9 || t[2] != '.' || t[6] != '.') return {};
  std::string r;
  for (size_t i = 0; i < t.size(); ++i) {
    if (i == 2 || i == 6) continue;
    if (!digito(t[i])) return {};
    r += t[i];
  }
  return r;
}

// The NCM/SH prefixes of a cell: codes such as "2201.10.00 2202.99.00" or "8704.31.30,", or
// chapters ("Capítulos 13 e 15 a 23").
std::vector<std::string> prefixosNcm(const std::string& celula) {
  std::vector<std::string> r;
  if (minusculas(celula).find("cap") != std::string::npos) {
    std::vector<std::string> palavras;
    std::string atual;
    for (char c : celula + " ") {
      if (digito(c) || std::isalpha(static_cast<unsigned char>(c))) {
        atual += c;
      } else if (!atual.empty()) {
        palavras.push_back(atual);
        atual.clear();
      }
    }
    auto capitulo = [](int n) { return std::string(n < 10 ? "0" : "").append(std::to_string(n)); };
    for (size_t i = 0; i < palavras.size(); ++i) {
      if (!digito(palavras[i][0])) continue;
      const int de = std::stoi(palavras[i]);
      if (de < 1 || de > 99) continue;
      r.push_back(capitulo(de));
      if (i + 2 < palavras.size() && palavras[i + 1] == "a" && digito(palavras[i + 2][0])) {
        const int ate = std::min(99, std::stoi(palavras[i + 2]));
        for (int n = de + 1; n <= ate; ++n)
          r.push_back(capitulo(n));
        i += 2;
      }
    }
    return r;
  }
  std::string atual;
  for (char c : celula + " ") {
    if (digito(c)) {
      atual += c;
    } else if (c != '.' && !atual.empty()) {
      r.push_back(atual);
      atual.clear();
    }
  }
  return r;
}

struct Acumulado {
  std::set<std::string> prefixos;
  bool qualquerNcm = false;  // a current row with no NCM/SH (the "other items" of an annex)
  bool vigente = false;      // a current row that is not REVOGADO
};

// "efeitos a partir de 01.02.25" -> 2025-02-01, the latest such date of the page.
Data ultimaAlteracao(std::string_view texto) {
  Data maior{0, 0, 0};
  const std::string_view marca = "efeitos a partir de ";
  for (size_t i = texto.find(marca); i != std::string_view::npos; i = texto.find(marca, i + 1)) {
    const std::string_view d = texto.substr(i + marca.size(), 10);
    int dia = 0, mes = 0, ano = 0;
    auto p = std::from_chars(d.data(), d.data() + d.size(), dia);
    if (p.ptr == d.data() + d.size() || *p.ptr != '.') continue;
    p = std::from_chars(p.ptr + 1, d.data() + d.size(), mes);
    if (p.ptr == d.data() + d.size() || *p.ptr != '.') continue;
    const char* inicioAno = p.ptr + 1;
    p = std::from_chars(inicioAno, d.data() + d.size(), ano);
    if (p.ptr - inicioAno == 2) ano += 2000;
    const Data data{ano, mes, dia};
    if (data.valida() && data > maior) maior = data;
  }
  return maior;
}

}  // namespace

TabelaCest TabelaCest::carrega(const std::string& caminho) {
  return deHtml(leArquivoTabela(caminho, "tabela CEST"), caminho);
}

TabelaCest TabelaCest::deHtml(std::string_view bytes, const std::string& origem) {
  const std::string html = textoUtf8(bytes);
  const std::string busca = minusculas(std::string(html));
  std::unordered_map<std::string, Acumulado> acumulados;

  for (size_t linha = busca.find("<tr"); linha != std::string::npos; linha = busca.find("<tr", linha + 3)) {
    // Each search stops at the next row or cell, so a page without closing tags stays linear.
    const size_t limite = std::min(busca.find("<tr", linha + 3), busca.size());
    const std::string_view bruta = std::string_view(busca).substr(linha, limite - linha);
    const size_t fimLinha = bruta.find("</tr");
    if (bruta.substr(0, fimLinha).find("verde") != std::string_view::npos) continue;  // an earlier wording

    std::vector<std::string> celulas;
    const std::string_view linhaHtml = bruta.substr(0, fimLinha);
    for (size_t c = linhaHtml.find("<t"); c != std::string_view::npos; c = linhaHtml.find("<t", c + 2)) {
      if (linhaHtml.compare(c, 3, "<td") != 0 && linhaHtml.compare(c, 3, "<th") != 0) continue;
      const size_t seguinte = std::min(linhaHtml.find("<t", c + 3), linhaHtml.size());
      const std::string_view celula = linhaHtml.substr(c, seguinte - c);
      const size_t abre = celula.find('>');
      if (abre == std::string_view::npos) continue;
      const size_t fecha = std::min(celula.find("</t", abre), celula.size());
      celulas.push_back(textoDoHtml(std::string_view(html).substr(linha + c + abre + 1, fecha - abre - 1)));
      c = seguinte - 2;
    }

    for (size_t i = 0; i < celulas.size(); ++i) {
      const std::string codigo = codigoCest(celulas[i]);
      if (codigo.empty()) continue;
      const std::string ncm = i + 1 < celulas.size() ? celulas[i + 1] : "";
      const std::string descricao = i + 2 < celulas.size() ? celulas[i + 2] : "";
      Acumulado& a = acumulados[codigo];
      if (maiusculas(descricao).rfind("REVOGAD", 0) == 0) break;
      a.vigente = true;
      const auto prefixos = prefixosNcm(ncm);
      if (prefixos.empty()) a.qualquerNcm = true;
      a.prefixos.insert(prefixos.begin(), prefixos.end());
      break;
    }
  }
  if (acumulados.empty())
    throw ErroTabelaFiscal(origem + ": não é a página do Convênio ICMS 142/18 (nenhuma tabela com CEST)");

  TabelaCest tabela;
  for (auto& [codigo, a] : acumulados) {
    ItemCest item;
    item.revogado = !a.vigente;
    if (!a.qualquerNcm) item.prefixos.assign(a.prefixos.begin(), a.prefixos.end());
    tabela.itens_.emplace(static_cast<uint32_t>(std::stoul(codigo)), std::move(item));
  }

  std::string titulo = "CONVÊNIO ICMS 142/18";
  if (const size_t t = busca.find("<title>"); t != std::string::npos) {
    const size_t fim = busca.find("</title>", t);
    if (fim != std::string::npos) {
      const std::string lido = textoDoHtml(std::string_view(html).substr(t + 7, fim - t - 7));
      const std::string semSitio = lido.substr(0, std::min(lido.find(" \xE2\x80\x94 "), lido.find(" - ")));
      if (!semSitio.empty()) titulo = semSitio;
    }
  }
  tabela.versao_ = titulo;
  if (const Data d = ultimaAlteracao(html); d.valida())
    tabela.versao_ += ", última alteração com efeitos a partir de " + textoData(d);
  return tabela;
}

std::string TabelaCest::descricao() const {
  const size_t revogados =
      std::count_if(itens_.begin(), itens_.end(), [](const auto& i) { return i.second.revogado; });
  return versao_ + ", " + std::to_string(itens_.size()) + " códigos (" + std::to_string(revogados) +
         " revogados)";
}

const ItemCest* TabelaCest::procura(std::string_view codigo) const {
  uint32_t n = 0;
  if (codigo.size() != 7 || std::from_chars(codigo.data(), codigo.data() + 7, n).ptr != codigo.data() + 7)
    return nullptr;
  const auto it = itens_.find(n);
  return it == itens_.end() ? nullptr : &it->second;
}

}  // namespace zuv
