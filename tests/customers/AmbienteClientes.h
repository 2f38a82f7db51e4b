#pragma once
// A fresh ZUV database made from the schema fixture, its program folder, and an open connection, for the
// customer runs' tests.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "customers/PlanilhasTeste.h"
#include "platform/Conexao.h"
#include "shell/BancoZUV.h"
#include "support/BancoDeTeste.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {

class AmbienteClientes : public ComEstilo {
 protected:
  void SetUp() override {
    ComEstilo::SetUp();
    banco = std::make_unique<BancoDeTeste>();
    pasta = banco->pastaPrograma();
    conexao = std::make_unique<Conexao>(banco->textoConexao());
  }
  void TearDown() override {
    conexao.reset();
    banco.reset();
    ComEstilo::TearDown();
  }

  // Every row of a query, each field as its regional text ("" for null), "<null>" marking nulls.
  std::vector<std::vector<std::string>> linhas(const std::string& sql) {
    std::vector<std::vector<std::string>> r;
    Recordset rs = conexao->abre(sql);
    for (; !rs.eof(); rs.proximo()) {
      std::vector<std::string> linha;
      for (int i = 0; i < rs.totalCampos(); ++i)
        linha.push_back(rs.valor(i).nulo() ? "<null>" : rs.valor(i).textoRegional(1));
      r.push_back(std::move(linha));
    }
    return r;
  }
  long conta(const std::string& tabela) {
    Recordset rs = conexao->abre("select count(*) from " + tabela);
    return static_cast<long>(rs.valor(0).comoInteiro());
  }

  std::unique_ptr<BancoDeTeste> banco;
  fs::path pasta;  // the program folder, where clientes.xlsx goes
  std::unique_ptr<Conexao> conexao;
};

}  // namespace zuv::teste
