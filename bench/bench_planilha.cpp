// Speed and memory of the workbook layer on a product-shaped sheet (100 000 rows x 16 columns:
// texts, prices as text, barcodes and stock as numbers, strings shared as spreadsheet programs
// save them). Prints cells/s of our reader and writer, the reader's peak RSS against the text it
// keeps, and openpyxl's read speed on the same file for comparison.
//   bench_planilha [linhas]
#include <sys/resource.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unordered_set>

#include "platform/Planilha.h"

namespace {

constexpr int kColunas = 16;

using Relogio = std::chrono::steady_clock;
double segundosDesde(Relogio::time_point t) {
  return std::chrono::duration<double>(Relogio::now() - t).count();
}

// Processor time of this process (user + system): the figure that does not depend on what else
// the machine is running.
double cpu() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

std::string preco(int i, int k) {
  char b[32];
  std::snprintf(b, sizeof b, "%d.%03d,%02d", (i * 7 + k) % 9 + 1, (i * 13) % 1000, (i + k) % 100);
  return b;
}

// The text of cell (row i, column c) of the product sheet; c 1 and 6 are numbers (barcode, stock).
std::string texto(int i, int c) {
  static const char* grupos[] = {"MERCEARIA", "BEBIDAS", "LIMPEZA",   "HIGIENE",
                                 "FRIOS",     "PADARIA", "HORTIFRUTI"};
  switch (c) {
    case 2:
      return "PRODUTO EXEMPLO NUMERO " + std::to_string(i) + " EMBALAGEM 500G";
    case 3:
      return i % 3 ? "UN" : "KG";
    case 4:
      return preco(i, 1);
    case 5:
      return preco(i, 2);
    case 7:
      return grupos[i % 7];
    case 8:
      return std::string("SUBGRUPO ") + std::to_string(i % 200);
    case 9:
      return std::to_string(19059000 + i % 90);
    case 10:
      return "T18";
    case 11:
      return "5102";
    case 12:
      return "102";
    case 13:
      return "060";
    case 14:
      return std::to_string(1700100 + i % 50);
    case 15:
      return preco(i, 3);
    default:
      return preco(i, 4);
  }
}

// Writes the sheet to read with libxlsxwriter, as a spreadsheet program saves it (shared strings).
// Returns the bytes of its distinct strings: the text the reader keeps.
size_t geraParaLeitura(const std::string& arquivo, int linhas) {
  std::unordered_set<std::string> distintos;
  lxw_workbook* wb = workbook_new(arquivo.c_str());
  lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
  for (int c = 1; c <= kColunas; ++c)
    worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c - 1), ("Coluna " + std::to_string(c)).c_str(),
                           nullptr);
  for (int i = 1; i < linhas; ++i) {
    for (int c = 1; c <= kColunas; ++c) {
      const auto l = static_cast<lxw_row_t>(i);
      const auto col = static_cast<lxw_col_t>(c - 1);
      if (c == 1)
        worksheet_write_number(ws, l, col, 7891000000000.0 + i, nullptr);
      else if (c == 6)
        worksheet_write_number(ws, l, col, i % 500, nullptr);
      else {
        const std::string t = texto(i, c);
        worksheet_write_string(ws, l, col, t.c_str(), nullptr);
        distintos.insert(t);
      }
    }
  }
  if (workbook_close(wb) != LXW_NO_ERROR) std::exit(1);
  size_t bytes = 0;
  for (const auto& t : distintos)
    bytes += t.size();
  return bytes;
}

long picoRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Runs in its own process, so the peak RSS is the reader's alone.
int modoLeitura(const std::string& arquivo) {
  const long antes = picoRssKb();
  const double c0 = cpu();
  auto t0 = Relogio::now();
  auto p = zuv::abrePlanilha(arquivo);
  const double abertura = segundosDesde(t0);
  t0 = Relogio::now();
  const int ultima = p->ultimaLinha();
  const double contagem = segundosDesde(t0);
  t0 = Relogio::now();
  size_t celulas = 0, bytes = 0;
  for (int l = 1; l <= ultima; ++l)
    for (int c = 1; c <= kColunas; ++c) {
      bytes += p->celula(l, c).size();
      ++celulas;
    }
  const double leitura = segundosDesde(t0);
  std::printf("%zu %zu %.6f %.6f %.6f %ld %ld %.6f\n", celulas, bytes, abertura, contagem, leitura, antes,
              picoRssKb(), cpu() - c0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--ler") return modoLeitura(argv[2]);
  const int linhas = argc > 1 ? std::atoi(argv[1]) : 100'000;
  const std::string pasta =
      std::filesystem::temp_directory_path() / ("bench_planilha_" + std::to_string(getpid()));
  std::filesystem::create_directories(pasta);
  const std::string paraLer = pasta + "/produtos.xlsx";
  const std::string escrita = pasta + "/escrita.xlsx";
  const double total = static_cast<double>(linhas) * kColunas;
  std::printf("folha de produtos: %d linhas x %d colunas = %.0f células\n", linhas, kColunas, total);

  // Writer: every cell as text, headings bold, widths, prices aligned right.
  auto t0 = Relogio::now();
  const double c0 = cpu();
  {
    zuv::EscritorPlanilha e;
    for (int c = 1; c <= kColunas; ++c) {
      e.escreve(1, c, "Coluna " + std::to_string(c));
      e.larguraColuna(c, 14);
    }
    for (int i = 1; i < linhas; ++i)
      for (int c = 1; c <= kColunas; ++c) {
        e.escreve(i + 1, c,
                  c == 1   ? std::to_string(7891000000000LL + i)
                  : c == 6 ? std::to_string(i % 500)
                           : texto(i, c));
        if (c == 4 || c == 5 || c == 15) e.alinhaDireita(i + 1, c);
      }
    e.salva(escrita);
  }
  const double tEscrita = segundosDesde(t0);
  const double cEscrita = cpu() - c0;
  std::printf(
      "escrita (EscritorPlanilha): %.2f s, %.0f células/s; %.2f s de processador, %.0f células/s; %.1f MB\n",
      tEscrita, total / tEscrita, cEscrita, total / cEscrita, std::filesystem::file_size(escrita) / 1e6);

  const size_t guardado = geraParaLeitura(paraLer, linhas);
  std::printf(
      "arquivo para leitura (textos compartilhados, códigos numéricos): %.1f MB, textos distintos %.1f MB\n",
      std::filesystem::file_size(paraLer) / 1e6, guardado / 1e6);

  const std::string eu = std::filesystem::read_symlink("/proc/self/exe");
  FILE* f = popen(("'" + eu + "' --ler '" + paraLer + "'").c_str(), "r");
  size_t celulas = 0, bytes = 0;
  double abertura = 0, contagem = 0, leitura = 0;
  long rssAntes = 0, rssPico = 0;
  double cLeitura = 0;
  if (!f || std::fscanf(f, "%zu %zu %lf %lf %lf %ld %ld %lf", &celulas, &bytes, &abertura, &contagem,
                        &leitura, &rssAntes, &rssPico, &cLeitura) != 8)
    return 1;
  pclose(f);
  std::printf(
      "leitura (abrePlanilha): abertura %.2f s (textos compartilhados), contagem %.2f s, leitura %.2f s\n",
      abertura, contagem, leitura);
  std::printf("  %.0f células/s na leitura linha a linha, %.0f células/s contando abertura e contagem\n",
              celulas / leitura, celulas / (abertura + contagem + leitura));
  std::printf("  processador: %.2f s para abertura, contagem e leitura (%.0f células/s por passagem)\n",
              cLeitura, 2 * celulas / cLeitura);
  std::printf("  texto devolvido %.1f MB; pico de RSS %.1f MB (%.1f MB ao começar), %.1fx o texto guardado\n",
              bytes / 1e6, rssPico / 1e3, rssAntes / 1e3, rssPico * 1e3 / static_cast<double>(guardado));

  // openpyxl on the same file, read-only mode (its fastest).
  const std::string script = pasta + "/ler.py";
  if (FILE* py = std::fopen(script.c_str(), "w")) {
    std::fputs(
        "import sys, time, resource, openpyxl\n"
        "t = time.time()\n"
        "wb = openpyxl.load_workbook(sys.argv[1], read_only=True)\n"
        "n = 0\n"
        "for row in wb.active.iter_rows(values_only=True):\n"
        "    for v in row:\n"
        "        n += 1\n"
        "d = time.time() - t\n"
        "print('openpyxl (read_only): %.2f s, %.0f células/s, pico de RSS %.1f MB' % "
        "(d, n / d, resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1e3))\n",
        py);
    std::fclose(py);
    std::fflush(stdout);
    if (std::system(("/usr/bin/python3 '" + script + "' '" + paraLer + "'").c_str()) != 0)
      std::printf("openpyxl: não medido (python3 com openpyxl ausente)\n");
  }
  std::filesystem::remove_all(pasta);
  return 0;
}
