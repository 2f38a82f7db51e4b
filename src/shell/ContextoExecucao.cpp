#include "shell/ContextoExecucao.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "common/Erro.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "platform/Conexao.h"
#include "platform/CopiaBanco.h"
#include "schema/ContagemExclusao.h"
#include "shell/BancoZUV.h"
#include "shell/DiarioExecucoes.h"
#include "shell/LocalDoBanco.h"
#include "shell/RestauraCopia.h"

namespace zuv {

namespace fs = std::filesystem;

struct ContextoExecucao::Ligacao {
  Conexao* conexao;
  bool atomica;         // put in atomic mode by this context
  std::string banco;    // the file's name, for the change report
  std::string caminho;  // as the client library takes it
};

namespace {

// The file name of a database ("VENDAS.FDB" of "localhost:/dados/VENDAS.FDB").
std::string nomeDoBanco(const Conexao& c) {
  std::string caminho = c.parametros().caminhoBanco();
  const size_t barra = caminho.find_last_of("/:");
  return barra == std::string::npos ? caminho : caminho.substr(barra + 1);
}

std::string carimbo() {
  const std::time_t agora = std::time(nullptr);
  std::tm t{};
  localtime_r(&agora, &t);
  char texto[32];
  std::strftime(texto, sizeof texto, "%Y%m%d_%H%M%S", &t);
  return texto;
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
  auto l = std::make_unique<Ligacao>(
      Ligacao{&conexao, false, nomeDoBanco(conexao), conexao.parametros().caminhoBanco()});
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

void ContextoExecucao::descreve(std::string tarefa, std::string opcoesDadas) {
  tarefa_ = std::move(tarefa);
  opcoesDadas_ = std::move(opcoesDadas);
}

void ContextoExecucao::copiaDeSeguranca(Conexao& conexao, const std::string& tarefa) {
  if (opcoes_.semCopia || opcoes_.simular) return;
  const LocalDoBanco local = localDoBanco(conexao, pastaPrograma_);
  const fs::path copias = local.subpasta(kPastaCopias);
  const std::string base = local.nome + "_" + carimbo() + "_" + parteDeArquivo(tarefa);
  fs::path arquivo = copias / (base + ".fbk");
  for (int n = 2; fs::exists(arquivo); ++n)
    arquivo = copias / (base + "_" + std::to_string(n) + ".fbk");
  const std::string falha =
      "A cópia de segurança de " + local.arquivo + " em " + arquivo.string() + " falhou; nada foi excluído. ";
  std::error_code erro;
  fs::create_directories(copias, erro);
  if (erro) throw Erro(falha + "Não foi possível criar a pasta " + copias.string() + ": " + erro.message());
  try {
    copiaBanco(conexao, arquivo.string());
  } catch (const Erro& e) {
    throw Erro(falha + e.what());
  }
  copias_.push_back(arquivo.string());
  restauracoes_.push_back(comandoRestauracao(arquivo.string(), local.banco));
  std::string nota = "Cópia de segurança de " + local.arquivo + ": " + arquivo.string();
  if (!local.servidor.empty())
    nota += "\n(o banco está no servidor " + local.servidor +
            "; a cópia fica nesta máquina, na pasta do programa)";
  tela_.nota(nota + "\nPara restaurá-la: " + restauracoes_.back());
}

bool ContextoExecucao::confirmaExclusao(Conexao& conexao, const std::vector<std::string>& instrucoes,
                                        const std::string& oQue) {
  const auto contagens = contaExclusao(conexao, instrucoes);
  if (contagens.empty()) return true;
  const std::string banco = conexao.parametros().caminhoBanco();
  if (opcoes_.simular) {
    tela_.nota("Simulação: " + textoExclusao(contagens, true) + " de " + banco + ".");
    return true;
  }
  return tela_.pergunta(oQue + ": " + textoExclusao(contagens) + " de " + banco + ". Continuar?",
                        Icone::Exclamacao, {}, Padrao::Nao);
}

void ContextoExecucao::registraFalha(const std::string& onde, const std::string& causa) {
  falhas_.push_back({onde, causa});
}

void ContextoExecucao::registraAchado(const std::string& onde, const std::string& causa) {
  registraFalha(onde, causa);
  ++achados_;
}

std::string ContextoExecucao::termina(bool confirmar, const std::string& desfecho) {
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
  // A run that failed or was stopped (Ctrl+C) with a transaction of its own still open: what it had
  // not committed goes now, as closing would do later, so that the report says what stays.
  if (!confirmar)
    for (const auto& l : ligacoes_) {
      try {
        if (!l->atomica && l->conexao->aberta() && !l->conexao->atomica() && l->conexao->emTransacao())
          l->conexao->desfaz();
      } catch (const Erro&) {
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
  if (const std::string texto = textoRelatorio(bancos, destino); !texto.empty()) tela_.nota(texto);
  if (!opcoes_.relatorio.empty()) {
    try {
      gravaRelatorioCsv(opcoes_.relatorio, bancos, falhas_, destino);
      tela_.nota("Relatório das alterações: " + opcoes_.relatorio);
    } catch (const Erro& e) {
      tela_.nota(e.what());
    }
  }
  const bool alterou =
      std::any_of(bancos.begin(), bancos.end(), [](const auto& b) { return !vazias(b.alteracoes); });
  if (!tarefa_.empty() && !ligacoes_.empty() && (alterou || tarefaGrava(tarefa_))) {
    ResumoExecucao resumo =
        resume(bancos, destino, erroConfirmacao.empty() ? desfecho : "falhou: " + erroConfirmacao);
    gravaDiario(resumo);
    if (aoTerminar_) aoTerminar_(resumo);
  }
  return erroConfirmacao;
}

ResumoExecucao ContextoExecucao::resume(const std::vector<AlteracoesDoBanco>& bancos,
                                        DestinoAlteracoes destino, const std::string& desfecho) const {
  ResumoExecucao r;
  r.tarefa = tarefa_;
  r.opcoes = opcoesDadas_;
  r.origem = origem_.empty() ? origemDaTarefa(tarefa_, pastaPrograma_) : origem_;
  // The database written: the last one with changes, else the ZUV one, else the last one opened
  // (a copy opens its origin before its destination).
  const Ligacao* escrita = nullptr;
  for (size_t i = 0; i < ligacoes_.size(); ++i)
    if (!vazias(bancos[i].alteracoes)) escrita = ligacoes_[i].get();
  for (const auto& l : ligacoes_)
    if (escrita == nullptr && l->conexao == zuv_) escrita = l.get();
  if (escrita == nullptr) escrita = ligacoes_.back().get();
  r.banco = escrita->caminho;
  r.inicio = inicio_;
  r.fim = std::time(nullptr);
  r.segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - relogio_).count();
  r.desfecho = desfecho;
  // The task's own rows: counted by the run, else by the engine in the task's table (which also
  // tells the rows a wipe removed).
  if (const std::string tabela = tabelaDaTarefa(tarefa_); !tabela.empty()) {
    ContagemLinhas c;
    for (const AlteracoesDoBanco& b : bancos)
      if (auto it = b.alteracoes.find(tabela); it != b.alteracoes.end()) {
        c.importadas += it->second.incluidos;
        c.atualizadas += it->second.alterados;
        c.excluidas += it->second.excluidos;
      }
    c.comErro = static_cast<long long>(falhas_.size() - achados_);
    if (linhas_) {
      c.importadas = linhas_->importadas;
      c.atualizadas = linhas_->atualizadas;
      c.comErro = linhas_->comErro;
    }
    r.linhas = c;
  } else {
    r.linhas = linhas_;
  }
  r.copias = copias_;
  r.restauracoes = restauracoes_;
  r.bancos = bancos;
  r.falhas = falhas_;
  r.destino = destino;
  return r;
}

void ContextoExecucao::gravaDiario(ResumoExecucao& resumo) {
  const std::string arquivo = arquivoDoDiario(localDoBanco(resumo.banco, pastaPrograma_), inicio_, tarefa_);
  std::error_code erro;
  fs::create_directories(fs::path(arquivo).parent_path(), erro);
  try {
    if (erro)
      throw Erro("Não foi possível criar a pasta " + fs::path(arquivo).parent_path().string() + ": " +
                 erro.message());
    resumo.relatorio = arquivo;
    gravaRelatorioExecucao(arquivo, resumo);
    tela_.nota("Relatório desta execução: " + arquivo);
  } catch (const Erro& e) {
    resumo.relatorio.clear();
    tela_.nota(std::string("O relatório desta execução não foi gravado: ") + e.what());
  }
}

namespace {

std::string desfechoDe(const Resultado& r, bool simulacao) {
  const bool normal = r.desfecho == Resultado::Desfecho::Concluido ||
                      (r.desfecho == Resultado::Desfecho::EncerrarPrograma && r.motivo == MotivoFim::Normal);
  if (normal) return simulacao ? "simulação" : "concluída";
  return r.mensagem.empty() ? std::string("falhou") : "falhou: " + r.mensagem;
}

}  // namespace

Resultado executaNoContexto(ContextoExecucao& ctx, const Execucao& execucao) {
  TelaDoEscopo escopo(ctx.tela());
  Resultado r;
  try {
    r = execucao(ctx);
  } catch (const FimDoPrograma& fim) {
    const bool normal = fim.motivo == MotivoFim::Normal;
    const std::string erro =
        ctx.termina(normal && !ctx.simulacao(), desfechoDe(Resultado::encerrar(fim.motivo), ctx.simulacao()));
    if (!erro.empty()) {
      ctx.tela().mensagem(erro, Icone::Exclamacao);
      return Resultado::falhou(erro);
    }
    if (normal && ctx.simulacao()) return Resultado::concluido();
    throw;
  } catch (const std::exception& e) {
    ctx.termina(false, "interrompida: " + std::string(e.what()));
    throw;
  } catch (...) {
    ctx.termina(false, "interrompida");
    throw;
  }
  const bool normal = r.desfecho == Resultado::Desfecho::Concluido ||
                      (r.desfecho == Resultado::Desfecho::EncerrarPrograma && r.motivo == MotivoFim::Normal);
  const std::string erro = ctx.termina(normal && !ctx.simulacao(), desfechoDe(r, ctx.simulacao()));
  if (!erro.empty()) {
    ctx.tela().mensagem(erro, Icone::Exclamacao);
    return Resultado::falhou(erro);
  }
  if (ctx.simulacao() && r.desfecho == Resultado::Desfecho::EncerrarPrograma && r.motivo == MotivoFim::Normal)
    return Resultado::concluido();
  return r;
}

}  // namespace zuv
