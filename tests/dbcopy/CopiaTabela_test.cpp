#include "dbcopy/CopiaTabela.h"

#include "dbcopy/AmbienteCopia.h"
#include "dbcopy/ParBancos.h"

namespace zuv::teste {
namespace {

using Linhas = BancoDeTeste::Linhas;

class CopiaTabelaTest : public AmbienteCopiaComDados {
 protected:
  Resultado copia() {
    return roda(
        [&](ContextoExecucao& ctx, const OpcoesCopia& o) {
          auto bancos = AbreBancos(ctx, o.origem, o.destino);
          return MigraProduto(ctx, *bancos, kTabelaClientes);
        },
        opcoes());
  }
};

TEST_F(CopiaTabelaTest, TheDestinationEndsWithExactlyTheOriginsRowsValueByValue) {
  destino->executaIsql("ALTER TABLE CLIENTE ADD C_SO_DESTINO VARCHAR(10) DEFAULT 'PADRAO'");
  EXPECT_EQ(copia(), Resultado::concluido());
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"Fim da Importação"});
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Nenhum);
  EXPECT_EQ(tela.textos["lblQT"], "Importados 3");
  EXPECT_EQ(tela.cursores, (std::vector<bool>{true, false}));
  EXPECT_EQ(tela.progressos, (std::vector<int>{0, 33, 67, 100}));

  // Every column the origin has (LIBERAMENSAL apart), with its exact type: timestamps with their time,
  // decimals to the last digit, texts with their blanks ('' stays ''), booleans, times, text blobs.
  std::string lista = "IDCLIENTE, DATACADASTRO, ENDERECO";
  for (const auto& c : valores(*origem,
                               "select trim(RDB$FIELD_NAME) from RDB$RELATION_FIELDS where "
                               "RDB$RELATION_NAME = 'CLIENTE' and RDB$FIELD_NAME not in "
                               "('IDCLIENTE', 'DATACADASTRO', 'ENDERECO', 'LIBERAMENSAL')"))
    lista += ", " + c[0].comoTexto();
  const Valores o = valores(*origem, "select " + lista + " from CLIENTE order by 1");
  EXPECT_EQ(valores(*destino, "select " + lista + " from CLIENTE order by 1"), o);
  ASSERT_EQ(o.size(), 3u);
  // LIBERAMENSAL is never written and a column the origin lacks is left out: both get their defaults.
  EXPECT_EQ(BancoDeTeste::consulta(destino->caminho(),
                                   "select IDCLIENTE, LIBERAMENSAL, C_SO_DESTINO, octet_length(CLIENTE), "
                                   "ascii_val(substring(CLIENTE from 8 for 1)), ascii_val(substring(CLIENTE "
                                   "from 9 for 1)), C_BOOL from CLIENTE order by 1"),
            (Linhas{{"1", "N", "PADRAO", "12", "193", "86", "<true>"},
                    {"2", "N", "PADRAO", "15", "32", "129", "<false>"},
                    {"3", "N", "PADRAO", "<null>", "<null>", "<null>", "<null>"}}));
  EXPECT_EQ(
      notas("Colunas de CLIENTE que a origem não tem, deixadas com o valor padrão do destino: C_SO_DESTINO")
          .size(),
      1u);
  ASSERT_EQ(notas("Cópia de segurança de ").size(), 1u);  // taken before the destination's rows went
  EXPECT_TRUE(fs::exists(destino->pastaDados() / "copias")) << tela.notas[0];
}

// Whatever stops the copy, the destination keeps the rows it had.
TEST_F(CopiaTabelaTest, ACopyThatStopsLeavesTheDestinationAsItWas) {
  struct Caso {
    const char* nome;
    const char* naOrigem;
    const char* noDestino;
    std::vector<std::string> mensagens;  // each message's beginning
    const char* lblQT;
  };
  const std::vector<Caso> casos = {
      {"a gap in the keys",
       "DELETE FROM CLIENTE WHERE IDCLIENTE = 3; INSERT INTO CLIENTE (IDCLIENTE) VALUES (4)",
       "",
       {"Erro ao inserir o Registro 3 Exluir o registro que não possui a chave primária.",
        "O campo está em branco"},
       "Registro com Erro 3"},
      {"customers the destination cannot delete",
       "",
       "INSERT INTO CLIENTECOBRANCA (IDCLIENTECOBRANCA, IDCLIENTE) VALUES (1, 5)",
       {"Os registros da tabela CLIENTE do banco de destino não podem ser apagados: "},
       ""},
      {"a row the destination refuses",
       "",
       "ALTER TABLE CLIENTE ADD CONSTRAINT CK_TESTE CHECK (IDCLIENTE <> 3)",
       {"Erro na Tabela CLIENTE REGISTRO 3: "},
       "RegErro 3"},
      {"binary data",
       "ALTER TABLE CLIENTE ADD C_BIN BLOB SUB_TYPE 0; UPDATE CLIENTE SET C_BIN = 'xyz'",
       "ALTER TABLE CLIENTE ADD C_BIN BLOB SUB_TYPE 0",
       {"Erro na Tabela CLIENTE: A coluna C_BIN guarda dados binários que esta cópia não grava."},
       ""},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    SetUp();
    if (*caso.naOrigem) origem->executaIsql(caso.naOrigem);
    if (*caso.noDestino) destino->executaIsql(caso.noDestino);
    const EstadoBanco antes = estadoDoBanco(*destino);
    tela = TelaGravadora();
    EXPECT_EQ(copia().desfecho, Resultado::Desfecho::Falhou);
    const auto textos = tela.textosDasMensagens();
    ASSERT_EQ(textos.size(), caso.mensagens.size());
    for (size_t i = 0; i < textos.size(); ++i)
      EXPECT_TRUE(textos[i].starts_with(caso.mensagens[i])) << textos[i];
    EXPECT_EQ(tela.textos["lblQT"], caso.lblQT);
    EXPECT_EQ(estadoDoBanco(*destino), antes);
  }
}

}  // namespace
}  // namespace zuv::teste
