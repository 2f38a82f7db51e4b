#include "platform/Alteracoes.h"

#include <gtest/gtest.h>

#include "common/Erro.h"
#include "platform/BancoVazio.h"
#include "platform/Conexao.h"
#include "platform/Transacao.h"

namespace zuv {
namespace {

TEST(Alteracoes, TabelaDaInstrucao) {
  const std::pair<const char*, const char*> casos[] = {
      {" INSERT INTO Cliente (PF) VALUES ('F')", "CLIENTE"},
      {"Delete From ClienteCobranca where idcliente = 1", "CLIENTECOBRANCA"},
      {"  update Contadet set provpagar = Null", "CONTADET"},
      {"Update  AcompPedidoDet set x = 1", "ACOMPPEDIDODET"},
      {"UPDATE OR INSERT INTO NCM (ID) VALUES (1)", "NCM"},
      {"merge into \"Minha Tabela\" t using x", "Minha Tabela"},
      {"/* c */ -- linha\n delete from T", "T"},
      {"Select * from cliente", ""},
      {"SAVEPOINT X", ""},
  };
  for (auto [sql, tabela] : casos)
    EXPECT_EQ(tabelaDaInstrucao(sql), tabela) << sql;
}

// In atomic mode the run's own transactions are savepoints: a rollback undoes only its own part
// (and takes its counts back); nothing is committed before the run's end, and closing undoes it.
TEST(Alteracoes, ContagemPorTabelaEPontosDeSalvamentoNoModoAtomico) {
  teste::BancoVazio banco;
  Conexao c(banco.conexao());
  c.executa("create table T (ID integer)");
  c.executa("create table U (ID integer)");
  Conexao outra(banco.conexao());
  auto conta = [&](const char* t) {
    return outra.abre(std::string("select count(*) from ") + t).valor(0).comoInteiro();
  };

  c.contaAlteracoes(true);
  c.defineAtomica(true);
  c.executa("insert into T values (1)");
  {
    Transacao t(c);
    c.executa("insert into U values (1)");
    c.executa("update T set ID = ID + 10");
  }  // not confirmed: only U's insert and the update are undone
  EXPECT_THROW(c.executa("insert into NADA values (1)"), ErroBanco);  // a failed statement counts nothing
  EXPECT_EQ(c.alteracoes(), (Alteracoes{{"T", {1, 0, 0}}}));
  EXPECT_EQ(c.abre("select list(ID) from T").valor(0).comoTexto(), "1");
  EXPECT_EQ(conta("T"), 0) << "nothing committed before the run's end";
  c.fecha();
  EXPECT_EQ(conta("T") + conta("U"), 0);
}

}  // namespace
}  // namespace zuv
