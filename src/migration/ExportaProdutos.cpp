#include "migration/ExportaProdutos.h"

#include <filesystem>
#include <system_error>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/Tela.h"
#include "migration/PlanilhaProduto.h"
#include "platform/Conexao.h"
#include "shell/BancoZUV.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

namespace {

// The failure of a button path before the writer: the system's message; its cause as a note.
Resultado falhaAoGerar(Tela& tela, const std::exception& e) {
  tela.cursorEspera(false);
  tela.mensagem(kMsgErroGerarExcel, Icone::Informacao);
  tela.nota(e.what());
  return Resultado::falhou(kMsgErroGerarExcel);
}

// Writes produto.xlsx from rs and leaves it on screen. The writer's own failure names what
// failed, not the last error of some connection.
Resultado escreve(ContextoExecucao& ctx, Recordset& rs, bool aparaBarra, int estilo) {
  Tela& tela = ctx.tela();
  const std::string caminho = ctx.pastaPrograma() + "/" + kArquivoProduto;
  OpcoesEscritaProduto opcoes;
  opcoes.aparaBarra = aparaBarra;
  opcoes.grava = !ctx.simulacao();
  opcoes.estilo = estilo;
  try {
    GeraPlanilhaProduto(rs, caminho, opcoes, tela);
  } catch (const std::exception& e) {
    const std::string texto = std::string(kMsgErroMontarPlanilha) + e.what();
    tela.mensagem(texto);
    tela.cursorEspera(false);
    return Resultado::falhou(texto);
  }
  tela.cursorEspera(false);
  if (opcoes.grava)
    tela.mostraArquivo(caminho);
  else
    tela.nota("Simulação: " + caminho + " não foi gravada.");
  return Resultado::concluido();
}

void inicia(Tela& tela) {
  tela.cursorEspera(true);
  tela.mostraControle(kControleProgressoMigracao, true);
}

}  // namespace

Resultado GeraExcelOrigem(ContextoExecucao& ctx, const OpcoesPlanilhaProduto& opcoes) {
  Tela& tela = ctx.tela();
  const int estilo = estiloRegional();
  inicia(tela);
  Recordset rs;
  try {
    std::string pastaDados;
    try {
      pastaDados = lePastaDados(ctx.pastaPrograma());
    } catch (const ErroConfiguracao&) {
      tela.cursorEspera(false);
      avisaSemIni(tela, ctx.pastaPrograma());
      throw FimDoPrograma{MotivoFim::Configuracao};
    }
    rs = ctx.abreOutra(textoConexaoZUV(pastaDados)).abre(consultaProdutosZUV(!opcoes.todos));
  } catch (const std::exception& e) {
    return falhaAoGerar(tela, e);
  }
  return escreve(ctx, rs, false, estilo);
}

Resultado ImportaOutroBanco(ContextoExecucao& ctx, const OpcoesOutroBanco& opcoes) {
  Tela& tela = ctx.tela();
  const int estilo = estiloRegional();
  inicia(tela);
  Recordset rs;
  try {
    const std::string texto = std::string(" provider=LCPI.IBProvider.1;data source=") + ctx.pastaPrograma() +
                              "\\" + opcoes.nomeBanco + ";" + kCaudaConexao;
    rs = ctx.abreOutra(texto).abre(consultaProdutosSYSPDV());
  } catch (const std::exception& e) {
    return falhaAoGerar(tela, e);
  }
  return escreve(ctx, rs, opcoes.syspdv, estilo);
}

std::string SelecionaBancoSYSPDV(const std::string& pastaPrograma, Tela& tela) {
  namespace fs = std::filesystem;
  tela.defineTexto(kControleNomeBanco, "");
  std::error_code erro;
  fs::create_directories(fs::path(pastaPrograma) / kPastaBancoOrigem, erro);
  if (!fs::exists(fs::path(pastaPrograma) / kPastaBancoOrigem / "syspdv_srv.fdb", erro))
    tela.mensagem(kMsgSemBancoOrigem, Icone::Informacao);
  tela.defineTexto(kControleNomeBanco, kBancoSYSPDV);
  return kBancoSYSPDV;
}

}  // namespace zuv
