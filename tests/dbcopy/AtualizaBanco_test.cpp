// The predefined migration between two fixture databases: an origin with a catalogue (items
// sharing products and NCM records, grade groups, fiscal operations, texts with quotes) and a
// destination with stock history, sales, comandas, accounts and a CFOP link of its own.
#include "dbcopy/AtualizaBanco.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "common/Texto.h"
#include "dbcopy/IncluiProdutos.h"
#include "dbcopy/NCMCFOPDestino.h"
#include "dbcopy/ParBancos.h"
#include "dbcopy/RegistrosReferencia.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"
#include "schema/Tabelas.h"
#include "shell/ContextoExecucao.h"
#include "support/BancoDeTeste.h"
#include "support/EstadoBanco.h"
#include "support/TelaGravadora.h"

namespace zuv::teste {
namespace {

// Origin stock items 3..42 on top of the fixture's two: products shared by several items, NCM
// records shared by many (one without a code, one whose identifier collides with the numbers the
// destination gives out, one with a quote and a description too long for its column), idTribCFOP
// 0 without a record 0, and a grade group.
std::string itensOrigem() {
  // An older origin without the link to TRIBCFOP holds 0 for "no fiscal operation".
  std::string sql =
      "ALTER TABLE PRODUTOESTOQUE DROP CONSTRAINT FK_PRODUTOESTOQUE_TRIBCFOP;\n"
      "INSERT INTO NCM (IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO) VALUES (500, '22021000', "
      "'AGUA D''OURO COM GAS E SABOR LIMAO', 1);\n"
      "INSERT INTO NCM (IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO) VALUES (3, '', 'SEM CODIGO', 1);\n"
      "INSERT INTO NCM (IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO) VALUES (600, '04012010', '" +
      std::string(240, 'L') +
      "', 1);\n"
      "INSERT INTO SUBGRUPO (IDSUBGRUPO, DESCRICAO) VALUES (2, 'BEBIDAS');\n"
      "INSERT INTO FABRICANTE (IDFABRICANTE, APELIDO, NOMERAZAO, ENDERECO) VALUES (4, 'D''AVILA', "
      "'D''AVILA & CIA', 'RUA 7');\n"
      "INSERT INTO TRIBCFOP (IDTRIBCFOP, TIPO, DESCRICAO, CODFISCAL, LOCKED, MENSAGEMNF, TRIBUTAICMS, "
      "REDICMS, PORCINSS) VALUES (3, 'S', 'ISENTO', '5102', 'N', 'ISENTO DE ICMS', 'N', 12.5, 0.25);\n";
  const char* ncms[] = {"500", "1", "2", "3", "NULL", "600"};
  const char* cfops[] = {"1", "2", "0", "3", "NULL"};
  for (int p = 3; p <= 12; ++p)
    sql += "INSERT INTO PRODUTO (IDPRODUTO, DESCRICAO, DESCRICAOIMP) VALUES (" + std::to_string(p) +
           ", 'PRODUTO NUMERO " + std::to_string(p) + "', " +
           (p % 3 ? "'IMPRESSO " + std::to_string(p) + "'" : std::string("NULL")) + ");\n";
  for (int i = 3; i <= 42; ++i) {
    const std::string n = std::to_string(i);
    sql +=
        "INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDPRODGRUPO, IDSUBGRUPO, IDFABRICANTE, "
        "IDLOCAL, "
        "IDUNIDADE, IDTRIBCFOP, IDNCM, BARRA, CUSTOBRUTO, VENDAATUAL, ESTOQUEATUAL, ATIVO, TIPOESTOQUE, "
        "DATACADASTRO, VALIDADEPRECO, MEIO, IDGRADESIMILAR, PRODUTOMASTER, TAMANHOGRADE, CORGRADE) VALUES (" +
        n + ", " + (i == 42 ? std::string("NULL") : std::to_string(3 + i % 10)) + ", " +
        std::to_string(1 + i % 2) + ", " + (i % 4 ? "2" : "NULL") + ", " + (i % 5 ? "4" : "1") + ", 1, " +
        std::to_string(1 + i % 2) + ", " + cfops[i % 5] + ", " + ncms[i % 6] + ", '789" + n + "', " + n +
        ".1234, " + n + ".99, " + n + ".125, 'S', 1, '03/0" + std::to_string(1 + i % 9) +
        "/2024 14:15:16', '12/31/2025', 'D''AGUA', " + (i % 7 ? std::string("NULL") : "1") + ", " +
        (i % 7 ? "NULL" : "'M1'") + ", 'G', 'AZUL');\n";
  }
  return sql;
}

// The destination's own catalogue differs from the origin's: unit 1 is another unit, unit 9 and
// sub-group 9 exist only there.
const char* kDestinoProprio =
    "UPDATE UNIDADE SET DESCRICAO = 'CX', MEDIDAFRACAO = 'S', QTDECIMAL = 2 WHERE IDUNIDADE = 1;\n"
    "INSERT INTO UNIDADE (IDUNIDADE, DESCRICAO, MEDIDAFRACAO, METRAGEM, QTDECIMAL) VALUES (9, 'PCT', 'N', "
    "'N', 0);\n"
    "INSERT INTO SUBGRUPO (IDSUBGRUPO, DESCRICAO) VALUES (9, 'SO NO DESTINO');\n";

// Links a store's database may enforce beyond the fixture's: details to their headers.
const char* kChavesDaLoja =
    "ALTER TABLE ESTOQUEMOVDETALHE ADD CONSTRAINT FK_T1 FOREIGN KEY (IDESTOQUEMOV) REFERENCES ESTOQUEMOV;\n"
    "ALTER TABLE PEDIDOCOMPRAITEM ADD CONSTRAINT FK_T2 FOREIGN KEY (IDPEDIDOCOMPRA) REFERENCES "
    "PEDIDOCOMPRA;\n"
    "ALTER TABLE CONTACLIENTE ADD CONSTRAINT FK_T3 FOREIGN KEY (IDCONTA) REFERENCES CONTA;\n"
    "ALTER TABLE CAIXAFECHAMENTO ADD CONSTRAINT FK_T4 FOREIGN KEY (IDCAIXA) REFERENCES CAIXA;\n"
    "ALTER TABLE MOVIMENTOOBS ADD CONSTRAINT FK_T5 FOREIGN KEY (IDNFSAIDA) REFERENCES NFSAIDA;\n";

// Each stock item's NCM code, wherever the NCM record sits.
const std::string kCodigosNCM = "PRODUTOESTOQUE E left join NCM N on N.IDNCM = E.IDNCM";

// Columns of the catalogue the migration carries over unchanged, per table: for the stock items and
// fiscal operations, those the origin fills (the others are null on both sides).
const std::map<std::string, std::string> kCatalogo = {
    {"PRODUTOESTOQUE",
     "IDITEMPRODUTO, IDPRODUTO, IDPRODGRUPO, IDSUBGRUPO, IDFABRICANTE, IDLOCAL, IDUNIDADE, "
     "nullif(IDTRIBCFOP, 0), BARRA, CUSTOLIQUIDO, CUSTOBRUTO, VENDAATUAL, ESTOQUEATUAL, ATIVO, TIPOESTOQUE, "
     "DATACADASTRO, VALIDADEPRECO, MEIO, IDGRADESIMILAR, PRODUTOMASTER, TAMANHOGRADE, CORGRADE"},
    {"PRODUTO", "IDPRODUTO, DESCRICAO, DESCRICAOIMP"},
    {"UNIDADE where IDUNIDADE < 9", "*"},
    {"PRODUTOGRUPO", "*"},
    {"SUBGRUPO where IDSUBGRUPO < 9", "*"},
    {"LOCALPRODUTO", "*"},
    {"FABRICANTE", "*"},
    {"TRIBCFOP",
     "IDTRIBCFOP, TIPO, DESCRICAO, CODFISCAL, ORIGEMPRODUTO, LOCKED, MENSAGEMNF, TRIBUTAICMS, REDICMS, "
     "PORCINSS"},
    {kCodigosNCM, "E.IDITEMPRODUTO, nullif(N.CODIGONCM, '')"},
};

using Linhas = LinhasValor;

Linhas linhas(const BancoDeTeste& b, const std::string& tabela, const std::string& colunas) {
  Conexao c(b.textoConexao());
  return consultaValores(c, "select " + colunas + " from " + tabela + " order by 1");
}

// Every row of every user table and the two generators.
using Estado = EstadoBanco;
Estado estado(const BancoDeTeste& b) {
  Estado e = estadoDoBanco(b);
  Conexao c(b.textoConexao());
  e["geradores"] = consultaValores(
      c, "select gen_id(GEN_ID_COMANDAMOVIMENTODIA, 0), gen_id(GEN_ID_COMANDAPR, 0) from rdb$database");
  return e;
}

struct Par {
  BancoDeTeste origem, destino;
  TelaGravadora tela;
  Par(const std::string& extraOrigem, const std::string& extraDestino) {
    origem.carregaFixture("zuv_populado.sql");
    if (!extraOrigem.empty()) origem.executaIsql(extraOrigem);
    destino.carregaFixture("zuv_populado.sql");
    destino.executaIsql(std::string(kDestinoProprio) + extraDestino);
  }
  Resultado roda(OpcoesAtualizaBanco opcoes = {}) {
    Conexao o(origem.textoConexao()), d(destino.textoConexao());
    return AtualizaBanco(o, d, tela, opcoes);
  }
};

TEST(AtualizaBanco, DestinoFicaComOCatalogoDaOrigemEOMovimentoVazio) {
  Par par(itensOrigem(), kChavesDaLoja);
  int copias = 0;
  EXPECT_EQ(par.roda({[&](Conexao&) { return ++copias > 0; }, false}), Resultado::concluido());
  EXPECT_EQ(copias, 1);
  EXPECT_EQ(par.tela.textosDasMensagens(), std::vector<std::string>{"Total de Produtos Recuperado  42"});
  EXPECT_EQ(par.tela.mensagens[0].icone, Icone::Informacao);
  EXPECT_EQ(par.tela.textos["Label1"], "42");

  for (const auto& [tabela, colunas] : kCatalogo) {
    const std::string t = tabela == "PRODUTO" ? "PRODUTO where IDPRODUTO > 2" : tabela;
    EXPECT_EQ(linhas(par.destino, t, colunas), linhas(par.origem, t, colunas)) << tabela;
  }
  // The two fixture products: the name cleaned of accents, the printed name whole.
  EXPECT_EQ(linhas(par.destino, "PRODUTO where IDPRODUTO <= 2", "*"),
            (Linhas{{1, "CAFE TORRADO 500G", "CAFE TORRADO 500G"}, {2, "CARNE MOIDA KG", "CARNE MOIDA KG"}}));
  // Records the origin does not name stay; movements are gone; customers stay.
  Estado depois = estado(par.destino);
  EXPECT_EQ(depois["UNIDADE"].back(), (std::vector<Valor>{9, "PCT", "N", "N", 0}));
  EXPECT_EQ(depois["SUBGRUPO"].back(), (std::vector<Valor>{9, "SO NO DESTINO"}));
  for (std::string sql : kLimpaBancoDestino) {
    if (sql.find("elete") == std::string::npos) continue;
    sql = sql.substr(0, sql.find_last_not_of(' ') + 1);
    const std::string tabela = maiusculas(sql.substr(sql.rfind(' ') + 1));
    EXPECT_TRUE(depois.at(tabela).empty()) << tabela;
  }
  EXPECT_EQ(depois["CLIENTE"].size(), 3u);
  EXPECT_TRUE(depois["CLIDONO"][0][6].nulo());
  EXPECT_EQ(depois["geradores"], (Linhas{{0, 0}}));

  // One NCM record per origin NCM with a code, each in a group made for it; the text cut to 250.
  EXPECT_EQ(
      linhas(par.destino, "NCM", "IDNCM, CODIGONCM, char_length(DESCRICAO), IDNCMGRUPO"),
      (Linhas{
          {1, "09012100", 27, 2}, {2, "02013000", 27, 3}, {3, "04012010", 250, 4}, {4, "22021000", 50, 5}}));
  EXPECT_EQ(par.destino.valor("select DESCRICAO from NCM where IDNCM = 4"),
            "AGUA D'OURO COM GAS E SABOR LIMAO - AGUA DOURO COM");

  // A second run finds its NCM groups again instead of adding more.
  EXPECT_EQ(par.roda(), Resultado::concluido());
  EXPECT_EQ(par.destino.valor("select count(*) from NCMGRUPO"), "5");
}

// A refused run leaves the destination exactly as it was, generators included.
TEST(AtualizaBanco, RecusaOuFalhaDeixaODestinoComoEstava) {
  struct Caso {
    const char* nome;
    std::string origem, destino, mensagem;
    int copias;
  } casos[] = {
      {"vinculo de CFOP no destino", "",
       "INSERT INTO TRIBCFOPVINCULO (IDCFOPENTRADA, IDCFOPSAIDA) VALUES (2, 1);\n",
       "Erro ao executar o comando: A tabela TribCFOPVinculo do banco de dados destino tem vínculos entre "
       "operações fiscais (registros: 1) que impedem apagar os registros de TRIBCFOP. Nada foi apagado; "
       "desfaça esses vínculos no destino antes da migração.",
       0},
      {"unidade que a origem nao tem",
       itensOrigem() + "ALTER TABLE PRODUTOESTOQUE DROP CONSTRAINT FK_PRODUTOESTOQUE_UNIDADE;\n"
                       "UPDATE PRODUTOESTOQUE SET IDUNIDADE = 77 WHERE IDITEMPRODUTO = 30;\n",
       "",
       "Erro ao executar o comando: o registro 77 de UNIDADE não existe no banco de dados origem "
       "(IDITEMPRODUTO 30)",
       1},
      {"destino recusa um comando no meio", itensOrigem(),
       "ALTER TABLE PRODUTOESTOQUE ADD CONSTRAINT CK_T CHECK (IDITEMPRODUTO <> 25);\n", "", 1},
  };
  for (Caso& c : casos) {
    Par par(c.origem, c.destino);
    const auto antes = estado(par.destino);
    int copias = 0;
    const Resultado r = par.roda({[&](Conexao&) { return ++copias > 0; }, false});
    EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou) << c.nome;
    ASSERT_EQ(par.tela.mensagens.size(), 1u) << c.nome;
    if (!c.mensagem.empty()) {
      EXPECT_EQ(par.tela.mensagens[0].texto, c.mensagem) << c.nome;
    }
    EXPECT_EQ(par.tela.mensagens[0].texto.rfind("Erro ao executar o comando: ", 0), 0u) << c.nome;
    EXPECT_EQ(copias, c.copias) << c.nome;
    EXPECT_EQ(estado(par.destino), antes) << c.nome;
  }
}

// In a run context: the destination is backed up before the cleanup, into copias/ beside it (not
// beside the program folder's database), under its own name; a dry run changes nothing, generators
// included, and takes no backup (what a run writes: the test above).
TEST(AtualizaBanco, NoContextoCopiaDeSegurancaESimulacao) {
  for (const bool simular : {false, true}) {
    Par par(itensOrigem(), "");
    const auto antes = estado(par.destino);
    std::filesystem::rename(par.destino.caminho(), par.destino.pastaDados() / "DESTINO.FDB");
    ContextoExecucao ctx(par.tela, par.origem.pastaPrograma().string(), {false, simular, false, {}});
    const Resultado r = executaNoContexto(ctx, [&](ContextoExecucao& c) {
      return AtualizaBanco(
          c, c.abreOutra(par.origem.textoConexao()),
          c.abreOutra(textoConexaoCopia((par.destino.pastaDados() / "DESTINO.FDB").string())));
    });
    std::filesystem::rename(par.destino.pastaDados() / "DESTINO.FDB", par.destino.caminho());
    EXPECT_EQ(r, Resultado::concluido()) << simular;
    EXPECT_FALSE(std::filesystem::exists(par.origem.pastaDados() / "copias"));
    const auto pasta = par.destino.pastaDados() / "copias";
    const auto copias =
        std::filesystem::exists(pasta) ? std::distance(std::filesystem::directory_iterator(pasta), {}) : 0;
    EXPECT_EQ(copias, simular ? 0 : 1) << simular;
    if (copias == 1) {
      const std::string nome = std::filesystem::directory_iterator(pasta)->path().filename().string();
      EXPECT_TRUE(nome.starts_with("DESTINO_") && nome.ends_with("_copia-produtos.fbk")) << nome;
    }
    if (simular) {
      EXPECT_EQ(estado(par.destino), antes);
    }
  }
}

TEST(AtualizaBanco, TextosDosComandos) {
  using namespace atualiza;
  const Recordset unidade({{"IDUNIDADE"}, {"DESCRICAO"}, {"MEDIDAFRACAO"}, {"METRAGEM"}, {"QTDECIMAL"}},
                          std::vector<Valor>{3, "UN'", "N", Valor(), Decimal{25, 1}});
  const struct {
    std::string obtido, esperado;
  } casos[] = {
      {insercaoReferencia(kUnidade, unidade),
       " Insert Into UNIDADE ( IDUNIDADE,DESCRICAO,                 MEDIDAFRACAO,METRAGEM, QTDECIMAL ) "
       "Values (  3,'UN''','N',Null, 2.5)"},
      {atualizacaoReferencia(kUnidade, unidade, "3"),
       " Update  UNIDADE  Set DESCRICAO = 'UN''',MEDIDAFRACAO = 'N',METRAGEM = Null,QTDECIMAL =  2.5 Where "
       "IDUNIDADE = 3"},
      {insercaoNCM(7, "0901'2100", std::string(32, 'A').replace(10, 1, " "), 2),
       " Insert Into NCM ( IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO ) Values (7,'0901''2100','AAAAAAAAAA "
       "AAAAAAAAAAAAAAAAAAAAA - AAAAAAAAAA AAAA',2)"},
      {insercaoProduto(5, "CAFÉ|PILÃO", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 24),
       " Insert Into Produto (IDPRODUTO, DESCRICAO,DESCRICAOIMP) Values ( "
       "5,'CAFEPILAO','ABCDEFGHIJKLMNOPQRSTUVWX')"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(c.obtido, c.esperado);
}

}  // namespace
}  // namespace zuv::teste
