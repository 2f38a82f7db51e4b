#include "support/BancoDeTeste.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
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

void gravaArquivo(const fs::path& p, const std::string& conteudo) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << conteudo;
  if (!out) throw std::runtime_error("cannot write " + p.string());
}

// s between single quotes, each quote inside it written as aspa: for the shell or for SQL.
std::string entreAspas(const std::string& s, const std::string& aspa = "'\\''") {
  std::string r = "'";
  for (char c : s)
    r += c == '\'' ? aspa : std::string(1, c);
  return r + "'";
}
std::string literalSql(const fs::path& p) {
  return entreAspas(p.string(), "''");
}

// Runs a shell command; returns its exit status and everything it printed.
int executa(const std::string& comando, std::string& saida) {
  FILE* f = popen((comando + " 2>&1").c_str(), "r");
  if (!f) throw std::runtime_error("cannot start: " + comando);
  std::array<char, 4096> buf{};
  for (size_t n; (n = fread(buf.data(), 1, buf.size(), f)) > 0;)
    saida.append(buf.data(), n);
  int st = pclose(f);
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

// Feeds a script (already in Windows-1252) to isql-fb on an existing database, or with no
// database when the script creates one.
std::string rodaIsql(const fs::path& banco, const std::string& script) {
  static std::atomic<int> scripts;
  const fs::path arquivo = fs::temp_directory_path() /
                           ("zuvisql-" + std::to_string(getpid()) + "-" + std::to_string(++scripts) + ".sql");
  gravaArquivo(arquivo, script);
  std::string cmd = "isql-fb -q -m -ch NONE -user SYSDBA -password quartzine -i " + entreAspas(arquivo);
  if (!banco.empty()) cmd += " " + entreAspas(banco.string());
  std::string saida;
  int rc = executa(cmd, saida);
  fs::remove(arquivo);
  if (rc != 0) throw std::runtime_error("isql-fb failed:\n" + saida);
  return saida;
}

std::string terminado(const std::string& sql) {
  auto fim = sql.find_last_not_of(" \t\r\n");
  return fim != std::string::npos && sql[fim] == ';' ? sql : sql + ";";
}

// The template database of the schema fixture, made once per build and fixture version.
fs::path fazModelo() {
  fs::path fonte = fs::path(ZUV_FIXTURES_DIR) / "zuv_schema.sql";
  const fs::path pasta = fs::path(ZUV_BINARY_DIR) / "test-templates";
  fs::create_directories(pasta);
  const auto versao = std::hash<std::string>{}(leArquivo(fonte));
  const fs::path destino = pasta / ("zuv_schema-" + std::to_string(versao) + ".fdb");
  if (!fs::exists(destino)) {
    // Built under a private name and renamed, so that test processes running side by side
    // never copy a half-made file.
    const fs::path parcial = destino.string() + ".part" + std::to_string(getpid());
    fs::remove(parcial);
    rodaIsql({}, "CREATE DATABASE " + literalSql(parcial) +
                     " USER 'SYSDBA' PASSWORD 'quartzine' PAGE_SIZE 8192 DEFAULT CHARACTER SET NONE;\n"
                     "SET BAIL ON;\nINPUT " +
                     literalSql(fonte) + ";\nCOMMIT;\n");
    // Test databases are throw-away: no forced writes, so auto-committed statements are cheap.
    std::string saida;
    if (executa("gfix -user SYSDBA -write async " + entreAspas(parcial.string()), saida) != 0)
      throw std::runtime_error("gfix failed:\n" + saida);
    fs::rename(parcial, destino);
  }
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
  gravaArquivo(pastaPrograma() / "zuv.ini", pastaDados().string() + "\n");
}

BancoDeTeste::~BancoDeTeste() {
  std::error_code ec;
  fs::remove_all(pasta_, ec);
}

void BancoDeTeste::executaIsql(const fs::path& banco, const std::string& sql) {
  rodaIsql(banco, "SET BAIL ON;\n" + para1252(terminado(sql)) + "\nCOMMIT;\n");
}

void BancoDeTeste::carregaFixture(const std::string& arquivo) const {
  executaIsql(leArquivo(fs::path(ZUV_FIXTURES_DIR) / arquivo));
}

BancoDeTeste::Linhas BancoDeTeste::consulta(const fs::path& banco, const std::string& select) {
  // SET LIST ON prints one "NAME  value" line per column (the value from column 32, the width
  // of the longest identifier plus one) and a blank line after each row.
  std::string saida = rodaIsql(banco, "SET BAIL ON;\nSET LIST ON;\n" + para1252(terminado(select)));
  Linhas linhas;
  std::vector<std::string> atual;
  std::istringstream in(saida + "\n");
  for (std::string linha; std::getline(in, linha);) {
    const size_t inicio = std::max<size_t>(32, linha.find(' ') + 1);  // npos + 1 is 0
    if (!linha.empty())
      atual.push_back(de1252(inicio < linha.size() ? linha.substr(inicio) : ""));
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
