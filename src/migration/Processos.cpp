#include "migration/Processos.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "common/Erro.h"
#include "common/Texto.h"

namespace zuv {

namespace {

std::string le(const std::string& arquivo) {
  std::ifstream f(arquivo, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// comm holds at most 15 characters of the executable's name; the first word of the command line
// gives the whole name when it starts the same.
std::string nomeDoProcesso(const std::string& pasta) {
  std::string comm = le(pasta + "/comm");
  if (!comm.empty() && comm.back() == '\n') comm.pop_back();
  if (comm.size() < 15) return comm;
  const std::string linha = le(pasta + "/cmdline");
  std::string primeiro = linha.substr(0, linha.find('\0'));
  const size_t barra = primeiro.rfind('/');
  if (barra != std::string::npos) primeiro.erase(0, barra + 1);
  return primeiro.starts_with(comm) ? primeiro : comm;
}

bool vivo(pid_t pid) {
  // A zombie has ended; only its parent's wait is missing.
  const std::string stat = le("/proc/" + std::to_string(pid) + "/stat");
  const size_t fim = stat.rfind(')');
  return fim != std::string::npos && fim + 2 < stat.size() && stat[fim + 2] != 'Z';
}

// Still the same process: running, and its pid not taken over by another program meanwhile.
bool aindaAtivo(const Processo& p) {
  return vivo(p.pid) && nomeDoProcesso("/proc/" + std::to_string(p.pid)) == p.nome;
}

}  // namespace

std::string processoPlanilha() {
  const char* v = std::getenv(kVariavelProcessoPlanilha);
  return v != nullptr && *v != '\0' ? std::string(v) : std::string(kProcessoPlanilhaPadrao);
}

std::vector<Processo> processosDoSistema() {
  std::vector<Processo> lista;
  DIR* dir = opendir("/proc");
  if (dir == nullptr) return lista;
  while (dirent* e = readdir(dir)) {
    char* fim = nullptr;
    const long pid = std::strtol(e->d_name, &fim, 10);
    if (pid <= 0 || *fim != '\0') continue;
    const std::string pasta = std::string("/proc/") + e->d_name;
    struct stat st {};
    if (stat(pasta.c_str(), &st) != 0) continue;
    std::string nome = nomeDoProcesso(pasta);
    if (nome.empty()) continue;  // ended meanwhile
    lista.push_back({static_cast<pid_t>(pid), st.st_uid, std::move(nome)});
  }
  closedir(dir);
  std::sort(lista.begin(), lista.end(), [](const Processo& a, const Processo& b) { return a.pid < b.pid; });
  return lista;
}

std::vector<std::string> ListaProcessos() {
  std::vector<std::string> nomes;
  for (const Processo& p : processosDoSistema())
    nomes.push_back(minusculas(p.nome));
  return nomes;
}

std::vector<Processo> processosDoUsuario(const std::string& nome) {
  std::vector<Processo> achados;
  const std::string procurado = minusculas(nome);
  for (const Processo& p : processosDoSistema())
    if (p.dono == getuid() && p.pid != getpid() && minusculas(p.nome) == procurado) achados.push_back(p);
  return achados;
}

bool EncerraProcesso(const std::string& nome) {
  const std::vector<Processo> alvos = processosDoUsuario(nome);
  for (const Processo& p : alvos)
    if (kill(p.pid, SIGTERM) != 0 && errno != ESRCH) throw Erro(std::strerror(errno));
  // Up to two seconds to end cleanly; then whatever still runs is killed.
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (const Processo& p : alvos) {
    while (aindaAtivo(p) && std::chrono::steady_clock::now() < limite)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (aindaAtivo(p) && kill(p.pid, SIGKILL) != 0 && errno != ESRCH) throw Erro(std::strerror(errno));
  }
  return !alvos.empty();
}

}  // namespace zuv
