#pragma once
// How a spreadsheet shows a stored cell value as text: number formats that make a number a date
// or a time or pad it with zeros, date serials, booleans, and the escapes of stored strings.
#include <cstdint>
#include <string>
#include <string_view>

namespace zuv {

enum class TipoFormato : unsigned char { Numero, Data, DataHora, Hora };

// The kind of a built-in number format id (14-22, 27-36, 45-47 and 50-58 show dates or times).
TipoFormato tipoFormatoEmbutido(int id);
// The kind of a format code: date and time letters outside quotes, brackets and escapes, in the
// first section. "[h]:mm:ss" is a time; "[$-416]dd/mm/yyyy" a date.
TipoFormato tipoFormatoCodigo(std::string_view codigo);

// What a cell's number format changes in the text of its number: the kind, and for a format made
// only of zeros and "#" such as "0000000000000", the digits a whole number is shown with.
struct FormatoNumero {
  TipoFormato tipo = TipoFormato::Numero;
  uint8_t digitos = 0;  // 0: no padding
  bool operator==(const FormatoNumero&) const = default;
};
FormatoNumero formatoEmbutido(int id);
FormatoNumero formatoDoCodigo(std::string_view codigo);

// A number as a spreadsheet shows it under its format: a date or a time, a whole number padded
// with zeros ("0789100010011"), otherwise as formataNumero writes it.
std::string textoDoNumero(double v, FormatoNumero formato, bool base1904, int estilo);

// A number of a date- or time-formatted cell as text under the regional style: the short date,
// "HH:MM:SS", or both. Empty when the serial is outside the calendar (the caller shows the number).
std::string textoSerial(double serial, TipoFormato tipo, bool base1904, int estilo);

// An ISO 8601 date ("2024-03-05T10:11:12") of a cell of type "d", as textoSerial would show it.
std::string textoDataIso(std::string_view iso, int estilo);

// A stored number ("7891234567890", "1.5E-3") as text under the style, or the text itself when it
// is not a number.
std::string textoNumero(std::string_view bruto, int estilo);

std::string textoBooleano(std::string_view bruto, int estilo);

// Decodes the _xHHHH_ escapes that workbooks use for control characters in strings.
void decodificaEscapes(std::string& s);

}  // namespace zuv
