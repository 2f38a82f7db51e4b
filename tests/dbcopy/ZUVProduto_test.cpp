#include "dbcopy/ZUVProduto.h"

#include <filesystem>

#include "dbcopy/AmbienteCopia.h"
#include "dbcopy/ParBancos.h"

namespace zuv::teste {
namespace {

using Mensagens = std::vector<std::string>;

using ZUVProdutoTest = AmbienteCopiaComDados;

// The destination given again under another name, for a run whose origin is the destination.
TEST_F(ZUVProdutoTest, OneDatabaseAsOriginAndDestinationIsRefusedHoweverItIsNamed) {
  const fs::path arquivo = destino->caminho();
  const fs::path pasta = arquivo.parent_path();
  fs::create_symlink(arquivo, pasta / "LIGACAO.FDB");
  fs::create_hard_link(arquivo, pasta / "OUTRO_NOME.FDB");
  std::string invertido = arquivo.string();
  std::replace(invertido.begin(), invertido.end(), '/', '\\');
  const std::vector<std::string> nomes = {
      arquivo.string(),
      (pasta.parent_path() / "programa" / ".." / "dados" / "." / "VENDAS.FDB").string(),
      invertido,
      (pasta / "LIGACAO.FDB").string(),
      (pasta / "OUTRO_NOME.FDB").string(),
      "127.0.0.1/3050:" + arquivo.string(),
  };
  const EstadoBanco antes = estadoDoBanco(*destino);
  for (const std::string& nome : nomes) {
    SCOPED_TRACE(nome);
    for (bool individual : {false, true}) {
      tela = TelaGravadora();
      OpcoesCopia o = opcoes(ModoCopia::IncluirProdutos, true);
      o.origem = destino->caminho().string();
      o.destino = nome;
      const Resultado r = individual ? roda(IniciaImportacaoIndividual, o) : roda(IniciaImportacao, o);
      EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
      EXPECT_EQ(tela.textosDasMensagens(), Mensagens{mensagemMesmoBanco(nome)});
    }
  }
  EXPECT_EQ(estadoDoBanco(*destino), antes);
  // Two servers' files are two databases (two files: every other copy test).
  EXPECT_FALSE(mesmoArquivo("servidor1:/dados/VENDAS.FDB", "servidor2:/dados/VENDAS.FDB"));
  EXPECT_TRUE(mesmoArquivo("Servidor1/3050:/dados/VENDAS.FDB", "servidor1:/dados/VENDAS.FDB"));
}

TEST_F(ZUVProdutoTest, ADatabaseThatDoesNotOpenEndsTheProgramWithTheSystemsMessage) {
  for (const std::string ausente : {"*.*", "/nao/existe/VENDAS.FDB", "C:\\ZUV\\Dados\\VENDAS_PORTAS.FDB"}) {
    for (bool naOrigem : {true, false}) {
      SCOPED_TRACE(ausente + (naOrigem ? " (origem)" : " (destino)"));
      tela = TelaGravadora();
      OpcoesCopia o = opcoes();
      (naOrigem ? o.origem : o.destino) = ausente;
      EXPECT_EQ(roda(IniciaImportacao, o), Resultado::encerrar(MotivoFim::Configuracao));
      ASSERT_EQ(tela.mensagens.size(), 1u);
      EXPECT_EQ(tela.mensagens[0].texto, "Erro ao abrir os dados, verifique o caminho do banco de dados ");
    }
  }
}

// Both databases are open during a copy, written or dry: the change report names only the
// destination, and the origin is left as it was.
TEST_F(ZUVProdutoTest, TheChangeReportCountsOnlyTheDestination) {
  const EstadoBanco origemAntes = estadoDoBanco(*origem), destinoAntes = estadoDoBanco(*destino);
  for (bool simular : {true, false}) {  // the dry run first: it leaves the destination as it was
    tela = TelaGravadora();
    OpcoesExecucao execucao;
    execucao.simular = simular;
    EXPECT_EQ(roda(IniciaImportacaoIndividual, opcoes(ModoCopia::IncluirProdutos, true), execucao),
              Resultado::concluido());
    EXPECT_EQ(
        tela.notas.back(),
        std::string(simular ? "Simulação: nada foi gravado em VENDAS.FDB. A operação faria:"
                            : "Alterações gravadas em VENDAS.FDB:") +
            "\n  CLIENTE: 3 incluídas, 0 alteradas, 3 excluídas\n  PRODUTO: 3 incluídas, 0 alteradas, 0 "
            "excluídas\n  PRODUTOESTOQUE: 5 incluídas, 0 alteradas, 0 excluídas\n  PRODUTOGRUPO: 1 "
            "incluídas, 0 alteradas, 0 excluídas\n  UNIDADE: 2 incluídas, 0 alteradas, 0 excluídas");
    if (simular) {
      EXPECT_EQ(estadoDoBanco(*destino), destinoAntes);
    }
  }
  EXPECT_EQ(estadoDoBanco(*origem), origemAntes);
}

// An origin without its key that lists stock item 13 twice (the second later in the copy's order):
// the predefined copy writes the item once, with the values of the second.
TEST_F(ZUVProdutoTest, AnOriginListingAnItemTwiceGivesOneItemWithTheLaterValues) {
  origem->executaIsql(
      "SET TERM ^;\nEXECUTE BLOCK AS DECLARE N VARCHAR(63); DECLARE T VARCHAR(63); BEGIN FOR SELECT "
      "TRIM(c.RDB$CONSTRAINT_NAME), TRIM(c.RDB$RELATION_NAME) FROM RDB$RELATION_CONSTRAINTS c JOIN "
      "RDB$REF_CONSTRAINTS r ON r.RDB$CONSTRAINT_NAME = c.RDB$CONSTRAINT_NAME WHERE r.RDB$CONST_NAME_UQ = "
      "'PK_PRODUTOESTOQUE' INTO :N, :T DO EXECUTE STATEMENT 'ALTER TABLE ' || T || ' DROP CONSTRAINT ' || N; "
      "END^\nSET TERM ;^\nCOMMIT;\nALTER TABLE PRODUTOESTOQUE DROP CONSTRAINT PK_PRODUTOESTOQUE;\nCOMMIT;\n"
      "INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDPRODGRUPO, IDUNIDADE, BARRA, VENDAATUAL, "
      "IDGRADESIMILAR) VALUES (13, 99, 2, 1, '2000013', 5, 5);");
  EXPECT_EQ(roda(IniciaImportacao, opcoes(ModoCopia::LimpaBanco)), Resultado::concluido());
  EXPECT_EQ(tela.textosDasMensagens(),
            (Mensagens{"Total de Produtos Recuperado  6", "Atualização feita com sucesso"}));
  EXPECT_EQ(BancoDeTeste::consulta(destino->caminho(),
                                   "select IDITEMPRODUTO, VENDAATUAL from PRODUTOESTOQUE order by 1"),
            (BancoDeTeste::Linhas{
                {"10", "19.99"}, {"11", "39.90"}, {"12", "1.50"}, {"13", "5.00"}, {"14", "7.77"}}));
}

}  // namespace
}  // namespace zuv::teste
