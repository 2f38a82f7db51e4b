// zuv.ini, AbreBancoDados's messages and the shared connection slot.
#include "shell/BancoZUV.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "common/Erro.h"
#include "platform/BancoVazio.h"
#include "shell/LocalDoBanco.h"
#include "support/TelaGravadora.h"

namespace zuv {
namespace {

using ::testing::AllOf, ::testing::HasSubstr, ::testing::StartsWith;

void escreve(const std::string& arquivo, const std::string& conteudo) {
  std::ofstream(arquivo, std::ios::binary) << conteudo;
}

TEST(BancoZUV, AbreOBancoDoIniOuAvisaEEncerra) {
  teste::BancoVazio dados, programa(false), semBanco(false);
  std::string dica;   // the hint under the message (a note after it on the command line)
  auto falha = [&] {  // the one message shown before the program ends
    teste::TelaGravadora tela;
    EXPECT_THROW(AbreBancoDados(programa.pasta, tela), FimDoPrograma);
    EXPECT_EQ(tela.mensagens.size(), 1u);
    EXPECT_EQ(tela.mensagens.at(0).icone, Icone::Informacao);
    dica = tela.notas.empty() ? "" : tela.notas.back();
    return tela.mensagens.at(0).texto;
  };
  EXPECT_EQ(falha(), "Arquivo zuv.INI não encontrado ");
  EXPECT_EQ(dica, "Procurado em " + programa.pasta +
                      "/zuv.ini (a pasta do programa). Para usar outra pasta: --pasta-programa PASTA ou a "
                      "variável ZUV_PASTA_PROGRAMA=PASTA.");
  const auto descricao = [](const std::string& trecho) {
    return AllOf(StartsWith("Erro ao abrir o banco de dados verifique o caminho. "), HasSubstr(trecho));
  };
  escreve(programa.pasta + "/zuv.ini", semBanco.pasta + "\n");
  EXPECT_THAT(falha(), AllOf(descricao(semBanco.caminho), HasSubstr("No such file or directory")));
  EXPECT_EQ(dica, "Arquivo procurado: " + semBanco.caminho + " (a pasta de dados é a primeira linha de " +
                      programa.pasta + "/zuv.ini).");

  // A copy from Windows: upper-case name, byte-order mark, CR LF; only the first line counts.
  std::filesystem::remove(programa.pasta + "/zuv.ini");
  escreve(programa.pasta + "/ZUV.INI", "\xEF\xBB\xBF  " + dados.pasta + "  \r\nlixo\r\n");
  teste::TelaGravadora tela;
  auto conexao = AbreBancoDados(programa.pasta, tela);
  EXPECT_EQ(conexao->abre("select 1 from rdb$database").valor(0).comoInteiro(), 1);
  EXPECT_TRUE(tela.mensagens.empty());
}

// FrmClientes and FrmAtuProdutoNCMCFOP share one slot: the second form's load replaces the
// connection, and "Sair" of either closes the one both use.
TEST(SlotConexao, FormsCompartilhamAConexao) {
  teste::BancoVazio dados;
  SlotConexao slot;
  EXPECT_THROW(slot.conexao(), ErroBanco);
  slot.substitui(std::make_unique<Conexao>(dados.conexao()));  // FrmClientes loads
  Conexao& daPrimeira = slot.conexao();
  daPrimeira.executa("create table CLIENTE (IDCLIENTE integer)");
  slot.substitui(std::make_unique<Conexao>(dados.conexao()));  // FrmAtuProdutoNCMCFOP loads
  EXPECT_THROW(daPrimeira.executa("delete from CLIENTE"), ErroBanco);
  slot.conexao().executa("insert into CLIENTE values (1)");  // both forms now use the newer one
  slot.fecha();                                              // "Sair" of one form
  EXPECT_THROW(slot.conexao().executa("delete from CLIENTE"), ErroBanco);
}

// The program may end with the slot still open: the connection is closed on the way out.
TEST(SlotConexao, ProgramaTerminaComOSlotAberto) {
  teste::BancoVazio dados;
  SlotConexao::programa().substitui(std::make_unique<Conexao>(dados.conexao()));
  SlotConexao::programa().conexao().iniciaTransacao();
  EXPECT_TRUE(SlotConexao::programa().aberta());
}

// Where a database's backups and journal go: beside its file, in the folder of their kind; for a
// database on another machine, in that folder of the program folder, under the server's name.
TEST(BancoZUV, CopiasERelatoriosFicamAoLadoDoBanco) {
  // The database, its file's name, the name its backups take and their folder.
  const std::tuple<const char*, const char*, const char*, const char*> casos[] = {
      {"/srv/zuv/DADOS/VENDAS.FDB", "VENDAS.FDB", "VENDAS", "/srv/zuv/DADOS/copias"},
      {"/srv/zuv/DESTINO", "DESTINO", "DESTINO", "/srv/zuv/copias"},
      {"127.0.0.1/3050:/srv/zuv/VENDAS.FDB", "VENDAS.FDB", "VENDAS", "/srv/zuv/copias"},
      {"loja:/srv/zuv/VENDAS.FDB", "VENDAS.FDB", "VENDAS", "/prog/copias/loja"},
      {"loja/3051:C:\\ZUV\\DADOS\\VENDAS.FDB", "VENDAS.FDB", "VENDAS", "/prog/copias/loja_3051"},
  };
  for (const auto& [banco, arquivo, nome, copias] : casos) {
    const LocalDoBanco l = localDoBanco(banco, "/prog");
    EXPECT_EQ(l.arquivo, arquivo) << banco;
    EXPECT_EQ(l.nome, nome) << banco;
    EXPECT_EQ(l.subpasta("copias"), copias) << banco;
  }
  EXPECT_EQ(localDoBanco("loja:/srv/VENDAS.FDB", "/prog").subpasta("relatorios"), "/prog/relatorios/loja");
}

}  // namespace
}  // namespace zuv
