#include "shell/PastaPrograma.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace zuv {

namespace fs = std::filesystem;

namespace {

std::mutex g_mutex;
std::string g_definida;  // guarded by g_mutex

std::string absoluta(const std::string& pasta) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(pasta), ec);
  if (ec) p = fs::path(pasta);
  std::string texto = p.lexically_normal().string();
  while (texto.size() > 1 && texto.back() == '/')
    texto.pop_back();
  return texto;
}

}  // namespace

std::string pastaDoExecutavel() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return absoluta(".");
  return absoluta(exe.parent_path().string());
}

std::string pastaPrograma() {
  {
    std::lock_guard trava(g_mutex);
    if (!g_definida.empty()) return g_definida;
  }
  const char* ambiente = std::getenv(kVariavelPastaPrograma);
  if (ambiente != nullptr && *ambiente != '\0') return absoluta(ambiente);
  return pastaDoExecutavel();
}

void definePastaPrograma(std::string pasta) {
  std::string valor = pasta.empty() ? std::string() : absoluta(pasta);
  std::lock_guard trava(g_mutex);
  g_definida = std::move(valor);
}

std::optional<std::string> extraiPastaPrograma(std::vector<std::string>& args) {
  const std::string opcao = kOpcaoPastaPrograma;
  std::optional<std::string> pasta;
  for (size_t i = 0; i < args.size();) {
    if (args[i] == opcao && i + 1 < args.size()) {
      pasta = args[i + 1];
      args.erase(args.begin() + i, args.begin() + i + 2);
    } else if (args[i].rfind(opcao + "=", 0) == 0) {
      pasta = args[i].substr(opcao.size() + 1);
      args.erase(args.begin() + i);
    } else {
      ++i;
    }
  }
  return pasta;
}

std::string problemaPastaPrograma(const std::string& pasta) {
  std::error_code ec;
  if (pasta.empty()) return "a pasta do programa não pode ser vazia";
  if (!fs::exists(pasta, ec)) return "a pasta do programa não existe: " + pasta;
  if (!fs::is_directory(pasta, ec)) return "a pasta do programa não é uma pasta: " + pasta;
  return {};
}

}  // namespace zuv
