#include "fiscal/ConfiguracaoFiscal.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fiscal/CodigosFiscais.h"

namespace zuv {

namespace {

std::string doAmbiente(const char* variavel) {
  const char* v = std::getenv(variavel);
  return v ? std::string(v) : std::string();
}

// "chave=valor" lines; blanks around both, "#" and ";" comments and "[section]" lines ignored.
std::string doArquivo(const std::string& pasta, std::string_view chave) {
  std::ifstream f(std::filesystem::path(pasta) / kArquivoTabelasFiscais);
  for (std::string linha; std::getline(f, linha);) {
    const std::string_view l = semBrancos(linha);
    const size_t igual = l.find('=');
    if (l.empty() || l[0] == '#' || l[0] == ';' || igual == std::string_view::npos) continue;
    if (semBrancos(l.substr(0, igual)) != chave) continue;
    const std::string valor(semBrancos(l.substr(igual + 1)));
    if (valor.empty()) return {};
    const std::filesystem::path p(valor);
    return p.is_absolute() ? valor : (std::filesystem::path(pasta) / p).string();
  }
  return {};
}

std::string escolhe(const std::string& dado, const char* variavel, const std::string& pasta,
                    std::string_view chave) {
  if (!dado.empty()) return dado;
  if (std::string v = doAmbiente(variavel); !v.empty()) return v;
  return doArquivo(pasta, chave);
}

}  // namespace

CaminhosTabelasFiscais caminhosTabelasFiscais(const std::string& pastaPrograma,
                                              const CaminhosTabelasFiscais& dados) {
  return {escolhe(dados.ncm, kVariavelTabelaNcm, pastaPrograma, "ncm"),
          escolhe(dados.cest, kVariavelTabelaCest, pastaPrograma, "cest")};
}

}  // namespace zuv
