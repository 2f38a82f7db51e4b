#include "cli/LinhaDeComando.h"

#include <unistd.h>

#include <functional>
#include <iostream>
#include <map>

#include "shell/LocalDoBanco.h"
#include "shell/PastaPrograma.h"

namespace zuv {

namespace {

std::map<std::string, RegistroTarefa>& registros() {
  static std::map<std::string, RegistroTarefa> r;  // by name: the help lists them in this order
  return r;
}

void traduzAjuda(CLI::App& programa) {
  auto formato = programa.get_formatter();
  formato->label("Usage", "Uso");
  formato->label("OPTIONS", "OPÇÕES");
  formato->label("SUBCOMMAND", "TAREFA");
  formato->label("SUBCOMMANDS", "TAREFAS");
  formato->label("Positionals", "Argumentos");
  formato->label("REQUIRED", "OBRIGATÓRIO");
  formato->label("TEXT", "TEXTO");
  formato->label("INT", "NÚMERO");
  formato->label("UINT", "NÚMERO");
  formato->label("Excludes", "Exclui");
  formato->label("Needs", "Requer");
  formato->column_width(34);
}

// Groups the options and subcommands under Portuguese headings, all the way down.
void agrupa(CLI::App& app) {
  for (CLI::Option* opcao : app.get_options())
    if (opcao->get_group() == "Options") opcao->group("Opções");
  for (CLI::App* sub : app.get_subcommands({})) {
    if (sub->get_group() == "Subcommands") sub->group("Tarefas");
    agrupa(*sub);
  }
}

// The first argument that is neither an option nor the value of --pasta-programa: the task.
std::string primeiraTarefa(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == kOpcaoPastaPrograma) {
      ++i;
      continue;
    }
    if (!args[i].empty() && args[i][0] != '-') return args[i];
    if (args[i] == "--") return {};
  }
  return {};
}

constexpr const char* kUseAjuda = "Use importadorzuv --help para ver as tarefas e as opções.";

}  // namespace

std::string nomeDaTarefa(const CLI::App* comando) {
  std::string nome;
  for (; comando != nullptr && comando->get_parent() != nullptr; comando = comando->get_parent())
    nome = comando->get_name() + (nome.empty() ? "" : " " + nome);
  return nome;
}

std::string opcoesDadas(const CLI::App* comando) {
  std::string texto;
  for (; comando != nullptr; comando = comando->get_parent()) {
    std::string deste;
    for (const CLI::Option* opcao : comando->get_options()) {
      if (opcao->count() == 0 || opcao == comando->get_help_ptr()) continue;
      deste += (deste.empty() ? "" : " ") + opcao->get_name();
      if (opcao->get_expected_max() == 0) continue;  // a flag
      for (const std::string& valor : opcao->results())
        deste +=
            " " +
            (valor.find_first_of(" '\"") == std::string::npos && !valor.empty() ? valor : entreAspas(valor));
    }
    if (!deste.empty()) texto = deste + (texto.empty() ? "" : " " + texto);
  }
  return texto;
}

void Tarefas::executa(CLI::App* comando, Operacao op) {
  comando->callback([this, op = std::move(op)] { escolhida_ = op; });
}

void Tarefas::executaNoBanco(CLI::App* comando, Execucao execucao, bool apaga) {
  auto opcoes = std::make_shared<OpcoesExecucao>();
  comando->add_flag("--atomico", opcoes->atomico,
                    "Tudo ou nada: a operação inteira numa transação, gravada só se terminar bem "
                    "(uma operação que lista as linhas com erro e segue grava o resto no fim)");
  comando->add_flag("--simular", opcoes->simular,
                    "Executa e desfaz tudo no fim, mostrando o que mudaria; nenhum arquivo é gravado");
  comando
      ->add_option("--relatorio", opcoes->relatorio,
                   "Grava o relatório das alterações (e das linhas recusadas) neste CSV")
      ->type_name("ARQUIVO");
  if (apaga)
    comando->add_flag("--sem-copia", opcoes->semCopia,
                      "Não faz a cópia de segurança do banco antes de apagar");
  executa(comando, [opcoes, execucao = std::move(execucao), comando](Tela& tela) {
    ContextoExecucao ctx(tela, pastaPrograma(), *opcoes);
    ctx.descreve(nomeDaTarefa(comando), opcoesDadas(comando));
    return executaNoContexto(ctx, execucao);
  });
}

bool registraTarefa(const std::string& nome, RegistroTarefa registro) {
  if (!registros().emplace(nome, registro).second) {
    std::cerr << "importadorzuv: a tarefa " << nome << " já está registrada" << std::endl;
    return false;
  }
  return true;
}

int statusDeSaida(const Resultado& r) {
  switch (r.desfecho) {
    case Resultado::Desfecho::Concluido:
      return kSaidaNormal;
    case Resultado::Desfecho::Falhou:
      return kSaidaFalha;
    case Resultado::Desfecho::EncerrarPrograma:
      break;
  }
  switch (r.motivo) {
    case MotivoFim::Normal:
      return kSaidaNormal;
    case MotivoFim::Falha:
      return kSaidaFalha;
    case MotivoFim::Configuracao:
      break;
  }
  return kSaidaUso;
}

int executaLinhaDeComando(const std::vector<std::string>& args, Terminal terminal) {
  CLI::App programa(
      "ImportadorZUV: carrega o banco de dados VENDAS.FDB do sistema ZUV a partir de planilhas e de "
      "outros bancos.\nSem argumentos abre o menu principal; com uma tarefa executa-a sem janelas.",
      "importadorzuv");
  traduzAjuda(programa);
  programa.set_help_flag("-h,--help", "Mostra esta ajuda e sai");
  programa.fallthrough();  // global options also after the task
  programa.require_subcommand(1);
  programa.footer(std::string("A pasta do programa (zuv.ini e planilhas) é a do executável; ") +
                  kOpcaoPastaPrograma + " ou a variável " + kVariavelPastaPrograma + " escolhem outra.\n" +
                  "Saída: 0 concluída, 1 a operação falhou, 2 erro de uso ou de configuração.");

  std::string pasta;
  programa.add_option(kOpcaoPastaPrograma, pasta, "Pasta do programa (zuv.ini, planilhas)")
      ->type_name("PASTA")
      ->check(CLI::ExistingDirectory);
  bool sim = false, nao = false, detalhes = false;
  auto* opcaoSim = programa.add_flag("--sim", sim, "Responde Sim a todas as perguntas da operação");
  auto* opcaoNao = programa.add_flag("--nao", nao, "Responde Não a todas as perguntas da operação");
  opcaoSim->excludes(opcaoNao);
  programa.add_flag("--detalhes", detalhes, "Mostra também os textos que a operação põe no formulário");

  Tarefas tarefas;
  for (const auto& [nome, registro] : registros())
    registro(programa, tarefas);
  agrupa(programa);

  programa.failure_message(
      [](const CLI::App*, const CLI::Error& e) { return "importadorzuv: " + std::string(e.what()) + "\n"; });
  if (const std::string tarefa = primeiraTarefa(args); !tarefa.empty() && registros().count(tarefa) == 0) {
    terminal.erros << "importadorzuv: tarefa desconhecida: " << tarefa << "\n" << kUseAjuda << std::endl;
    return kSaidaUso;
  }

  // CLI11 wants the arguments in reverse order.
  std::vector<std::string> invertidos(args.rbegin(), args.rend());
  try {
    programa.parse(invertidos);
  } catch (const CLI::ParseError& e) {
    const int status = programa.exit(e, terminal.saida, terminal.erros);
    if (status == 0) return kSaidaNormal;  // help
    terminal.erros << kUseAjuda << std::endl;
    return kSaidaUso;
  }
  if (!pasta.empty()) definePastaPrograma(pasta);
  if (const std::string problema = problemaPastaPrograma(pastaPrograma()); !problema.empty()) {
    terminal.erros << "importadorzuv: " << problema << std::endl;  // from ZUV_PASTA_PROGRAMA
    return kSaidaUso;
  }

  if (!tarefas.escolhida()) {
    // A task that needs one of its subcommands named, with none given.
    CLI::App* comando = &programa;
    while (!comando->get_subcommands().empty())
      comando = comando->get_subcommands().front();
    terminal.erros << comando->help();
    return kSaidaUso;
  }

  std::optional<bool> resposta;
  if (sim) resposta = true;
  if (nao) resposta = false;
  TelaTerminal tela(terminal, resposta, detalhes);
  try {
    const Resultado resultado = executaOperacao(tela, tarefas.escolhida());
    tela.terminaProgresso();
    return statusDeSaida(resultado);
  } catch (const PerguntaSemResposta& p) {
    tela.terminaProgresso();
    terminal.erros << "importadorzuv: a operação perguntou \"" << p.pergunta
                   << "\" e não há quem responda.\nUse --sim ou --nao para responder sem terminal."
                   << std::endl;
    return kSaidaUso;
  }
}

int executaLinhaDeComando(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  Terminal terminal{std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) == 1, isatty(STDERR_FILENO) == 1};
  return executaLinhaDeComando(args, terminal);
}

}  // namespace zuv
