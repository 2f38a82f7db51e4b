#pragma once
// One value type for cells, fields and literals: null, integer, exact decimal, double, text,
// date, time and timestamp. Exact decimals (NUMERIC/DECIMAL) are scaled integers and never pass
// through binary floating point.
#include <compare>
#include <cstdint>
#include <string>
#include <variant>

namespace zuv {

struct Decimal {
  int64_t unscaled = 0;  // value = unscaled / 10^scale
  int scale = 0;         // digits after the point, 0..18
  bool operator==(const Decimal&) const = default;
  // Exact text with '.' as decimal point, trailing zeros after the point dropped ("3.50" -> "3.5").
  std::string texto(char separador = '.') const;
  double paraDouble() const;
};

struct Data {
  int ano = 1, mes = 1, dia = 1;
  auto operator<=>(const Data&) const = default;
  bool valida() const;
  static Data hoje();
};

struct Hora {
  int hora = 0, minuto = 0, segundo = 0, fracao = 0;  // fracao in 1/10000 s, as Firebird keeps it
  auto operator<=>(const Hora&) const = default;
};

struct DataHora {
  Data data;
  Hora hora;
  auto operator<=>(const DataHora&) const = default;
};

class Valor {
 public:
  using Conteudo = std::variant<std::monostate, int64_t, Decimal, double, std::string, Data, Hora, DataHora>;

  Valor() = default;
  Valor(std::nullptr_t) {}
  Valor(int v) : v_(int64_t{v}) {}
  Valor(int64_t v) : v_(v) {}
  Valor(Decimal v) : v_(v) {}
  Valor(double v) : v_(v) {}
  Valor(std::string v) : v_(std::move(v)) {}
  Valor(const char* v) : v_(std::string(v)) {}
  Valor(Data v) : v_(v) {}
  Valor(Hora v) : v_(v) {}
  Valor(DataHora v) : v_(v) {}

  bool nulo() const { return std::holds_alternative<std::monostate>(v_); }
  bool inteiro() const { return std::holds_alternative<int64_t>(v_); }
  bool decimal() const { return std::holds_alternative<Decimal>(v_); }
  bool real() const { return std::holds_alternative<double>(v_); }
  bool texto() const { return std::holds_alternative<std::string>(v_); }
  bool data() const { return std::holds_alternative<Data>(v_); }
  bool hora() const { return std::holds_alternative<Hora>(v_); }
  bool dataHora() const { return std::holds_alternative<DataHora>(v_); }
  bool numero() const { return inteiro() || decimal() || real(); }

  const Conteudo& conteudo() const { return v_; }
  int64_t comoInteiro() const { return std::get<int64_t>(v_); }
  const Decimal& comoDecimal() const { return std::get<Decimal>(v_); }
  double comoReal() const { return std::get<double>(v_); }
  const std::string& comoTexto() const { return std::get<std::string>(v_); }
  const Data& comoData() const { return std::get<Data>(v_); }
  const Hora& comoHora() const { return std::get<Hora>(v_); }
  const DataHora& comoDataHora() const { return std::get<DataHora>(v_); }

  // Any number as double (throws ErroConversao for other kinds).
  double paraDouble() const;

  // The value's text form under the regional style (1 = Brazilian, 2 = English), as a spreadsheet
  // or a VB program would show it: null -> "", 3.5 -> "3,5", a date -> "05/03/2024",
  // a timestamp -> "05/03/2024 10:11:12" (only the date at midnight).
  std::string textoRegional(int estilo) const;

  bool operator==(const Valor&) const = default;

 private:
  Conteudo v_;
};

}  // namespace zuv
