#include "shell/RestauraCopia.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <optional>

#include "common/Erro.h"
#include "common/Tela.h"
#include "platform/Conexao.h"
#include "platform/CopiaBanco.h"
#include "shell/BancoZUV.h"
#include "shell/ContextoExecucao.h"
#include "shell/DiarioExecucoes.h"
#include "shell/LocalDoBanco.h"
#include "shell/RelatorioAlteracoes.h"

namespace zuv {

namespace fs = std::filesystem;

namespace {

// "<nome>_AAAAMMDD_HHMMSS_<tarefa>.fbk": the date and time ("AAAAMMDD_HHMMSS") and the task, or
// nothing when the file is not a backup of that database.
struct NomeDaCopia {
  std::string carimbo, tarefa;
};

std::optional<NomeDaCopia> leNome(const std::string& arquivo, const std::string& nome) {
  if (arquivo.size() < nome.size() + 20 || arquivo.compare(0, nome.size() + 1, nome + "_") != 0 ||
      fs::path(arquivo).extension() != ".fbk")
    return std::nullopt;
  const std::string resto = arquivo.substr(nome.size() + 1);
  for (size_t i = 0; i < 15; ++i)
    if (i == 8 ? resto[i] != '_' : !std::isdigit(static_cast<unsigned char>(resto[i]))) return std::nullopt;
  NomeDaCopia n{resto.substr(0, 15), {}};
  if (resto[15] == '_') n.tarefa = fs::path(resto.substr(16)).stem().string();
  return n;
}

std::string dataDaCopia(const fs::path& arquivo, const std::string& carimbo) {
  if (carimbo.size() == 15)
    return carimbo.substr(6, 2) + "/" + carimbo.substr(4, 2) + "/" + carimbo.substr(0, 4) + " " +
           carimbo.substr(9, 2) + ":" + carimbo.substr(11, 2) + ":" + carimbo.substr(13, 2);
  struct stat st {};
  return ::stat(arquivo.c_str(), &st) == 0 ? dataHora(st.st_mtime) : std::string("data desconhecida");
}

// The restored file takes the place of the old one with its permissions and, where this process
// may give them, its owner and group (a server that opens the database as its own user).
void mantemDono(const std::string& antigo, const std::string& novo) {
  struct stat st {};
  if (::stat(antigo.c_str(), &st) != 0) return;
  ::chmod(novo.c_str(), st.st_mode & 07777);
  if (::chown(novo.c_str(), st.st_uid, st.st_gid) != 0) {
    // Not allowed: the file stays this user's, as every file the program writes.
  }
}

void verificaAbre(const std::string& textoConexao) {
  Conexao c(textoConexao);
  c.abre("Select Count(*) From RDB$RELATIONS");
}

std::string textoConexaoDe(const std::string& banco) {
  return std::string(" provider=LCPI.IBProvider.1;data source=") + banco + ";" + kCaudaConexao;
}

// The other connections to the database of conexao (none in use: ""), as "address program" each.
std::string outrasConexoes(Conexao& conexao) {
  std::string quais;
  Recordset rs = conexao.abre(
      "Select MON$REMOTE_ADDRESS, MON$REMOTE_PROCESS From MON$ATTACHMENTS "
      "Where MON$ATTACHMENT_ID <> CURRENT_CONNECTION And MON$SYSTEM_FLAG = 0");
  for (; !rs.eof(); rs.proximo()) {
    std::string uma;
    for (int i = 0; i < 2; ++i)
      if (!rs.valor(i).nulo()) uma += (uma.empty() ? "" : " ") + rs.valor(i).textoRegional(1);
    quais += (quais.empty() ? "" : ", ") + (uma.empty() ? std::string("nesta máquina") : uma);
  }
  return quais;
}

Resultado falha(Tela& tela, const std::string& texto) {
  tela.mensagem(texto, Icone::Exclamacao);
  return Resultado::falhou(texto);
}

}  // namespace

std::string comandoRestauracao(const std::string& arquivo, const std::string& banco) {
  return "importadorzuv restaurar " + entreAspas(arquivo) + " --banco " + entreAspas(banco);
}

std::string ultimaCopia(const LocalDoBanco& local) {
  fs::path melhor;
  std::string melhorCarimbo;
  fs::file_time_type melhorHora{};
  std::error_code erro;
  for (fs::directory_iterator it(local.subpasta(kPastaCopias), erro), fim; !erro && it != fim;
       it.increment(erro)) {
    const auto nome = leNome(it->path().filename().string(), local.nome);
    if (!nome || !it->is_regular_file()) continue;
    const auto hora = it->last_write_time();
    if (melhor.empty() || nome->carimbo > melhorCarimbo ||
        (nome->carimbo == melhorCarimbo && hora > melhorHora)) {
      melhor = it->path();
      melhorCarimbo = nome->carimbo;
      melhorHora = hora;
    }
  }
  return melhor.string();
}

Resultado RestauraCopia(ContextoExecucao& ctx, const OpcoesRestauracao& opcoes) {
  Tela& tela = ctx.tela();
  LocalDoBanco local;
  std::string textoConexao;
  try {
    if (opcoes.banco.empty()) {
      textoConexao = textoConexaoZUV(lePastaDados(ctx.pastaPrograma()));
      local = localDoBancoZUV(ctx.pastaPrograma());
    } else {
      textoConexao = textoConexaoDe(opcoes.banco);
      local = localDoBanco(ParametrosConexao::deTexto(textoConexao).caminhoBanco(), ctx.pastaPrograma());
    }
  } catch (const ErroConfiguracao& e) {
    tela.mensagem(e.what(), Icone::Informacao);
    return Resultado::encerrar(MotivoFim::Configuracao);
  }
  const ParametrosConexao parametros = ParametrosConexao::deTexto(textoConexao);

  // Which backup, and whether it is this database's.
  std::string arquivo = opcoes.arquivo;
  if (arquivo.empty()) {
    arquivo = ultimaCopia(local);
    if (arquivo.empty())
      return falha(tela, "Nenhuma cópia de segurança de " + local.arquivo + " em " +
                             local.subpasta(kPastaCopias) + ". Nada foi restaurado.");
  }
  arquivo = fs::absolute(arquivo).lexically_normal().string();
  if (!fs::is_regular_file(arquivo))
    return falha(tela, "A cópia " + arquivo + " não existe. Nada foi restaurado.");
  const auto nome = leNome(fs::path(arquivo).filename().string(), local.nome);
  if (opcoes.banco.empty() &&
      (!nome || fs::path(arquivo).parent_path() != fs::path(local.subpasta(kPastaCopias)).lexically_normal()))
    return falha(tela, "A cópia " + arquivo + " não é uma das cópias de " + local.banco + " (em " +
                           local.subpasta(kPastaCopias) +
                           "). Para restaurá-la nesse banco, diga-o com --banco. Nada foi restaurado.");
  ctx.defineOrigem(arquivo);
  std::string descricao =
      "Cópia de segurança: " + arquivo + "\nDe " + dataDaCopia(arquivo, nome ? nome->carimbo : "");
  if (nome && !nome->tarefa.empty()) descricao += ", tirada antes de \"" + nome->tarefa + "\"";
  tela.mensagem(descricao + ".", Icone::Informacao);

  // The database as it is: free, then backed up.
  const bool remoto = !local.servidor.empty();
  const std::string caminho = remoto ? local.banco : (fs::path(local.pasta) / local.arquivo).string();
  const bool existe = remoto || fs::exists(caminho);
  Conexao* atual = nullptr;
  if (existe) {
    try {
      atual = &ctx.abreOutra(textoConexao);
      if (const std::string outras = outrasConexoes(*atual); !outras.empty())
        return falha(tela, "O banco de dados " + local.banco + " está em uso por outra conexão (" + outras +
                               "). Feche o sistema ZUV e tente de novo. Nada foi restaurado.");
    } catch (const ErroBanco& e) {
      return falha(tela,
                   "Não foi possível abrir " + local.banco + ": " + e.what() + "\nNada foi restaurado.");
    }
  }
  if (!tela.pergunta("Restaurar " + local.banco + " com a cópia de " +
                         dataDaCopia(arquivo, nome ? nome->carimbo : "") +
                         "? O que foi gravado no banco depois dela se perde" +
                         (existe ? " (o estado atual é copiado antes)." : "."),
                     Icone::Exclamacao, {}, Padrao::Nao)) {
    tela.nota("Nada foi restaurado.");
    return Resultado::falhou("Nada foi restaurado.");
  }
  try {
    if (atual != nullptr) {
      ctx.copiaDeSeguranca(*atual, "antes-de-restaurar");
      atual->fecha();
    }
  } catch (const Erro& e) {
    return falha(tela, std::string(e.what()) + " Nada foi restaurado.");
  }

  tela.cursorEspera(true);
  try {
    if (remoto) {
      restauraBanco(arquivo, local.banco, parametros.usuario, parametros.senha, true);
      verificaAbre(textoConexao);
    } else {
      // Restored beside it and checked before it takes the database's place: a backup that does not
      // restore leaves the database as it was.
      const std::string temporario = caminho + ".restaurando";
      std::error_code erro;
      fs::remove(temporario, erro);
      try {
        restauraBanco(arquivo, temporario, parametros.usuario, parametros.senha, false);
        verificaAbre(textoConexaoDe(temporario));
        mantemDono(caminho, temporario);
        fs::rename(temporario, caminho);
      } catch (...) {
        fs::remove(temporario, erro);
        throw;
      }
      verificaAbre(textoConexao);
    }
  } catch (const std::exception& e) {
    tela.cursorEspera(false);
    std::string texto = "A restauração de " + local.banco + " falhou: " + e.what();
    texto += remoto && !ctx.copias().empty()
                 ? "\nO banco pode ter ficado incompleto: restaure o estado anterior com " +
                       comandoRestauracao(ctx.copias().back(), local.banco)
                 : "\nO banco ficou como estava.";
    return falha(tela, texto);
  }
  tela.cursorEspera(false);
  std::string texto = "Banco restaurado: " + local.banco + ", com a cópia " + arquivo + ".";
  if (!ctx.copias().empty())
    texto += "\nPara desfazer a restauração: " + comandoRestauracao(ctx.copias().back(), local.banco);
  tela.mensagem(texto, Icone::Informacao);
  return Resultado::concluido();
}

}  // namespace zuv
