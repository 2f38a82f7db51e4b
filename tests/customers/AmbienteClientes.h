#pragma once
// A fresh ZUV database (schema fixture), its program folder and an open connection for the customer
// runs' tests, and customer workbooks made by the tools users make them with: openpyxl and
// LibreOffice Calc converting a CSV (neither goes through our own writer).
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "platform/Conexao.h"
#include "shell/ContextoExecucao.h"
#include "support/BancoDeTeste.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {

namespace fs = std::filesystem;
// Rows of cells. In a workbook, "" leaves a cell empty and a leading '#' types the cell as a number.
using Tabela = BancoDeTeste::Linhas;

// Writes the rows to destino through a UTF-8 CSV (quoted fields are texts, bare ones numbers): with
// openpyxl (shared strings), or with LibreOffice Calc (a few seconds; private profile). The CSV and
// the profile stay in the test's folder, which goes with the test.
inline void planilha(const Tabela& linhas, const fs::path& destino, bool libreOffice = false) {
  const fs::path csv = fs::path(destino).replace_extension(".csv"), perfil = destino.parent_path() / "perfil";
  std::ofstream f(csv, std::ios::binary);
  for (const auto& linha : linhas) {
    for (size_t c = 0; c < linha.size(); ++c) {
      std::string campo = linha[c];
      for (size_t i = campo.find('"'); i != std::string::npos; i = campo.find('"', i + 2))
        campo.insert(i, 1, '"');
      f << (c ? "," : "") << (campo.starts_with('#') ? campo.substr(1) : '"' + campo + '"');
    }
    f << "\n";
  }
  f.close();
  const std::string comando =
      libreOffice
          ? "soffice -env:UserInstallation=file://" + perfil.string() +
                " --headless --infilter=CSV:44,34,76,1,,0,true --convert-to xlsx --outdir '" +
                destino.parent_path().string() + "' '" + csv.string() + "' >/dev/null 2>&1"
          : "/usr/bin/python3 -c 'import csv, sys, openpyxl\nwb = openpyxl.Workbook()\n"
            "for l in csv.reader(open(sys.argv[1], encoding=\"utf-8\", newline=\"\"), "
            "quoting=csv.QUOTE_NONNUMERIC):\n    wb.active.append([None if v == \"\" else v for v in l])\n"
            "wb.save(sys.argv[2])' '" +
                csv.string() + "' '" + destino.string() + "'";
  if (std::system(comando.c_str()) != 0) throw std::runtime_error("falhou: " + comando);
}

class AmbienteClientes : public ComEstilo {
 protected:
  void SetUp() override {
    ComEstilo::SetUp();
    banco = std::make_unique<BancoDeTeste>();
    pasta = banco->pastaPrograma();
    conexao = std::make_unique<Conexao>(banco->textoConexao());
  }
  // Every row of a query, each field as its regional text, "<null>" marking nulls.
  Tabela linhas(const std::string& sql) {
    Tabela r;
    for (Recordset rs = conexao->abre(sql); !rs.eof(); rs.proximo()) {
      r.emplace_back();
      for (int i = 0; i < rs.totalCampos(); ++i)
        r.back().push_back(rs.valor(i).nulo() ? "<null>" : rs.valor(i).textoRegional(1));
    }
    return r;
  }
  // A customer run as the front ends start it: in a context over the test's program folder and
  // connection.
  Resultado executa(const Execucao& execucao, OpcoesExecucao opcoes = {}) {
    ContextoExecucao ctx(tela, pasta.string(), std::move(opcoes));
    ctx.usaConexao(*conexao);
    return executaNoContexto(ctx, execucao);
  }
  long conta(const std::string& tabela) { return std::stol(linhas("select count(*) from " + tabela)[0][0]); }

  // Destroyed in reverse order: the connection before its database.
  std::unique_ptr<BancoDeTeste> banco;
  fs::path pasta;  // the program folder, where clientes.xlsx goes
  std::unique_ptr<Conexao> conexao;
};

}  // namespace zuv::teste
