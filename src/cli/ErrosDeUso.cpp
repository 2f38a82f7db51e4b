#include "cli/ErrosDeUso.h"

#include <algorithm>
#include <cctype>

namespace zuv {

namespace {

// A name as compared: without leading dashes, in lower case.
std::string chave(const std::string& nome) {
  std::string s = nome.substr(std::min(nome.find_first_not_of('-'), nome.size()));
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Edits (insert, delete, replace, swap of neighbours) from a to b.
size_t distancia(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i)
    d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j)
    d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i)
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] =
          std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  return d[a.size()][b.size()];
}

std::vector<const CLI::App*> tarefas(const CLI::App& app) {
  return app.get_subcommands([](const CLI::App* s) { return !s->get_name().empty(); });
}

const CLI::App* tarefaChamada(const CLI::App& app, const std::string& nome) {
  for (const CLI::App* s : tarefas(app))
    if (s->check_name(nome)) return s;
  return nullptr;
}

// The option of app or of a command above it (their options are valid after it) named nome.
const CLI::Option* opcaoChamada(const CLI::App* app, const std::string& nome) {
  for (; app != nullptr; app = app->get_parent())
    if (const CLI::Option* o = app->get_option_no_throw(nome)) return o;
  return nullptr;
}

std::vector<std::string> nomesDeOpcoes(const CLI::App* app) {
  std::vector<std::string> nomes;
  for (; app != nullptr; app = app->get_parent())
    for (const CLI::Option* o : app->get_options()) {
      for (const std::string& l : o->get_lnames())
        nomes.push_back("--" + l);
      for (const std::string& s : o->get_snames())
        nomes.push_back("-" + s);
    }
  return nomes;
}

size_t posicionais(const CLI::App& app) {
  return app.get_options([](const CLI::Option* o) { return o->get_positional(); }).size();
}

// " de produtos" for a command below the program, "" for the program itself.
std::string deQual(const CLI::App& comando) {
  if (comando.get_parent() == nullptr) return {};
  const std::string caminho = caminhoDoComando(comando);
  return " de \"" + caminho.substr(caminho.find(' ') + 1) + "\"";
}

std::string listaDeTarefas(const CLI::App& comando) {
  std::string lista;
  const auto subs = tarefas(comando);
  for (size_t i = 0; i < subs.size(); ++i)
    lista += (i == 0 ? "" : i + 1 == subs.size() ? " ou " : ", ") + subs[i]->get_name();
  return lista;
}

// The text after the first ": " of a parser message ("" when none).
std::string depoisDosDoisPontos(const std::string& texto) {
  const size_t p = texto.find(": ");
  return p == std::string::npos ? std::string() : texto.substr(p + 2);
}

// The option a parser message names: its first word that begins with '-'.
std::string opcaoDaMensagem(const std::string& texto) {
  size_t p = texto.find(" -");
  p = texto.rfind("-", 0) == 0 ? 0 : p == std::string::npos ? p : p + 1;
  if (p == std::string::npos) return {};
  const size_t fim = texto.find_first_of(" :=,", p);
  return texto.substr(p, fim == std::string::npos ? std::string::npos : fim - p);
}

// The parser's errors are told apart by class: some carry the command's name in get_name().
template <class Tipo>
bool eh(const CLI::Error& erro) {
  return dynamic_cast<const Tipo*>(&erro) != nullptr;
}

}  // namespace

std::optional<std::string> nomeMaisParecido(const std::string& digitado,
                                            const std::vector<std::string>& candidatos) {
  const std::string d = chave(digitado);
  if (d.empty()) return std::nullopt;
  std::vector<std::string> abreviados;
  for (const std::string& c : candidatos)
    if (d.size() >= 3 && chave(c).rfind(d, 0) == 0 &&
        std::find(abreviados.begin(), abreviados.end(), c) == abreviados.end())
      abreviados.push_back(c);
  if (abreviados.size() == 1) return abreviados.front();
  const size_t limite = d.size() <= 4 ? 1 : d.size() <= 8 ? 2 : 3;
  std::optional<std::string> melhor;
  size_t menor = limite + 1;
  for (const std::string& c : candidatos)
    if (const size_t n = distancia(d, chave(c)); n < menor) {
      menor = n;
      melhor = c;
    }
  return melhor;
}

std::string caminhoDoComando(const CLI::App& comando) {
  std::string caminho = comando.get_name();
  for (const CLI::App* a = comando.get_parent(); a != nullptr; a = a->get_parent())
    caminho = a->get_name() + " " + caminho;
  return caminho;
}

const CLI::App& comandoEscolhido(const CLI::App& programa) {
  const CLI::App* atual = &programa;
  while (!atual->get_subcommands().empty())
    atual = atual->get_subcommands().front();
  return *atual;
}

std::optional<ErroDeUso> procuraNomeDesconhecido(const CLI::App& programa,
                                                 const std::vector<std::string>& args) {
  if (std::find_if(args.begin(), args.end(),
                   [](const std::string& a) { return a == "-h" || a == "--help"; }) != args.end())
    return std::nullopt;
  const CLI::App* atual = &programa;
  size_t livres = posicionais(programa);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--") break;
    if (a.size() > 1 && a[0] == '-') {
      const size_t igual = a.find('=');
      const std::string nome = a.substr(0, igual);
      const CLI::Option* opcao = opcaoChamada(atual, nome);
      if (opcao == nullptr)
        return ErroDeUso{"opção desconhecida" + deQual(*atual) + ": " + nome,
                         nomeMaisParecido(nome, nomesDeOpcoes(atual)).value_or(""), atual};
      // Its value, unless given after '=' (the parser takes the next argument, whatever it is).
      if (opcao->get_expected_min() > 0 && igual == std::string::npos) ++i;
      continue;
    }
    if (const CLI::App* sub = tarefaChamada(*atual, a)) {
      atual = sub;
      livres = posicionais(*sub);
      continue;
    }
    if (livres > 0) {
      --livres;
      continue;
    }
    std::vector<std::string> nomes;
    for (const CLI::App* s : tarefas(*atual))
      nomes.push_back(s->get_name());
    if (nomes.empty()) return ErroDeUso{"argumento a mais: " + a, {}, atual};
    return ErroDeUso{"tarefa desconhecida" + deQual(*atual) + ": " + a,
                     nomeMaisParecido(a, nomes).value_or(""), atual};
  }
  return std::nullopt;
}

std::string traduzErro(const CLI::Error& erro, const CLI::App& comando) {
  const std::string texto = erro.what();
  if (eh<CLI::RequiredError>(erro)) {
    if (texto.rfind("A subcommand", 0) == 0 || texto.rfind("Requires at least", 0) == 0)
      return "falta a tarefa" + deQual(comando) + ": " + listaDeTarefas(comando);
    const std::string sufixo = " is required";
    if (texto.size() > sufixo.size() &&
        texto.compare(texto.size() - sufixo.size(), sufixo.size(), sufixo) == 0) {
      const std::string falta = texto.substr(0, texto.size() - sufixo.size());
      return falta.rfind("-", 0) == 0 ? "falta a opção obrigatória " + falta : "falta o argumento " + falta;
    }
  }
  if (eh<CLI::ExcludesError>(erro) || eh<CLI::RequiresError>(erro)) {
    const bool exclui = eh<CLI::ExcludesError>(erro);
    const size_t p = texto.find(exclui ? " excludes " : " requires ");
    if (p != std::string::npos) {
      const std::string a = texto.substr(0, p), b = texto.substr(p + 10);  // " excludes " / " requires "
      return exclui ? a + " e " + b + " não podem ser usadas juntas" : a + " precisa de " + b;
    }
  }
  if (eh<CLI::ArgumentMismatch>(erro)) {
    const std::string opcao = opcaoDaMensagem(texto);
    if (texto.find("flag override") != std::string::npos) return opcao + " não recebe valor";
    if (!opcao.empty()) return "falta o valor de " + opcao;
  }
  if (eh<CLI::ConversionError>(erro)) {
    const std::string opcao = opcaoDaMensagem(texto);
    if (texto.find("for a flag") != std::string::npos || texto.find("true/false") != std::string::npos)
      return opcao + " não recebe valor";
    if (texto.rfind("Could not convert: ", 0) == 0) {
      const std::string resto = depoisDosDoisPontos(texto);
      const size_t igual = resto.find(" = ");
      if (igual != std::string::npos)
        return "valor inválido para " + resto.substr(0, igual) + ": " + resto.substr(igual + 3);
    }
    return "valor inválido para " + opcao;
  }
  if (eh<CLI::ValidationError>(erro)) return texto;  // the project's validators speak Portuguese
  if (eh<CLI::ExtrasError>(erro)) return "argumento a mais: " + depoisDosDoisPontos(texto);
  return "linha de comando inválida (" + texto + ")";
}

}  // namespace zuv
