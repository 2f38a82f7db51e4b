#pragma once
// Small text helpers shared by the routines that clean and format values. Texts are UTF-8.
#include <string>
#include <string_view>

namespace zuv {

// Removes blanks (spaces) at both ends, as the system's Trim does.
std::string apara(std::string_view s);

// Removes blanks, tabs and line ends at both ends.
std::string aparaBrancos(std::string_view s);

// Lower case for ASCII letters only (keys, names of parts and options).
std::string minusculas(std::string s);

// Whether s is not empty and holds only the digits 0-9.
bool soDigitos(std::string_view s);

// s without its dots ("0901.21.00" -> "09012100").
std::string semPontos(std::string_view s);

// Upper case for ASCII and the Latin letters of Windows-1252 (á -> Á, ç -> Ç, ñ -> Ñ, ÿ -> Ÿ);
// other characters pass unchanged.
std::string maiusculas(std::string_view s);

// The first n characters (code points, not bytes) of s.
std::string esquerda(std::string_view s, size_t n);

// UTF-8 <-> code points. Invalid bytes decode as U+FFFD.
std::u32string paraCodigos(std::string_view s);
std::string paraUtf8(std::u32string_view s);

char32_t maiuscula(char32_t c);

// Whether c is a control character (C0, DEL or C1).
bool caractereDeControle(char32_t c);

// s as a message can show it: control characters and lone surrogates written \u0000, \uD800
// (upper-case hex), bytes that are not UTF-8 written \xFF; everything else unchanged. With
// mantemQuebras, line breaks and tabs stay (for the engine's messages of several lines).
std::string textoVisivel(std::string_view s, bool mantemQuebras = false);

// A count with its thousands apart, as the person reads it: 12040 -> "12 040".
std::string milhares(long long n);

}  // namespace zuv
