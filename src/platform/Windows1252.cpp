#include "platform/Windows1252.h"

#include <cstdio>

#include "common/Erro.h"
#include "common/Texto.h"

namespace zuv {

namespace {

// 0x80..0x9F; the unassigned bytes map to the C1 control of the same number.
constexpr char16_t kAlto[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byte1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i)
    if (kAlto[i] == c) return 0x80 + i;
  return -1;
}

bool soAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

bool em1252(char32_t c) {
  return byte1252(c) >= 0;
}

std::string de1252(std::string_view bytes) {
  if (soAscii(bytes)) return std::string(bytes);
  std::u32string codigos;
  codigos.reserve(bytes.size());
  for (char c : bytes) {
    const unsigned char b = c;
    codigos += (b >= 0x80 && b < 0xA0) ? char32_t{kAlto[b - 0x80]} : char32_t{b};
  }
  return paraUtf8(codigos);
}

std::string para1252(std::string_view utf8) {
  if (soAscii(utf8)) return std::string(utf8);
  if (!utf8Valido(utf8))
    throw ErroConversao("O texto não é UTF-8 válido; o comando não foi enviado ao banco de dados.");
  std::string out;
  out.reserve(utf8.size());
  for (char32_t c : paraCodigos(utf8)) {
    const int b = byte1252(c);
    if (b < 0) {
      char codigo[16];
      std::snprintf(codigo, sizeof codigo, "U+%04X", static_cast<unsigned>(c));
      throw ErroConversao("O caractere \"" + textoVisivel(paraUtf8(std::u32string(1, c))) + "\" (" + codigo +
                          ") não existe na página de código Windows-1252 do banco de dados; "
                          "o comando não foi executado.");
    }
    out += static_cast<char>(b);
  }
  return out;
}

bool utf8Valido(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = s[i];
    int n;
    char32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c >> 5) == 6) {
      n = 1;
      cp = c & 0x1F;
    } else if ((c >> 4) == 14) {
      n = 2;
      cp = c & 0x0F;
    } else if ((c >> 3) == 30) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (int k = 1; k <= n; ++k) {
      const unsigned char d = s[i + k];
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

}  // namespace zuv
