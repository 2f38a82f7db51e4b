#include "dbcopy/ParBancos.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "platform/Conexao.h"
#include "schema/Registros.h"
#include "shell/BancoZUV.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

namespace fs = std::filesystem;

namespace {

bool servidorLocal(const std::string& servidor) {
  if (servidor == "localhost" || servidor == "127.0.0.1" || servidor == "::1" || servidor == "[::1]")
    return true;
  char nome[256] = {};
  return gethostname(nome, sizeof nome - 1) == 0 && minusculas(nome) == servidor;
}

// The path with links and dot segments resolved as far as it exists.
std::string resolvido(const std::string& caminho) {
  std::error_code erro;
  fs::path p = fs::absolute(caminho, erro);
  if (erro) p = caminho;
  fs::path r = fs::weakly_canonical(p, erro);
  return (erro ? p.lexically_normal() : r).string();
}

}  // namespace

std::string textoConexaoCopia(const std::string& caminho) {
  return " provider=LCPI.IBProvider.1;data source=" + caminho + " ;" + kCaudaConexao;
}

std::string mensagemMesmoBanco(const std::string& caminho) {
  return "O banco de dados de origem e o de destino são o mesmo arquivo (" + caminho +
         "). Escolha outro banco de dados de destino.";
}

LugarBanco lugarDoBanco(const std::string& fonteDados) {
  ParametrosConexao p;
  p.fonteDados = fonteDados;
  LugarBanco lugar;
  // host:path or host/port:path, told from a local path as the database layer tells them.
  const size_t dois = fonteDados.find(':');
  if (dois != std::string::npos && dois >= 2) {
    const std::string prefixo = fonteDados.substr(0, dois);
    const size_t barra = prefixo.find('/');
    const std::string servidor = minusculas(prefixo.substr(0, barra));
    bool remota = !servidor.empty();
    for (char c : servidor)
      remota = remota && (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_');
    if (barra != std::string::npos)
      for (char c : prefixo.substr(barra + 1))
        remota = remota && std::isalnum(static_cast<unsigned char>(c));
    if (remota) {
      const std::string caminho = fonteDados.substr(dois + 1);
      if (servidorLocal(servidor)) return {"", resolvido(caminho)};
      return {servidor, caminho};
    }
  }
  lugar.caminho = resolvido(p.caminhoBanco());
  return lugar;
}

bool mesmoArquivo(const std::string& fonteA, const std::string& fonteB) {
  const LugarBanco a = lugarDoBanco(fonteA);
  const LugarBanco b = lugarDoBanco(fonteB);
  if (a == b) return true;
  if (!a.servidor.empty() || !b.servidor.empty()) return false;
  std::error_code erro;
  return fs::equivalent(a.caminho, b.caminho, erro) && !erro;
}

std::optional<ParBancos> AbreBancos(ContextoExecucao& ctx, const std::string& origem,
                                    const std::string& destino,
                                    const std::vector<std::string>& reservadasDestino) {
  Tela& tela = ctx.tela();
  const auto fonte = [](const std::string& caminho) {
    return ParametrosConexao::deTexto(textoConexaoCopia(caminho)).fonteDados;
  };
  if (mesmoArquivo(fonte(origem), fonte(destino))) {
    tela.mensagem(mensagemMesmoBanco(destino), Icone::Informacao);
    return std::nullopt;
  }
  Conexao* o = nullptr;
  Conexao* d = nullptr;
  try {
    ctx.reservaTabelas({});
    o = &ctx.abreOutra(textoConexaoCopia(origem));
    ctx.reservaTabelas(reservadasDestino);
    d = &ctx.abreOutra(textoConexaoCopia(destino));
  } catch (const Erro&) {
    tela.mensagem(kMensagemErroAbrir, Icone::Informacao);
    throw FimDoPrograma{MotivoFim::Configuracao};
  }
  // Names the layer cannot see through (a server's aliases, a path given to a server as another
  // name): the engine's own file name of each attachment.
  const auto nomeNoMotor = [](Conexao& c) {
    Recordset r = c.abre("select MON$DATABASE_NAME from MON$DATABASE");
    return r.eof() ? std::string() : r.valor(0).comoTexto();
  };
  const std::string nomeOrigem = nomeNoMotor(*o);
  if (!nomeOrigem.empty() && nomeOrigem == nomeNoMotor(*d)) {
    tela.mensagem(mensagemMesmoBanco(destino), Icone::Informacao);
    return std::nullopt;
  }
  return ParBancos{*o, *d};
}

int tamanhoColuna(Conexao& conexao, const std::string& tabela, const std::string& coluna) {
  Recordset r = conexao.abre(
      "select f.RDB$CHARACTER_LENGTH from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = "
      "rf.RDB$FIELD_SOURCE where upper(rf.RDB$RELATION_NAME) = upper(" +
      aspas(tabela) + ") and upper(rf.RDB$FIELD_NAME) = upper(" + aspas(coluna) + ")");
  if (r.eof() || r.valor(0).nulo()) return 0;
  return static_cast<int>(r.valor(0).comoInteiro());
}

int32_t ContadorId::proximo(Conexao& destino) {
  if (!lido_) {
    lido_ = true;
    return atual_ = ProxCodigo(destino, coluna_, tabela_, select_);
  }
  return ++atual_;
}

void ContadorId::devolve() {
  if (lido_) --atual_;
}

}  // namespace zuv
