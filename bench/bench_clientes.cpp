// Customer import speed: a workbook of N customers (20 000 by default) imported into a fresh
// CLIENTE table of the schema fixture, against the floor of the same number of auto-commit inserts
// of Cliente-shaped rows with their identifiers given; and the cost of one "Select Max" on the
// full table, which the import runs before every insert.
//   bench_clientes [rows] [floor rows] [desc]
// With "desc" the table gets a descending index on IDCLIENTE, which Firebird uses for MAX (the
// primary key's ascending index only serves MIN, so MAX otherwise reads the whole table).
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/Erro.h"
#include "common/Tela.h"
#include "customers/ImportaClientes.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "schema/Registros.h"
#include "shell/BancoZUV.h"
#include "shell/ContextoExecucao.h"

using namespace zuv;
using Relogio = std::chrono::steady_clock;

namespace {

// Answers Yes and shows nothing.
class TelaMuda : public Tela {
 public:
  void mensagem(const std::string&, Icone, const std::string&) override {}
  bool pergunta(const std::string&, Icone, const std::string&, Padrao) override { return true; }
  void progresso(int) override {}
  void cursorEspera(bool) override {}
  void mostraControle(const std::string&, bool) override {}
  void defineTexto(const std::string&, const std::string&) override {}
  void adicionaItem(const std::string&, const std::string&) override {}
  void limpaItens(const std::string&) override {}
  void mostraArquivo(const std::string&) override {}
};

double segundos(Relogio::time_point inicio) {
  return std::chrono::duration<double>(Relogio::now() - inicio).count();
}

// The fixture's CREATE TABLE CLIENTE statement, so the table has the fixture's columns and keys.
std::string tabelaClienteDoFixture() {
  std::ifstream f(std::string(ZUV_FIXTURES_DIR) + "/zuv_schema.sql");
  std::stringstream s;
  s << f.rdbuf();
  const std::string sql = s.str();
  const size_t inicio = sql.find("CREATE TABLE CLIENTE (");
  const size_t fim = sql.find(");", inicio);
  if (inicio == std::string::npos || fim == std::string::npos) throw Erro("CLIENTE não está no fixture");
  return sql.substr(inicio, fim + 1 - inicio);
}

bool g_indiceDescendente = false;

std::unique_ptr<Conexao> bancoNovo(const std::string& pasta) {
  std::filesystem::create_directories(pasta);
  Conexao::criaBancoDeDados(pasta + "/VENDAS.FDB");  // forced writes on, as a real VENDAS.FDB
  auto c = std::make_unique<Conexao>(textoConexaoZUV(pasta));
  c->executa(tabelaClienteDoFixture());
  if (g_indiceDescendente) c->executa("CREATE DESCENDING INDEX IX_CLIENTE_IDDESC ON CLIENTE (IDCLIENTE)");
  return c;
}

CelulasCliente clienteGerado(int i) {
  const std::string n = std::to_string(i);
  return {"Cliente número " + n,
          "Rua das Palmeiras, " + n,
          n,
          "Apto " + n,
          "Centro",
          "São José dos Campos",
          "SP",
          "12.2" + std::to_string(10 + i % 90) + "-000",
          "(12) 3333-" + std::to_string(1000 + i % 9000),
          "",
          "1299999" + std::to_string(1000 + i % 9000),
          i % 2 ? "F" : "J",
          "123.456.789-0" + n.substr(0, 1),
          "12.345.678-" + n.substr(0, 1),
          "",
          "ISENTO",
          "cliente" + n + "@exemplo.com.br"};
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 20000;
  const int nPiso = argc > 2 ? std::atoi(argv[2]) : 3000;
  g_indiceDescendente = argc > 3 && std::string(argv[3]) == "desc";

  std::string modelo = (std::filesystem::temp_directory_path() / "zuvbench-clientes-XXXXXX").string();
  const std::string pasta = mkdtemp(modelo.data());
  TelaMuda tela;
  TelaDoEscopo escopo(tela);
  try {
    // Floor: auto-commit inserts of the import's statement with identifiers given.
    double piso = 0;
    {
      auto c = bancoNovo(pasta + "/piso");
      const auto inicio = Relogio::now();
      for (int i = 1; i <= nPiso; ++i)
        c->executa(insercaoCliente(limpaCliente(clienteGerado(i)), i));
      const double t = segundos(inicio);
      std::printf("floor (auto-commit inserts):   %6d rows in %7.3f s = %7.0f rows/s\n", nPiso, t, nPiso / t);
      piso = nPiso / t;
    }

    const std::string programa = pasta + "/programa";
    std::filesystem::create_directories(programa);
    auto inicio = Relogio::now();
    {
      EscritorPlanilha planilha;
      for (int coluna = 1; coluna <= kColunasCliente; ++coluna)
        planilha.escreve(1, coluna, "COLUNA " + std::to_string(coluna));
      for (int i = 1; i <= n; ++i) {
        const CelulasCliente c = clienteGerado(i);
        for (int coluna = 0; coluna < kColunasCliente; ++coluna)
          if (!c[coluna].empty()) planilha.escreve(i + 1, coluna + 1, c[coluna]);
      }
      planilha.salva(programa + "/" + kArquivoClientes);
    }
    std::printf("workbook written:              %6d rows in %7.3f s\n", n, segundos(inicio));

    // The import as the program runs it: auto-commit (each insert commits), then all-or-nothing
    // (--atomico: one transaction; ImportaClientes reserves CLIENTE, so the identifiers after the
    // first Max + 1 are counted in memory), then one transaction without the reservation (every
    // identifier asked with Select Max), which shows what the reservation is worth.
    double tempos[3] = {};
    std::unique_ptr<Conexao> c;
    for (int modo = 0; modo < 3; ++modo) {
      c = bancoNovo(pasta + "/dados" + std::to_string(modo));
      if (modo == 2) c->defineAtomica(true);  // the context leaves a run transaction it did not open
      OpcoesExecucao opcoes;
      opcoes.atomico = modo == 1;
      inicio = Relogio::now();
      ContextoExecucao ctx(tela, programa, opcoes);
      ctx.usaConexao(*c);
      const Resultado r = executaNoContexto(ctx, ImportaClientes);
      if (modo == 2) c->defineAtomica(false);
      tempos[modo] = segundos(inicio);
      if (r.desfecho != Resultado::Desfecho::EncerrarPrograma)
        throw Erro("a importação falhou: " + r.mensagem);
      if (c->abre("select count(*) from cliente").valor(0).comoInteiro() != n) throw Erro("faltam clientes");
      const char* nomes[] = {"import, auto-commit:          ", "import, --atomico:            ",
                             "import, one tx, no reserve:   "};
      std::printf("%s%6d rows in %7.3f s = %7.0f rows/s, %.2fx the floor's time\n", nomes[modo], n,
                  tempos[modo], n / tempos[modo], piso / (n / tempos[modo]));
    }
    std::printf(
        "--atomico is %.1fx faster than auto-commit; without the reservation one transaction is %.1fx\n",
        tempos[0] / tempos[1], tempos[0] / tempos[2]);

    const int nMax = 200;
    inicio = Relogio::now();
    for (int i = 0; i < nMax; ++i)
      ProxCodigo(*c, "idCliente", "Cliente");
    std::printf("Select Max on %d rows:       %7.3f ms each\n", n, segundos(inicio) * 1000 / nMax);
    inicio = Relogio::now();
    for (int i = 0; i < nMax; ++i)
      c->abre("Select IDCLIENTE From Cliente where IDCLIENTE = 1");
    std::printf("one-row select by key:         %7.3f ms each\n", segundos(inicio) * 1000 / nMax);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_clientes: %s\n", e.what());
    std::filesystem::remove_all(pasta);
    return 1;
  }
  std::filesystem::remove_all(pasta);
  return 0;
}
