#pragma once
// Where the official tables are: the paths the person gives (command-line options, the form's
// fields), else the environment variables ZUV_TABELA_NCM and ZUV_TABELA_CEST, else the lines
// "ncm=" and "cest=" of tabelas_fiscais.ini in the program folder. A relative path in that file
// is taken from the program folder. An empty result means "no table": only the checks that need
// none are made.
#include <string>

namespace zuv {

inline constexpr const char* kVariavelTabelaNcm = "ZUV_TABELA_NCM";
inline constexpr const char* kVariavelTabelaCest = "ZUV_TABELA_CEST";
inline constexpr const char* kArquivoTabelasFiscais = "tabelas_fiscais.ini";

struct CaminhosTabelasFiscais {
  std::string ncm;
  std::string cest;
};

// The paths to use: each one given (not empty) wins over the settings.
CaminhosTabelasFiscais caminhosTabelasFiscais(const std::string& pastaPrograma,
                                              const CaminhosTabelasFiscais& dados = {});

}  // namespace zuv
