#include "platform/CopiaBanco.h"

#include <filesystem>

#include "platform/Conexao.h"
#include "platform/firebird/Cliente.h"

namespace zuv {

namespace {

struct DesligaServico {
  void operator()(IService* s) const noexcept {
    Status st;
    s->detach(&st);
    if (st.falhou()) s->release();
  }
};

// "host:path" or "host/port:path" of a server; a path of this machine has no host.
struct Local {
  std::string servidor, caminho;
};

Local separaServidor(const std::string& banco) {
  const size_t dois = banco.find(':');
  if (banco.empty() || banco[0] == '/' || dois == std::string::npos || dois < 2) return {{}, banco};
  return {banco.substr(0, dois), banco.substr(dois + 1)};
}

std::string entreAspas(const std::string& s) {
  std::string r = "'";
  for (char c : s)
    r += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return r + "'";
}

}  // namespace

void copiaBanco(const Conexao& conexao, const std::string& arquivo) {
  const Local banco = separaServidor(conexao.bancoAnexado());
  const ParametrosConexao& p = conexao.parametros();
  Bloco anexo(IXpbBuilder::SPB_ATTACH);
  if (!p.usuario.empty()) anexo.texto(isc_spb_user_name, p.usuario);
  if (!p.senha.empty()) anexo.texto(isc_spb_password, p.senha);
  const std::string gerente = banco.servidor.empty() ? "service_mgr" : banco.servidor + ":service_mgr";
  Status st;
  IProvider* despachante = mestre()->getDispatcher();
  Posse<IService, DesligaServico> servico(
      despachante->attachServiceManager(&st, gerente.c_str(), anexo.tamanho(), anexo.dados()));
  despachante->release();
  st.verifica();

  Bloco pedido(IXpbBuilder::SPB_START);
  pedido.tag(isc_action_svc_backup)
      .texto(isc_spb_dbname, banco.caminho)
      .texto(isc_spb_bkp_file, arquivo)
      .tag(isc_spb_verbose);
  try {
    servico->start(&st, pedido.tamanho(), pedido.dados());
    st.verifica();
    // The service runs while its output is read; its failure comes back as the status of a read.
    const unsigned char linha[] = {isc_info_svc_line};
    unsigned char resposta[16384];
    for (;;) {
      servico->query(&st, 0, nullptr, sizeof linha, linha, sizeof resposta, resposta);
      st.verifica();
      if (resposta[0] != isc_info_svc_line) break;
      const unsigned tamanho = resposta[1] | (resposta[2] << 8);
      if (tamanho == 0 && resposta[3] != isc_info_truncated) break;
    }
  } catch (...) {
    if (banco.servidor.empty() || banco.servidor == "localhost" || banco.servidor == "127.0.0.1") {
      std::error_code erro;
      std::filesystem::remove(arquivo, erro);  // what a failed backup left is no backup
    }
    throw;
  }
}

std::string comandoRestauracao(const std::string& arquivo, const Conexao& conexao) {
  const ParametrosConexao& p = conexao.parametros();
  std::string c = "gbak -rep";
  if (!p.usuario.empty()) c += " -user " + entreAspas(p.usuario);
  if (!p.senha.empty()) c += " -password " + entreAspas(p.senha);
  return c + " " + entreAspas(arquivo) + " " + entreAspas(conexao.bancoAnexado());
}

}  // namespace zuv
