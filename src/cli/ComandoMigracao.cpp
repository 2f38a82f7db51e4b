// The standard migration form's buttons on the command line (FrmMigracaoPadrao):
//   produtos planilha [--todos]     "Gerar Planilha Excel Origem"
//   produtos syspdv [--banco ARQ]   "SYSPDV" + "Importar"
//   fornecedores importar [--fone]  "Fornecedor"
//   processos listar | encerrar     "Listar Processo", "Encerrar Processo"
#include "cli/ComandoMigracao.h"

#include <map>
#include <memory>
#include <vector>

#include "migration/ControleProcessos.h"
#include "migration/ExportaProdutos.h"
#include "migration/Fornecedores.h"
#include "shell/ContextoExecucao.h"
#include "shell/PastaPrograma.h"

namespace zuv {
namespace {

std::map<std::string, std::vector<RegistroVerbo>>& verbos() {
  static std::map<std::string, std::vector<RegistroVerbo>> v;
  return v;
}

// The noun's command, with the verbs other files add to it.
CLI::App* substantivo(CLI::App& programa, Tarefas& tarefas, const std::string& nome,
                      const std::string& descricao) {
  auto* s = programa.add_subcommand(nome, descricao);
  s->require_subcommand(1);
  for (RegistroVerbo r : verbos()[nome])
    r(s, tarefas);
  return s;
}

void registraProdutos(CLI::App& programa, Tarefas& tarefas) {
  auto* produtos =
      substantivo(programa, tarefas, "produtos", "Catálogo de produtos: produto.xlsx (FrmMigracaoPadrao)");

  auto planilha = std::make_shared<OpcoesPlanilhaProduto>();
  auto* gerar = produtos->add_subcommand(
      "planilha",
      "Gerar Planilha Excel Origem: grava produto.xlsx na pasta do programa a partir do banco do ZUV");
  gerar->add_flag("--todos", planilha->todos, "Todos os itens de estoque (sem a opção, só os ativos)");
  tarefas.executaSemAlterarBanco(
      gerar, [planilha](ContextoExecucao& ctx) { return GeraExcelOrigem(ctx, *planilha); },
      /*simulavel=*/true);

  auto outro = std::make_shared<OpcoesOutroBanco>();
  auto* syspdv = produtos->add_subcommand(
      "syspdv",
      "SYSPDV + Importar: grava produto.xlsx a partir do banco do SYSPDV (BancoOrigem\\syspdv_srv.fdb)");
  syspdv->add_option("--banco", outro->nomeBanco, "Banco de origem, relativo à pasta do programa")
      ->type_name("ARQUIVO")
      ->capture_default_str();
  tarefas.executaSemAlterarBanco(
      syspdv,
      [outro](ContextoExecucao& ctx) {
        // Selecting "SYSPDV" first: the folder BancoOrigem and the warning when the file is missing.
        if (outro->nomeBanco == kBancoSYSPDV) SelecionaBancoSYSPDV(ctx.pastaPrograma(), ctx.tela());
        return ImportaOutroBanco(ctx, *outro);
      },
      /*simulavel=*/true);
}

void registraFornecedores(CLI::App& programa, Tarefas& tarefas) {
  auto* fornecedores =
      substantivo(programa, tarefas, "fornecedores", "Cadastro de fornecedores (FrmMigracaoPadrao)");
  auto opcoes = std::make_shared<OpcoesFornecedores>();
  auto* importar = fornecedores->add_subcommand(
      "importar",
      "Fornecedor: fornecedor.XLS da pasta do programa substitui os fornecedores de DADOS/VENDAS.FDB");
  importar
      ->add_option("--fone", opcoes->fone, "Texto gravado em FONE1 de todos (padrão: $ZUV_FONE_FORNECEDOR)")
      ->type_name("TEXTO");
  tarefas.executaNoBanco(
      importar, [opcoes](ContextoExecucao& ctx) { return ImportaFornecedores(ctx, *opcoes); }, true);
}

void registraProcessos(CLI::App& programa, Tarefas& tarefas) {
  auto* processos =
      substantivo(programa, tarefas, "processos", "Processos da planilha eletrônica (FrmMigracaoPadrao)");
  auto* listar = processos->add_subcommand("listar", "Listar Processo: o nome de cada processo em execução");
  tarefas.executaSemAlterarBanco(
      listar, [](ContextoExecucao& ctx) { return ListarProcessos(ctx); }, /*simulavel=*/false);

  auto opcoes = std::make_shared<OpcoesEncerraProcesso>();
  auto* encerrar = processos->add_subcommand(
      "encerrar", "Encerrar Processo: encerra os processos deste usuário com o nome dado e mostra FIM");
  encerrar
      ->add_option("--nome", opcoes->nome, "Nome do processo (padrão: $ZUV_PROCESSO_PLANILHA ou EXCEL.EXE)")
      ->type_name("NOME");
  tarefas.executaSemAlterarBanco(
      encerrar, [opcoes](ContextoExecucao& ctx) { return EncerrarProcessos(ctx, *opcoes); },
      /*simulavel=*/true);
}

}  // namespace

bool registraVerbo(const std::string& substantivo, RegistroVerbo registro) {
  verbos()[substantivo].push_back(registro);
  return true;
}

ZUV_TAREFA_CLI("produtos", registraProdutos);
ZUV_TAREFA_CLI("fornecedores", registraFornecedores);
ZUV_TAREFA_CLI("processos", registraProcessos);
}  // namespace zuv
