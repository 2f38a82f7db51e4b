// "importadorzuv clientes importar|excluir": the customer form's two buttons on the command line.
// The form's question is answered by --sim (or --nao); without either a terminal asks, and a
// run without a terminal stops with a message instead of guessing.
#include "cli/LinhaDeComando.h"
#include "customers/ExcluiClientes.h"
#include "customers/ImportaClientes.h"

namespace zuv {
namespace {

void registra(CLI::App& programa, Tarefas& tarefas) {
  auto* clientes = programa.add_subcommand("clientes", "Cadastro de clientes do ZUV (FrmClientes)");
  clientes->require_subcommand(1);

  auto* importar = clientes->add_subcommand(
      "importar",
      "Importação Atualizar: cada linha de clientes.xlsx da pasta do programa vira um cliente novo");
  tarefas.executaNoBanco(importar, ImportaClientes);

  auto* excluir = clientes->add_subcommand(
      "excluir",
      "Excluir Cadastro Cliente: remove todos os clientes; os que têm movimento ficam e são listados");
  tarefas.executaNoBanco(excluir, ExcluiClientes, /*apaga=*/true);
}

}  // namespace
ZUV_TAREFA_CLI("clientes", registra);
}  // namespace zuv
