#pragma once
// A fresh ZUV database (the schema fixture, and another fixture over it when one is named), its
// program folder and an open connection, for the customer and tax runs' tests.

#include "platform/Conexao.h"
#include "shell/ContextoExecucao.h"
#include "support/BancoDeTeste.h"
#include "support/EstiloRegional.h"
#include "support/PlanilhaDeTeste.h"

namespace zuv::teste {

namespace fs = std::filesystem;
// Rows of cells (see planilha for how a workbook holds them).
using Tabela = BancoDeTeste::Linhas;

class AmbienteBanco : public ComEstilo {
 protected:
  explicit AmbienteBanco(const char* fixture = nullptr) : fixture_(fixture) {}
  void SetUp() override {
    ComEstilo::SetUp();
    banco = std::make_unique<BancoDeTeste>();
    if (fixture_) banco->carregaFixture(fixture_);
    pasta = banco->pastaPrograma();
    conexao = std::make_unique<Conexao>(banco->textoConexao());
  }
  // Every row of a query, each field as its regional text, "<null>" marking nulls.
  Tabela linhas(const std::string& sql) {
    Tabela r;
    for (Recordset rs = conexao->abre(sql); !rs.eof(); rs.proximo()) {
      r.emplace_back();
      for (int i = 0; i < rs.totalCampos(); ++i)
        r.back().push_back(rs.valor(i).nulo() ? "<null>" : rs.valor(i).textoRegional(1));
    }
    return r;
  }
  std::string um(const std::string& sql) { return linhas(sql).at(0).at(0); }
  long conta(const std::string& tabela) { return std::stol(um("select count(*) from " + tabela)); }
  // A run as the front ends start it: in a context over the test's program folder and connection.
  Resultado executa(const Execucao& execucao, OpcoesExecucao opcoes = {}) {
    ContextoExecucao ctx(tela, pasta.string(), std::move(opcoes));
    ctx.usaConexao(*conexao);
    return executaNoContexto(ctx, execucao);
  }

  // Destroyed in reverse order: the connection before its database.
  std::unique_ptr<BancoDeTeste> banco;
  fs::path pasta;  // the program folder, where the workbooks go
  std::unique_ptr<Conexao> conexao;

 private:
  const char* fixture_;
};

class AmbienteClientes : public AmbienteBanco {
 protected:
  // Customers 1, 2, ... named nomes, each with a row in every dependent table (keyed "ID" + the
  // table's name); those in comVenda also have a sale, so a deletion keeps them.
  void clientes(const std::vector<std::string>& nomes, const std::vector<int>& comVenda = {}) {
    for (size_t i = 1; i <= nomes.size(); ++i) {
      const std::string id = std::to_string(i);
      conexao->executa("insert into cliente (idcliente, cliente) values (" + id + ", '" + nomes[i - 1] +
                       "')");
      for (const std::string& t : kDependentes)
        conexao->executa("insert into " + t + " (ID" + t + ", idcliente) values (" + id + ", " + id + ")");
    }
    for (int i : comVenda)
      conexao->executa("insert into nfsaida (idnfsaida, idcliente, numeronf) values (" + std::to_string(i) +
                       ", " + std::to_string(i) + ", 1)");
  }
  inline static const std::vector<std::string> kDependentes = {
      "ClienteCobranca", "ClienteEntrega",  "cliconta",    "CliTrab",
      "CLIREF",          "ClienteAnotacao", "Contacliente"};
};

}  // namespace zuv::teste
