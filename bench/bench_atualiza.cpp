// Speed of the predefined database-to-database migration: an origin of N stock items (50 000 by
// default; every second item shares its product, 800 NCM records, 40 units and groups, a tenth
// of the items in grade groups) copied into a destination made from the schema fixture with a
// catalogue and stock history of its own. The floor is the same destination writes (products,
// stock items, grade updates) issued as prepared texts in one transaction on an empty
// destination: what the copy cannot avoid. A second, smaller run shows how the time grows.
//   bench_atualiza [items] [smaller items]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/Erro.h"
#include "common/Tela.h"
#include "dbcopy/AtualizaBanco.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"

using namespace zuv;
using Relogio = std::chrono::steady_clock;

namespace {

class TelaMuda : public Tela {
 public:
  std::string ultima;
  void mensagem(const std::string& t, Icone, const std::string&) override { ultima = t; }
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

std::string conexao(const std::string& caminho) {
  return " provider=LCPI.IBProvider.1;data source=" + caminho +
         " ; user id=sysdba;password=quartzine; ctype=none;auto_commit=true;Persist Security Info=True";
}

// The schema fixture's statements (comments dropped, isql's own commands skipped).
std::vector<std::string> comandosDoFixture() {
  std::ifstream f(std::string(ZUV_FIXTURES_DIR) + "/zuv_schema.sql");
  std::stringstream s;
  s << f.rdbuf();
  std::string sql = s.str();
  for (size_t i; (i = sql.find("/*")) != std::string::npos;)
    sql.erase(i, sql.find("*/", i) + 2 - i);
  std::vector<std::string> comandos;
  std::stringstream partes(sql);
  for (std::string c; std::getline(partes, c, ';');) {
    const size_t a = c.find_first_not_of(" \r\n\t");
    if (a == std::string::npos) continue;
    c = c.substr(a);
    if (c.rfind("SET AUTODDL", 0) == 0 || c.rfind("COMMIT", 0) == 0) continue;
    comandos.push_back(c);
  }
  return comandos;
}

std::unique_ptr<Conexao> bancoNovo(const std::string& caminho) {
  Conexao::criaBancoDeDados(caminho);  // forced writes on, as a real VENDAS.FDB
  auto c = std::make_unique<Conexao>(conexao(caminho));
  for (const std::string& sql : comandosDoFixture())
    c->executa(sql);
  return c;
}

void preencheOrigem(Conexao& c, int n) {
  c.iniciaTransacao();
  for (int i = 1; i <= 40; ++i) {
    const std::string s = std::to_string(i);
    c.executa("INSERT INTO UNIDADE VALUES (" + s + ", 'U" + s + "', 'N', 'N', 0)");
    c.executa("INSERT INTO PRODUTOGRUPO (IDPRODGRUPO, DESCRICAO, PORCAUTO, PORCMARGEMVENDA) VALUES (" + s +
              ", 'GRUPO " + s + "', 'N', 30)");
    c.executa("INSERT INTO SUBGRUPO VALUES (" + s + ", 'SUB " + s + "')");
    c.executa("INSERT INTO FABRICANTE (IDFABRICANTE, APELIDO, NOMERAZAO) VALUES (" + s + ", 'FAB " + s +
              "', 'FABRICANTE " + s + " LTDA')");
  }
  c.executa("INSERT INTO LOCALPRODUTO VALUES (1, 'CORREDOR 1')");
  for (int i = 1; i <= 5; ++i)
    c.executa("INSERT INTO TRIBCFOP (IDTRIBCFOP, TIPO, DESCRICAO, CODFISCAL) VALUES (" + std::to_string(i) +
              ", 'S', 'CFOP " + std::to_string(i) + "', '5102')");
  for (int i = 1; i <= 800; ++i)
    c.executa("INSERT INTO NCM (IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO) VALUES (" + std::to_string(i) +
              ", '" + std::to_string(10000000 + i) + "', 'NCM NUMERO " + std::to_string(i) + "', 1)");
  for (int p = 1; p <= (n + 1) / 2; ++p)
    c.executa("INSERT INTO PRODUTO VALUES (" + std::to_string(p) + ", 'PRODUTO " + std::to_string(p) +
              "', 'IMPRESSO " + std::to_string(p) + "')");
  for (int i = 1; i <= n; ++i) {
    const std::string s = std::to_string(i);
    c.executa(
        "INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDPRODGRUPO, IDSUBGRUPO, IDFABRICANTE, "
        "IDLOCAL, "
        "IDUNIDADE, IDTRIBCFOP, IDNCM, BARRA, CUSTOBRUTO, CUSTOLIQUIDO, VENDAATUAL, ESTOQUEATUAL, ATIVO, "
        "TIPOESTOQUE, DATACADASTRO, IDGRADESIMILAR, PRODUTOMASTER, TAMANHOGRADE, CORGRADE) VALUES (" +
        s + ", " + std::to_string((i + 1) / 2) + ", " + std::to_string(1 + i % 40) + ", " +
        std::to_string(1 + i % 40) + ", " + std::to_string(1 + i % 40) + ", 1, " +
        std::to_string(1 + i % 40) + ", " + std::to_string(1 + i % 5) + ", " + std::to_string(1 + i % 800) +
        ", '789" + s + "', " + s + ".5, " + s + ".25, " + s + ".99, 10, 'S', 1, '03/01/2024 10:00:00', " +
        (i % 10 ? std::string("NULL, NULL, NULL, NULL") : std::to_string(i / 100) + ", 'M', 'P', 'AZUL'") +
        ")");
  }
  c.confirma();
}

// A destination with its own catalogue and history: what the cleanup empties.
void preencheDestino(Conexao& c) {
  c.iniciaTransacao();
  c.executa("INSERT INTO UNIDADE VALUES (1, 'CX', 'N', 'N', 0)");
  c.executa("INSERT INTO PRODUTOGRUPO (IDPRODGRUPO, DESCRICAO, PORCAUTO) VALUES (1, 'VELHO', 'N')");
  for (int i = 1; i <= 500; ++i) {
    const std::string s = std::to_string(i);
    c.executa("INSERT INTO PRODUTO VALUES (" + s + ", 'VELHO " + s + "', NULL)");
    c.executa(
        "INSERT INTO PRODUTOESTOQUE (IDITEMPRODUTO, IDPRODUTO, IDPRODGRUPO, IDUNIDADE, BARRA) VALUES (" + s +
        ", " + s + ", 1, 1, '" + s + "')");
    c.executa("INSERT INTO PRODUTOMOVIMENTO VALUES (" + s + ", " + s + ", '01/01/2024', 1)");
    c.executa("INSERT INTO ITEMSAIDA (IDITEMSAIDA, IDITEMPRODUTO, QUANTIDADE) VALUES (" + s + ", " + s +
              ", 1)");
  }
  c.confirma();
}

struct Medida {
  double segundos;
  long comandos;  // destination writes of the copy proper (products, items, grade updates)
};

Medida migra(const std::string& pasta, int n) {
  std::filesystem::create_directories(pasta);
  {
    auto o = bancoNovo(pasta + "/ORIGEM.FDB");
    preencheOrigem(*o, n);
    auto d = bancoNovo(pasta + "/VENDAS.FDB");
    preencheDestino(*d);
  }
  std::printf("(databases of %d items made)\n", n);
  std::fflush(stdout);
  Conexao origem(conexao(pasta + "/ORIGEM.FDB")), destino(conexao(pasta + "/VENDAS.FDB"));
  TelaMuda tela;
  const auto inicio = Relogio::now();
  const Resultado r = AtualizaBanco(origem, destino, tela);
  const double t = segundos(inicio);
  if (r.desfecho != Resultado::Desfecho::Concluido) throw Erro("a migração falhou: " + r.mensagem);
  if (tela.ultima != "Total de Produtos Recuperado  " + std::to_string(n))
    throw Erro("contagem errada: " + tela.ultima);
  return {t, long(n) + (n + 1) / 2 + n / 10};
}

// The floor: the copy's unavoidable writes, prebuilt from the origin of `pasta`, in one
// transaction on a fresh destination.
double piso(const std::string& pasta, int n) {
  auto o = std::make_unique<Conexao>(conexao(pasta + "/ORIGEM.FDB"));
  auto d = bancoNovo(pasta + "/PISO.FDB");
  d->iniciaTransacao();
  for (int i = 1; i <= 40; ++i) {
    const std::string s = std::to_string(i);
    d->executa("INSERT INTO UNIDADE VALUES (" + s + ", 'U" + s + "', 'N', 'N', 0)");
    d->executa("INSERT INTO PRODUTOGRUPO (IDPRODGRUPO, DESCRICAO) VALUES (" + s + ", 'G')");
    d->executa("INSERT INTO SUBGRUPO VALUES (" + s + ", 'S')");
    d->executa("INSERT INTO FABRICANTE (IDFABRICANTE) VALUES (" + s + ")");
  }
  d->executa("INSERT INTO LOCALPRODUTO VALUES (1, 'C')");
  for (int i = 1; i <= 5; ++i)
    d->executa("INSERT INTO TRIBCFOP (IDTRIBCFOP) VALUES (" + std::to_string(i) + ")");
  for (int i = 1; i <= 800; ++i)
    d->executa("INSERT INTO NCM (IDNCM, IDNCMGRUPO) VALUES (" + std::to_string(i) + ", 1)");
  d->confirma();
  std::vector<std::string> comandos;
  Recordset produtos = o->abre("Select IDPRODUTO, DESCRICAO, DESCRICAOIMP From PRODUTO");
  for (; !produtos.eof(); produtos.proximo())
    comandos.push_back(
        atualiza::insercaoProduto(produtos.valor(0), produtos.valor(1), produtos.valor(2), 24));
  Recordset itens = o->abre(atualiza::consultaItens());
  for (; !itens.eof(); itens.proximo())
    comandos.push_back(atualiza::insercaoItem(itens, itens.valor(1), itens.valor(50), itens.valor(32)));
  for (int i = 10; i <= n; i += 10)
    comandos.push_back(
        "Update ProdutoEstoque Estoque SEt ProdutoMaster = 'M', CorGrade = 'AZUL', DescricaoGrade = "
        "Null, TamanhoGrade = 'P', IDGRADESIMILAR = 1 Where IDITEMPRODUTO = " +
        std::to_string(i));
  const auto inicio = Relogio::now();
  d->iniciaTransacao();
  for (const std::string& sql : comandos)
    d->executa(sql);
  d->confirma();
  const double t = segundos(inicio);
  return comandos.size() / t;
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 50000;
  const int menor = argc > 2 ? std::atoi(argv[2]) : 10000;
  std::string modelo = (std::filesystem::temp_directory_path() / "zuvbench-atualiza-XXXXXX").string();
  const std::string pasta = mkdtemp(modelo.data());
  TelaMuda tela;
  TelaDoEscopo escopo(tela);
  try {
    const Medida pequena = migra(pasta + "/menor", menor);
    const Medida grande = migra(pasta + "/maior", n);
    const double taxaPiso = piso(pasta + "/maior", n);
    std::printf("floor (prepared writes, one transaction): %8.0f statements/s\n", taxaPiso);
    std::printf("migration of %6d items: %7.2f s = %6.0f items/s, %5.0f writes/s, %.2fx the floor's time\n",
                menor, pequena.segundos, menor / pequena.segundos, pequena.comandos / pequena.segundos,
                taxaPiso / (pequena.comandos / pequena.segundos));
    std::printf("migration of %6d items: %7.2f s = %6.0f items/s, %5.0f writes/s, %.2fx the floor's time\n",
                n, grande.segundos, n / grande.segundos, grande.comandos / grande.segundos,
                taxaPiso / (grande.comandos / grande.segundos));
    std::printf("time per item at %d vs %d: %.2fx (1.00 = linear)\n", n, menor,
                (grande.segundos / n) / (pequena.segundos / menor));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_atualiza: %s\n", e.what());
    std::filesystem::remove_all(pasta);
    return 1;
  }
  std::filesystem::remove_all(pasta);
  return 0;
}
