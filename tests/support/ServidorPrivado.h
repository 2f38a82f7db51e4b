#pragma once
// A Firebird server of the test's own: Debian's /usr/sbin/firebird with a private root (its own
// firebird.conf, a fresh security database with SYSDBA/quartzine, its own lock folder) on a free
// port of 127.0.0.1, so it shares nothing with a server on port 3050. It is stopped by its pid
// when the object goes, and dies with the test process if that ends first.
#include <sys/types.h>

#include <filesystem>
#include <string>

namespace zuv::teste {

class ServidorPrivado {
 public:
  ServidorPrivado();  // starts it; disponivel() is false (and motivo() says why) when it cannot
  ~ServidorPrivado();
  ServidorPrivado(const ServidorPrivado&) = delete;
  ServidorPrivado& operator=(const ServidorPrivado&) = delete;

  bool disponivel() const { return pid_ > 0; }
  const std::string& motivo() const { return motivo_; }
  // The data source of a database file through this server ("127.0.0.1/port:path").
  std::string fonte(const std::filesystem::path& caminho) const;
  void congela();     // SIGSTOP: the server stops answering, its sockets stay open
  void descongela();  // SIGCONT

 private:
  std::string inicia();  // "" once the server answers, else why not

  std::filesystem::path raiz_;
  int porta_ = 0;
  pid_t pid_ = -1;
  std::string motivo_;
};

}  // namespace zuv::teste
