#include "platform/ParametrosConexao.h"

#include <algorithm>
#include <cctype>

#include "common/Erro.h"
#include "common/Texto.h"

namespace zuv {

bool fonteRemota(const std::string& fonte) {
  const size_t dois = fonte.find(':');
  if (dois == std::string::npos || dois < 2) return false;
  const std::string prefixo = fonte.substr(0, dois);
  const size_t barra = prefixo.find('/');
  const std::string host = prefixo.substr(0, barra);
  if (host.empty()) return false;
  for (char c : host)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_') return false;
  if (barra != std::string::npos)
    for (char c : prefixo.substr(barra + 1))
      if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

ParametrosConexao ParametrosConexao::deTexto(const std::string& conexao) {
  ParametrosConexao p;
  bool temFonte = false;
  size_t inicio = 0;
  while (inicio <= conexao.size()) {
    size_t fim = conexao.find(';', inicio);
    if (fim == std::string::npos) fim = conexao.size();
    const std::string parte = conexao.substr(inicio, fim - inicio);
    inicio = fim + 1;
    const size_t igual = parte.find('=');
    if (igual == std::string::npos) continue;
    const std::string chave = minusculas(aparaBrancos(parte.substr(0, igual)));
    const std::string valor = aparaBrancos(parte.substr(igual + 1));
    if (chave == "data source") {
      p.fonteDados = valor;
      temFonte = true;
    } else if (chave == "user id") {
      p.usuario = valor;
    } else if (chave == "password") {
      p.senha = valor;
    } else if (chave == "ctype") {
      p.ctype = valor;
    } else if (chave == "auto_commit") {
      const std::string v = minusculas(valor);
      if (v == "true" || v == "1" || v == "yes")
        p.autoCommit = true;
      else if (v == "false" || v == "0" || v == "no")
        p.autoCommit = false;
      else
        throw ErroConfiguracao("Valor inválido de auto_commit na cadeia de conexão: \"" + valor + "\"");
    }
  }
  if (!temFonte) throw ErroConfiguracao("A cadeia de conexão não tem \"data source\".");
  return p;
}

std::string ParametrosConexao::caminhoBanco() const {
  if (fonteRemota(fonteDados)) return fonteDados;
  std::string caminho = fonteDados;
  std::replace(caminho.begin(), caminho.end(), '\\', '/');
  return caminho;
}

bool ParametrosConexao::textoWindows1252() const {
  const std::string c = minusculas(ctype);
  return !(c == "utf8" || c == "utf-8" || c == "unicode_fss");
}

}  // namespace zuv
