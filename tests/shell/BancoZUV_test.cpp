#include "shell/BancoZUV.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/Erro.h"
#include "platform/BancoVazio.h"
#include "support/TelaGravadora.h"

namespace zuv {
namespace {

using teste::BancoVazio;
using teste::TelaGravadora;

void escreve(const std::string& arquivo, const std::string& conteudo) {
  std::ofstream(arquivo, std::ios::binary) << conteudo;
}

TEST(BancoZUV, CadeiaDeConexaoComoOSistemaMonta) {
  EXPECT_EQ(textoConexaoZUV("C:\\ZUV\\Dados"),
            " provider=LCPI.IBProvider.1;data source=C:\\ZUV\\Dados\\VENDAS.FDB; user id=sysdba;"
            "password=quartzine; ctype=none;auto_commit=true;Persist Security Info=True");
}

TEST(BancoZUV, PrimeiraLinhaDoIniSemBrancos) {
  BancoVazio programa(false);
  EXPECT_THROW(lePastaDados(programa.pasta), ErroConfiguracao);
  escreve(programa.pasta + "/zuv.ini", "   C:\\ZUV\\Dados  \r\nD:\\Outra\r\n");
  EXPECT_EQ(lePastaDados(programa.pasta), "C:\\ZUV\\Dados");
  escreve(programa.pasta + "/zuv.ini", "\xEF\xBB\xBF/srv/zuv");  // Notepad's byte-order mark, no line end
  EXPECT_EQ(lePastaDados(programa.pasta), "/srv/zuv");
  std::filesystem::rename(programa.pasta + "/zuv.ini", programa.pasta + "/ZUV.INI");
  EXPECT_EQ(lePastaDados(programa.pasta), "/srv/zuv");
  escreve(programa.pasta + "/ZUV.INI", "");
  EXPECT_EQ(lePastaDados(programa.pasta), "");
}

TEST(BancoZUV, AbreOBancoDaPastaDoIni) {
  BancoVazio dados;
  BancoVazio programa(false);
  escreve(programa.pasta + "/zuv.ini", "  " + dados.pasta + "  \nlixo\n");
  TelaGravadora tela;
  auto conexao = AbreBancoDados(programa.pasta, tela);
  ASSERT_TRUE(conexao);
  EXPECT_EQ(conexao->abre("select 1 from rdb$database").valor(0).comoInteiro(), 1);
  EXPECT_TRUE(tela.mensagens.empty());
}

TEST(BancoZUV, SemIniAvisaEEncerra) {
  BancoVazio programa(false);
  TelaGravadora tela;
  EXPECT_THROW(AbreBancoDados(programa.pasta, tela), FimDoPrograma);
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_EQ(tela.mensagens[0].texto, "Arquivo zuv.INI não encontrado ");
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Informacao);
}

TEST(BancoZUV, FalhaAoAbrirMostraADescricaoEEncerra) {
  const std::string prefixo = "Erro ao abrir o banco de dados verifique o caminho. ";
  BancoVazio programa(false);
  BancoVazio semBanco(false);
  auto tenta = [&](const std::string& ini) {
    escreve(programa.pasta + "/zuv.ini", ini);
    TelaGravadora tela;
    EXPECT_THROW(AbreBancoDados(programa.pasta, tela), FimDoPrograma);
    EXPECT_EQ(tela.mensagens.size(), 1u);
    EXPECT_EQ(tela.mensagens.at(0).icone, Icone::Informacao);
    return tela.mensagens.at(0).texto;
  };
  // A folder without VENDAS.FDB, a folder that does not exist, an empty first line.
  std::string msg = tenta(semBanco.pasta + "\n");
  EXPECT_EQ(msg.rfind(prefixo, 0), 0u) << msg;
  EXPECT_NE(msg.find(semBanco.pasta + "/VENDAS.FDB"), std::string::npos) << msg;
  EXPECT_NE(msg.find("No such file or directory"), std::string::npos) << msg;
  msg = tenta(semBanco.pasta + "/nao/existe");
  EXPECT_NE(msg.find("No such file or directory"), std::string::npos) << msg;
  msg = tenta("   \n" + semBanco.pasta);
  EXPECT_NE(msg.find("\"/VENDAS.FDB\""), std::string::npos) << msg;
  // A file that is not a database.
  escreve(semBanco.pasta + "/VENDAS.FDB", std::string(9000, 'z'));
  msg = tenta(semBanco.pasta);
  EXPECT_EQ(msg.rfind(prefixo, 0), 0u) << msg;
  EXPECT_NE(msg.find("not a valid database"), std::string::npos) << msg;
}

// FrmClientes and FrmAtuProdutoNCMCFOP share one slot: the second form's load replaces the
// connection, and "Sair" of either closes the one both use.
TEST(SlotConexao, FormsCompartilhamAConexao) {
  BancoVazio dados;
  SlotConexao slot;
  EXPECT_FALSE(slot.aberta());
  EXPECT_THROW(slot.conexao(), ErroBanco);

  slot.substitui(std::make_unique<Conexao>(dados.conexao()));  // FrmClientes loads
  Conexao& daPrimeira = slot.conexao();
  daPrimeira.executa("create table CLIENTE (IDCLIENTE integer)");
  slot.substitui(std::make_unique<Conexao>(dados.conexao()));  // FrmAtuProdutoNCMCFOP loads
  EXPECT_FALSE(daPrimeira.aberta());                           // kept alive, closed
  EXPECT_THROW(daPrimeira.executa("delete from CLIENTE"), ErroBanco);
  slot.conexao().executa("insert into CLIENTE values (1)");  // both forms now use the newer one

  slot.fecha();  // "Sair" of one form
  EXPECT_FALSE(slot.aberta());
  try {
    slot.conexao().executa("delete from CLIENTE");
    FAIL() << "a conexão fechada funcionou";
  } catch (const ErroBanco& e) {
    EXPECT_NE(std::string(e.what()).find("fechada"), std::string::npos);
  }
  EXPECT_EQ(&SlotConexao::programa(), &SlotConexao::programa());
}

}  // namespace
}  // namespace zuv
