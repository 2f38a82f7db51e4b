#pragma once
// Conversion between the program's UTF-8 and the Windows-1252 bytes the ZUV database keeps.
#include <string>
#include <string_view>

namespace zuv {

// Every byte has a character: 0x80-0x9F follow the Windows table, its five unassigned bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number.
std::string de1252(std::string_view bytes);

// True when Windows-1252 has a byte for the character.
bool em1252(char32_t c);

// Throws ErroConversao naming the first character that Windows-1252 cannot hold.
std::string para1252(std::string_view utf8);

// True when s is well-formed UTF-8.
bool utf8Valido(std::string_view s);

}  // namespace zuv
