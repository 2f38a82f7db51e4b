#include "platform/CopiaBanco.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
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

using Servico = Posse<IService, DesligaServico>;

Servico abreServico(const std::string& servidor, const std::string& usuario, const std::string& senha) {
  Bloco anexo(IXpbBuilder::SPB_ATTACH);
  if (!usuario.empty()) anexo.texto(isc_spb_user_name, usuario);
  if (!senha.empty()) anexo.texto(isc_spb_password, senha);
  const std::string gerente = servidor.empty() ? "service_mgr" : servidor + ":service_mgr";
  Status st;
  IProvider* despachante = mestre()->getDispatcher();
  Servico servico(despachante->attachServiceManager(&st, gerente.c_str(), anexo.tamanho(), anexo.dados()));
  despachante->release();
  st.verifica();
  return servico;
}

std::string erroDeArquivo(const std::string& acao, const std::string& arquivo) {
  return "Não foi possível " + acao + " " + arquivo + ": " + std::strerror(errno);
}

}  // namespace

void copiaBanco(const Conexao& conexao, const std::string& arquivo) {
  const Local banco = separaServidor(conexao.bancoAnexado());
  const ParametrosConexao& p = conexao.parametros();
  Servico servico = abreServico(banco.servidor, p.usuario, p.senha);
  Status st;

  // The service sends the backup through its output ("stdout") and this process writes the file:
  // with its own rights, on this machine, also when a server holds the database.
  Bloco pedido(IXpbBuilder::SPB_START);
  pedido.tag(isc_action_svc_backup).texto(isc_spb_dbname, banco.caminho).texto(isc_spb_bkp_file, "stdout");
  const std::string parcial = arquivo + kSufixoParcial;
  std::FILE* f = std::fopen(parcial.c_str(), "wb");
  if (f == nullptr) throw ErroBanco(erroDeArquivo("criar", parcial));
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
            throw ErroBanco(erroDeArquivo("gravar", parcial));
        }
        i += tamanho;
      }
      fim = !dados;
    }
    if (std::fflush(f) != 0 || fsync(fileno(f)) != 0) throw ErroBanco(erroDeArquivo("gravar", parcial));
    const int fechou = std::fclose(f);
    f = nullptr;
    if (fechou != 0) throw ErroBanco(erroDeArquivo("gravar", parcial));
    // Only a complete backup carries the final name.
    if (std::rename(parcial.c_str(), arquivo.c_str()) != 0)
      throw ErroBanco(erroDeArquivo("renomear", parcial));
  } catch (...) {
    if (f != nullptr) std::fclose(f);
    std::error_code erro;
    std::filesystem::remove(parcial, erro);  // what a failed backup left is no backup
    throw;
  }
}

void restauraBanco(const std::string& arquivo, const std::string& banco, const std::string& usuario,
                   const std::string& senha, bool substitui) {
  std::FILE* f = std::fopen(arquivo.c_str(), "rb");
  if (f == nullptr) throw ErroBanco(erroDeArquivo("ler", arquivo));
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> dono(f, &std::fclose);
  const Local destino = separaServidor(banco);
  Servico servico = abreServico(destino.servidor, usuario, senha);
  Status st;
  // The service reads the backup from its input ("stdin"), which this process feeds from the file
  // as the service asks for it.
  Bloco pedido(IXpbBuilder::SPB_START);
  pedido.tag(isc_action_svc_restore)
      .texto(isc_spb_bkp_file, "stdin")
      .texto(isc_spb_dbname, destino.caminho)
      .inteiro(isc_spb_options, substitui ? isc_spb_res_replace : isc_spb_res_create);
  servico->start(&st, pedido.tamanho(), pedido.dados());
  st.verifica();

  const unsigned char pede[] = {isc_info_svc_stdin, isc_info_svc_line};
  std::vector<unsigned char> envio, resposta(16 * 1024);
  size_t pedidos = 0;  // bytes the service asked for in its last answer
  for (bool continua = true; continua;) {
    // Each call waits at most a second for the service; with it goes the part of the file asked for.
    envio = {isc_info_svc_timeout, 4, 0, 1, 0, 0, 0};
    if (pedidos > 0) {
      std::vector<unsigned char> bloco(std::min<size_t>(pedidos, 32 * 1024));
      const size_t lidos = std::fread(bloco.data(), 1, bloco.size(), f);
      if (lidos < bloco.size() && std::ferror(f)) throw ErroBanco(erroDeArquivo("ler", arquivo));
      envio.push_back(isc_info_svc_line);
      envio.push_back(static_cast<unsigned char>(lidos & 0xFF));
      envio.push_back(static_cast<unsigned char>(lidos >> 8));
      envio.insert(envio.end(), bloco.begin(), bloco.begin() + static_cast<std::ptrdiff_t>(lidos));
    }
    envio.push_back(isc_info_end);
    servico->query(&st, static_cast<unsigned>(envio.size()), envio.data(), sizeof pede, pede,
                   static_cast<unsigned>(resposta.size()), resposta.data());
    st.verifica();
    continua = false;
    pedidos = 0;
    for (size_t i = 0; i < resposta.size() && resposta[i] != isc_info_end;) {
      const unsigned char tag = resposta[i++];
      if (tag == isc_info_truncated || tag == isc_info_svc_timeout || tag == isc_info_data_not_ready) {
        continua = true;
      } else if (tag == isc_info_svc_stdin && i + 4 <= resposta.size()) {
        pedidos =
            resposta[i] | (resposta[i + 1] << 8) | (resposta[i + 2] << 16) | (size_t(resposta[i + 3]) << 24);
        i += 4;
        if (pedidos > 0) continua = true;
      } else if (tag == isc_info_svc_line && i + 2 <= resposta.size()) {
        const size_t tamanho = resposta[i] | (resposta[i + 1] << 8);
        i += 2;
        // Without the verbose option the service prints nothing; its failure comes in the status.
        if (tamanho > 0) continua = true;
        i += tamanho;
      } else {
        throw ErroBanco("Resposta inesperada do serviço de restauração (" + std::to_string(tag) + ").");
      }
    }
  }
}

}  // namespace zuv
