#pragma once
// A temporary folder with an empty VENDAS.FDB made by the database layer itself, removed with the
// object. For the layer's own tests, which need only the tables they create.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Conexao.h"
#include "shell/BancoZUV.h"

namespace zuv::teste {

class BancoVazio {
 public:
  explicit BancoVazio(bool criaBanco = true) {
    std::string modelo = (std::filesystem::temp_directory_path() / "zuvdb-XXXXXX").string();
    pasta = mkdtemp(modelo.data());
    caminho = pasta + "/VENDAS.FDB";
    if (criaBanco) Conexao::criaBancoDeDados(caminho, "SYSDBA", "quartzine", false);
  }
  ~BancoVazio() {
    std::error_code ec;
    std::filesystem::remove_all(pasta, ec);
  }
  BancoVazio(const BancoVazio&) = delete;
  BancoVazio& operator=(const BancoVazio&) = delete;

  // The connection string the ZUV program builds.
  std::string conexao() const { return textoConexaoZUV(pasta); }

  std::string pasta;
  std::string caminho;
};

}  // namespace zuv::teste
