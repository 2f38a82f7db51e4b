#include "common/Texto.h"

#include <cstdio>

namespace zuv {

std::string apara(std::string_view s) {
  size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  size_t b = s.find_last_not_of(' ');
  return std::string(s.substr(a, b - a + 1));
}

std::string aparaBrancos(std::string_view s) {
  const char* brancos = " \t\r\n";
  const size_t a = s.find_first_not_of(brancos);
  if (a == std::string_view::npos) return {};
  return std::string(s.substr(a, s.find_last_not_of(brancos) - a + 1));
}

std::string minusculas(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool soDigitos(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string semPontos(std::string_view s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s)
    if (c != '.') r += c;
  return r;
}

std::u32string paraCodigos(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      out += c;
      ++i;
      continue;
    }
    const int n = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
    char32_t cp = c & (0x3F >> n);
    bool ok = n > 0 && i + n < s.size();
    for (int k = 1; ok && k <= n; ++k) {
      const unsigned char d = s[i + k];
      ok = (d & 0xC0) == 0x80;
      cp = (cp << 6) | (d & 0x3F);
    }
    if (ok) {
      out += cp;
      i += n + 1;
    } else {
      out += U'\uFFFD';
      ++i;
    }
  }
  return out;
}

std::string paraUtf8(std::u32string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char32_t c : s) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

char32_t maiuscula(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  if (c == 0xFF) return 0x178;                               // ÿ -> Ÿ
  if (c == 0x153 || c == 0x161 || c == 0x17E) return c - 1;  // œ š ž
  return c;
}

std::string maiusculas(std::string_view s) {
  bool ascii = true;
  for (char c : s)
    ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    std::string out(s);
    for (char& c : out)
      if (c >= 'a' && c <= 'z') c -= 32;
    return out;
  }
  std::u32string cps = paraCodigos(s);
  for (char32_t& c : cps)
    c = maiuscula(c);
  return paraUtf8(cps);
}

std::string esquerda(std::string_view s, size_t n) {
  size_t i = 0, contados = 0;
  while (i < s.size() && contados < n) {
    const unsigned char c = s[i];
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80 && c >= 0xC0)
      ++i;
    ++contados;
  }
  return std::string(s.substr(0, i));
}

bool caractereDeControle(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

std::string textoVisivel(std::string_view s, bool mantemQuebras) {
  std::string out;
  out.reserve(s.size());
  auto escapa = [&](const char* formato, unsigned v) {
    char b[8];
    std::snprintf(b, sizeof b, formato, v);
    out += b;
  };
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      if (caractereDeControle(c) && !(mantemQuebras && (c == '\n' || c == '\t' || c == '\r')))
        escapa("\\u%04X", c);
      else
        out += static_cast<char>(c);
      ++i;
      continue;
    }
    // A sequence of 2 to 4 bytes; surrogates (0xED 0xA0..0xBF) decode like any other here.
    const int n = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
    char32_t cp = c & (0x3F >> n);
    bool ok = n > 0 && i + n < s.size();
    for (int k = 1; ok && k <= n; ++k) {
      const unsigned char d = s[i + k];
      ok = (d & 0xC0) == 0x80;
      cp = (cp << 6) | (d & 0x3F);
    }
    ok = ok &&
         !((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)));
    if (!ok) {
      escapa("\\x%02X", c);
      ++i;
      continue;
    }
    if (caractereDeControle(cp) || (cp >= 0xD800 && cp <= 0xDFFF))
      escapa("\\u%04X", static_cast<unsigned>(cp));
    else
      out.append(s.substr(i, static_cast<size_t>(n) + 1));
    i += static_cast<size_t>(n) + 1;
  }
  return out;
}

std::string milhares(long long n) {
  std::string digitos = std::to_string(n < 0 ? -n : n), r;
  for (size_t i = 0; i < digitos.size(); ++i) {
    if (i > 0 && (digitos.size() - i) % 3 == 0) r += ' ';
    r += digitos[i];
  }
  return n < 0 ? "-" + r : r;
}

}  // namespace zuv
