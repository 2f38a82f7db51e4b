#include "fiscal/LeArquivoTabela.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "fiscal/TabelasFiscais.h"
#include "platform/Windows1252.h"

namespace zuv {

namespace {
constexpr uintmax_t kTamanhoMaximo = 64ull << 20;
}

std::string leArquivoTabela(const std::string& caminho, const std::string& nome) {
  std::error_code erro;
  if (!std::filesystem::is_regular_file(caminho, erro))
    throw ErroTabelaFiscal(nome + " não encontrada: " + caminho);
  const uintmax_t tamanho = std::filesystem::file_size(caminho, erro);
  if (erro) throw ErroTabelaFiscal(nome + " não pôde ser lida: " + caminho + ": " + erro.message());
  if (tamanho > kTamanhoMaximo)
    throw ErroTabelaFiscal(nome + " grande demais para uma tabela oficial: " + caminho);
  std::ifstream f(caminho, std::ios::binary);
  std::string bytes(tamanho, '\0');
  if (!f.read(bytes.data(), static_cast<std::streamsize>(tamanho)))
    throw ErroTabelaFiscal(nome + " não pôde ser lida: " + caminho + ": " + std::strerror(errno));
  return bytes;
}

std::string textoUtf8(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (utf8Valido(bytes)) return std::string(bytes);
  return de1252(bytes);
}

}  // namespace zuv
