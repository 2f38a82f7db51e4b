// The database copy on generated data: the keep-products migration of 50 000 stock items into an
// empty destination and the customer table copy of 20 000 customers, each run in one destination
// transaction, against the floor of bench_banco's inside-a-transaction inserts measured here.
//   bench_copia [stock items] [customers] [floor statements]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/Erro.h"
#include "common/Tela.h"
#include "dbcopy/CopiaTabela.h"
#include "dbcopy/IncluiProdutos.h"
#include "dbcopy/ParBancos.h"
#include "platform/Conexao.h"
#include "shell/ContextoExecucao.h"

using namespace zuv;
using Relogio = std::chrono::steady_clock;

namespace {

class TelaMuda : public Tela {
 public:
  std::string ultima;
  void mensagem(const std::string& texto, Icone, const std::string&) override { ultima = texto; }
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

// A database of the schema fixture (forced writes on, as a real VENDAS.FDB).
std::string bancoNovo(const std::string& caminho) {
  Conexao::criaBancoDeDados(caminho);
  const std::string comando = "isql-fb -q -m -ch NONE -user SYSDBA -password quartzine -i '" +
                              std::string(ZUV_FIXTURES_DIR) + "/zuv_schema.sql' '" + caminho + "' >/dev/null";
  if (std::system(comando.c_str()) != 0) throw Erro("isql-fb falhou: " + comando);
  return caminho;
}

void populaOrigem(Conexao& c, int itens, int clientes) {
  c.iniciaTransacao();
  for (int u = 1; u <= 20; ++u)
    c.executa("insert into UNIDADE (IDUNIDADE, DESCRICAO, MEDIDAFRACAO, METRAGEM, QTDECIMAL) values (" +
              std::to_string(u) + ", 'U" + std::to_string(u) + "', 'N', 'N', 0)");
  for (int g = 1; g <= 40; ++g)
    c.executa("insert into PRODUTOGRUPO (IDPRODGRUPO, DESCRICAO, PORCAUTO, PORCMARGEMVENDA) values (" +
              std::to_string(g) + ", 'GRUPO " + std::to_string(g) + "', 'N', 30.5)");
  char sql[1024];
  for (int i = 1; i <= itens; ++i) {
    std::snprintf(sql, sizeof sql,
                  "insert into PRODUTO (IDPRODUTO, DESCRICAO, DESCRICAOIMP) values (%d, "
                  "'PRODUTO NÚMERO %d', 'PRODUTO %d')",
                  i, i, i);
    c.executa(sql);
    std::snprintf(
        sql, sizeof sql,
        "insert into PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDPRODGRUPO, IDUNIDADE, BARRA, CUSTOBRUTO, "
        "VENDAATUAL, ESTOQUEATUAL, ALIQICMS, ATIVO, GERARETIQUETA, DATACADASTRO, VALIDADEPRECO, "
        "IDGRADESIMILAR) values (%d, %d, %d, %d, '789%09d', %d.%04d, %d.%02d, %d.%03d, 18, 'S', 'N', "
        "'2024-03-05 10:11:%02d', '2025-12-31', %s)",
        i, i, i % 40 + 1, i % 20 + 1, i, i % 500, i % 10000, i % 700 + 1, i % 100, i % 300, i % 1000, i % 60,
        i % 10 ? "NULL" : std::to_string(i / 10).c_str());
    c.executa(sql);
  }
  for (int i = 1; i <= clientes; ++i) {
    std::snprintf(
        sql, sizeof sql,
        "insert into CLIENTE (IDCLIENTE, PF, ATIVO, CLIENTE, ENDERECO, NRO, BAIRRO, CIDADE, ESTADO, CEP, "
        "FONE, CPF, EMAIL, LIMITECREDITO, DIAVENCIMENTO, DATACADASTRO) values (%d, 'F', 'S', "
        "'CLIENTE NÚMERO %d', 'RUA DAS PALMEIRAS, %d', '%d', 'CENTRO', 'SÃO JOSÉ DOS CAMPOS', 'SP', "
        "'12210000', '(12) 3333-%04d', '1234567890%d', 'cliente%d@exemplo.com.br', %d.%02d, %d, "
        "'2022-01-%02d 14:%02d:00')",
        i, i, i, i, i % 10000, i % 10, i, i % 5000, i % 100, i % 28 + 1, i % 28 + 1, i % 60);
    c.executa(sql);
  }
  c.confirma();
}

}  // namespace

int main(int argc, char** argv) {
  const int nItens = argc > 1 ? std::atoi(argv[1]) : 50000;
  const int nClientes = argc > 2 ? std::atoi(argv[2]) : 20000;
  const int nPiso = argc > 3 ? std::atoi(argv[3]) : 20000;

  std::string modelo = (std::filesystem::temp_directory_path() / "zuvbench-copia-XXXXXX").string();
  const std::string pasta = mkdtemp(modelo.data());
  TelaMuda tela;
  TelaDoEscopo escopo(tela);
  try {
    // Floor: bench_banco's stock-item-shaped inserts inside one transaction.
    double piso = 0;
    {
      const std::string caminho = bancoNovo(pasta + "/PISO.FDB");
      Conexao c(textoConexaoCopia(caminho));
      c.iniciaTransacao();
      char sql[512];
      const auto inicio = Relogio::now();
      for (int i = 1; i <= nPiso; ++i) {
        std::snprintf(
            sql, sizeof sql,
            "Insert Into ProdutoEstoque (IDITEMPRODUTO, BARRA, ATIVO, CUSTOBRUTO, VENDAATUAL, "
            "ESTOQUEATUAL, ALIQICMS, DATACADASTRO, TIPOESTOQUE) Values (%d, '789%09d', 'S', %d.%02d, "
            "%d.%02d, %d.%04d, 18.0000, '03/05/2024 10:11:12', 1)",
            i, i, i % 500, i % 100, i % 700 + 1, i % 100, i % 300, i % 10000);
        c.executa(sql);
      }
      c.confirma();
      piso = nPiso / segundos(inicio);
      std::printf("floor (inserts, one transaction): %6d statements, %7.0f statements/s\n", nPiso, piso);
    }

    auto inicio = Relogio::now();
    const std::string origem = bancoNovo(pasta + "/ORIGEM.FDB");
    {
      Conexao c(textoConexaoCopia(origem));
      populaOrigem(c, nItens, nClientes);
    }
    std::printf("origin made:                      %6d items, %d customers in %.1f s\n", nItens, nClientes,
                segundos(inicio));
    const std::string destino = bancoNovo(pasta + "/DESTINO.FDB");

    ContextoExecucao ctx(tela, pasta);
    auto bancos = AbreBancos(ctx, origem, destino);
    if (!bancos) throw Erro(tela.ultima);

    inicio = Relogio::now();
    Resultado r = AtualizaBancoCadProdutoInclui(ctx, *bancos);
    double t = segundos(inicio);
    if (r.desfecho != Resultado::Desfecho::Concluido) throw Erro(r.mensagem);
    // Per item: product lookup and insert, barcode lookup, unit and group lookups, item insert.
    const double instrucoes = 6.0 * nItens + 2 * 20 + 2 * 40 + 5;
    std::printf(
        "keep-products migration:          %6d items in %7.3f s = %7.0f items/s; %.0f statements, "
        "%.2fx the floor's time\n",
        nItens, t, nItens / t, instrucoes, t / (instrucoes / piso));

    inicio = Relogio::now();
    r = MigraProduto(ctx, *bancos);
    t = segundos(inicio);
    if (r.desfecho != Resultado::Desfecho::Concluido) throw Erro(r.mensagem);
    std::printf(
        "customer table copy:              %6d rows in %7.3f s = %7.0f rows/s; %d statements, %.2fx the "
        "floor's time\n",
        nClientes, t, nClientes / t, nClientes + 4, t / ((nClientes + 4) / piso));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_copia: %s\n", e.what());
    std::filesystem::remove_all(pasta);
    return 1;
  }
  std::filesystem::remove_all(pasta);
  return 0;
}
