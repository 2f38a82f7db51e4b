#include "common/Valor.h"

#include <cstdio>
#include <ctime>

#include "common/Erro.h"
#include "common/Regional.h"

namespace zuv {

std::string Decimal::texto(char separador) const {
  // Magnitude as unsigned so that INT64_MIN is safe.
  const bool negativo = unscaled < 0;
  uint64_t mag = negativo ? uint64_t(0) - uint64_t(unscaled) : uint64_t(unscaled);
  std::string digitos = std::to_string(mag);
  if (scale > 0) {
    if (digitos.size() <= size_t(scale)) digitos.insert(0, size_t(scale) + 1 - digitos.size(), '0');
    std::string inteira = digitos.substr(0, digitos.size() - scale);
    std::string fracao = digitos.substr(digitos.size() - scale);
    while (!fracao.empty() && fracao.back() == '0')
      fracao.pop_back();
    digitos = fracao.empty() ? inteira : inteira + separador + fracao;
  }
  if (negativo && digitos != "0") digitos.insert(0, 1, '-');
  return digitos;
}

double Decimal::paraDouble() const {
  double d = double(unscaled);
  for (int i = 0; i < scale; ++i)
    d /= 10;
  return d;
}

bool Data::valida() const {
  static const int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (ano < 100 || ano > 9999 || mes < 1 || mes > 12 || dia < 1) return false;
  const bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
  return dia <= dias[mes - 1] + (mes == 2 && bissexto ? 1 : 0);
}

Data Data::hoje() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

double Valor::paraDouble() const {
  if (inteiro()) return double(comoInteiro());
  if (decimal()) return comoDecimal().paraDouble();
  if (real()) return comoReal();
  if (texto()) return lerNumero(comoTexto(), 1);
  throw ErroConversao("Tipos incompatíveis: o valor não é um número");
}

std::string Valor::textoRegional(int estilo) const {
  struct Visitante {
    int estilo;
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(int64_t v) const { return std::to_string(v); }
    std::string operator()(const Decimal& v) const { return v.texto(estilo == 2 ? '.' : ','); }
    std::string operator()(double v) const { return formataNumero(v, estilo); }
    std::string operator()(const std::string& v) const { return v; }
    std::string operator()(const Data& v) const { return formataData(v, estilo); }
    std::string operator()(const Hora& v) const {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", v.hora % 100, v.minuto % 100, v.segundo % 100);
      return buf;
    }
    std::string operator()(const DataHora& v) const {
      if (v.hora == Hora{}) return formataData(v.data, estilo);
      return formataData(v.data, estilo) + " " + (*this)(v.hora);
    }
  };
  return std::visit(Visitante{estilo}, v_);
}

}  // namespace zuv
