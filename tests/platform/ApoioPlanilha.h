#pragma once
// The base of the workbook tests: a private temporary folder, the cells of a workbook as one text,
// and the outside programs that make workbooks (python3 with openpyxl, LibreOffice headless).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <unistd.h>

#include "platform/Planilha.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {

class ComPlanilhas : public ComEstilo {
 protected:
  static int executa(const std::string& comando) { return std::system(comando.c_str()); }
  static std::string fonte(const std::string& nome) { return ZUV_SOURCE_DIR "/tests/platform/" + nome; }
  static bool temOpenpyxl() { return executa("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") == 0; }
  static bool temLibreOffice() { return executa("command -v soffice >/dev/null") == 0; }
  static std::string le(const std::string& arquivo) {
    return {std::istreambuf_iterator<char>(std::ifstream(arquivo).rdbuf()), {}};
  }

  // "row<TAB>column<TAB>text" for each non-empty cell, as the command line lists them.
  static std::string lista(const std::string& arquivo, int maxLinhas = 0) {
    std::ostringstream s;
    listaCelulas(arquivo, maxLinhas, s);
    return s.str();
  }

  // A folder of its own for this test program, removed at exit.
  static std::string naPasta(const std::string& nome) {
    static const struct Pasta {
      std::string p = (std::filesystem::temp_directory_path() / "zuvplanilhaXXXXXX").string();
      Pasta() {
        if (!mkdtemp(p.data())) std::abort();
      }
      ~Pasta() { std::filesystem::remove_all(p); }
    } pasta;
    return pasta.p + "/" + nome;
  }

  // Converts a file with LibreOffice into the folder; a private profile keeps parallel runs apart.
  static bool converte(const std::string& arquivo, const std::string& formato, const std::string& destino) {
    return executa("soffice -env:UserInstallation=file://" + naPasta("perfil-lo") +
                   " --headless --convert-to " + formato + " --outdir '" + destino + "' '" + arquivo +
                   "' >/dev/null 2>&1") == 0;
  }

  // A folder of workbooks made by gera(folder) from a source file, kept in the build tree between
  // test processes (ctest runs each test in its own) while the source is unchanged; "" on failure.
  static std::string pastaEmCache(const std::string& origem,
                                  const std::function<bool(const std::string&)>& gera) {
    namespace fs = std::filesystem;
    const std::string pasta = ZUV_BINARY_DIR "/planilhas-teste/" + fs::path(origem).filename().string() +
                              "-" + std::to_string(fs::last_write_time(origem).time_since_epoch().count());
    const std::string nova = pasta + ".nova" + std::to_string(getpid());
    std::error_code e;
    // The rename fails when another process won the race: its folder is as good.
    if (!fs::exists(pasta) && fs::create_directories(nova) && gera(nova)) fs::rename(nova, pasta, e);
    fs::remove_all(nova, e);
    return fs::exists(pasta) ? pasta : "";
  }
};

}  // namespace zuv::teste
