// Product workbook export speed: N stock items (100 000 by default) with their product, unit,
// group, sub-group, NCM, ECF rate and CFOP, written to produto.xlsx as "Gerar Planilha Excel
// Origem" writes it. Prints the query alone, then query + writer (rows/s), and the peak memory
// after each, so the writer's share can be set against bench_planilha's writer rate.
//   bench_migracao [rows]
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/Tela.h"
#include "migration/PlanilhaProduto.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"
#include "shell/BancoZUV.h"

using namespace zuv;
using Relogio = std::chrono::steady_clock;

namespace {

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

// Processor time of this process (the embedded engine included), which does not depend on what
// else the machine is running.
double cpu() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double picoMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024.0;
}

// The fixture schema and N generated stock items, through isql-fb (a server-side loop is far
// quicker than N statements from here).
void criaBanco(const std::string& banco, int n) {
  const std::string script = banco + ".sql";
  std::ofstream f(script);
  f << "CREATE DATABASE '" << banco << "' USER 'SYSDBA' PASSWORD 'quartzine' PAGE_SIZE 8192 "
    << "DEFAULT CHARACTER SET NONE;\nSET BAIL ON;\nINPUT '" << ZUV_FIXTURES_DIR << "/zuv_schema.sql';\n"
    << "INSERT INTO UNIDADE (IDUNIDADE, DESCRICAO) VALUES (1, 'UN');\n"
    << "INSERT INTO SUBGRUPO (IDSUBGRUPO, DESCRICAO) VALUES (1, 'MATINAIS');\n"
    << "INSERT INTO NCM (IDNCM, CODIGONCM, IDNCMGRUPO, CEST) VALUES (1, '09012100', 1, '1709600');\n"
    << "INSERT INTO ECFLETRA (IDECFLETRA, PORCICF) VALUES (1, 18);\n"
    << "INSERT INTO TRIBCFOP (IDTRIBCFOP, CODFISCAL, CSOSN) VALUES (1, '5102', '102');\n"
    << "SET TERM ^;\nEXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n"
    << "  WHILE (i <= 20) DO BEGIN INSERT INTO PRODUTOGRUPO (IDPRODGRUPO, DESCRICAO) VALUES (:i, 'GRUPO ' || "
       ":i);"
    << " i = i + 1; END\n  i = 1;\n  WHILE (i <= " << n << ") DO BEGIN\n"
    << "    INSERT INTO PRODUTO (IDPRODUTO, DESCRICAO) VALUES (:i, 'PRODUTO EXEMPLO NUMERO ' || :i);\n"
    << "    INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDPRODGRUPO, IDSUBGRUPO, IDUNIDADE, "
       "IDTRIBCFOP,"
    << " IDECFLETRA, IDNCM, BARRA, CUSTOLIQUIDO, VENDAATUAL, VENDAATACADO, ESTOQUEATUAL, ATIVO) VALUES (:i, "
       ":i,"
    << " MOD(:i, 20) + 1, 1, 1, 1, 1, 1, LPAD(:i, 13, '0'), :i * 0.37, :i * 0.51, :i * 0.45, MOD(:i, 500), "
       "'S');\n"
    << "    i = i + 1;\n  END\nEND^\nSET TERM ;^\nCOMMIT;\n";
  f.close();
  if (std::system(("isql-fb -q -i '" + script + "' >/dev/null").c_str()) != 0)
    throw std::runtime_error("isql-fb falhou em " + script);
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  std::string modelo = (std::filesystem::temp_directory_path() / "zuvbench-migracao-XXXXXX").string();
  const std::string pasta = mkdtemp(modelo.data());
  TelaMuda tela;
  TelaDoEscopo escopo(tela);
  try {
    auto inicio = Relogio::now();
    criaBanco(pasta + "/VENDAS.FDB", n);
    std::printf("database with %d stock items made in %.1f s (not measured below)\n", n, segundos(inicio));
    Conexao conexao(textoConexaoZUV(pasta));
    const std::string sql = consultaProdutosZUV(false);
    const double antes = picoMb();

    inicio = Relogio::now();
    double c0 = cpu();
    {
      Recordset rs = conexao.abre(sql);
      const double t = segundos(inicio), c = cpu() - c0;
      std::printf(
          "query alone:      %7ld rows in %6.2f s (cpu %6.2f s) = %8.0f rows/s of cpu, peak %6.1f MB "
          "(+%.1f)\n",
          rs.totalRegistros(), t, c, rs.totalRegistros() / c, picoMb(), picoMb() - antes);
    }

    inicio = Relogio::now();
    c0 = cpu();
    Recordset rs = conexao.abre(sql);
    const double consulta = cpu() - c0;
    OpcoesEscritaProduto opcoes;
    const long linhas = GeraPlanilhaProduto(rs, pasta + "/produto.xlsx", opcoes, tela);
    const double t = segundos(inicio), c = cpu() - c0;
    std::printf("query + workbook: %7ld rows in %6.2f s (cpu %6.2f s) = %8.0f rows/s of cpu, peak %6.1f MB\n",
                linhas, t, c, linhas / c, picoMb());
    std::printf("writer's share:   cpu %6.2f s = %.0f cells/s\n", c - consulta, linhas * 15 / (c - consulta));
    std::printf("produto.xlsx: %.1f MB\n", std::filesystem::file_size(pasta + "/produto.xlsx") / 1048576.0);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_migracao: %s\n", e.what());
    std::filesystem::remove_all(pasta);
    return 1;
  }
  std::filesystem::remove_all(pasta);
  return 0;
}
