#pragma once
// A populated ZUV database (schema and zuv_populado fixtures), its program folder, an open
// connection and a run context over it for the tax runs' tests; and workbook edits made with
// openpyxl, as a person correcting the exported workbook makes them.
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "shell/ContextoExecucao.h"
#include "support/BancoDeTeste.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {

namespace fs = std::filesystem;

// (row, column, value): "" empties the cell, a leading '#' types it as a number.
using Edicoes = std::vector<std::tuple<int, int, std::string>>;

// Opens the workbook with openpyxl, sets the cells and saves it in place.
inline void editaPlanilha(const fs::path& arquivo, const Edicoes& edicoes) {
  const fs::path roteiro = arquivo.parent_path() / "edicoes.txt";
  std::ofstream f(roteiro, std::ios::binary);
  for (const auto& [linha, coluna, valor] : edicoes)
    f << linha << "\t" << coluna << "\t" << valor << "\n";
  f.close();
  const std::string comando =
      "/usr/bin/python3 -c 'import sys, openpyxl\nwb = openpyxl.load_workbook(sys.argv[1])\nws = wb.active\n"
      "for l in open(sys.argv[2], encoding=\"utf-8\"):\n    r, c, v = l.rstrip(\"\\n\").split(\"\\t\")\n"
      "    ws.cell(int(r), int(c)).value = None if v == \"\" else (float(v[1:]) if \".\" in v[1:] else "
      "int(v[1:])) if v.startswith(\"#\") else v\nwb.save(sys.argv[1])' '" +
      arquivo.string() + "' '" + roteiro.string() + "'";
  if (std::system(comando.c_str()) != 0) throw std::runtime_error("falhou: " + comando);
}

class AmbienteTributos : public ComEstilo {
 protected:
  void SetUp() override {
    ComEstilo::SetUp();
    banco = std::make_unique<BancoDeTeste>();
    banco->carregaFixture("zuv_populado.sql");
    pasta = banco->pastaPrograma();
    conexao = std::make_unique<Conexao>(banco->textoConexao());
  }
  // A run in a fresh context over the fixture's connection.
  Resultado executa(const Execucao& execucao, OpcoesExecucao opcoes = {}) {
    ContextoExecucao ctx(tela, pasta.string(), opcoes);
    ctx.usaConexao(*conexao);
    return executaNoContexto(ctx, execucao);
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
  std::string um(const std::string& sql) { return linhas(sql).at(0).at(0); }
  // A sheet's cells as the import reads them, rows 1..n, columns 1..m.
  BancoDeTeste::Linhas celulas(const fs::path& arquivo, int n, int m) {
    auto p = abrePlanilha(arquivo.string());
    BancoDeTeste::Linhas r(n);
    for (int l = 0; l < n; ++l)
      for (int c = 0; c < m; ++c)
        r[l].push_back(p->celula(l + 1, c + 1));
    return r;
  }
  fs::path sat() const { return pasta / "produtosat.xlsx"; }

  std::unique_ptr<BancoDeTeste> banco;
  fs::path pasta;
  std::unique_ptr<Conexao> conexao;
};

}  // namespace zuv::teste
