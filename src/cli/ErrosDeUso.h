#pragma once
// Usage errors of the command line in Portuguese: a task or option name that does not exist (with
// the closest valid one: "Você quis dizer --atomico?"), and the parser's own errors (missing task,
// missing value, options that exclude each other...) reworded.
#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

namespace zuv {

struct ErroDeUso {
  std::string mensagem;     // "tarefa desconhecida: clinetes"
  std::string sugestao;     // "clientes", or "" when no valid name is close
  const CLI::App* comando;  // the (sub)command whose --help to point at
};

// The first argument that names no task, option or argument of the command it follows (options
// of the commands above it count too), before the parser sees them. None when every name exists,
// or when -h/--help asks for the help anyway.
std::optional<ErroDeUso> procuraNomeDesconhecido(const CLI::App& programa,
                                                 const std::vector<std::string>& args);

// The parser's error as the person should read it. comando: the deepest (sub)command parsed.
std::string traduzErro(const CLI::Error& erro, const CLI::App& comando);

// The candidate closest to what was typed (dashes and case aside): the only one it abbreviates
// (3 letters at least), else the one a typo or two away. None when nothing is that close.
std::optional<std::string> nomeMaisParecido(const std::string& digitado,
                                            const std::vector<std::string>& candidatos);

// "importadorzuv clientes importar" for that (sub)command.
std::string caminhoDoComando(const CLI::App& comando);

// The deepest (sub)command chosen on the command line just parsed (the program when none).
const CLI::App& comandoEscolhido(const CLI::App& programa);

}  // namespace zuv
