#pragma once
// Reading an official table file whole, as published: size limit, byte-order mark, and the
// Windows-1252 some portals still serve.
#include <string>
#include <string_view>

namespace zuv {

// The file's bytes. Throws ErroTabelaFiscal naming the file when it is missing, unreadable or
// larger than the tables ever are (64 MB).
std::string leArquivoTabela(const std::string& caminho, const std::string& nome);

// UTF-8 text without a byte-order mark; bytes that are not UTF-8 are read as Windows-1252.
std::string textoUtf8(std::string_view bytes);

}  // namespace zuv
