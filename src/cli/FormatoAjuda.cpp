#include "cli/FormatoAjuda.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace zuv {

namespace {

constexpr int kColunaTexto = 30;  // where the descriptions begin

// Columns a UTF-8 text takes on a terminal (one per character).
int colunas(const std::string& texto) {
  return static_cast<int>(std::count_if(
      texto.begin(), texto.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// texto in lines of at most largura columns (a longer word stands alone); its own line ends kept.
std::vector<std::string> quebra(const std::string& texto, int largura) {
  std::vector<std::string> linhas;
  std::istringstream paragrafos(texto);
  for (std::string paragrafo; std::getline(paragrafos, paragrafo);) {
    std::istringstream palavras(paragrafo);
    std::string atual;
    for (std::string palavra; palavras >> palavra;) {
      if (!atual.empty() && colunas(atual) + 1 + colunas(palavra) > largura) {
        linhas.push_back(atual);
        atual.clear();
      }
      atual += (atual.empty() ? "" : " ") + palavra;
    }
    linhas.push_back(atual);
  }
  return linhas;
}

// The root of the command tree.
const CLI::App* raiz(const CLI::App* app) {
  while (app->get_parent() != nullptr)
    app = app->get_parent();
  return app;
}

}  // namespace

FormatoAjuda::FormatoAjuda(int largura) : largura_(std::clamp(largura, 60, 120)) {
  label("Usage", "Uso");
  label("OPTIONS", "OPÇÕES");
  label("SUBCOMMAND", "TAREFA");
  label("SUBCOMMANDS", "TAREFAS");
  label("Positionals", "Argumentos");
  label("TEXT", "TEXTO");
  label("INT", "NÚMERO");
  label("UINT", "NÚMERO");
  column_width(kColunaTexto);
}

std::string FormatoAjuda::linha(const std::string& nome, const std::string& texto) const {
  std::string saida = "  " + nome;
  const std::vector<std::string> linhas = quebra(texto, largura_ - kColunaTexto);
  // A name too long for its column puts the text on the next line.
  bool primeira = colunas(saida) < kColunaTexto;
  if (!primeira) saida += "\n";
  for (const std::string& l : linhas) {
    const int ate = primeira ? kColunaTexto - colunas(saida) : kColunaTexto;
    saida += std::string(static_cast<size_t>(ate), ' ') + l + "\n";
    primeira = false;
  }
  if (linhas.empty()) saida += "\n";
  return saida;
}

std::string FormatoAjuda::make_option(const CLI::Option* opcao, bool posicional) const {
  return linha(make_option_name(opcao, posicional) + make_option_opts(opcao), make_option_desc(opcao));
}

std::string FormatoAjuda::make_option_name(const CLI::Option* opcao, bool posicional) const {
  if (posicional) return opcao->get_name(true);
  std::string nomes;
  for (const std::string& s : opcao->get_snames())
    nomes += (nomes.empty() ? "-" : ", -") + s;
  for (const std::string& l : opcao->get_lnames())
    nomes += (nomes.empty() ? "--" : ", --") + l;
  return nomes;
}

std::string FormatoAjuda::make_option_opts(const CLI::Option* opcao) const {
  if (opcao->get_expected_min() == 0 || !opcao->nonpositional()) return {};  // a flag, a positional
  // The placeholder without the validators' tags ("PASTA", not "PASTA:DIR").
  std::string tipo = opcao->get_type_name();
  tipo = tipo.substr(0, tipo.find(':'));
  return tipo.empty() ? std::string() : " " + get_label(tipo);
}

std::string FormatoAjuda::make_option_desc(const CLI::Option* opcao) const {
  std::string texto = opcao->get_description();
  // What follows the description is a sentence of its own.
  const auto frase = [&texto](const std::string& mais) {
    texto += (!texto.empty() && texto.back() != '.' ? ". " : " ") + mais;
  };
  const std::string padrao = opcao->get_default_str();
  if (!padrao.empty() && texto.find("padrão") == std::string::npos) texto += " (padrão: " + padrao + ")";
  if (opcao->get_required()) texto += opcao->nonpositional() ? " (obrigatória)" : " (obrigatório)";
  std::string exclui;
  for (const CLI::Option* outra : opcao->get_excludes())
    exclui += (exclui.empty() ? "" : ", ") + make_option_name(outra, false);
  if (!exclui.empty()) frase("Não se usa com " + exclui + ".");
  std::string requer;
  for (const CLI::Option* outra : opcao->get_needs())
    requer += (requer.empty() ? "" : ", ") + make_option_name(outra, false);
  if (!requer.empty()) frase("Requer " + requer + ".");
  return texto;
}

std::string FormatoAjuda::make_subcommand(const CLI::App* sub) const {
  return linha(sub->get_display_name(true), sub->get_description());
}

std::string FormatoAjuda::make_description(const CLI::App* app) const {
  return textoQuebrado(app->get_description());
}

std::string FormatoAjuda::make_footer(const CLI::App* app) const {
  return app->get_footer().empty() ? std::string() : textoQuebrado(app->get_footer());
}

std::string FormatoAjuda::textoQuebrado(const std::string& texto) const {
  std::string saida;
  for (const std::string& l : quebra(texto, largura_))
    saida += l + "\n";
  return saida;
}

std::string FormatoAjuda::make_group(std::string grupo, bool posicional,
                                     std::vector<const CLI::Option*> opcoes) const {
  std::string saida = "\n" + grupo + ":\n";
  for (const CLI::Option* o : opcoes)
    saida += make_option(o, posicional);
  return saida;
}

std::string FormatoAjuda::grupos(const CLI::App* app) const {
  std::string saida;
  for (const std::string& grupo : app->get_groups()) {
    const auto opcoes = app->get_options(
        [&grupo](const CLI::Option* o) { return o->get_group() == grupo && o->nonpositional(); });
    if (!grupo.empty() && !opcoes.empty()) saida += make_group(grupo, false, opcoes);
  }
  return saida;
}

std::string FormatoAjuda::make_help(const CLI::App* app, std::string nome, CLI::AppFormatMode modo) const {
  if (modo == CLI::AppFormatMode::Sub) return make_expanded(app);
  std::ostringstream saida;
  saida << make_description(app) << make_usage(app, nome) << make_positionals(app) << grupos(app);
  // A task's help also lists the options of the program that every task takes.
  const CLI::App* programa = raiz(app);
  if (programa != app && app->get_subcommands({}).empty()) {
    const auto gerais = programa->get_options([programa](const CLI::Option* o) {
      return o->nonpositional() && o != programa->get_help_ptr() && o != programa->get_help_all_ptr();
    });
    if (!gerais.empty()) saida << make_group("Opções de todas as tarefas", false, gerais);
  }
  saida << make_subcommands(app, modo) << "\n" << make_footer(app);
  return saida.str();
}

}  // namespace zuv
