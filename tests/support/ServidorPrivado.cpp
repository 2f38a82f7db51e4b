#include "support/ServidorPrivado.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace zuv::teste {

namespace fs = std::filesystem;

namespace {

constexpr const char* kServidor = "/usr/sbin/firebird";
constexpr const char* kBiblioteca = "/usr/lib/x86_64-linux-gnu/firebird/3.0";

// Whether connecting to the port on 127.0.0.1 works (something answers), or, with conecta false,
// binding it (the port is free).
bool atende(int porta, bool conecta = true) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(porta));
  a.sin_addr.s_addr = htonl(conecta ? INADDR_LOOPBACK : INADDR_ANY);
  const auto* endereco = reinterpret_cast<sockaddr*>(&a);
  const bool ok = (conecta ? ::connect(s, endereco, sizeof a) : ::bind(s, endereco, sizeof a)) == 0;
  ::close(s);
  return ok;
}

}  // namespace

ServidorPrivado::ServidorPrivado() : motivo_(inicia()) {
  if (!motivo_.empty() && pid_ > 0) {  // started, but it does not answer
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
}

std::string ServidorPrivado::inicia() {
  if (::access(kServidor, X_OK) != 0 || !fs::exists(fs::path(kBiblioteca) / "plugins"))
    return "o servidor Firebird (firebird3.0-server) não está instalado";
  std::string raiz = (fs::temp_directory_path() / "zuvservidorXXXXXX").string();
  if (!::mkdtemp(raiz.data())) return "sem pasta temporária";
  raiz_ = raiz;
  for (const char* item : {"UDF", "intl", "lib", "plugins", "firebird.msg", "plugins.conf", "fbtrace.conf"})
    fs::create_symlink(fs::path(kBiblioteca) / item, raiz_ / item);
  fs::create_directory(raiz_ / "trava");
  std::ofstream(raiz_ / "firebird.conf")
      << "RemoteBindAddress = 127.0.0.1\n"
      << "SecurityDatabase = " << (raiz_ / "security3.fdb").string() << "\n"
      << "UdfAccess = None\n";
  const std::string ambiente =
      "FIREBIRD='" + raiz_.string() + "' FIREBIRD_LOCK='" + (raiz_ / "trava").string() + "' ";
  const std::string seguranca = "echo \"create database '" + (raiz_ / "security3.fdb").string() +
                                "' user 'SYSDBA'; create user SYSDBA password 'quartzine'; commit;\" | " +
                                ambiente + "isql-fb -q >'" + (raiz_ / "isql.log").string() + "' 2>&1";
  if (std::system(seguranca.c_str()) != 0)
    return "não foi possível criar a base de segurança do servidor de teste";
  for (int tentativa = 0; tentativa < 50 && porta_ == 0; ++tentativa) {
    const int p = 31000 + static_cast<int>((::getpid() * 7 + tentativa * 131) % 4000);
    if (atende(p, false)) porta_ = p;
  }
  if (porta_ == 0) return "nenhuma porta livre para o servidor de teste";

  const std::string porta = std::to_string(porta_), r = raiz_.string(), trava = (raiz_ / "trava").string(),
                    log = (raiz_ / "servidor.log").string();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives the test
    const int saida = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (saida >= 0) {
      ::dup2(saida, STDOUT_FILENO);
      ::dup2(saida, STDERR_FILENO);
    }
    ::setenv("FIREBIRD", r.c_str(), 1);
    ::setenv("FIREBIRD_LOCK", trava.c_str(), 1);
    ::execl(kServidor, "firebird", "-p", porta.c_str(), "-e", r.c_str(), "-el", trava.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (pid < 0) return "fork falhou";
  pid_ = pid;
  for (int i = 0; i < 100 && !atende(porta_); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return atende(porta_) ? "" : "o servidor de teste não começou a atender (veja " + log + ")";
}

ServidorPrivado::~ServidorPrivado() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  std::error_code e;
  if (!raiz_.empty()) fs::remove_all(raiz_, e);
}

std::string ServidorPrivado::fonte(const fs::path& caminho) const {
  return "127.0.0.1/" + std::to_string(porta_) + ":" + caminho.string();
}

void ServidorPrivado::congela() {
  if (pid_ > 0) ::kill(pid_, SIGSTOP);
}

void ServidorPrivado::descongela() {
  if (pid_ > 0) ::kill(pid_, SIGCONT);
}

}  // namespace zuv::teste
