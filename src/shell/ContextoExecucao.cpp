#include "shell/ContextoExecucao.h"

#include <cctype>
#include <ctime>
#include <filesystem>

#include "common/Erro.h"
#include "common/Tela.h"
#include "platform/Conexao.h"
#include "platform/CopiaBanco.h"
#include "shell/BancoZUV.h"

namespace zuv {

namespace fs = std::filesystem;

struct ContextoExecucao::Ligacao {
  Conexao* conexao;
  bool atomica;  // put in atomic mode by this context
  std::string banco;
};

namespace {

// The file name of a database ("VENDAS.FDB" of "localhost:/dados/VENDAS.FDB").
std::string nomeDoBanco(const Conexao& c) {
  std::string caminho = c.parametros().caminhoBanco();
  const size_t barra = caminho.find_last_of("/:");
  return barra == std::string::npos ? caminho : caminho.substr(barra + 1);
}

// A path as the client library names it, without a server prefix.
std::string semServidor(const std::string& banco) {
  const size_t dois = banco.find(':');
  if (banco.empty() || banco[0] == '/' || dois == std::string::npos || dois < 2) return banco;
  return banco.substr(dois + 1);
}

std::string carimbo() {
  const std::time_t agora = std::time(nullptr);
  std::tm t{};
  localtime_r(&agora, &t);
  char texto[32];
  std::strftime(texto, sizeof texto, "%Y%m%d_%H%M%S", &t);
  return texto;
}

// A task name as part of a file name: letters, digits, '-' and '_'.
std::string parteDeArquivo(const std::string& tarefa) {
  std::string s;
  for (char c : tarefa)
    s += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
  return s.empty() ? std::string("execucao") : s;
}

}  // namespace

ContextoExecucao::ContextoExecucao(Tela& tela, std::string pastaPrograma, OpcoesExecucao opcoes)
    : tela_(tela), pastaPrograma_(std::move(pastaPrograma)), opcoes_(std::move(opcoes)) {
  if (opcoes_.simular) opcoes_.atomico = true;
}

ContextoExecucao::~ContextoExecucao() {
  // A context left without termina (an exception before executaNoContexto): the run is undone on the
  // connections it does not own; its own ones roll back when they close.
  for (const auto& l : ligacoes_) {
    try {
      if (l->atomica && l->conexao->aberta() && l->conexao->atomica()) l->conexao->desfazAtomica();
      l->conexao->contaAlteracoes(false);
    } catch (const std::exception&) {
    }
  }
}

Conexao& ContextoExecucao::prepara(Conexao& conexao) {
  for (const auto& l : ligacoes_)
    if (l->conexao == &conexao) return conexao;
  auto l = std::make_unique<Ligacao>(Ligacao{&conexao, false, nomeDoBanco(conexao)});
  conexao.zeraAlteracoes();
  conexao.contaAlteracoes(true);
  if (opcoes_.atomico && !conexao.atomica()) {
    conexao.defineAtomica(true, reservadas_);
    l->atomica = true;
  }
  ligacoes_.push_back(std::move(l));
  return conexao;
}

Conexao& ContextoExecucao::zuv() {
  if (zuv_ == nullptr) {
    zuvPropria_ = AbreBancoDados(pastaPrograma_, tela_);
    zuv_ = zuvPropria_.get();
  }
  return prepara(*zuv_);
}

void ContextoExecucao::usaConexao(Conexao& conexao) {
  zuv_ = &conexao;
}

Conexao& ContextoExecucao::abreOutra(const std::string& textoConexao) {
  outras_.push_back(std::make_unique<Conexao>(textoConexao));
  return prepara(*outras_.back());
}

void ContextoExecucao::copiaDeSeguranca(Conexao& conexao, const std::string& tarefa) {
  if (opcoes_.semCopia || opcoes_.simular) return;
  const std::string banco = nomeDoBanco(conexao);
  // The data folder of zuv.ini when there is one, else the database's own folder.
  std::string pasta;
  try {
    pasta = semServidor(lePastaDados(pastaPrograma_));
    for (char& c : pasta)
      if (c == '\\') c = '/';
  } catch (const Erro&) {
  }
  if (pasta.empty()) pasta = fs::path(semServidor(conexao.bancoAnexado())).parent_path().string();
  const fs::path copias = fs::path(pasta) / "copias";
  const std::string arquivo =
      (copias / ("VENDAS_" + carimbo() + "_" + parteDeArquivo(tarefa) + ".fbk")).string();
  const std::string falha =
      "A cópia de segurança de " + banco + " em " + arquivo + " falhou; nada foi excluído. ";
  std::error_code erro;
  fs::create_directories(copias, erro);
  if (erro) throw Erro(falha + "Não foi possível criar a pasta " + copias.string() + ": " + erro.message());
  try {
    copiaBanco(conexao, arquivo);
  } catch (const Erro& e) {
    throw Erro(falha + e.what());
  }
  copias_.push_back(arquivo);
  tela_.nota("Cópia de segurança de " + banco + ": " + arquivo +
             "\nPara restaurá-la, com o programa fechado: " + comandoRestauracao(arquivo, conexao));
}

void ContextoExecucao::registraFalha(const std::string& onde, const std::string& causa) {
  falhas_.push_back({onde, causa});
}

std::string ContextoExecucao::termina(bool confirmar) {
  if (terminado_) return {};
  terminado_ = true;
  std::string erroConfirmacao;
  bool desfeito = false;
  for (const auto& l : ligacoes_) {
    Conexao& c = *l->conexao;
    if (!l->atomica) continue;
    desfeito = desfeito || !confirmar;
    try {
      if (!c.aberta() || !c.atomica()) continue;
      if (confirmar && erroConfirmacao.empty()) {
        c.defineAtomica(false);
      } else {
        c.desfazAtomica();
        desfeito = true;
      }
    } catch (const Erro& e) {
      if (confirmar && erroConfirmacao.empty()) {
        erroConfirmacao = e.what();
        desfeito = true;
      }
    }
  }
  std::vector<AlteracoesDoBanco> bancos;
  for (const auto& l : ligacoes_) {
    bancos.push_back({l->banco, l->conexao->alteracoes()});
    l->conexao->contaAlteracoes(false);
  }
  const DestinoAlteracoes destino = opcoes_.simular ? DestinoAlteracoes::Simuladas
                                    : desfeito      ? DestinoAlteracoes::Desfeitas
                                                    : DestinoAlteracoes::Gravadas;
  std::string texto = textoRelatorio(bancos, destino);
  // What a lost connection took with it was never written: said apart, in the same lines.
  for (const auto& l : ligacoes_) {
    const Alteracoes& perdidas = l->conexao->alteracoesPerdidas();
    if (vazias(perdidas)) continue;
    const std::string linhas = textoRelatorio({{l->banco, perdidas}}, DestinoAlteracoes::Gravadas);
    texto += (texto.empty() ? "" : "\n") +
             ("A conexão com " + l->banco + " caiu; o servidor desfez o que ainda não estava gravado:") +
             linhas.substr(linhas.find('\n'));
  }
  if (!texto.empty()) tela_.nota(texto);
  if (!opcoes_.relatorio.empty()) {
    try {
      gravaRelatorioCsv(opcoes_.relatorio, bancos, falhas_, destino);
      tela_.nota("Relatório das alterações: " + opcoes_.relatorio);
    } catch (const Erro& e) {
      tela_.nota(e.what());
    }
  }
  return erroConfirmacao;
}

Resultado executaNoContexto(ContextoExecucao& ctx, const Execucao& execucao) {
  TelaDoEscopo escopo(ctx.tela());
  Resultado r;
  try {
    r = execucao(ctx);
  } catch (const FimDoPrograma& fim) {
    const bool normal = fim.motivo == MotivoFim::Normal;
    const std::string erro = ctx.termina(normal && !ctx.simulacao());
    if (!erro.empty()) {
      ctx.tela().mensagem(erro, Icone::Exclamacao);
      return Resultado::falhou(erro);
    }
    if (normal && ctx.simulacao()) return Resultado::concluido();
    throw;
  } catch (...) {
    ctx.termina(false);
    throw;
  }
  const bool normal = r.desfecho == Resultado::Desfecho::Concluido ||
                      (r.desfecho == Resultado::Desfecho::EncerrarPrograma && r.motivo == MotivoFim::Normal);
  const std::string erro = ctx.termina(normal && !ctx.simulacao());
  if (!erro.empty()) {
    ctx.tela().mensagem(erro, Icone::Exclamacao);
    return Resultado::falhou(erro);
  }
  if (ctx.simulacao() && r.desfecho == Resultado::Desfecho::EncerrarPrograma && r.motivo == MotivoFim::Normal)
    return Resultado::concluido();
  return r;
}

}  // namespace zuv
