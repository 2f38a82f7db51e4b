#pragma once
// The nouns of the standard migration's command line ("produtos", "fornecedores", "processos")
// are registered by ComandoMigracao.cpp. A task of another file adds its verb under one of them:
//   void registraImportar(CLI::App* produtos, Tarefas& tarefas) { ... produtos->add_subcommand(...) }
//   static const bool registrado = registraVerbo("produtos", registraImportar);
#include <string>

#include "cli/LinhaDeComando.h"

namespace zuv {

using RegistroVerbo = void (*)(CLI::App* substantivo, Tarefas& tarefas);

// Adds verbs to the noun's command each time a command line is parsed. Returns true.
bool registraVerbo(const std::string& substantivo, RegistroVerbo registro);

}  // namespace zuv
