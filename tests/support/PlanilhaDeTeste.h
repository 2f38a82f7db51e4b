#pragma once
// Workbooks made from rows of cells by the tools users make them with, never through our own
// writer: openpyxl (shared strings), or LibreOffice Calc converting a CSV (a few seconds).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zuv::teste {

// The headings of produto.xlsx.
inline const std::vector<std::string> kCabecalhoProduto = {"Barra",
                                                           "Nome Produto",
                                                           "Unidade",
                                                           "Preço Custo",
                                                           "Preço Venda",
                                                           "Estoque Atual",
                                                           "Nome Grupo",
                                                           "Sub Grupo",
                                                           "NCM",
                                                           "Aliq. ECF SAT",
                                                           "CFOP VendaSat",
                                                           "Trib.Simples Nacional",
                                                           "Cód.Trib.ICMS CST",
                                                           "Código CEST",
                                                           "Preço Atacado"};

// Writes the rows as a UTF-8 CSV: a leading '#' makes a bare field (a number), every other cell is
// a quoted text (quotes doubled).
inline void escreveCsv(const std::vector<std::vector<std::string>>& linhas,
                       const std::filesystem::path& csv) {
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
}

// Converts CSV files (',' or ';' between fields, UTF-8, quoted fields as texts) into the format in
// their folder with one start of LibreOffice Calc (a few seconds); its private profile stays there.
inline void converteComLibreOffice(const std::vector<std::filesystem::path>& csvs,
                                   const std::string& formato) {
  std::string comando = "soffice -env:UserInstallation=file://" +
                        (csvs.at(0).parent_path() / "perfil").string() +
                        " --headless --infilter=CSV:44/59,34,76,1,,0,true --convert-to " + formato +
                        " --outdir '" + csvs[0].parent_path().string() + "'";
  for (const auto& csv : csvs)
    comando += " '" + csv.string() + "'";
  if (std::system((comando + " >/dev/null 2>&1").c_str()) != 0)
    throw std::runtime_error("falhou: " + comando);
}

// Writes the rows to destino through a CSV in the folder csv beside it: "" leaves a cell empty and a
// leading '#' types the cell as a number. With LibreOffice, formato is what soffice converts to
// ("xls" makes an Excel 97 file).
inline void planilha(const std::vector<std::vector<std::string>>& linhas,
                     const std::filesystem::path& destino, bool libreOffice = false,
                     const std::string& formato = "xlsx") {
  namespace fs = std::filesystem;
  const fs::path pasta = destino.parent_path() / "csv", csv = pasta / (destino.stem().string() + ".csv");
  fs::create_directories(pasta);
  escreveCsv(linhas, csv);
  if (libreOffice) {
    converteComLibreOffice({csv}, formato);
    fs::rename(pasta / (destino.stem().string() + "." + formato), destino);
    return;
  }
  const std::string comando =
      "/usr/bin/python3 -c 'import csv, sys, openpyxl\nwb = openpyxl.Workbook()\n"
      "for l in csv.reader(open(sys.argv[1], encoding=\"utf-8\", newline=\"\"), "
      "quoting=csv.QUOTE_NONNUMERIC):\n    wb.active.append([None if v == \"\" else v for v in l])\n"
      "wb.save(sys.argv[2])' '" +
      csv.string() + "' '" + destino.string() + "'";
  if (std::system(comando.c_str()) != 0) throw std::runtime_error("falhou: " + comando);
}

}  // namespace zuv::teste
