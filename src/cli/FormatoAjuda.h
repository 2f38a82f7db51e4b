#pragma once
// The command line's --help in Portuguese and without the parser's internals: option names as
// typed ("--sem-ncm", not "--sem-ncm{false}"), value placeholders without validator tags
// ("PASTA", not "PASTA:DIR"), defaults, required options and exclusions said in words, long
// descriptions wrapped to the terminal's width, and a task's help closing with the options every
// task takes.
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace zuv {

class FormatoAjuda : public CLI::Formatter {
 public:
  // largura: the terminal's columns (the text is wrapped to them).
  explicit FormatoAjuda(int largura = 100);

  std::string make_help(const CLI::App* app, std::string nome, CLI::AppFormatMode modo) const override;
  std::string make_option(const CLI::Option* opcao, bool posicional) const override;
  std::string make_option_name(const CLI::Option* opcao, bool posicional) const override;
  std::string make_option_opts(const CLI::Option* opcao) const override;
  std::string make_option_desc(const CLI::Option* opcao) const override;
  std::string make_subcommand(const CLI::App* sub) const override;
  std::string make_description(const CLI::App* app) const override;
  std::string make_footer(const CLI::App* app) const override;
  std::string make_group(std::string grupo, bool posicional,
                         std::vector<const CLI::Option*> opcoes) const override;
  // The option groups, one blank line before each (CLI11's make_groups is not virtual).
  std::string grupos(const CLI::App* app) const;

 private:
  // A paragraph wrapped to the width.
  std::string textoQuebrado(const std::string& texto) const;
  // "  nome" in the first column, the text wrapped beside it.
  std::string linha(const std::string& nome, const std::string& texto) const;

  int largura_;
};

// The group of the options every task that writes takes (--atomico, --simular, ...).
inline constexpr const char* kGrupoExecucaoSegura = "Execução segura";

}  // namespace zuv
