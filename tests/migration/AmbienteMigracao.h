#pragma once
// What the standard migration tests share: a ZUV database and its program folder, a SYSPDV
// database at BancoOrigem/syspdv_srv.fdb, and a written workbook as openpyxl reads it back.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "platform/Conexao.h"
#include "support/BancoDeTeste.h"
#include "support/EstiloRegional.h"
#include "support/PlanilhaDeTeste.h"

namespace zuv::teste {

namespace fs = std::filesystem;

// A cell as openpyxl sees it.
struct CelulaLida {
  std::string valor;    // "" for an empty cell
  std::string tipo;     // openpyxl's data_type: "s" text, "n" number
  std::string formato;  // number format
  bool negrito = false;
  std::string alinhamento;  // horizontal alignment ("" when none)
};

struct PlanilhaLida {
  std::map<std::string, CelulaLida> celulas;  // by reference, "A1"
  std::map<std::string, double> larguras;     // by column letter
  const CelulaLida& operator[](const std::string& ref) const {
    static const CelulaLida vazia;
    auto it = celulas.find(ref);
    return it == celulas.end() ? vazia : it->second;
  }
};

// Reads a workbook with openpyxl (Debian's python3): every cell of the active sheet that has a value
// or a style, and the column widths.
inline PlanilhaLida leComOpenpyxl(const fs::path& arquivo) {
  const fs::path saida = fs::path(arquivo).replace_extension(".celulas");
  const std::string comando =
      "/usr/bin/python3 -c 'import openpyxl, sys\n"
      "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
      "o = open(sys.argv[2], \"w\", encoding=\"utf-8\")\n"
      "for k, d in ws.column_dimensions.items():\n"
      "    o.write(\"W\\t%s\\t\\t\\t\\t\\t%s\\n\" % (k, d.width))\n"
      "for linha in ws.iter_rows():\n"
      "    for c in linha:\n"
      "        v = \"\" if c.value is None else str(c.value)\n"
      "        o.write(\"C\\t%s\\t%s\\t%s\\t%d\\t%s\\t%s\\n\" % (c.coordinate, c.data_type, c.number_format,"
      " 1 if c.font.b else 0, c.alignment.horizontal or \"\", v.replace(\"\\n\", \" \")))\n"
      "' '" +
      arquivo.string() + "' '" + saida.string() + "'";
  if (std::system(comando.c_str()) != 0) throw std::runtime_error("falhou: " + comando);
  PlanilhaLida p;
  std::ifstream f(saida);
  for (std::string linha; std::getline(f, linha);) {
    // C, reference, type, format, bold, alignment, value (the rest of the line); or W, column, width.
    std::istringstream campos(linha);
    std::string c[7];
    for (int i = 0; i < 6; ++i)
      std::getline(campos, c[i], '\t');
    std::getline(campos, c[6]);
    if (c[0] == "W")
      p.larguras[c[1]] = std::stod(c[6]);
    else
      p.celulas[c[1]] = {c[6], c[2], c[3], c[4] == "1", c[5]};
  }
  return p;
}

// Runs a script of statements on a SYSPDV database, creating it (with the fixture's tables) first
// when it does not exist.
inline void preparaSyspdv(const fs::path& banco, const std::string& sql) {
  if (!fs::exists(banco)) {
    fs::create_directories(banco.parent_path());
    Conexao::criaBancoDeDados(banco.string());
    std::ifstream fixture(std::string(ZUV_FIXTURES_DIR) + "/syspdv_schema.sql");
    BancoDeTeste::executaIsql(banco, std::string(std::istreambuf_iterator<char>(fixture), {}));
  }
  if (!sql.empty()) BancoDeTeste::executaIsql(banco, sql);
}

}  // namespace zuv::teste
