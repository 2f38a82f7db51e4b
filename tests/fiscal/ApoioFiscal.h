#pragma once
// Workbooks for the fiscal check, made by openpyxl as a spreadsheet program saves them (a number
// typed as a number, "#1012100", really loses its zero), and small official tables of the
// published shapes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fiscal/TabelasFiscais.h"
#include "platform/ApoioPlanilha.h"
#include "support/PlanilhaDeTeste.h"

namespace zuv::teste {

using Linhas = std::vector<std::vector<std::string>>;

inline const std::vector<std::string> kTitulosTributacao = {
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

class ComPlanilhasFiscais : public ComPlanilhas {
 protected:
  void SetUp() override {
    ComPlanilhas::SetUp();
    if (!temOpenpyxl()) GTEST_SKIP() << "sem openpyxl em /usr/bin/python3";
  }

  // This test program's own folder.
  static std::string pasta() { return std::filesystem::path(naPasta("")).parent_path().string(); }

  // Writes the rows into nome (in this test program's folder) with openpyxl; returns the path.
  static std::string planilha(const std::string& nome, const Linhas& linhas) {
    teste::planilha(linhas, pasta() + "/" + nome);
    return pasta() + "/" + nome;
  }

  static std::string arquivo(const std::string& nome, const std::string& conteudo) {
    const std::string caminho = pasta() + "/" + nome;
    std::ofstream(caminho, std::ios::binary) << conteudo;
    return caminho;
  }
};

}  // namespace zuv::teste
