#pragma once
// Customer workbooks for the tests, made by the tools users make them with: openpyxl (Debian's
// python3) and LibreOffice Calc headless converting a CSV. Neither goes through our own writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace zuv::teste {

namespace fs = std::filesystem;

// A cell: a text ("" leaves the cell empty) or a number typed as a number.
using CelulaTeste = std::variant<std::string, double>;
using LinhaTeste = std::vector<CelulaTeste>;
using LinhasTeste = std::vector<LinhaTeste>;

inline std::string jsonTexto(const std::string& s) {
  std::string r = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      r += '\\';
      r += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      r += buf;
    } else {
      r += static_cast<char>(c);
    }
  }
  return r + "\"";
}

inline fs::path pastaTemporaria(const std::string& prefixo) {
  std::string modelo = (fs::temp_directory_path() / (prefixo + "XXXXXX")).string();
  if (!mkdtemp(modelo.data())) throw std::runtime_error("mkdtemp falhou");
  return modelo;
}

inline void executaComando(const std::string& comando) {
  if (std::system(comando.c_str()) != 0) throw std::runtime_error("falhou: " + comando);
}

// Writes the rows to destino with openpyxl (shared strings, numbers as numbers).
inline void planilhaOpenpyxl(const LinhasTeste& linhas, const fs::path& destino) {
  const fs::path pasta = pastaTemporaria("zuv-openpyxl-");
  {
    std::ofstream json(pasta / "linhas.json", std::ios::binary);
    json << "[";
    for (size_t l = 0; l < linhas.size(); ++l) {
      json << (l ? ",[" : "[");
      for (size_t c = 0; c < linhas[l].size(); ++c) {
        if (c) json << ",";
        if (const auto* t = std::get_if<std::string>(&linhas[l][c]))
          json << (t->empty() ? "null" : jsonTexto(*t));
        else
          json << std::setprecision(17) << std::get<double>(linhas[l][c]);
      }
      json << "]";
    }
    json << "]";
    std::ofstream py(pasta / "escreve.py");
    py << "import json, sys, openpyxl\n"
          "linhas = json.load(open(sys.argv[1], encoding='utf-8'))\n"
          "wb = openpyxl.Workbook()\n"
          "ws = wb.active\n"
          "for r, linha in enumerate(linhas, 1):\n"
          "    for c, v in enumerate(linha, 1):\n"
          "        if v is not None:\n"
          "            ws.cell(row=r, column=c, value=v)\n"
          "wb.save(sys.argv[2])\n";
  }
  executaComando("/usr/bin/python3 '" + (pasta / "escreve.py").string() + "' '" +
                 (pasta / "linhas.json").string() + "' '" + destino.string() + "'");
  fs::remove_all(pasta);
}

inline std::string csvCampo(const CelulaTeste& c) {
  if (const auto* d = std::get_if<double>(&c)) {
    std::ostringstream s;
    s << std::setprecision(17) << *d;
    return s.str();
  }
  std::string r = "\"";
  for (char ch : std::get<std::string>(c))
    r += ch == '"' ? std::string("\"\"") : std::string(1, ch);
  return r + "\"";
}

// Converts every named set of rows to <pasta>/<nome>.xlsx with one LibreOffice start (a few
// seconds), through a UTF-8 CSV whose quoted fields stay texts, with a private profile.
inline void planilhasLibreOffice(const std::vector<std::pair<std::string, LinhasTeste>>& planilhas,
                                 const fs::path& pasta) {
  const fs::path trabalho = pastaTemporaria("zuv-soffice-");
  std::string arquivos;
  for (const auto& [nome, linhas] : planilhas) {
    const fs::path csv = trabalho / (nome + ".csv");
    std::ofstream f(csv, std::ios::binary);
    for (const LinhaTeste& linha : linhas) {
      for (size_t c = 0; c < linha.size(); ++c)
        f << (c ? "," : "") << csvCampo(linha[c]);
      f << "\n";
    }
    arquivos += " '" + csv.string() + "'";
  }
  executaComando("soffice -env:UserInstallation=file://" + (trabalho / "perfil").string() +
                 " --headless --infilter=CSV:44,34,76,1,,0,true --convert-to xlsx --outdir '" +
                 pasta.string() + "'" + arquivos + " >/dev/null 2>&1");
  fs::remove_all(trabalho);
  for (const auto& p : planilhas)
    if (!fs::exists(pasta / (p.first + ".xlsx")))
      throw std::runtime_error("LibreOffice não gerou " + p.first + ".xlsx");
}

}  // namespace zuv::teste
