#include "support/BancoDeTeste.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "platform/Windows1252.h"

namespace fs = std::filesystem;

namespace zuv::teste {
namespace {

std::string leArquivo(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + p.string());
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// s between single quotes, each quote inside it written as aspa: for the shell or for SQL.
std::string entreAspas(const std::string& s, const std::string& aspa = "'\\''") {
  std::string r = "'";
  for (char c : s)
    r += c == '\'' ? aspa : std::string(1, c);
  return r + "'";
}

// Runs a shell command and returns everything it printed; throws with that output if it fails.
// The file apaga, if given, is removed either way.
std::string roda(const std::string& comando, const fs::path& apaga = {}) {
  FILE* f = popen((comando + " 2>&1").c_str(), "r");
  if (!f) throw std::runtime_error("cannot start: " + comando);
  std::string saida;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;)
    saida.append(buf, n);
  const int status = pclose(f);
  if (!apaga.empty()) fs::remove(apaga);
  if (status != 0) throw std::runtime_error(comando + " failed:\n" + saida);
  return saida;
}

// Feeds a script (already in Windows-1252) to isql-fb on an existing database, or with no
// database when the script creates one.
std::string rodaIsql(const fs::path& banco, const std::string& script) {
  std::string arquivo = (fs::temp_directory_path() / "zuvisql-XXXXXX").string();
  close(mkstemp(arquivo.data()));
  std::ofstream(arquivo, std::ios::binary) << script;
  std::string cmd = "isql-fb -q -m -ch NONE -user SYSDBA -password quartzine -i " + entreAspas(arquivo);
  if (!banco.empty()) cmd += " " + entreAspas(banco.string());
  return roda(cmd, arquivo);
}

// The script with a ';' after its last statement, after SET BAIL ON, in Windows-1252.
std::string script(const std::string& sql, const std::string& inicio = "") {
  const auto fim = sql.find_last_not_of(" \t\r\n");
  return "SET BAIL ON;\n" + inicio + para1252(fim != std::string::npos && sql[fim] == ';' ? sql : sql + ";");
}

// The template database of the schema fixture, made once per build and fixture version.
fs::path fazModelo() {
  const fs::path fonte = fs::path(ZUV_FIXTURES_DIR) / "zuv_schema.sql";
  const fs::path pasta = fs::path(ZUV_BINARY_DIR) / "test-templates";
  const fs::path destino =
      pasta / ("zuv_schema-" + std::to_string(std::hash<std::string>{}(leArquivo(fonte))) + ".fdb");
  if (fs::exists(destino)) return destino;
  // Built under a private name and renamed, so that test processes running side by side never
  // copy a half-made file.
  fs::create_directories(pasta);
  const std::string parcial = destino.string() + ".part" + std::to_string(getpid());
  fs::remove(parcial);
  rodaIsql({}, "CREATE DATABASE " + entreAspas(parcial, "''") +
                   " USER 'SYSDBA' PASSWORD 'quartzine' PAGE_SIZE 8192 DEFAULT CHARACTER SET NONE;\n"
                   "SET BAIL ON;\nINPUT " +
                   entreAspas(fonte.string(), "''") + ";\nCOMMIT;\n");
  // Test databases are throw-away: no forced writes, so auto-committed statements are cheap.
  roda("gfix -user SYSDBA -write async " + entreAspas(parcial));
  fs::rename(parcial, destino);
  return destino;
}

}  // namespace

BancoDeTeste::BancoDeTeste() {
  std::string modeloPasta = (fs::temp_directory_path() / "zuvteste-XXXXXX").string();
  if (!mkdtemp(modeloPasta.data())) throw std::runtime_error("cannot create a temporary folder");
  pasta_ = modeloPasta;
  fs::create_directories(pastaDados());
  fs::create_directories(pastaPrograma());
  static const fs::path modelo = fazModelo();  // made once per process, thread-safe
  fs::copy_file(modelo, caminho());
  std::ofstream(pastaPrograma() / "zuv.ini") << pastaDados().string() << "\n";
}

BancoDeTeste::~BancoDeTeste() {
  std::error_code ec;
  fs::remove_all(pasta_, ec);
}

void BancoDeTeste::executaIsql(const fs::path& banco, const std::string& sql) {
  rodaIsql(banco, script(sql) + "\nCOMMIT;\n");
}

void BancoDeTeste::carregaFixture(const std::string& arquivo) const {
  executaIsql(leArquivo(fs::path(ZUV_FIXTURES_DIR) / arquivo));
}

BancoDeTeste::Linhas BancoDeTeste::consulta(const fs::path& banco, const std::string& select) {
  // SET LIST ON prints one "NAME  value" line per column (the value from column 32, the width
  // of the longest identifier plus one) and a blank line after each row.
  std::string saida = rodaIsql(banco, script(select, "SET LIST ON;\n"));
  Linhas linhas;
  std::vector<std::string> atual;
  std::istringstream in(saida + "\n");
  for (std::string linha; std::getline(in, linha);) {
    if (!linha.empty())  // npos + 1 is 0
      atual.push_back(
          de1252(linha.substr(std::min(linha.size(), std::max<size_t>(32, linha.find(' ') + 1)))));
    else if (!atual.empty())
      linhas.push_back(std::exchange(atual, {}));
  }
  return linhas;
}

std::string BancoDeTeste::valor(const std::string& select) const {
  auto linhas = consulta(caminho(), select);
  return linhas.empty() || linhas[0].empty() ? "" : linhas[0][0];
}

}  // namespace zuv::teste
