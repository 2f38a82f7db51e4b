#include "common/Limpeza.h"

#include <unordered_map>
#include <vector>

#include "common/ConverteSQL.h"
#include "common/Regional.h"
#include "common/Texto.h"

namespace zuv {

namespace {

struct Linha {
  std::u32string de;
  std::u32string para;
};

// The replacement table, rows in order; row 9 depends on whether "$" and "%" are kept.
std::vector<Linha> tabela(bool mantemCifraoPorcento) {
  return {
      {U"áäàãâ", U"a"}, {U"éëèê", U"e"}, {U"íïìî", U"i"},
      {U"óöòõô", U"o"}, {U"úüùû", U"u"}, {U"ç¢", U"c"},
      {U"º", U"o"},     {U"ª", U"a"},    {mantemCifraoPorcento ? U"§¬&£@#¨*¬" : U"§¬&£@#$%¨*¬", U" "},
      {U"\"", U" "},    {U"'", U" "},    {U"²", U"2"},
      {U"³", U"3"},     {U"°", U"o"},    {U"€", U"C"},
  };
}

using Mapa = std::unordered_map<char32_t, char32_t>;

// One pass as a character map. Every replacement is a single character that no row replaces, so
// applying the rows one after another equals one lookup per character; a character named by two
// rows takes the first row's replacement.
Mapa passada(bool mantemCifraoPorcento, bool maiusculo) {
  Mapa m;
  for (const Linha& l : tabela(mantemCifraoPorcento)) {
    const char32_t para = maiusculo ? maiuscula(l.para[0]) : l.para[0];
    for (char32_t c : l.de)
      m.emplace(maiusculo ? maiuscula(c) : c, para);
  }
  return m;
}

void aplica(std::u32string& s, const Mapa& m) {
  for (char32_t& c : s)
    if (auto it = m.find(c); it != m.end()) c = it->second;
}

std::string trocaTabela(const std::string& texto, bool mantem) {
  static const Mapa passadas[2][2] = {{passada(false, false), passada(false, true)},
                                      {passada(true, false), passada(true, true)}};
  std::u32string s = paraCodigos(texto);
  aplica(s, passadas[mantem][0]);
  aplica(s, passadas[mantem][1]);
  return paraUtf8(s);
}

}  // namespace

std::string LimpaTexto(const std::string& Texto, bool MantemCifraoPorcento) {
  std::string semSeparadores;
  for (char c : Texto)
    if (c != '|' && c != '\'') semSeparadores += c;
  return trocaTabela(apara(semSeparadores), MantemCifraoPorcento);
}

std::string LimpaTextoMantendoSeparadores(const std::string& Texto, bool MantemCifraoPorcento) {
  return trocaTabela(apara(Texto), MantemCifraoPorcento);
}

std::string TrocaAspas(const std::string& Texto) {
  std::string s = Texto;
  for (char& c : s)
    if (c == '\'') c = ' ';
  return s;
}

std::string SomenteDigitos(const std::string& Texto) {
  std::string s;
  for (char c : Texto)
    if (c >= '0' && c <= '9') s += c;
  return s;
}

double cNumero(const std::string& Valor) {
  if (apara(Valor).empty()) return 0;
  return lerNumero(Valor, estiloRegional());
}

}  // namespace zuv
