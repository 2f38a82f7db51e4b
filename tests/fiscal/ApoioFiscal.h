#pragma once
// Workbooks for the fiscal check, made by openpyxl as a spreadsheet program saves them: a cell is
// a text, or a number typed as a number (so a code like 01012100 really loses its zero), and
// small official tables of the published shapes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fiscal/TabelasFiscais.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {

struct Celula {
  std::string texto;
  bool numero = false;
  Celula(const char* t) : texto(t) {}
  Celula(std::string t) : texto(std::move(t)) {}
  static Celula n(std::string t) {
    Celula c(std::move(t));
    c.numero = true;
    return c;
  }
};
using Linhas = std::vector<std::vector<Celula>>;

inline const std::vector<Celula> kTitulosProduto = {"Barra",
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
inline const std::vector<Celula> kTitulosTributacao = {
    "Cod.Interno",    "Código Barra",   "Descrição Produto",     "Grupo Produto",     "NCM",
    "Aliq. ECF SAT",  "CFOP SAT",       "Trib.Simples Nacional", "Cód.Trib.ICMS CST", "Código CEST",
    "CFP de Entrada", "Código CST PIS", "Porcentagem PIS",       "Código CST Cofins", "Porcentagem Cofins"};

// A small NCM table: 01012100 and 22030000 in force, 39139050 ended on 30/09/2026.
inline const std::string kNcmPequena =
    R"({"Data_Ultima_Atualizacao_NCM":"Vigente em 13/08/2026","Ato":"Resolução Gecex nº 926/2026","Nomenclaturas":[
 {"Codigo":"0101.21.00","Data_Inicio":"01/04/2022","Data_Fim":"31/12/9999"},
 {"Codigo":"2203.00.00","Data_Inicio":"01/04/2022","Data_Fim":"31/12/9999"},
 {"Codigo":"1704.90.10","Data_Inicio":"01/04/2022","Data_Fim":"31/12/9999"},
 {"Codigo":"3913.90.50","Data_Inicio":"01/04/2022","Data_Fim":"30/09/2026"}]})";
// CEST 0302100 for 2203.00.00 beer, 1700100 for 1704.90.10 white chocolate.
inline const std::string kCestPequena =
    R"(<table><tr><td>ITEM</td><td>CEST</td><td>NCM/SH</td><td>DESCRIÇÃO</td></tr>
<tr><td>21.0</td><td>03.021.00</td><td>2203.00.00</td><td>Cerveja em garrafa de vidro retornável</td></tr>
<tr><td>1.0</td><td>17.001.00</td><td>1704.90.10</td><td>Chocolate branco</td></tr></table>)";

class ComPlanilhasFiscais : public ComEstilo {
 protected:
  static bool temOpenpyxl() { return std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") == 0; }

  void SetUp() override {
    ComEstilo::SetUp();
    if (!temOpenpyxl()) GTEST_SKIP() << "sem openpyxl em /usr/bin/python3";
  }

  static std::string pasta() {
    static const struct Pasta {
      std::string p = (std::filesystem::temp_directory_path() / "zuvfiscalXXXXXX").string();
      Pasta() {
        if (!mkdtemp(p.data())) std::abort();
      }
      ~Pasta() { std::filesystem::remove_all(p); }
    } pasta;
    return pasta.p;
  }

  static std::string json(const std::string& t) {
    std::string r = "\"";
    for (char c : t) {
      if (c == '"' || c == '\\') r += '\\';
      r += c;
    }
    return r + "\"";
  }

  // Writes the rows into nome (in this test program's folder) with openpyxl; returns the path.
  static std::string planilha(const std::string& nome, const Linhas& linhas) {
    const std::string destino = pasta() + "/" + nome;
    const std::string dados = destino + ".json";
    {
      std::ofstream f(dados);
      f << "[";
      for (size_t l = 0; l < linhas.size(); ++l) {
        f << (l ? ",[" : "[");
        for (size_t c = 0; c < linhas[l].size(); ++c)
          f << (c ? "," : "") << (linhas[l][c].numero ? linhas[l][c].texto : json(linhas[l][c].texto));
        f << "]";
      }
      f << "]";
    }
    const std::string comando =
        "/usr/bin/python3 -c 'import json, sys, openpyxl\n"
        "wb = openpyxl.Workbook()\nws = wb.active\n"
        "for linha in json.load(open(sys.argv[1], encoding=\"utf-8\")):\n"
        "    ws.append([None if c == \"\" else c for c in linha])\n"
        "wb.save(sys.argv[2])' '" +
        dados + "' '" + destino + "'";
    EXPECT_EQ(std::system(comando.c_str()), 0) << comando;
    return destino;
  }

  static std::string arquivo(const std::string& nome, const std::string& conteudo) {
    const std::string caminho = pasta() + "/" + nome;
    std::ofstream(caminho, std::ios::binary) << conteudo;
    return caminho;
  }
};

}  // namespace zuv::teste
