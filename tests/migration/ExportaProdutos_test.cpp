// The two export buttons as runs: what they tell, the file they leave on screen, dry runs, and
// their failures (no zuv.ini, no database, a target that cannot be written).
#include "migration/ExportaProdutos.h"

#include <gtest/gtest.h>

#include "common/Operacao.h"
#include "migration/AmbienteMigracao.h"
#include "shell/ContextoExecucao.h"

namespace zuv::teste {
namespace {

class ExportaProdutosTest : public ComEstilo {
 protected:
  void SetUp() override {
    ComEstilo::SetUp();
    banco.carregaFixture("zuv_populado.sql");
  }
  template <class F>
  Resultado roda(F&& run, OpcoesExecucao opcoes = {}) {
    // As the front ends run it: FimDoPrograma becomes the outcome that ends the program.
    ContextoExecucao ctx(tela, pasta().string(), opcoes);
    return executaOperacao(tela, [&](Tela&) { return executaNoContexto(ctx, run); });
  }
  fs::path pasta() const { return banco.pastaPrograma(); }
  fs::path produto() const { return pasta() / "produto.xlsx"; }
  BancoDeTeste banco;
};

TEST_F(ExportaProdutosTest, GeraExcelOrigem) {
  auto gera = [](ContextoExecucao& c) { return GeraExcelOrigem(c, OpcoesPlanilhaProduto{}); };
  OpcoesExecucao simular;
  simular.simular = true;
  EXPECT_EQ(roda(gera, simular), Resultado::concluido());
  EXPECT_FALSE(fs::exists(produto()));
  EXPECT_TRUE(tela.arquivos.empty());

  EXPECT_EQ(roda(gera), Resultado::concluido());
  EXPECT_EQ(tela.arquivos, std::vector<std::string>{produto().string()});
  EXPECT_TRUE(tela.mensagens.empty());
  EXPECT_TRUE(tela.visiveis["Trm"]);
  EXPECT_EQ(tela.cursores.front(), true);
  EXPECT_EQ(tela.cursores.back(), false);
  EXPECT_EQ(leComOpenpyxl(produto())["A3"].valor, "2000001");

  // A target that cannot be written: the writer's own description.
  fs::remove(produto());
  fs::create_directories(produto() / "x");
  const Resultado r = roda(gera);
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_TRUE(r.mensagem.starts_with("Erro ao Montar Planilha Excel Não foi possível salvar")) << r.mensagem;
}

TEST_F(ExportaProdutosTest, FalhasAntesDaPlanilha) {
  auto gera = [](ContextoExecucao& c) { return GeraExcelOrigem(c, OpcoesPlanilhaProduto{true}); };
  std::ofstream(pasta() / "zuv.ini") << "/nao/existe\r\n";
  EXPECT_EQ(roda(gera), Resultado::falhou("Erro ao Gerar o Excel"));
  ASSERT_EQ(tela.mensagens.size(), 1u);
  EXPECT_EQ(tela.mensagens[0].icone, Icone::Informacao);
  fs::remove(pasta() / "zuv.ini");
  EXPECT_EQ(roda(gera), Resultado::encerrar(MotivoFim::Configuracao));
  EXPECT_EQ(tela.mensagens.back().texto, "Arquivo zuv.INI não encontrado ");
  EXPECT_FALSE(fs::exists(produto()));
}

TEST_F(ExportaProdutosTest, SelecionaSyspdvEImporta) {
  auto importa = [](ContextoExecucao& c) { return ImportaOutroBanco(c, OpcoesOutroBanco{}); };
  EXPECT_EQ(SelecionaBancoSYSPDV(pasta().string(), tela), "BancoOrigem\\syspdv_srv.fdb");
  EXPECT_TRUE(fs::is_directory(pasta() / "BancoOrigem"));
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"Banco de Dados para Importação Não existe"});
  EXPECT_EQ(tela.textos["txtNomeBanco"], "BancoOrigem\\syspdv_srv.fdb");
  EXPECT_EQ(roda(importa), Resultado::falhou("Erro ao Gerar o Excel"));

  preparaSyspdv(pasta() / "BancoOrigem" / "syspdv_srv.fdb",
                "INSERT INTO PRODUTO (PROCOD, PRODES, TRBID) VALUES (' 00042 ', 'AGUA', 'T18');");
  tela.mensagens.clear();
  SelecionaBancoSYSPDV(pasta().string(), tela);
  EXPECT_TRUE(tela.mensagens.empty());
  EXPECT_EQ(roda(importa), Resultado::concluido());
  const PlanilhaLida p = leComOpenpyxl(produto());
  EXPECT_EQ(p["A2"].valor, "00042");
  EXPECT_EQ(p["J2"].valor, "18,00");
}

}  // namespace
}  // namespace zuv::teste
