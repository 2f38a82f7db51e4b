#include "dbcopy/LiteraisCopia.h"

#include <charconv>
#include <cstdio>

#include "common/Erro.h"
#include "platform/Recordset.h"

namespace zuv {

namespace {

// The shortest text that reads back as the same double.
std::string realExato(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

// 'HH:MM:SS.ffff' (quotes included).
std::string hora(const Hora& h) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "'%02d:%02d:%02d.%04d'", h.hora, h.minuto, h.segundo, h.fracao);
  return buf;
}

}  // namespace

std::string textoSimples(const Valor& v) {
  if (v.inteiro()) return std::to_string(v.comoInteiro());
  if (v.decimal()) return v.comoDecimal().texto('.');
  if (v.real()) return realExato(v.comoReal());
  if (v.texto()) return v.comoTexto();
  return v.textoRegional(estiloRegional());
}

std::string LiteralCopia(const Valor& v, TipoSQL tipo) {
  if (tipo == TipoSQL::FL && v.real()) {
    const std::string n = realExato(v.comoReal());
    return n[0] == '-' ? n : std::string(1, ' ').append(n);
  }
  if (tipo == TipoSQL::DT) {
    // The date part as ConverteSQL writes it, then the time of day.
    if (v.hora()) return hora(v.comoHora());
    if (v.dataHora() && !(v.comoDataHora().hora == Hora{})) {
      std::string data = ConverteSQL(Valor(v.comoDataHora().data), TipoSQL::DT);
      data.back() = ' ';
      return data.append(hora(v.comoDataHora().hora).substr(1));
    }
  }
  return ConverteSQL(v, tipo);
}

std::string literalGuardado(const Valor& v) {
  return v.texto() ? aspas(v.comoTexto()) : ConverteSQL(v, TipoSQL::CH);
}

bool campoCopiavel(const Campo& campo) {
  return campo.classe != ClasseTipo::Binario && campo.classe != ClasseTipo::Outro;
}

std::string LiteralDoCampo(const Valor& v, const Campo& campo) {
  if (v.nulo()) return "Null";
  switch (campo.classe) {
    case ClasseTipo::Logico:
      return v.numero() && v.paraDouble() != 0 ? "TRUE" : "FALSE";
    case ClasseTipo::Texto:
      return literalGuardado(v);
    case ClasseTipo::DataHora:
      return LiteralCopia(v, TipoSQL::DT);
    case ClasseTipo::Numero:
      return LiteralCopia(v, TipoSQL::FL);
    case ClasseTipo::Binario:
    case ClasseTipo::Outro:
      break;
  }
  throw ErroConversao("A coluna " + campo.nome + " guarda dados binários que esta cópia não grava.");
}

}  // namespace zuv
