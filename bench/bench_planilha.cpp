// Speed and memory of the workbook layer on a product-shaped sheet (100 000 rows x 16 columns:
// texts, prices as text, barcodes and stock as numbers, strings shared as spreadsheet programs
// save them). Prints cells/s of our reader and writer, the reader's peak RSS against the text it
// keeps, openpyxl's read speed on the same file for comparison, and the same figures of the .xls
// reader on the sheet saved as Excel 97-2003 does (65 000 rows, the format's limit being 65 536).
//   bench_planilha [linhas]
#include <sys/resource.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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

void poe16(std::vector<unsigned char>& b, uint16_t v) {
  b.push_back(static_cast<unsigned char>(v));
  b.push_back(static_cast<unsigned char>(v >> 8));
}
void poe32(std::vector<unsigned char>& b, uint32_t v) {
  poe16(b, static_cast<uint16_t>(v));
  poe16(b, static_cast<uint16_t>(v >> 16));
}
void registro(std::vector<unsigned char>& b, uint16_t tipo, const std::vector<unsigned char>& dados) {
  poe16(b, tipo);
  poe16(b, static_cast<uint16_t>(dados.size()));
  b.insert(b.end(), dados.begin(), dados.end());
}

// The sheet as the workbook stream of an Excel 97-2003 file: texts in the shared string table
// (run on into CONTINUE records), barcodes as NUMBER records, the stock as RK numbers. Returns the
// bytes of the distinct strings: the text the reader keeps.
size_t livroBiff8(int linhas, std::vector<unsigned char>& livro) {
  std::unordered_map<std::string, uint32_t> indices;
  std::vector<const std::string*> ordem;
  auto indice = [&](const std::string& t) {
    auto [i, novo] = indices.emplace(t, static_cast<uint32_t>(indices.size()));
    if (novo) ordem.push_back(&i->first);
    return i->second;
  };
  std::vector<unsigned char> folha, r;
  auto celula = [&](uint16_t tipo, int l, int c, auto&& valor) {
    r.clear();
    poe16(r, static_cast<uint16_t>(l));
    poe16(r, static_cast<uint16_t>(c));
    poe16(r, 0);
    valor();
    registro(folha, tipo, r);
  };
  registro(folha, 0x0809, {0x00, 0x06, 0x10, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x06, 0});
  for (int i = 0; i < linhas; ++i)
    for (int c = 1; c <= kColunas; ++c) {
      if (i == 0) {
        celula(0x00FD, i, c - 1, [&] { poe32(r, indice("Coluna " + std::to_string(c))); });
      } else if (c == 1) {
        celula(0x0203, i, c - 1, [&] {
          const double v = 7891000000000.0 + i;
          unsigned char b[8];
          std::memcpy(b, &v, 8);
          r.insert(r.end(), b, b + 8);
        });
      } else if (c == 6) {
        celula(0x027E, i, c - 1, [&] { poe32(r, static_cast<uint32_t>((i % 500) << 2 | 2)); });
      } else {
        celula(0x00FD, i, c - 1, [&] { poe32(r, indice(texto(i, c))); });
      }
    }
  registro(folha, 0x000A, {});

  // The table, cut before a string that would not fit in the record.
  std::vector<unsigned char> sst, dados;
  poe32(dados, static_cast<uint32_t>(ordem.size()));
  poe32(dados, static_cast<uint32_t>(ordem.size()));
  uint16_t tipo = 0x00FC;
  size_t guardado = 0;
  for (const std::string* t : ordem) {
    if (dados.size() + 3 + t->size() > 8224) {
      registro(sst, tipo, dados);
      dados.clear();
      tipo = 0x003C;
    }
    poe16(dados, static_cast<uint16_t>(t->size()));
    dados.push_back(0);
    dados.insert(dados.end(), t->begin(), t->end());
    guardado += t->size();
  }
  registro(sst, tipo, dados);

  std::vector<unsigned char> globais;
  registro(globais, 0x0809, {0x00, 0x06, 0x05, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x06, 0});
  registro(globais, 0x003D, std::vector<unsigned char>(18, 0));
  globais.insert(globais.end(), sst.begin(), sst.end());
  const size_t inicioFolha = globais.size() + 4 + 10 + 4;  // after BOUNDSHEET and EOF
  std::vector<unsigned char> limite;
  poe32(limite, static_cast<uint32_t>(inicioFolha));
  limite.insert(limite.end(), {0, 0, 2, 0, 'P', '1'});
  registro(globais, 0x0085, limite);
  registro(globais, 0x000A, {});
  livro = std::move(globais);
  livro.insert(livro.end(), folha.begin(), folha.end());
  return guardado;
}

// A compound file (4096-byte sectors, one FAT) holding the workbook stream alone.
std::vector<unsigned char> ole2(const std::vector<unsigned char>& fluxo) {
  constexpr size_t S = 4096;
  constexpr uint32_t kFim = 0xFFFFFFFE, kLivre = 0xFFFFFFFF;
  const size_t setoresFluxo = (std::max(fluxo.size(), S) + S - 1) / S;
  size_t setoresFat = 1;
  while (setoresFat * (S / 4) < setoresFluxo + 1 + setoresFat)
    ++setoresFat;
  const size_t dir = setoresFluxo;  // sectors: the stream, the directory, the FAT
  std::vector<unsigned char> b(S * (1 + setoresFluxo + 1 + setoresFat), 0);
  auto poe = [&](size_t off, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
      b[off + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  static const unsigned char kAssinatura[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::memcpy(b.data(), kAssinatura, 8);
  poe(0x18, 0x3E, 2);
  poe(0x1A, 4, 2);
  poe(0x1C, 0xFFFE, 2);
  poe(0x1E, 12, 2);
  poe(0x20, 6, 2);
  poe(0x2C, static_cast<uint32_t>(setoresFat), 4);
  poe(0x30, static_cast<uint32_t>(dir), 4);
  poe(0x38, 4096, 4);
  poe(0x3C, kFim, 4);
  poe(0x44, kFim, 4);
  for (size_t i = 0; i < 109; ++i)
    poe(0x4C + 4 * i, i < setoresFat ? static_cast<uint32_t>(dir + 1 + i) : kLivre, 4);
  std::copy(fluxo.begin(), fluxo.end(), b.begin() + S);
  const size_t d = S * (1 + dir);
  auto entrada = [&](size_t off, const std::string& n, unsigned char tipo, uint32_t filho, uint32_t inicio,
                     uint32_t tam) {
    for (size_t i = 0; i < n.size(); ++i)
      poe(off + 2 * i, static_cast<unsigned char>(n[i]), 2);
    poe(off + 64, static_cast<uint32_t>(2 * (n.size() + 1)), 2);
    b[off + 66] = tipo;
    poe(off + 68, kLivre, 4);
    poe(off + 72, kLivre, 4);
    poe(off + 76, filho, 4);
    poe(off + 116, inicio, 4);
    poe(off + 120, tam, 4);
  };
  entrada(d, "Root Entry", 5, 1, kFim, 0);
  entrada(d + 128, "Workbook", 2, kLivre, 0, static_cast<uint32_t>(std::max(fluxo.size(), S)));
  const size_t f = S * (1 + dir + 1);
  for (size_t i = 0; i < setoresFat * (S / 4); ++i) {
    uint32_t v = kLivre;
    if (i + 1 < setoresFluxo)
      v = static_cast<uint32_t>(i + 1);
    else if (i + 1 == setoresFluxo || i == dir)
      v = kFim;
    else if (i > dir && i <= dir + setoresFat)
      v = 0xFFFFFFFD;
    poe(f + 4 * i, v, 4);
  }
  return b;
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

struct Leitura {
  size_t celulas = 0, bytes = 0;
  double abertura = 0, contagem = 0, leitura = 0, processador = 0;
  long rssAntes = 0, rssPico = 0;
};

// Reads the file in a process of its own, so that the peak RSS is the reader's alone.
bool mede(const std::string& arquivo, Leitura& m) {
  const std::string eu = std::filesystem::read_symlink("/proc/self/exe");
  FILE* f = popen(("'" + eu + "' --ler '" + arquivo + "'").c_str(), "r");
  const bool ok = f && std::fscanf(f, "%zu %zu %lf %lf %lf %ld %ld %lf", &m.celulas, &m.bytes, &m.abertura,
                                   &m.contagem, &m.leitura, &m.rssAntes, &m.rssPico, &m.processador) == 8;
  if (f) pclose(f);
  return ok;
}

void mostra(const Leitura& m, size_t guardado) {
  std::printf(
      "leitura (abrePlanilha): abertura %.2f s (textos compartilhados), contagem %.2f s, leitura %.2f s\n",
      m.abertura, m.contagem, m.leitura);
  std::printf("  %.0f células/s na leitura linha a linha, %.0f células/s contando abertura e contagem\n",
              m.celulas / m.leitura, m.celulas / (m.abertura + m.contagem + m.leitura));
  std::printf("  processador: %.2f s para abertura, contagem e leitura (%.0f células/s por passagem)\n",
              m.processador, 2 * m.celulas / m.processador);
  std::printf("  texto devolvido %.1f MB; pico de RSS %.1f MB (%.1f MB ao começar), %.1fx o texto guardado\n",
              m.bytes / 1e6, m.rssPico / 1e3, m.rssAntes / 1e3,
              m.rssPico * 1e3 / static_cast<double>(guardado));
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

  Leitura m;
  if (!mede(paraLer, m)) return 1;
  mostra(m, guardado);

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
  // The same sheet as an .xls (Excel 97-2003), at most 65 000 rows.
  const int linhasXls = std::min(linhas, 65'000);
  std::vector<unsigned char> livro;
  const size_t guardadoXls = livroBiff8(linhasXls, livro);
  const std::string xls = pasta + "/produtos.xls";
  {
    const auto bytes = ole2(livro);
    std::ofstream(xls, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::printf(
      "\n.xls (Excel 97-2003): %d linhas x %d colunas = %d células, %.1f MB, textos distintos %.1f MB\n",
      linhasXls, kColunas, linhasXls * kColunas, std::filesystem::file_size(xls) / 1e6, guardadoXls / 1e6);
  Leitura mx;
  if (!mede(xls, mx)) return 1;
  mostra(mx, guardadoXls);
  std::filesystem::remove_all(pasta);
  return 0;
}
