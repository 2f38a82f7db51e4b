#include "shell/LocalDoBanco.h"

#include <filesystem>

#include "platform/Conexao.h"
#include "platform/ParametrosConexao.h"
#include "shell/BancoZUV.h"

namespace zuv {

namespace fs = std::filesystem;

std::string LocalDoBanco::subpasta(const std::string& tipo) const {
  if (servidor.empty()) return (fs::path(pasta) / tipo).string();
  std::string s = servidor;
  for (char& c : s)
    if (c == '/') c = '_';
  return (fs::path(pasta) / tipo / s).string();
}

LocalDoBanco localDoBanco(const std::string& banco, const std::string& pastaPrograma) {
  LocalDoBanco l;
  l.banco = banco;
  std::string caminho = banco;
  if (fonteRemota(banco)) {
    const size_t dois = banco.find(':');
    const std::string servidor = banco.substr(0, dois);
    caminho = banco.substr(dois + 1);
    const std::string maquina = servidor.substr(0, servidor.find('/'));
    if (maquina != "localhost" && maquina != "127.0.0.1") l.servidor = servidor;
  }
  // A Windows server's path ("C:\ZUV\VENDAS.FDB") names its file after the last '\'.
  const size_t barra = caminho.find_last_of(l.servidor.empty() ? "/" : "/\\");
  l.arquivo = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
  const size_t ponto = l.arquivo.find_last_of('.');
  l.nome = ponto == std::string::npos || ponto == 0 ? l.arquivo : l.arquivo.substr(0, ponto);
  if (!l.servidor.empty())
    l.pasta = pastaPrograma;
  else
    l.pasta = fs::absolute(fs::path(caminho)).parent_path().lexically_normal().string();
  return l;
}

LocalDoBanco localDoBanco(const Conexao& conexao, const std::string& pastaPrograma) {
  return localDoBanco(conexao.parametros().caminhoBanco(), pastaPrograma);
}

LocalDoBanco localDoBancoZUV(const std::string& pastaPrograma) {
  return localDoBanco(ParametrosConexao::deTexto(textoConexaoZUV(lePastaDados(pastaPrograma))).caminhoBanco(),
                      pastaPrograma);
}

std::string entreAspas(const std::string& texto) {
  std::string r = "'";
  for (char c : texto)
    r += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return r + "'";
}

}  // namespace zuv
