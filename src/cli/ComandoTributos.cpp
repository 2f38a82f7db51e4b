// "importadorzuv sat exportar|importar" and "importadorzuv nfe exportar|importar": the buttons of
// the two tax forms. The check boxes are options (the ticked ones are on unless --sem-... clears
// them); the opening question is answered by --excluir-cfop or --manter-cfop (or --sim/--nao);
// without an answer a terminal asks and a run without one stops with a message.
#include <memory>

#include "cli/LinhaDeComando.h"
#include "shell/ContextoExecucao.h"
#include "shell/PastaPrograma.h"
#include "tax/AtualizaTributos.h"
#include "tax/PlanilhaTributos.h"

namespace zuv {
namespace {

struct OpcoesCli {
  OpcoesAtualizaTributos importa;
  OpcoesExportaSAT exporta;
  bool exclui = false, mantem = false;
  OpcoesExecucao execucao;
};

// --atomico / --simular / --relatorio of a run on the database.
void opcoesExecucao(CLI::App* comando, OpcoesExecucao& o) {
  comando->add_flag("--atomico", o.atomico, "Tudo ou nada: a operação inteira numa transação");
  comando->add_flag("--simular", o.simular, "Executa e desfaz tudo no fim; não grava planilha");
  comando->add_option("--relatorio", o.relatorio, "Grava o relatório de alterações (CSV)")
      ->type_name("ARQUIVO");
}

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
  opcoesExecucao(importar, o.execucao);
}

Operacao noContexto(std::shared_ptr<OpcoesCli> o, std::function<Resultado(ContextoExecucao&, OpcoesCli&)> f) {
  return [o, f](Tela& tela) {
    if (o->exclui) o->importa.excluiCFOP = true;
    if (o->mantem) o->importa.excluiCFOP = false;
    ContextoExecucao ctx(tela, pastaPrograma(), o->execucao);
    return executaNoContexto(ctx, [&](ContextoExecucao& c) { return f(c, *o); });
  };
}

void registra(CLI::App& programa, Tarefas& tarefas) {
  auto* sat = programa.add_subcommand(
      "sat", "Códigos fiscais do SAT (FrmAtuProdutoNCMCFOP), planilha produtosat.xlsx");
  sat->require_subcommand(1);
  auto oSat = std::make_shared<OpcoesCli>();
  auto* exportaSat = sat->add_subcommand(
      "exportar", "Gerar Planilha Excel: cada item ativo com NCM, CEST, alíquota, CFOP, CST e PIS/Cofins");
  exportaSat->add_flag("--fixa", oSat->exporta.fixa, "chkFixa marcado (não altera a planilha)");
  opcoesExecucao(exportaSat, oSat->execucao);
  tarefas.executa(exportaSat, noContexto(oSat, [](ContextoExecucao& c, OpcoesCli& o) {
                    return ExportaSAT(c, o.exporta);
                  }));
  auto* importaSat =
      sat->add_subcommand("importar", "Iniciar Importação: grava os códigos de produtosat.xlsx nos itens");
  opcoesImportacao(importaSat, *oSat, true);
  tarefas.executa(importaSat, noContexto(oSat, [](ContextoExecucao& c, OpcoesCli& o) {
                    return AtualizaTributosSAT(c, o.importa);
                  }));
}

void registraNfe(CLI::App& programa, Tarefas& tarefas) {
  auto* nfe = programa.add_subcommand("nfe", "Códigos fiscais da NF-e (FrmAtuProdutoNFE)");
  nfe->require_subcommand(1);
  auto oNfe = std::make_shared<OpcoesCli>();
  auto* exportaNfe = nfe->add_subcommand(
      "exportar", "Gerar Planilha Excel: produtoNfe.xlsx com NCM, CEST, CFOP, CST e natureza da operação");
  opcoesExecucao(exportaNfe, oNfe->execucao);
  tarefas.executa(exportaNfe,
                  noContexto(oNfe, [](ContextoExecucao& c, OpcoesCli&) { return ExportaNFE(c); }));
  auto* importaNfe = nfe->add_subcommand(
      "importar", "Iniciar Importação: grava os códigos de produtosat.xlsx (a planilha do SAT) nos itens");
  opcoesImportacao(importaNfe, *oNfe, false);
  tarefas.executa(importaNfe, noContexto(oNfe, [](ContextoExecucao& c, OpcoesCli& o) {
                    return AtualizaTributosNFE(c, o.importa);
                  }));
}

}  // namespace
ZUV_TAREFA_CLI("sat", registra);
ZUV_TAREFA_CLI("nfe", registraNfe);
}  // namespace zuv
