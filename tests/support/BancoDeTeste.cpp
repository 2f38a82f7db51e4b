#include "support/BancoDeTeste.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include "common/Texto.h"

namespace fs = std::filesystem;

namespace zuv::teste {
namespace {

// Unicode code points of the bytes 0x80..0x9F in Windows-1252 (0 where the byte is unused).
constexpr std::array<char32_t, 32> kFaixa80{0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string leArquivo(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + p.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void gravaArquivo(const fs::path& p, const std::string& conteudo) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << conteudo;
  if (!out) throw std::runtime_error("cannot write " + p.string());
}

std::string entreAspas(const std::string& s) {
  std::string r = "'";
  for (char c : s)
    r += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return r + "'";
}

std::string literalSql(const fs::path& p) {
  std::string r = "'";
  for (char c : p.string())
    r += c == '\'' ? std::string("''") : std::string(1, c);
  return r + "'";
}

// Runs a shell command; returns its exit status and everything it printed.
int executa(const std::string& comando, std::string& saida) {
  FILE* f = popen((comando + " 2>&1").c_str(), "r");
  if (!f) throw std::runtime_error("cannot start: " + comando);
  std::array<char, 4096> buf{};
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), f)) > 0)
    saida.append(buf.data(), n);
  int st = pclose(f);
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

// Feeds a script (already in Windows-1252) to isql-fb on an existing database, or with no
// database when the script creates one.
std::string rodaIsql(const fs::path& banco, const std::string& script) {
  char modelo[] = "/tmp/zuvisql-XXXXXX";
  int fd = mkstemp(modelo);
  if (fd < 0) throw std::runtime_error("cannot create a temporary script");
  close(fd);
  fs::path arquivo = modelo;
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
  if (fim == std::string::npos) return sql;
  return sql[fim] == ';' ? sql : sql + ";";
}

// The template database of a fixture, made once per build and fixture version.
fs::path modelo(const std::string& fixture) {
  static std::mutex trava;
  static std::map<std::string, fs::path> feitos;
  std::lock_guard<std::mutex> guarda(trava);
  if (auto it = feitos.find(fixture); it != feitos.end()) return it->second;

  fs::path fonte = fs::path(ZUV_FIXTURES_DIR) / fixture;
  std::string sql = leArquivo(fonte);
  std::ostringstream nome;
  nome << fonte.stem().string() << '-' << std::hex << std::hash<std::string>{}(sql) << ".fdb";
  fs::path pasta = fs::path(ZUV_BINARY_DIR) / "test-templates";
  fs::create_directories(pasta);
  fs::path destino = pasta / nome.str();
  if (!fs::exists(destino)) {
    // Built under a private name and renamed, so that test processes running side by side
    // never copy a half-made file.
    fs::path parcial = destino;
    parcial += ".part" + std::to_string(getpid());
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
  feitos[fixture] = destino;
  return destino;
}

}  // namespace

std::string utf8ParaWin1252(const std::string& texto) {
  std::string r;
  for (char32_t c : paraCodigos(texto)) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      r += static_cast<char>(c);
      continue;
    }
    char byte = '?';
    for (size_t i = 0; i < kFaixa80.size(); ++i)
      if (kFaixa80[i] == c) byte = static_cast<char>(0x80 + i);
    r += byte;
  }
  return r;
}

std::string win1252ParaUtf8(const std::string& bytes) {
  std::u32string cps;
  for (unsigned char b : bytes) {
    char32_t c = b;
    if (b >= 0x80 && b < 0xA0) c = kFaixa80[b - 0x80] ? kFaixa80[b - 0x80] : 0xFFFD;
    cps += c;
  }
  return paraUtf8(cps);
}

BancoDeTeste::BancoDeTeste(const std::string& fixture) {
  std::string modeloPasta = (fs::temp_directory_path() / "zuvteste-XXXXXX").string();
  if (!mkdtemp(modeloPasta.data())) throw std::runtime_error("cannot create a temporary folder");
  pasta_ = modeloPasta;
  fs::create_directories(pastaDados());
  fs::create_directories(pastaPrograma());
  fs::copy_file(modelo(fixture), caminho());
  gravaArquivo(pastaPrograma() / "zuv.ini", pastaDados().string() + "\n");
}

BancoDeTeste::~BancoDeTeste() {
  std::error_code ec;
  fs::remove_all(pasta_, ec);
}

void BancoDeTeste::liberaParaServidor() const {
  const auto todos = fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all;
  for (const auto& p : {pasta_, pastaDados(), pastaPrograma()})
    fs::permissions(p, todos);
  for (const auto& e : fs::directory_iterator(pastaDados()))
    fs::permissions(e.path(),
                    todos & ~(fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec));
}

std::string BancoDeTeste::textoConexao(const fs::path& banco) {
  return " provider=LCPI.IBProvider.1;data source=" + banco.string() + ";" +
         " user id=sysdba;password=quartzine; ctype=none;auto_commit=true;Persist Security Info=True";
}

void BancoDeTeste::criaBanco(const fs::path& destino, const std::string& fixture) {
  if (destino.has_parent_path()) fs::create_directories(destino.parent_path());
  fs::copy_file(modelo(fixture), destino, fs::copy_options::overwrite_existing);
}

void BancoDeTeste::executaIsql(const fs::path& banco, const std::string& sql) {
  rodaIsql(banco, "SET BAIL ON;\n" + utf8ParaWin1252(terminado(sql)) + "\nCOMMIT;\n");
}

void BancoDeTeste::carregaFixture(const std::string& arquivo) const {
  executaIsql(leArquivo(fs::path(ZUV_FIXTURES_DIR) / arquivo));
}

BancoDeTeste::Linhas BancoDeTeste::consulta(const fs::path& banco, const std::string& select) {
  // SET LIST ON prints one "NAME  value" line per column (the value from column 32, the width
  // of the longest identifier plus one) and a blank line after each row.
  std::string saida = rodaIsql(banco, "SET BAIL ON;\nSET LIST ON;\n" + utf8ParaWin1252(terminado(select)));
  Linhas linhas;
  std::vector<std::string> atual;
  std::istringstream in(saida);
  std::string linha;
  while (std::getline(in, linha)) {
    if (linha.empty()) {
      if (!atual.empty()) linhas.push_back(std::move(atual));
      atual.clear();
      continue;
    }
    size_t nome = linha.find(' ');
    size_t inicio = nome == std::string::npos ? linha.size() : std::max<size_t>(32, nome + 1);
    atual.push_back(win1252ParaUtf8(inicio < linha.size() ? linha.substr(inicio) : ""));
  }
  if (!atual.empty()) linhas.push_back(std::move(atual));
  return linhas;
}

std::string BancoDeTeste::valor(const std::string& select) const {
  auto linhas = consulta(select);
  return linhas.empty() || linhas[0].empty() ? "" : linhas[0][0];
}

}  // namespace zuv::teste
