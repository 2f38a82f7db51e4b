#pragma once
// The populated ZUV database (zuv_populado fixture) for the tax runs' tests, and workbook edits made
// with openpyxl, as a person correcting the exported workbook makes them.
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "customers/AmbienteClientes.h"
#include "platform/Planilha.h"

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

class AmbienteTributos : public AmbienteBanco {
 protected:
  AmbienteTributos() : AmbienteBanco("zuv_populado.sql") {}
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
};

}  // namespace zuv::teste
