#include "platform/CopiaBanco.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

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

  // The service sends the backup through its output ("stdout") and this process writes the file:
  // with its own rights, on this machine, also when a server holds the database.
  Bloco pedido(IXpbBuilder::SPB_START);
  pedido.tag(isc_action_svc_backup).texto(isc_spb_dbname, banco.caminho).texto(isc_spb_bkp_file, "stdout");
  std::FILE* f = std::fopen(arquivo.c_str(), "wb");
  if (f == nullptr) throw ErroBanco("Não foi possível criar " + arquivo + ": " + std::strerror(errno));
  try {
    servico->start(&st, pedido.tamanho(), pedido.dados());
    st.verifica();
    const unsigned char item[] = {isc_info_svc_to_eof};
    // The length of a block is two bytes: a buffer of 64 KiB would never hold one.
    std::vector<unsigned char> resposta(32 * 1024);
    for (bool fim = false; !fim;) {
      servico->query(&st, 0, nullptr, sizeof item, item, static_cast<unsigned>(resposta.size()),
                     resposta.data());
      st.verifica();
      bool dados = false;
      for (size_t i = 0; i < resposta.size() && resposta[i] != isc_info_end;) {
        const unsigned char tag = resposta[i++];
        if (tag == isc_info_truncated || tag == isc_info_svc_timeout || tag == isc_info_data_not_ready) {
          dados = true;  // more to come
          continue;
        }
        if (tag != isc_info_svc_to_eof || i + 2 > resposta.size())
          throw ErroBanco("Resposta inesperada do serviço de cópia (" + std::to_string(tag) + ").");
        const size_t tamanho = resposta[i] | (resposta[i + 1] << 8);
        i += 2;
        if (tamanho > 0) {
          dados = true;
          if (std::fwrite(resposta.data() + i, 1, tamanho, f) != tamanho)
            throw ErroBanco("Não foi possível gravar " + arquivo + ": " + std::strerror(errno));
        }
        i += tamanho;
      }
      fim = !dados;
    }
    if (std::fflush(f) != 0 || fsync(fileno(f)) != 0)
      throw ErroBanco("Não foi possível gravar " + arquivo + ": " + std::strerror(errno));
    const int fechou = std::fclose(f);
    f = nullptr;
    if (fechou != 0) throw ErroBanco("Não foi possível gravar " + arquivo + ": " + std::strerror(errno));
  } catch (...) {
    if (f != nullptr) std::fclose(f);
    std::error_code erro;
    std::filesystem::remove(arquivo, erro);  // what a failed backup left is no backup
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
