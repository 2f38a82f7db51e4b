// Speed of the fiscal check: loading the official NCM and CEST tables, and checking a product
// workbook of N rows (100 000 by default) against them, in rows/s after the tables are loaded.
// The workbook's NCM codes are taken from the table itself, so every row is looked up and the
// findings without the tables are the few faults planted (one row in 1000 repeats a barcode; one
// in 100 has an NCM that lost its leading zero, which the import restores and the check passes).
//   bench_fiscal [rows] [Tabela_NCM_Vigente.json] [cest_convenio_icms_142_18.html]
// Without the paths it reads the copies of the shared data folder beside the source tree.
#include <sys/resource.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "fiscal/TabelasFiscais.h"
#include "fiscal/VerificaPlanilhaFiscal.h"
#include "platform/Planilha.h"

using namespace zuv;
using Relogio = std::chrono::steady_clock;

namespace {

double cpu() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double segundos(Relogio::time_point inicio) {
  return std::chrono::duration<double>(Relogio::now() - inicio).count();
}

// The 8-digit codes in force of the table file, read with a plain text scan (the bench's own,
// so it does not time the loader twice).
std::vector<std::string> codigosDaTabela(const std::string& caminho) {
  std::ifstream f(caminho);
  const std::string t{std::istreambuf_iterator<char>(f), {}};
  std::vector<std::string> r;
  const std::string marca = "\"Codigo\":\"";
  for (size_t i = t.find(marca); i != std::string::npos; i = t.find(marca, i + 1)) {
    const std::string c = t.substr(i + marca.size(), 10);
    if (c.size() == 10 && c[4] == '.' && c[7] == '.' && c[9] >= '0' && c[9] <= '9' &&
        t.find("31/12/9999", i) < t.find('}', i))
      r.push_back(c.substr(0, 4) + c.substr(5, 2) + c.substr(8, 2));
  }
  return r;
}

// Written with shared strings, as a spreadsheet program saves a workbook; barcodes and stock are
// numbers, as people type them.
void geraPlanilha(const std::string& arquivo, int linhas, const std::vector<std::string>& ncms) {
  static const char* titulos[] = {"Barra",
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
  lxw_workbook* wb = workbook_new(arquivo.c_str());
  lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
  auto texto = [&](int l, int c, const std::string& t) {
    worksheet_write_string(ws, static_cast<lxw_row_t>(l - 1), static_cast<lxw_col_t>(c - 1), t.c_str(),
                           nullptr);
  };
  auto numero = [&](int l, int c, double v) {
    worksheet_write_number(ws, static_cast<lxw_row_t>(l - 1), static_cast<lxw_col_t>(c - 1), v, nullptr);
  };
  for (int c = 0; c < 15; ++c)
    texto(1, c + 1, titulos[c]);
  char b[64];
  for (int i = 0; i < linhas; ++i) {
    const int l = i + 2;
    numero(l, 1, 7890000000000.0 + (i % 1000 == 999 ? i - 1 : i));
    texto(l, 2, "PRODUTO EXEMPLO NUMERO " + std::to_string(i));
    texto(l, 3, i % 3 ? "UN" : "KG");
    std::snprintf(b, sizeof b, "%d.%03d,%02d", i % 9 + 1, i % 1000, i % 100);
    texto(l, 4, b);
    texto(l, 5, b);
    numero(l, 6, i % 300);
    texto(l, 7, "MERCEARIA");
    texto(l, 8, "SUBGRUPO " + std::to_string(i % 200));
    const std::string& ncm = ncms[static_cast<size_t>(i) % ncms.size()];
    texto(l, 9, i % 100 == 50 && ncm[0] == '0' ? ncm.substr(1) : ncm);
    texto(l, 10, "18");
    texto(l, 11, "5102");
    texto(l, 12, "102");
    texto(l, 13, "060");
    texto(l, 14, i % 10 == 0 ? "0300700" : "");
    texto(l, 15, b);
  }
  if (workbook_close(wb) != LXW_NO_ERROR) throw std::runtime_error("não foi possível gravar " + arquivo);
}

}  // namespace

int main(int argc, char** argv) {
  const int linhas = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::string dados = std::string(ZUV_FIXTURES_DIR) + "/../../../shared/data";
  const std::string ncm = argc > 2 ? argv[2] : dados + "/Tabela_NCM_Vigente_20260813.json";
  const std::string cest = argc > 3 ? argv[3] : dados + "/cest_convenio_icms_142_18.html";
  if (!std::filesystem::exists(ncm) || !std::filesystem::exists(cest)) {
    std::fprintf(stderr, "bench_fiscal: tabelas não encontradas (%s, %s)\n", ncm.c_str(), cest.c_str());
    return 2;
  }
  std::string modelo = (std::filesystem::temp_directory_path() / "zuvbenchfiscal-XXXXXX").string();
  const std::string pasta = mkdtemp(modelo.data());
  const std::string arquivo = pasta + "/produto.xlsx";
  try {
    geraPlanilha(arquivo, linhas, codigosDaTabela(ncm));

    double melhorNcm = 1e9, melhorCpuNcm = 1e9;
    for (int vez = 0; vez < 3; ++vez) {
      const auto t = Relogio::now();
      const double c = cpu();
      const TabelaNcm n = TabelaNcm::carrega(ncm);
      melhorNcm = std::min(melhorNcm, segundos(t));
      melhorCpuNcm = std::min(melhorCpuNcm, cpu() - c);
    }
    auto t = Relogio::now();
    double c = cpu();
    const TabelaNcm tabelaNcm = TabelaNcm::carrega(ncm);
    const TabelaCest tabelaCest = TabelaCest::carrega(cest);
    std::printf("carga da tabela NCM: %.3f s (CPU %.3f s), %zu códigos: %s\n", melhorNcm, melhorCpuNcm,
                tabelaNcm.codigos(), tabelaNcm.descricao().c_str());
    std::printf("carga das duas tabelas: %.3f s (CPU %.3f s); CEST: %s\n", segundos(t), cpu() - c,
                tabelaCest.descricao().c_str());

    // The floor: the same cells read with nothing checked.
    t = Relogio::now();
    c = cpu();
    {
      auto leitor = abrePlanilha(arquivo);
      size_t bytes = 0;
      int lidas = 0;
      for (int l = 2; !leitor->celula(l, 1).empty(); ++l, ++lidas)
        for (int col : {1, 2, 4, 5, 6, 9, 11, 12, 13, 14, 15, 16})
          bytes += leitor->celula(l, col).size();
      std::printf(
          "só a leitura das mesmas células: %d linhas em %.3f s (CPU %.3f s): %.0f linhas/s (CPU: %.0f "
          "linhas/s), %zu bytes\n",
          lidas, segundos(t), cpu() - c, lidas / segundos(t), lidas / (cpu() - c), bytes);
    }

    const TabelasFiscais tabelas{&tabelaNcm, &tabelaCest};
    OpcoesVerificacaoFiscal opcoes;
    opcoes.estilo = 1;
    for (const TabelasFiscais* com : {static_cast<const TabelasFiscais*>(nullptr), &tabelas}) {
      t = Relogio::now();
      c = cpu();
      const ResultadoVerificacaoFiscal r = verificaPlanilha(arquivo, com, opcoes);
      const double s = segundos(t), sc = cpu() - c;
      std::printf("%s: %d linhas em %.3f s (CPU %.3f s): %.0f linhas/s (CPU: %.0f linhas/s), %zu achados\n",
                  com ? "verificação com as tabelas" : "verificação sem tabelas", r.linhasDeDados, s, sc,
                  r.linhasDeDados / s, r.linhasDeDados / sc, r.achados.size());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_fiscal: %s\n", e.what());
    std::filesystem::remove_all(pasta);
    return 1;
  }
  std::filesystem::remove_all(pasta);
  return 0;
}
