#pragma once
// Helpers of the workbook tests: a private temporary folder, and the outside programs that make
// workbooks (python3 with openpyxl, LibreOffice headless).
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "support/EstiloRegional.h"

namespace zuv::teste {

// A folder of its own for this test program, removed at exit.
inline const std::string& pastaTemporaria() {
  static const std::string pasta = [] {
    std::string modelo = (std::filesystem::temp_directory_path() / "zuvplanilhaXXXXXX").string();
    if (!mkdtemp(modelo.data())) std::abort();
    static struct Remove {
      std::string p;
      ~Remove() {
        std::error_code e;
        std::filesystem::remove_all(p, e);
      }
    } remove{modelo};
    return modelo;
  }();
  return pasta;
}

inline std::string naPasta(const std::string& nome) {
  return pastaTemporaria() + "/" + nome;
}

inline std::string fonteDeTeste(const std::string& nome) {
  return std::string(ZUV_SOURCE_DIR) + "/tests/platform/" + nome;
}

inline int executa(const std::string& comando) {
  return std::system(comando.c_str());
}

inline bool temPythonOpenpyxl() {
  static const bool tem = executa("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") == 0;
  return tem;
}

inline bool temLibreOffice() {
  static const bool tem = executa("command -v soffice >/dev/null 2>&1") == 0;
  return tem;
}

// Converts a file with LibreOffice into the folder; a private profile keeps parallel runs apart.
inline bool converteComLibreOffice(const std::string& arquivo, const std::string& formato,
                                   const std::string& destino = pastaTemporaria()) {
  const std::string perfil = naPasta("perfil-lo");
  return executa("soffice -env:UserInstallation=file://" + perfil + " --headless --convert-to " + formato +
                 " --outdir '" + destino + "' '" + arquivo + "' >/dev/null 2>&1") == 0;
}

// A folder of generated workbooks kept in the build tree between test processes (each test runs in
// its own process): made once by gera(pasta) and reused while the source file is unchanged.
inline std::string pastaEmCache(const std::string& fonte,
                                const std::function<bool(const std::string&)>& gera) {
  namespace fs = std::filesystem;
  const auto versao = fs::last_write_time(fonte).time_since_epoch().count();
  const std::string pasta = std::string(ZUV_BINARY_DIR) + "/planilhas-teste/" +
                            fs::path(fonte).filename().string() + "-" + std::to_string(versao);
  if (fs::exists(pasta)) return pasta;
  fs::create_directories(std::string(ZUV_BINARY_DIR) + "/planilhas-teste");
  std::string modelo = std::string(ZUV_BINARY_DIR) + "/planilhas-teste/novaXXXXXX";
  if (!mkdtemp(modelo.data())) return {};
  if (!gera(modelo)) {
    fs::remove_all(modelo);
    return {};
  }
  std::error_code e;
  fs::rename(modelo, pasta, e);  // another process may have won the race: its folder is as good
  if (e) fs::remove_all(modelo);
  return pasta;
}

// The workbooks of gera_planilhas.py, or "" when it failed.
inline std::string planilhasGeradas() {
  const std::string script = fonteDeTeste("gera_planilhas.py");
  return pastaEmCache(script, [&](const std::string& pasta) {
    return executa("/usr/bin/python3 '" + script + "' '" + pasta + "'") == 0;
  });
}

// Tests on the workbooks of gera_planilhas.py (made once per build); skipped without openpyxl.
class ComPlanilhasGeradas : public ComEstilo {
 protected:
  static void SetUpTestSuite() {
    if (temPythonOpenpyxl()) pasta_ = planilhasGeradas();
  }
  void SetUp() override {
    ComEstilo::SetUp();
    if (!temPythonOpenpyxl()) GTEST_SKIP() << "python3 com openpyxl não instalado (scripts/setup.sh)";
    ASSERT_FALSE(pasta_.empty()) << "gera_planilhas.py falhou";
  }
  static std::string naPasta(const std::string& nome) { return pasta_ + "/" + nome; }
  static inline std::string pasta_;
};

}  // namespace zuv::teste
