#pragma once
// A temporary folder with an empty VENDAS.FDB made by the database layer itself, removed with the
// object. For the layer's own tests, which need only the tables they create.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Conexao.h"

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

  // The connection string the ZUV program builds, with a POSIX path.
  std::string conexao() const {
    return " provider=LCPI.IBProvider.1;data source=" + caminho +
           "; user id=sysdba;password=quartzine; ctype=none;auto_commit=true;Persist Security Info=True";
  }

  std::string pasta;
  std::string caminho;
};

}  // namespace zuv::teste
