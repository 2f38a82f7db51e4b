#include "platform/FormatoCelula.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/Regional.h"
#include "common/Texto.h"
#include "common/Valor.h"

namespace zuv {

TipoFormato tipoFormatoEmbutido(int id) {
  if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) || (id >= 50 && id <= 58))
    return TipoFormato::Data;
  if (id == 22) return TipoFormato::DataHora;
  if ((id >= 18 && id <= 21) || (id >= 32 && id <= 33) || (id >= 45 && id <= 47)) return TipoFormato::Hora;
  return TipoFormato::Numero;
}

TipoFormato tipoFormatoCodigo(std::string_view codigo) {
  bool data = false, hora = false;
  for (size_t i = 0; i < codigo.size(); ++i) {
    const char c = codigo[i];
    if (c == ';') break;
    if (c == '"') {
      const size_t f = codigo.find('"', i + 1);
      if (f == std::string_view::npos) break;
      i = f;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is literal (or a padding character)
    } else if (c == '[') {
      const size_t f = codigo.find(']', i + 1);
      if (f == std::string_view::npos) break;
      // Elapsed time: [h], [mm], [ss]. Colours, conditions and locales are ignored.
      const std::string_view dentro = codigo.substr(i + 1, f - i - 1);
      if (!dentro.empty() && dentro.find_first_not_of("hHmMsS") == std::string_view::npos) hora = true;
      i = f;
    } else if ((c == 'A' || c == 'a') && (codigo.substr(i, 5) == "AM/PM" || codigo.substr(i, 5) == "am/pm")) {
      hora = true;
      i += 4;
    } else if ((c == 'A' || c == 'a') && (codigo.substr(i, 3) == "A/P" || codigo.substr(i, 3) == "a/p")) {
      hora = true;
      i += 2;
    } else {
      switch (c) {
        case 'd':
        case 'D':
        case 'y':
        case 'Y':
        case 'm':
        case 'M':
          data = true;
          break;
        case 'h':
        case 'H':
        case 's':
        case 'S':
          hora = true;
          break;
        default:
          break;
      }
    }
  }
  // "mm" next to hours or seconds is minutes, not the month.
  if (hora && data) {
    bool dataPropria = false;
    bool aspas = false;
    for (size_t i = 0; i < codigo.size() && codigo[i] != ';'; ++i) {
      const char c = codigo[i];
      if (c == '"') aspas = !aspas;
      if (aspas) continue;
      if (c == '[') {
        const size_t f = codigo.find(']', i + 1);
        if (f == std::string_view::npos) break;
        i = f;
      } else if (c == '\\' || c == '_' || c == '*') {
        ++i;
      } else if (c == 'd' || c == 'D' || c == 'y' || c == 'Y') {
        dataPropria = true;
      }
    }
    if (!dataPropria) {
      // Only "m" letters beside hour/second letters: a format such as "h:mm" or "mm:ss".
      data = false;
    }
  }
  if (data && hora) return TipoFormato::DataHora;
  if (data) return TipoFormato::Data;
  if (hora) return TipoFormato::Hora;
  return TipoFormato::Numero;
}

FormatoNumero formatoEmbutido(int id) {
  return {tipoFormatoEmbutido(id), 0};
}

FormatoNumero formatoDoCodigo(std::string_view codigo) {
  FormatoNumero f{tipoFormatoCodigo(codigo), 0};
  if (f.tipo != TipoFormato::Numero) return f;
  // The first section without its colour or locale ("[Red]", "[$-416]"); a condition ("[>99]")
  // may send a number to another section, so it is left alone.
  std::string_view s = codigo.substr(0, codigo.find(';'));
  while (s.starts_with('[')) {
    const size_t fecha = s.find(']');
    if (fecha == std::string_view::npos || (s.size() > 1 && (s[1] == '<' || s[1] == '>' || s[1] == '=')))
      return f;
    s.remove_prefix(fecha + 1);
  }
  if (s.empty() || s.find_first_not_of("0#") != std::string_view::npos) return f;
  const size_t zeros = static_cast<size_t>(std::count(s.begin(), s.end(), '0'));
  f.digitos = static_cast<uint8_t>(std::min<size_t>(zeros > 1 ? zeros : 0, 255));
  return f;
}

namespace {

// Days since 1970-01-01 -> civil date (Howard Hinnant's algorithm).
Data civilDeDias(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

constexpr long long kDias1899_12_30 = -25569;  // days from 1970-01-01
constexpr long long kDias1904_01_01 = -24107;

std::string textoHora(long long segundos) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", static_cast<int>(segundos / 3600),
                static_cast<int>(segundos / 60 % 60), static_cast<int>(segundos % 60));
  return buf;
}

}  // namespace

std::string textoSerial(double serial, TipoFormato tipo, bool base1904, int estilo) {
  if (!std::isfinite(serial) || serial < 0 || serial >= 2958466) return {};
  long long dias = static_cast<long long>(std::floor(serial));
  long long segundos = std::llround((serial - static_cast<double>(dias)) * 86400.0);
  if (segundos >= 86400) {
    segundos -= 86400;
    ++dias;
  }
  if (tipo == TipoFormato::Hora) return textoHora(segundos);
  Data d;
  if (base1904) {
    d = civilDeDias(kDias1904_01_01 + dias);
  } else if (dias == 0) {
    d = {1900, 1, 0};  // the spreadsheet's day zero
  } else if (dias == 60) {
    d = {1900, 2, 29};  // the leap day 1900 never had, kept for compatibility with Lotus
  } else {
    d = civilDeDias(kDias1899_12_30 + dias + (dias < 60 ? 1 : 0));
  }
  std::string r = formataData(d, estilo);
  if (tipo == TipoFormato::DataHora) r.append(1, ' ').append(textoHora(segundos));
  return r;
}

std::string textoDoNumero(double v, FormatoNumero formato, bool base1904, int estilo) {
  if (formato.tipo != TipoFormato::Numero) {
    std::string d = textoSerial(v, formato.tipo, base1904, estilo);
    if (!d.empty()) return d;
  }
  std::string s = formataNumero(v, estilo);
  // Whole numbers written in full (no exponent) get the format's zeros in front.
  const size_t sinal = s.starts_with('-') ? 1 : 0;
  if (formato.digitos > s.size() - sinal && s.find_first_not_of("0123456789", sinal) == std::string::npos)
    s.insert(sinal, formato.digitos - (s.size() - sinal), '0');
  return s;
}

std::string textoDataIso(std::string_view iso, int estilo) {
  try {
    const DataHora dh = lerDataHora(std::string(iso), 1);
    std::string r = formataData(dh.data, estilo);
    if (dh.hora.hora || dh.hora.minuto || dh.hora.segundo)
      r.append(1, ' ').append(textoHora(dh.hora.hora * 3600LL + dh.hora.minuto * 60 + dh.hora.segundo));
    return r;
  } catch (const std::exception&) {
    return std::string(iso);
  }
}

std::string textoNumero(std::string_view bruto, int estilo) {
  size_t i = 0, f = bruto.size();
  while (i < f && (bruto[i] == ' ' || bruto[i] == '\t' || bruto[i] == '\n' || bruto[i] == '\r'))
    ++i;
  while (f > i &&
         (bruto[f - 1] == ' ' || bruto[f - 1] == '\t' || bruto[f - 1] == '\n' || bruto[f - 1] == '\r'))
    --f;
  if (i == f) return {};
  const char* p = bruto.data() + i;
  if (*p == '+') ++p;
  double v = 0;
  auto r = std::from_chars(p, bruto.data() + f, v);
  if (r.ec != std::errc() || r.ptr != bruto.data() + f || !std::isfinite(v)) return std::string(bruto);
  return formataNumero(v, estilo);
}

std::string textoBooleano(std::string_view bruto, int estilo) {
  const bool verdadeiro = bruto == "1" || bruto == "true";
  if (!verdadeiro && bruto != "0" && bruto != "false") return std::string(bruto);
  if (estilo == 2) return verdadeiro ? "TRUE" : "FALSE";
  return verdadeiro ? "VERDADEIRO" : "FALSO";
}

namespace {

// The UTF-16 unit of an escape "_xHHHH_" at p, or -1.
int unidadeEscapada(const std::string& s, size_t p) {
  if (p + 7 > s.size() || s[p] != '_' || s[p + 1] != 'x' || s[p + 6] != '_') return -1;
  int codigo = 0;
  for (size_t k = p + 2; k < p + 6; ++k) {
    const char c = s[k];
    const int h = (c >= '0' && c <= '9')   ? c - '0'
                  : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                  : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                           : -1;
    if (h < 0) return -1;
    codigo = codigo * 16 + h;
  }
  return codigo;
}

}  // namespace

void decodificaEscapes(std::string& s) {
  size_t p = s.find("_x");
  if (p == std::string::npos) return;
  std::string r;
  r.reserve(s.size());
  size_t i = 0;
  while (p != std::string::npos) {
    r.append(s, i, p - i);
    const int codigo = unidadeEscapada(s, p);
    if (codigo >= 0) {
      // The escapes are UTF-16 units: a high and a low surrogate make one character. A lone
      // surrogate stays as its own (ill-formed) sequence, which the database checks refuse.
      const int baixo = codigo >= 0xD800 && codigo < 0xDC00 ? unidadeEscapada(s, p + 7) : -1;
      if (baixo >= 0xDC00 && baixo < 0xE000) {
        r += paraUtf8(
            std::u32string(1, static_cast<char32_t>(0x10000 + ((codigo - 0xD800) << 10) + (baixo - 0xDC00))));
        i = p + 14;
      } else {
        r += paraUtf8(std::u32string(1, static_cast<char32_t>(codigo)));
        i = p + 7;
      }
    } else {
      r.append(s, p, 2);
      i = p + 2;
    }
    p = s.find("_x", i);
  }
  r.append(s, i, std::string::npos);
  s = std::move(r);
}

}  // namespace zuv
