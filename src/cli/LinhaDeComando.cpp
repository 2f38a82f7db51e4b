#include "cli/LinhaDeComando.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <iostream>
#include <map>

#include "cli/ErrosDeUso.h"
#include "cli/FormatoAjuda.h"
#include "platform/EncerramentoPorSinal.h"
#include "shell/LocalDoBanco.h"
#include "shell/PastaPrograma.h"

namespace zuv {

namespace {

std::map<std::string, RegistroTarefa>& registros() {
  static std::map<std::string, RegistroTarefa> r;  // by name: the help lists them in this order
  return r;
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

// "Use importadorzuv clientes --help para ver as tarefas e as opções."
std::string usaAjuda(const CLI::App& comando) {
  const bool temTarefas =
      !comando.get_subcommands([](const CLI::App* s) { return !s->get_name().empty(); }).empty();
  return "Use " + caminhoDoComando(comando) + " --help para ver " +
         (temTarefas ? "as tarefas e as opções." : "as opções.");
}

void informaErroDeUso(std::ostream& erros, const std::string& mensagem, const std::string& sugestao,
                      const CLI::App& comando) {
  erros << "importadorzuv: " << mensagem << "\n";
  if (!sugestao.empty()) erros << "Você quis dizer " << sugestao << "?\n";
  erros << usaAjuda(comando) << std::endl;
}

CLI::Validator pastaExistente() {
  return CLI::Validator([](std::string& pasta) { return problemaPastaPrograma(pasta); }, "");
}

// Ctrl+C: the handler only sets the flag (and says so with write, which a handler may call); the
// run notices it at its next row (TelaTerminal). A second Ctrl+C ends the process at once. The
// client library, which would end every connection on the signal, is asked to keep them.
volatile std::sig_atomic_t g_interrompida = 0;
volatile std::sig_atomic_t g_ctrlC = 0;  // Ctrl+C was pressed once (set by the handler alone)
bool g_errosNoTerminal = false;          // set before the handler is installed

void aoInterromper(int) {
  if (g_ctrlC != 0) {
    static const char kFim[] = "\nEncerrado.\n";
    [[maybe_unused]] const ssize_t escritos = write(STDERR_FILENO, kFim, sizeof kFim - 1);
    _exit(kSaidaInterrompida);
  }
  g_ctrlC = 1;
  g_interrompida = 1;
  // On a terminal it takes the progress bar's line (the bar is drawn again after), else a new one.
  static const char kAvisoTerminal[] =
      "\r\033[KInterrompendo: a operação para depois da linha em andamento (Ctrl+C de novo encerra já).\n";
  const size_t pula = g_errosNoTerminal ? 0 : 4;  // "\r\033[K"
  [[maybe_unused]] const ssize_t escritos =
      write(STDERR_FILENO, kAvisoTerminal + pula, sizeof kAvisoTerminal - 1 - pula);
}

void aoSinalDoMotor() {
  g_interrompida = 1;
}

class CapturaInterrupcao {
 public:
  explicit CapturaInterrupcao(bool errosNoTerminal) {
    g_errosNoTerminal = errosNoTerminal;
    struct sigaction acao {};
    acao.sa_handler = aoInterromper;
    sigemptyset(&acao.sa_mask);
    acao.sa_flags = SA_RESTART;
    sigaction(SIGINT, &acao, &anterior_);
    desviaEncerramentoPorSinal(aoSinalDoMotor);
  }
  ~CapturaInterrupcao() {
    desviaEncerramentoPorSinal(nullptr);
    sigaction(SIGINT, &anterior_, nullptr);
  }
  CapturaInterrupcao(const CapturaInterrupcao&) = delete;
  CapturaInterrupcao& operator=(const CapturaInterrupcao&) = delete;

 private:
  struct sigaction anterior_ {};
};

// The columns of the terminal on descritor; 0 when it is not a terminal.
int larguraDoTerminal(int descritor) {
  winsize janela{};
  if (isatty(descritor) == 1 && ioctl(descritor, TIOCGWINSZ, &janela) == 0) return janela.ws_col;
  return 0;
}

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

CLI::Validator numeroNaoNegativo() {
  return CLI::Validator(
      [](std::string& texto) {
        const bool valido = !texto.empty() && texto.find_first_not_of("0123456789") == std::string::npos;
        return valido ? std::string() : "o valor deve ser um número inteiro não negativo: " + texto;
      },
      "");
}

std::string textoInterrupcao(const OperacaoInterrompida& i, const OpcoesExecucao* opcoes) {
  std::string texto = "operação interrompida";
  if (i.feitas >= 0)
    texto += " depois de " + std::to_string(i.feitas) + " de " + std::to_string(i.total) +
             (i.total == 1 ? " linha" : " linhas");
  else if (i.valor >= 0)
    texto += " em " + std::to_string(i.valor) + "%";
  texto += ".";
  if (opcoes == nullptr) return texto;
  if (opcoes->simular) return texto + "\nNada foi gravado: era uma simulação (--simular).";
  if (opcoes->atomico) return texto + "\nNada foi gravado: com --atomico a operação inteira é desfeita.";
  return texto +
         "\nFica gravado o que a operação já tinha confirmado no banco; o que ela ainda não tinha confirmado "
         "foi desfeito.";
}

void Tarefas::executa(CLI::App* comando, Operacao op) {
  comando->callback([this, op = std::move(op)] {
    escolhida_ = op;
    opcoesEscolhidas_.reset();
  });
}

void Tarefas::executaNoBanco(CLI::App* comando, Execucao execucao, bool apaga) {
  auto opcoes = std::make_shared<OpcoesExecucao>();
  comando
      ->add_flag("--atomico", opcoes->atomico,
                 "Tudo ou nada: a operação inteira numa transação, gravada só se terminar bem "
                 "(uma operação que lista as linhas com erro e segue grava o resto no fim)")
      ->group(kGrupoExecucaoSegura);
  comando
      ->add_flag("--simular", opcoes->simular,
                 "Executa e desfaz tudo no fim, mostrando o que mudaria; nenhum arquivo é gravado")
      ->group(kGrupoExecucaoSegura);
  comando
      ->add_option("--relatorio", opcoes->relatorio,
                   "Grava o relatório das alterações (e das linhas recusadas) neste CSV")
      ->type_name("ARQUIVO")
      ->group(kGrupoExecucaoSegura);
  if (apaga)
    comando
        ->add_flag("--sem-copia", opcoes->semCopia, "Não faz a cópia de segurança do banco antes de apagar")
        ->group(kGrupoExecucaoSegura);
  executaComOpcoes(comando, std::move(execucao), opcoes, /*alteraBanco=*/true);
}

void Tarefas::executaSemAlterarBanco(CLI::App* comando, Execucao execucao, bool simulavel) {
  auto opcoes = std::make_shared<OpcoesExecucao>();
  if (simulavel)
    comando
        ->add_flag("--simular", opcoes->simular,
                   "Executa sem gravar arquivo nem encerrar processo, mostrando o que faria")
        ->group(kGrupoExecucaoSegura);
  executaComOpcoes(comando, std::move(execucao), opcoes, /*alteraBanco=*/false);
}

void Tarefas::executaComOpcoes(CLI::App* comando, Execucao execucao, std::shared_ptr<OpcoesExecucao> opcoes,
                               bool alteraBanco) {
  comando->callback([this, opcoes, alteraBanco, comando, execucao = std::move(execucao)] {
    escolhida_ = [opcoes, execucao, comando](Tela& tela) {
      ContextoExecucao ctx(tela, pastaPrograma(), *opcoes);
      ctx.descreve(nomeDaTarefa(comando), opcoesDadas(comando));
      return executaNoContexto(ctx, execucao);
    };
    opcoesEscolhidas_ = alteraBanco ? opcoes : nullptr;
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
  // Before any task is added: every (sub)command takes the formatter its parent has.
  programa.formatter(std::make_shared<FormatoAjuda>(terminal.largura));
  programa.set_help_flag("-h,--help", "Mostra esta ajuda e sai");
  programa.fallthrough();  // global options also after the task
  programa.require_subcommand(1);
  programa.footer(std::string("A pasta do programa (zuv.ini e planilhas) é a do executável; ") +
                  kOpcaoPastaPrograma + " ou a variável " + kVariavelPastaPrograma + " escolhem outra.\n" +
                  "Saída: 0 concluída, 1 a operação falhou, 2 erro de uso ou de configuração, 130 "
                  "interrompida com Ctrl+C.");

  std::string pasta;
  programa.add_option(kOpcaoPastaPrograma, pasta, "Pasta do programa (zuv.ini, planilhas)")
      ->type_name("PASTA")
      ->check(pastaExistente());
  bool sim = false, nao = false, detalhes = false;
  auto* opcaoSim = programa.add_flag("--sim", sim, "Responde Sim a todas as perguntas da operação");
  auto* opcaoNao = programa.add_flag("--nao", nao, "Responde Não a todas as perguntas da operação");
  opcaoSim->excludes(opcaoNao);
  programa.add_flag("--detalhes", detalhes, "Mostra também os textos que a operação põe no formulário");

  Tarefas tarefas;
  for (const auto& [nome, registro] : registros())
    registro(programa, tarefas);
  agrupa(programa);

  if (const std::optional<ErroDeUso> erro = procuraNomeDesconhecido(programa, args)) {
    informaErroDeUso(terminal.erros, erro->mensagem, erro->sugestao, *erro->comando);
    return kSaidaUso;
  }
  // CLI11 wants the arguments in reverse order.
  std::vector<std::string> invertidos(args.rbegin(), args.rend());
  try {
    programa.parse(invertidos);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) {  // --help
      programa.exit(e, terminal.saida, terminal.erros);
      return kSaidaNormal;
    }
    const CLI::App& comando = comandoEscolhido(programa);
    informaErroDeUso(terminal.erros, traduzErro(e, comando), {}, comando);
    return kSaidaUso;
  }
  if (!pasta.empty()) definePastaPrograma(pasta);
  if (const std::string problema = problemaPastaPrograma(pastaPrograma()); !problema.empty()) {
    terminal.erros << "importadorzuv: " << problema << std::endl;  // from ZUV_PASTA_PROGRAMA
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
  } catch (const OperacaoInterrompida& interrupcao) {
    tela.terminaProgresso();
    terminal.erros << "importadorzuv: " << textoInterrupcao(interrupcao, tarefas.opcoesEscolhidas())
                   << std::endl;
    return kSaidaInterrompida;
  }
}

int executaLinhaDeComando(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int largura = larguraDoTerminal(STDERR_FILENO);
  if (largura == 0) largura = larguraDoTerminal(STDOUT_FILENO);
  Terminal terminal{std::cin,
                    std::cout,
                    std::cerr,
                    isatty(STDIN_FILENO) == 1,
                    isatty(STDERR_FILENO) == 1,
                    largura > 0 ? largura : 100,
                    [] { return g_interrompida != 0; }};
  CapturaInterrupcao captura(terminal.errosNoTerminal);
  return executaLinhaDeComando(args, terminal);
}

}  // namespace zuv
