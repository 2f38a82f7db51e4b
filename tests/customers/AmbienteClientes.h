#pragma once
// A fresh ZUV database (schema fixture), its program folder and an open connection for the customer
// runs' tests, and customer workbooks made by the tools users make them with: openpyxl and
// LibreOffice Calc converting a CSV (neither goes through our own writer).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Conexao.h"
#include "support/BancoDeTeste.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {

namespace fs = std::filesystem;

// A row of cells: texts ("" leaves the cell empty), or numbers typed as numbers when they start with '#'.
using LinhasTeste = std::vector<std::vector<std::string>>;

inline void executaComando(const std::string& comando) {
  if (std::system(comando.c_str()) != 0) throw std::runtime_error("falhou: " + comando);
}

// A UTF-8 CSV whose quoted fields are texts and whose bare fields are numbers.
inline fs::path escreveCsv(const LinhasTeste& linhas, const fs::path& destino) {
  const fs::path csv = fs::path(destino).replace_extension(".csv");
  std::ofstream f(csv, std::ios::binary);
  for (const auto& linha : linhas) {
    for (size_t c = 0; c < linha.size(); ++c) {
      std::string campo;
      for (char ch : linha[c])
        campo += ch == '"' ? "\"\"" : std::string(1, ch);
      f << (c ? "," : "") << (linha[c].starts_with('#') ? linha[c].substr(1) : '"' + campo + '"');
    }
    f << "\n";
  }
  return csv;
}

// Writes the rows to destino with openpyxl (shared strings, numbers as numbers).
inline void planilhaOpenpyxl(const LinhasTeste& linhas, const fs::path& destino) {
  const fs::path csv = escreveCsv(linhas, destino);
  executaComando(
      "/usr/bin/python3 -c 'import csv, sys, openpyxl\n"
      "wb = openpyxl.Workbook()\n"
      "for linha in csv.reader(open(sys.argv[1], encoding=\"utf-8\", newline=\"\"), "
      "quoting=csv.QUOTE_NONNUMERIC):\n"
      "    wb.active.append([None if v == \"\" else v for v in linha])\n"
      "wb.save(sys.argv[2])' '" +
      csv.string() + "' '" + destino.string() + "'");
  fs::remove(csv);
}

// Writes the rows to destino with LibreOffice Calc converting a CSV (a few seconds; private profile).
inline void planilhaLibreOffice(const LinhasTeste& linhas, const fs::path& destino) {
  const fs::path csv = escreveCsv(linhas, destino), perfil = destino.parent_path() / "perfil-soffice";
  executaComando("soffice -env:UserInstallation=file://" + perfil.string() +
                 " --headless --infilter=CSV:44,34,76,1,,0,true --convert-to xlsx --outdir '" +
                 destino.parent_path().string() + "' '" + csv.string() + "' >/dev/null 2>&1");
  fs::remove_all(perfil);
  fs::remove(csv);
}

class AmbienteClientes : public ComEstilo {
 protected:
  void SetUp() override {
    ComEstilo::SetUp();
    banco = std::make_unique<BancoDeTeste>();
    pasta = banco->pastaPrograma();
    conexao = std::make_unique<Conexao>(banco->textoConexao());
  }
  void TearDown() override {
    conexao.reset();
    banco.reset();
    ComEstilo::TearDown();
  }
  // Every row of a query, each field as its regional text, "<null>" marking nulls.
  BancoDeTeste::Linhas linhas(const std::string& sql) {
    BancoDeTeste::Linhas r;
    for (Recordset rs = conexao->abre(sql); !rs.eof(); rs.proximo()) {
      r.emplace_back();
      for (int i = 0; i < rs.totalCampos(); ++i)
        r.back().push_back(rs.valor(i).nulo() ? "<null>" : rs.valor(i).textoRegional(1));
    }
    return r;
  }
  long conta(const std::string& tabela) { return std::stol(linhas("select count(*) from " + tabela)[0][0]); }

  std::unique_ptr<BancoDeTeste> banco;
  fs::path pasta;  // the program folder, where clientes.xlsx goes
  std::unique_ptr<Conexao> conexao;
};

}  // namespace zuv::teste
