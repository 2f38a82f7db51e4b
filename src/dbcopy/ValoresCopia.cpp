#include "dbcopy/ValoresCopia.h"

#include <cmath>
#include <cstdio>

#include "common/ConverteSQL.h"
#include "common/Erro.h"

namespace zuv::atualiza {

std::string literal(const Valor& v, Tipo tipo) {
  switch (tipo) {
    case Tipo::FL:
      if (v.real() && std::isfinite(v.comoReal())) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17G", v.comoReal());
        return buf[0] == '-' ? std::string(buf) : " " + std::string(buf);
      }
      return ConverteSQL(v, "FL");
    case Tipo::CH:
      return ConverteSQL(v, "CH");
    case Tipo::DT:
      if (v.dataHora() && v.comoDataHora().hora != Hora{}) {
        const Data& d = v.comoDataHora().data;
        const Hora& h = v.comoDataHora().hora;
        char buf[48];
        std::snprintf(buf, sizeof buf, "'%02d/%02d/%04d %02d:%02d:%02d.%04d'", d.mes, d.dia, d.ano, h.hora,
                      h.minuto, h.segundo, h.fracao);
        return buf;
      }
      return ConverteSQL(v, "DT");
  }
  return "Null";
}

std::string textoId(const Valor& v) {
  if (v.inteiro()) return std::to_string(v.comoInteiro());
  if (v.decimal() || v.real()) {
    const double d = v.paraDouble();
    if (d == std::floor(d) && std::fabs(d) < 9e15) return std::to_string(static_cast<long long>(d));
  }
  if (v.texto()) {
    const std::string& s = v.comoTexto();
    size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
    bool digitos = i < s.size();
    for (size_t j = i; j < s.size(); ++j)
      digitos = digitos && s[j] >= '0' && s[j] <= '9';
    if (digitos) return s;
  }
  throw Erro("o identificador \"" + (v.texto() ? v.comoTexto() : std::string("?")) +
             "\" não é um número inteiro");
}

std::string aspas(const std::string& texto) {
  std::string s = "'";
  for (char c : texto)
    s += c == '\'' ? std::string("''") : std::string(1, c);
  return s + "'";
}

}  // namespace zuv::atualiza
