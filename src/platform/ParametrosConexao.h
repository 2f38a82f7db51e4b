#pragma once
// The connection string of the ZUV forms, read into the keys the database layer honours.
#include <string>

namespace zuv {

// The keys of a connection string the layer honours; other keys are ignored.
struct ParametrosConexao {
  std::string fonteDados;  // "data source": a local path, host:path or host/port:path
  std::string usuario;     // "user id"
  std::string senha;       // "password"
  std::string ctype;       // "ctype"; "none" means Windows-1252 bytes on the wire
  bool autoCommit = true;  // "auto_commit"
  // Keys are compared without regard to case and blanks around keys and values are dropped. On this
  // system a '\' in a local data source path is read as '/'. Throws ErroConfiguracao.
  static ParametrosConexao deTexto(const std::string& conexao);
  // The data source as the client library takes it.
  std::string caminhoBanco() const;
  bool textoWindows1252() const;  // ctype none (or empty, win1252, iso8859_1): convert texts
};

// host:path or host/port:path (and the engine's own inet://, xnet:// forms) go to a server.
bool fonteRemota(const std::string& fonte);

}  // namespace zuv
