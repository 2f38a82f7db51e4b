// "importadorzuv sat exportar|importar" and "importadorzuv nfe exportar|importar": the buttons of
// the two tax forms. The check boxes are options (the ticked ones are on unless --sem-... clears
// them); the opening question is answered by --excluir-cfop or --manter-cfop (or --sim/--nao);
// without an answer a terminal asks and a run without one stops with a message. Both imports first
// list the fiscal check's table-free findings on produtosat.xlsx (standard error); --verificar
// refuses to start when there is any.
#include <memory>

#include "cli/LinhaDeComando.h"
#include "fiscal/VerificaPlanilhaFiscal.h"
#include "shell/ContextoExecucao.h"
#include "tax/AtualizaTributos.h"
#include "tax/PlanilhaTributos.h"
#include "tax/Tributos.h"

namespace zuv {
namespace {

struct OpcoesCli {
  OpcoesAtualizaTributos importa;
  OpcoesExportaSAT exporta;
  bool exclui = false, mantem = false;
  bool verificar = false;
  // The answer to the reset question, when one of the two flags gave it.
  OpcoesAtualizaTributos comResposta() const {
    OpcoesAtualizaTributos o = importa;
    if (exclui) o.excluiCFOP = true;
    if (mantem) o.excluiCFOP = false;
    return o;
  }
};

void opcoesImportacao(CLI::App* importar, OpcoesCli& o, bool sat) {
  importar->add_flag("!--sem-ncm", o.importa.ncm, "Não grava NCM / CEST (chkNCM desmarcado)");
  importar->add_flag("!--sem-aliquota-icms", o.importa.aliquotaICMS,
                     "Não grava a alíquota ECF (chkAliquotaICMS desmarcado)");
  importar->add_flag("!--sem-cfop", o.importa.cfop,
                     "Não grava os CFOP de saída e de entrada (chkCFOP desmarcado)");
  importar->add_flag("!--sem-pis", o.importa.pis, "Não grava PIS / Cofins (chkPIS desmarcado)");
  if (sat)
    importar->add_flag("--icms-cad-produto", o.importa.icmsCadProduto,
                       "Grava a coluna 16 no AliqICMS do item (chkICMSCadProduto marcado)");
  auto* exclui =
      importar->add_flag("--excluir-cfop", o.exclui,
                         "Responde Sim a \"Excluir os Cadastro de CFOP...\": esvazia TRIBCFOP antes");
  auto* mantem = importar->add_flag("--manter-cfop", o.mantem, "Responde Não: mantém o cadastro de CFOP");
  exclui->excludes(mantem);
  importar->add_flag("--verificar", o.verificar,
                     "Não começa quando a verificação fiscal acha problemas em produtosat.xlsx");
}

// The import after the fiscal check of its workbook.
template <class Run>
Execucao verificadaAntes(std::shared_ptr<OpcoesCli> o, Run run) {
  return [o, run](ContextoExecucao& ctx) {
    if (!verificaAntesDaImportacao(ctx, ctx.pastaPrograma() + "/" + kArquivoSAT, o->verificar))
      return Resultado::falhou("verificação fiscal");
    return run(ctx, o->comResposta());
  };
}

void registra(CLI::App& programa, Tarefas& tarefas) {
  auto* sat = programa.add_subcommand(
      "sat", "Códigos fiscais do SAT (FrmAtuProdutoNCMCFOP), planilha produtosat.xlsx");
  sat->require_subcommand(1);
  auto o = std::make_shared<OpcoesCli>();
  auto* exportar = sat->add_subcommand(
      "exportar", "Gerar Planilha Excel: cada item ativo com NCM, CEST, alíquota, CFOP, CST e PIS/Cofins");
  exportar->add_flag("--fixa", o->exporta.fixa, "chkFixa marcado (não altera a planilha)");
  tarefas.executaSemAlterarBanco(
      exportar, [o](ContextoExecucao& ctx) { return ExportaSAT(ctx, o->exporta); }, /*simulavel=*/true);
  auto* importar =
      sat->add_subcommand("importar", "Iniciar Importação: grava os códigos de produtosat.xlsx nos itens");
  opcoesImportacao(importar, *o, true);
  tarefas.executaNoBanco(importar, verificadaAntes(o, AtualizaTributosSAT), /*apaga=*/true);
}

void registraNfe(CLI::App& programa, Tarefas& tarefas) {
  auto* nfe = programa.add_subcommand("nfe", "Códigos fiscais da NF-e (FrmAtuProdutoNFE)");
  nfe->require_subcommand(1);
  auto o = std::make_shared<OpcoesCli>();
  auto* exportar = nfe->add_subcommand(
      "exportar", "Gerar Planilha Excel: produtoNfe.xlsx com NCM, CEST, CFOP, CST e natureza da operação");
  tarefas.executaSemAlterarBanco(exportar, ExportaNFE, /*simulavel=*/true);
  auto* importar = nfe->add_subcommand(
      "importar", "Iniciar Importação: grava os códigos de produtosat.xlsx (a planilha do SAT) nos itens");
  opcoesImportacao(importar, *o, false);
  tarefas.executaNoBanco(importar, verificadaAntes(o, AtualizaTributosNFE), /*apaga=*/true);
}

}  // namespace
ZUV_TAREFA_CLI("sat", registra);
ZUV_TAREFA_CLI("nfe", registraNfe);
}  // namespace zuv
