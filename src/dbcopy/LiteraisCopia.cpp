#include "dbcopy/LiteraisCopia.h"

#include <firebird/Interface.h>

#include <charconv>
#include <cstdio>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "platform/Recordset.h"

namespace zuv {

namespace {

std::string comBranco(std::string n) {
  return n[0] == '-' ? n : " " + n;
}

// The shortest text that reads back as the same double.
std::string realExato(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string data(const Data& d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.mes, d.dia, d.ano);
  return buf;
}

std::string hora(const Hora& h) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%04d", h.hora, h.minuto, h.segundo, h.fracao);
  return buf;
}

bool meiaNoite(const Hora& h) {
  return h == Hora{};
}

}  // namespace

std::string textoSimples(const Valor& v) {
  if (v.inteiro()) return std::to_string(v.comoInteiro());
  if (v.decimal()) return v.comoDecimal().texto('.');
  if (v.real()) return realExato(v.comoReal());
  if (v.texto()) return v.comoTexto();
  return v.textoRegional(estiloRegional());
}

std::string LiteralCopia(const Valor& v, TipoCopia tipo) {
  if (v.nulo()) return "Null";
  switch (tipo) {
    case TipoCopia::FL:
      if (v.inteiro()) return comBranco(std::to_string(v.comoInteiro()));
      if (v.decimal()) return comBranco(v.comoDecimal().texto('.'));
      if (v.real()) return comBranco(realExato(v.comoReal()));
      return ConverteSQL(v, "FL");
    case TipoCopia::CH:
      return ConverteSQL(v, "CH");
    case TipoCopia::TX:
      if (v.texto()) return aspas(v.comoTexto());
      return ConverteSQL(v, "CH");
    case TipoCopia::DT:
      if (v.data()) return "'" + data(v.comoData()) + "'";
      if (v.hora()) return "'" + hora(v.comoHora()) + "'";
      if (v.dataHora()) {
        const DataHora& dh = v.comoDataHora();
        if (meiaNoite(dh.hora)) return "'" + data(dh.data) + "'";
        return "'" + data(dh.data) + " " + hora(dh.hora) + "'";
      }
      return ConverteSQL(v, "DT");
  }
  return "Null";
}

bool campoCopiavel(const Campo& campo) {
  switch (campo.tipoSql) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
    case SQL_BOOLEAN:
    case SQL_TEXT:
    case SQL_VARYING:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TIMESTAMP:
      return true;
    case SQL_BLOB:
      return campo.classe == ClasseTipo::Texto;
    default:
      return false;
  }
}

std::string LiteralDoCampo(const Valor& v, const Campo& campo) {
  if (v.nulo()) return "Null";
  if (!campoCopiavel(campo))
    throw ErroConversao("A coluna " + campo.nome + " guarda dados binários que esta cópia não grava.");
  switch (campo.tipoSql) {
    case SQL_BOOLEAN:
      return v.numero() && v.paraDouble() != 0 ? "TRUE" : "FALSE";
    case SQL_TEXT:
    case SQL_VARYING:
    case SQL_BLOB:
      return LiteralCopia(v, TipoCopia::TX);
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TIMESTAMP:
      return LiteralCopia(v, TipoCopia::DT);
    default:
      return LiteralCopia(v, TipoCopia::FL);
  }
}

}  // namespace zuv
