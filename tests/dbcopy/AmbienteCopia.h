#pragma once
// Two test databases side by side for the database copy: the origin (tests/dbcopy/origem.sql) and a
// destination made from the bare schema, optionally holding a catalogue and customers of its own.
#include <fstream>
#include <memory>
#include <sstream>

#include "common/Operacao.h"
#include "dbcopy/ZUVProduto.h"
#include "platform/Conexao.h"
#include "shell/ContextoExecucao.h"
#include "support/BancoDeTeste.h"
#include "support/EstadoBanco.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {

namespace fs = std::filesystem;
using Valores = std::vector<std::vector<Valor>>;

// The customer columns of every type the origin has, for a destination that should have them too.
inline constexpr const char* kClientesTipados =
    "ALTER TABLE CLIENTE ADD C_SMALL SMALLINT, ADD C_BIG BIGINT, ADD C_DEC DECIMAL(18,4), "
    "ADD C_DBL DOUBLE PRECISION, ADD C_FLT FLOAT, ADD C_CHAR CHAR(5), ADD C_DATA DATE, ADD C_HORA TIME, "
    "ADD C_BOOL BOOLEAN, ADD C_MEMO BLOB SUB_TYPE TEXT;";

// A destination with a catalogue of its own: unit UN, group MERCEARIA, fiscal operation 3 like the
// origin's 1, stock items 1 to 5 with the barcodes "1" to "5", and customers 1 to 5.
inline constexpr const char* kDestinoComDados = R"(
INSERT INTO UNIDADE (IDUNIDADE, DESCRICAO, MEDIDAFRACAO, METRAGEM, QTDECIMAL) VALUES (4, 'UN', 'N', 'N', 0);
INSERT INTO PRODUTOGRUPO (IDPRODGRUPO, DESCRICAO) VALUES (8, 'MERCEARIA');
INSERT INTO TRIBCFOP (IDTRIBCFOP, DESCRICAO, CODFISCAL, CSOSN, CSTSAT) VALUES (3, 'VENDA', '5102', '102', '00');
INSERT INTO PRODUTO (IDPRODUTO, DESCRICAO) VALUES (20, 'ARROZ');
INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDUNIDADE, IDPRODGRUPO, BARRA) VALUES (1, 20, 4, 8, '1');
INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDUNIDADE, IDPRODGRUPO, BARRA) VALUES (2, 20, 4, 8, '2');
INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDUNIDADE, IDPRODGRUPO, BARRA) VALUES (3, 20, 4, 8, '3');
INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDUNIDADE, IDPRODGRUPO, BARRA) VALUES (4, 20, 4, 8, '4');
INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDUNIDADE, IDPRODGRUPO, BARRA) VALUES (5, 20, 4, 8, '5');
INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDUNIDADE, IDPRODGRUPO, BARRA) VALUES (9, 20, 4, 8, '7');
INSERT INTO CLIENTE (IDCLIENTE, CLIENTE) VALUES (1, 'ANTIGO 1');
INSERT INTO CLIENTE (IDCLIENTE, CLIENTE) VALUES (2, 'ANTIGO 2');
INSERT INTO CLIENTE (IDCLIENTE, CLIENTE) VALUES (5, 'ANTIGO 5');
)";

class AmbienteCopia : public ComEstilo {
 protected:
  void SetUp() override {
    ComEstilo::SetUp();
    origem = std::make_unique<BancoDeTeste>();
    destino = std::make_unique<BancoDeTeste>();
    origem->carregaFixture("../dbcopy/origem.sql");
  }

  OpcoesCopia opcoes(ModoCopia modo = ModoCopia::IncluirProdutos, bool cliente = false) const {
    OpcoesCopia o;
    o.origem = origem->caminho().string();
    o.destino = destino->caminho().string();
    o.modo = modo;
    o.cliente = cliente;
    return o;
  }

  // Runs one of the form's runs in a context over the destination's program folder, as a front end
  // does (an end of the program becomes the outcome).
  template <class Rotina>
  Resultado roda(Rotina rotina, const OpcoesCopia& o, OpcoesExecucao execucao = {}) {
    return executaOperacao(tela, [&](Tela&) {
      ContextoExecucao ctx(tela, destino->pastaPrograma().string(), execucao);
      return executaNoContexto(ctx, [&](ContextoExecucao& c) { return rotina(c, o); });
    });
  }

  // Every row of a query through the program's own reading of values (exact types).
  static Valores valores(const BancoDeTeste& banco, const std::string& sql) {
    Conexao c(banco.textoConexao());
    return consultaValores(c, sql);
  }

  // The side notes (backup, change report, what was left out) that begin with inicio.
  std::vector<std::string> notas(const std::string& inicio) const {
    std::vector<std::string> r;
    for (const std::string& n : tela.notas)
      if (n.starts_with(inicio)) r.push_back(n);
    return r;
  }

  long conta(const BancoDeTeste& banco, const std::string& tabela) const {
    return std::stol(banco.valor("select count(*) from " + tabela));
  }

  std::unique_ptr<BancoDeTeste> origem, destino;
};

// The same, the destination holding a catalogue and typed customers of its own.
class AmbienteCopiaComDados : public AmbienteCopia {
 protected:
  void SetUp() override {
    AmbienteCopia::SetUp();
    destino->executaIsql(kDestinoComDados);
    destino->executaIsql(kClientesTipados);
  }
};

}  // namespace zuv::teste
