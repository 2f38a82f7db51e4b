#pragma once
// A throw-away ZUV database for tests: a temporary folder holding a copy of a database made from
// tests/fixtures/zuv_schema.sql, plus a program folder whose zuv.ini points at it.
// The fixture is turned into a template database once per build (kept in the build folder and
// rebuilt when the fixture changes); every test gets a file copy of that template, so a fresh
// database costs a few milliseconds. Setup and inspection go through isql-fb, independent of
// the program's own database layer. The folder is removed when the object goes away.
#include <filesystem>
#include <string>
#include <vector>

#include "shell/BancoZUV.h"

namespace zuv::teste {

class BancoDeTeste {
 public:
  using Linhas = std::vector<std::vector<std::string>>;

  // Creates <temp>/dados/VENDAS.FDB and <temp>/programa/zuv.ini.
  BancoDeTeste();
  ~BancoDeTeste();
  BancoDeTeste(const BancoDeTeste&) = delete;
  BancoDeTeste& operator=(const BancoDeTeste&) = delete;

  std::filesystem::path pastaDados() const { return pasta_ / "dados"; }
  std::filesystem::path caminho() const { return pastaDados() / "VENDAS.FDB"; }
  // Program folder: zuv.ini's first line is pastaDados().
  std::filesystem::path pastaPrograma() const { return pasta_ / "programa"; }
  // The connection string the ZUV forms build for this database.
  std::string textoConexao() const { return textoConexaoZUV(pastaDados().string()); }

  // Runs a script (UTF-8; statements end with ';'), stopping at the first error, then commits.
  // Texts reach the database as Windows-1252, as the ZUV system stores them.
  // Throws std::runtime_error carrying isql-fb's output when a statement fails.
  void executaIsql(const std::string& sql) const { executaIsql(caminho(), sql); }
  static void executaIsql(const std::filesystem::path& banco, const std::string& sql);

  // Runs a script file of tests/fixtures (UTF-8), e.g. "zuv_populado.sql".
  void carregaFixture(const std::string& arquivo) const;

  // Runs one SELECT and returns its rows, each value as text (UTF-8; null as "<null>";
  // decimals with a point, timestamps as YYYY-MM-DD HH:MM:SS.ssss). One-line values only.
  static Linhas consulta(const std::filesystem::path& banco, const std::string& select);

  // First value of the first row ("" when there is no row).
  std::string valor(const std::string& select) const;

 private:
  std::filesystem::path pasta_;
};

}  // namespace zuv::teste
