// Statements per second on the embedded engine, with auto-commit and inside one transaction, for
// rows shaped like PRODUTOESTOQUE; and the time and memory to open a snapshot of 100 000 of them.
//   bench_banco [auto-commit rows] [transaction rows] [snapshot rows]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Conexao.h"

using namespace zuv;
using Relogio = std::chrono::steady_clock;

namespace {

long memoriaKb(const char* chave) {
  std::ifstream status("/proc/self/status");
  std::string linha;
  while (std::getline(status, linha))
    if (linha.rfind(chave, 0) == 0) return std::atol(linha.c_str() + std::string(chave).size());
  return 0;
}

std::string insercao(int id) {
  char sql[512];
  std::snprintf(sql, sizeof sql,
                "Insert Into ProdutoEstoque (IDITEMPRODUTO, IDPRODUTO, IDUNIDADE, IDPRODGRUPO, IDNCM, BARRA, "
                "BARRAEXTERNO, ATIVO, CUSTOBRUTO, VENDAATUAL, ESTOQUEATUAL, ALIQICMS, DATACADASTRO, "
                "TIPOESTOQUE) Values (%d, %d, 1, %d, %d, '789%09d', '789%09d', 'S', %d.%02d, %d.%02d, "
                "%d.%04d, 18.0000, '03/05/2024 10:11:12', 1)",
                id, id, id % 40 + 1, id % 900 + 1, id, id, id % 500, id % 100, id % 700 + 1, id % 100,
                id % 300, id % 10000);
  return sql;
}

double segundos(Relogio::time_point inicio) {
  return std::chrono::duration<double>(Relogio::now() - inicio).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int nAuto = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int nTransacao = argc > 2 ? std::atoi(argv[2]) : 20000;
  const int nSnapshot = argc > 3 ? std::atoi(argv[3]) : 100000;

  std::string modelo = (std::filesystem::temp_directory_path() / "zuvbench-XXXXXX").string();
  const std::string pasta = mkdtemp(modelo.data());
  const std::string caminho = pasta + "/VENDAS.FDB";
  try {
    Conexao::criaBancoDeDados(caminho);  // forced writes on, as a real VENDAS.FDB
    Conexao c("data source=" + caminho + ";user id=sysdba;password=quartzine;ctype=none;auto_commit=true");
    c.executa(
        "CREATE TABLE ProdutoEstoque (IDITEMPRODUTO INTEGER NOT NULL PRIMARY KEY, IDPRODUTO INTEGER, "
        "IDUNIDADE INTEGER, IDPRODGRUPO INTEGER, IDNCM INTEGER, BARRA VARCHAR(20), BARRAEXTERNO VARCHAR(20), "
        "ATIVO CHAR(1), CUSTOBRUTO NUMERIC(15,2), VENDAATUAL NUMERIC(15,2), ESTOQUEATUAL NUMERIC(15,4), "
        "ALIQICMS NUMERIC(15,4), DATACADASTRO TIMESTAMP, TIPOESTOQUE INTEGER)");

    int id = 0;
    auto inicio = Relogio::now();
    for (int i = 0; i < nAuto; ++i)
      c.executa(insercao(++id));
    const double tAuto = segundos(inicio);
    std::printf("auto-commit:          %7d inserts in %7.3f s = %9.0f statements/s\n", nAuto, tAuto,
                nAuto / tAuto);

    inicio = Relogio::now();
    c.iniciaTransacao();
    for (int i = 0; i < nTransacao; ++i)
      c.executa(insercao(++id));
    c.confirma();
    const double tTransacao = segundos(inicio);
    std::printf("one transaction:      %7d inserts in %7.3f s = %9.0f statements/s\n", nTransacao, tTransacao,
                nTransacao / tTransacao);

    c.iniciaTransacao();
    while (id < nSnapshot)
      c.executa(insercao(++id));
    c.confirma();

    const long antes = memoriaKb("VmRSS:");
    inicio = Relogio::now();
    Recordset rs = c.abre("select * from ProdutoEstoque");
    const double tAbre = segundos(inicio);
    const long pico = memoriaKb("VmHWM:");
    const long depois = memoriaKb("VmRSS:");
    std::printf("snapshot:             %7ld rows x %d fields opened in %.3f s\n", rs.totalRegistros(),
                rs.totalCampos(), tAbre);
    std::printf("memory:               RSS %ld MB before, %ld MB with the snapshot, peak %ld MB\n",
                antes / 1024, depois / 1024, pico / 1024);
    std::printf("                      %.0f bytes per row held\n",
                rs.totalRegistros() ? (depois - antes) * 1024.0 / rs.totalRegistros() : 0.0);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_banco: %s\n", e.what());
    std::filesystem::remove_all(pasta);
    return 1;
  }
  std::filesystem::remove_all(pasta);
  return 0;
}
