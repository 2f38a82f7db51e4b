// "importadorzuv zuv copiar --origem A --destino B [--incluir-produtos|--limpa-banco] [--cliente]": the
// database-to-database form on the command line. A product mode runs the form's main run
// ("Iniciar Importação"); with --cliente as well, the customer table copy follows it, as
// "Iniciar Importação Individual" does; --cliente alone copies only the customer table. With
// neither, the form's default mode (--limpa-banco) runs. "importadorzuv copiar ..." is the same
// task without its noun.
#include <memory>

#include "cli/LinhaDeComando.h"
#include "dbcopy/ZUVProduto.h"
#include "shell/ContextoExecucao.h"

namespace zuv {
namespace {

struct OpcoesLinha {
  OpcoesCopia copia;
  bool incluir = false;
  bool limpa = false;
};

Resultado executa(ContextoExecucao& ctx, const OpcoesLinha& o) {
  ctx.defineOrigem(o.copia.origem);
  OpcoesCopia copia = o.copia;
  if (o.incluir) copia.modo = ModoCopia::IncluirProdutos;
  if (o.copia.cliente && !o.incluir && !o.limpa) return CopiaClientes(ctx, copia);
  return copia.cliente ? IniciaImportacaoIndividual(ctx, copia) : IniciaImportacao(ctx, copia);
}

void adicionaCopiar(CLI::App& pai, Tarefas& tarefas) {
  auto* copiar = pai.add_subcommand(
      "copiar",
      "Importa Outro Banco ZUV (FrmZUVdeZUVProduto): copia produtos e clientes de um banco ZUV para outro");
  auto o = std::make_shared<OpcoesLinha>();
  copiar
      ->add_option("--origem", o->copia.origem,
                   "Banco de Dados Origem (VENDAS.FDB de onde os dados são lidos)")
      ->type_name("ARQUIVO")
      ->required();
  copiar->add_option("--destino", o->copia.destino, "Banco de Dados Destino (VENDAS.FDB que recebe os dados)")
      ->type_name("ARQUIVO")
      ->required();
  auto* incluir = copiar->add_flag("--incluir-produtos", o->incluir,
                                   "Incluir Produtos e Deixa os Produtos que já possui");
  auto* limpa =
      copiar->add_flag("--limpa-banco", o->limpa, "Limpa Banco e Cadastra Produtos (o padrão do formulário)");
  incluir->excludes(limpa);
  copiar->add_flag("--cliente", o->copia.cliente,
                   "Cliente: substitui a tabela CLIENTE do destino pela da origem (sozinho: só os clientes)");
  tarefas.executaNoBanco(
      copiar, [o](ContextoExecucao& ctx) { return executa(ctx, *o); }, /*apaga=*/true);
}

void registraZuv(CLI::App& programa, Tarefas& tarefas) {
  auto* zuv = programa.add_subcommand("zuv", "Banco ZUV para banco ZUV (FrmZUVdeZUVProduto)");
  zuv->require_subcommand(1);
  adicionaCopiar(*zuv, tarefas);
}

void registraCopiar(CLI::App& programa, Tarefas& tarefas) {
  adicionaCopiar(programa, tarefas);
}

}  // namespace
ZUV_TAREFA_CLI("zuv", registraZuv);
ZUV_TAREFA_CLI("copiar", registraCopiar);
}  // namespace zuv
