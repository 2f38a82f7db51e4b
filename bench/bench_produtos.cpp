// Product import speed and memory: a produto.xlsx of N rows (100 000 by default) imported into an
// empty catalogue of the schema fixture, then the same workbook again as updates of every item with
// every field box ticked; each against the floor of the same statements executed directly (the
// lookups, inserts or updates a row issues, with the same commits every five rows), without the
// workbook or the row's preparation.
//   bench_produtos [rows] [floor rows] [sem-indice] [assincrono]
// The catalogue gets descending indexes on IDITEMPRODUTO and IDPRODUTO (the identifiers are taken
// as MAX + 1 before every row, which Firebird answers from a descending index only); "sem-indice"
// leaves them out. "assincrono" creates the database with forced writes off: the engine's work
// without the wait for the disk on every commit.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/Tela.h"
#include "migration/EstoqueProduto.h"
#include "migration/ImportacaoProduto.h"
#include "migration/LinhaProduto.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "shell/BancoZUV.h"

using namespace zuv;
using Relogio = std::chrono::steady_clock;

namespace {

class TelaMuda : public Tela {
 public:
  void mensagem(const std::string&, Icone, const std::string&) override {}
  bool pergunta(const std::string&, Icone, const std::string&) override { return true; }
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

// Processor time of the whole process (the embedded engine runs in it), in seconds: unlike the
// clock it does not count the time other programs of a busy machine take.
double cpu() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Resets the peak resident size (VmHWM) so that each phase shows its own.
void zeraPico() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

long memoriaKb(const char* chave) {
  std::ifstream status("/proc/self/status");
  std::string linha;
  while (std::getline(status, linha))
    if (linha.rfind(chave, 0) == 0) return std::atol(linha.c_str() + std::string(chave).size());
  return 0;
}

bool g_indices = true;
bool g_sincrono = true;

std::unique_ptr<Conexao> bancoNovo(const std::string& pasta) {
  std::filesystem::create_directories(pasta);
  const std::string banco = pasta + "/VENDAS.FDB";
  Conexao::criaBancoDeDados(banco, "SYSDBA", "quartzine",
                            g_sincrono);  // forced writes on, as a real VENDAS.FDB
  const std::string comando = "isql-fb -q -user SYSDBA -password quartzine -ch NONE -i '" +
                              std::string(ZUV_FIXTURES_DIR) + "/zuv_schema.sql' '" + banco + "' >/dev/null";
  if (std::system(comando.c_str()) != 0) throw Erro("isql-fb falhou: " + comando);
  auto c = std::make_unique<Conexao>(textoConexaoZUV(pasta));
  if (g_indices) {
    c->executa("CREATE DESCENDING INDEX IX_PRODUTOESTOQUE_IDDESC ON PRODUTOESTOQUE (IDITEMPRODUTO)");
    c->executa("CREATE DESCENDING INDEX IX_PRODUTO_IDDESC ON PRODUTO (IDPRODUTO)");
  }
  return c;
}

struct Linha {
  std::string barra, descricao, unidade, custo, venda, estoque, grupo, sub, ncm, aliquota, cfop, csosn, cest,
      atacado;
};

Linha linhaGerada(int i, bool nova) {
  char barra[32], preco[32], custo[32];
  std::snprintf(barra, sizeof barra, "789%010d", i);
  const int centavos = 199 + (i * 37) % 9000 + (nova ? 0 : 50);
  std::snprintf(preco, sizeof preco, "%d,%02d", centavos / 100, centavos % 100);
  std::snprintf(custo, sizeof custo, "%d,%02d", centavos * 7 / 1000, centavos * 7 / 10 % 100);
  const int ncm = i % 300;
  return {barra,
          "PRODUTO NÚMERO " + std::to_string(i) + " MARCA " + std::to_string(i % 50),
          i % 5 ? "UN" : "KG",
          custo,
          preco,
          std::to_string(i % 240),
          "GRUPO " + std::to_string(i % 40),
          "SUB " + std::to_string(i % 100),
          std::to_string(22000000 + ncm),
          i % 2 ? "18" : "7",
          ncm % 7 ? "5102" : "5405",
          ncm % 7 ? "102" : "500",
          ncm % 3 ? std::to_string(1700000 + ncm) : "",
          i % 3 ? preco : ""};
}

void escrevePlanilha(const std::string& caminho, int n, bool nova) {
  EscritorPlanilha p;
  for (int c = 1; c <= 15; ++c)
    p.escreve(1, c, std::string("C").append(std::to_string(c)));
  for (int i = 1; i <= n; ++i) {
    const Linha l = linhaGerada(i, nova);
    const std::string* celulas[15] = {&l.barra,   &l.descricao, &l.unidade, &l.custo, &l.venda,
                                      &l.estoque, &l.grupo,     &l.sub,     &l.ncm,   &l.aliquota,
                                      &l.cfop,    &l.csosn,     nullptr,    &l.cest,  &l.atacado};
    for (int c = 0; c < 15; ++c)
      if (celulas[c] && !celulas[c]->empty()) p.escreve(i + 1, c + 1, *celulas[c]);
  }
  p.salva(caminho);
}

std::string aspasCh(const std::string& s) {
  return ConverteSQL(Valor(s), "CH");
}

// The statements one row issues once its references exist, executed directly.
void linhaDoPiso(Conexao& c, int i, bool nova, int32_t idItem) {
  const Linha l = linhaGerada(i, nova);
  c.executa("SAVEPOINT LINHA_PRODUTO");
  c.abre("select MAX(iditemproduto) AS iditemproduto from produtoestoque");
  Recordset existente = c.abre("Select * from ProdutoEstoque where Barra = " + aspas(l.barra));
  c.abre("Select IdUnidade, Descricao,MedidaFracao From Unidade Where  Descricao = " + aspas(l.unidade));
  c.abre("Select * From ProdutoGrupo Where  Descricao =  " + aspas(l.grupo));
  c.abre("Select * From SubGrupo Where  Descricao =  " + aspas(l.sub));
  Recordset ncm = c.abre("Select * From NCM Where  CODIGONCM =  " + aspas(l.ncm));
  if (!l.cest.empty())
    c.executa("Update NCM Set CEST = " + aspasCh(l.cest) +
              " Where IDNCM = " + std::to_string(int(ncm.valor(0).paraDouble())));
  Recordset ecf = c.abre("Select * From ECFLetra Where  PorcICF =  " + ConverteSQL(Valor(l.aliquota), "FL"));
  Recordset cfop = c.abre("Select * From TribCFOP Where  CodFiscal =  " + aspasCh(l.cfop));
  c.abre("Select * From CST Where  CodigoCST =  " + aspasCh(l.csosn));
  ItemProduto item;
  item.idItemProduto = idItem;
  item.idProduto = idItem;
  item.idUnidade = 1;
  item.idNCM = int(ncm.valor(0).paraDouble());
  item.idECFLetra = int(ecf.valor(0).paraDouble());
  item.idTribCFOP = int(cfop.valor(0).paraDouble());
  item.idProdGrupo = 1;
  item.idSubGrupo = 1;
  item.custo = leNumero(l.custo, 1);
  item.venda = leNumero(l.venda, 1);
  item.barra = l.barra;
  item.cadastro = Data::hoje();
  if (nova) {
    c.abre("Select Max(IDPRODUTO) From PRODUTO");
    c.executa(insercaoProduto(idItem, l.descricao));
    c.executa(insercaoEstoque(item));
  } else {
    AlteracaoEstoque a{.custo = item.custo,
                       .venda = item.venda,
                       .margem = item.margem,
                       .margemPorc = item.margemPorc,
                       .estoque = item.estoque,
                       .idTribCFOP = item.idTribCFOP,
                       .idECFLetra = item.idECFLetra,
                       .idNCM = item.idNCM,
                       .idProdGrupo = item.idProdGrupo,
                       .idSubGrupo = item.idSubGrupo};
    if (!l.atacado.empty()) a.atacado = item.atacado;
    c.executa(atualizacaoEstoque(a, l.barra));
    c.abre("select idproduto from produtoestoque where barra = " + aspas(l.barra + " "));
    c.executa("update produto set descricao = " + aspasCh(l.descricao) + " , DescricaoImp  = " +
              aspasCh(l.descricao.substr(0, 24)) + " where idproduto = " + std::to_string(idItem));
  }
}

// The floor: the same statements for n rows, committed every five rows as the import does.
struct Tempo {
  double relogio, cpu;
};

Tempo piso(Conexao& c, int n, bool nova, int desde) {
  const auto inicio = Relogio::now();
  const double cpuInicio = cpu();
  c.iniciaTransacao();
  int lote = 0;
  for (int i = desde; i < desde + n; ++i) {
    linhaDoPiso(c, i, nova, i);
    if (lote == 5) {
      c.confirma();
      c.iniciaTransacao();
      lote = 0;
    }
    ++lote;
  }
  c.confirma();
  return {segundos(inicio), cpu() - cpuInicio};
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known, also into a file
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int nPiso = argc > 2 ? std::atoi(argv[2]) : 10000;
  for (int i = 3; i < argc; ++i) {
    if (std::string(argv[i]) == "sem-indice") g_indices = false;
    if (std::string(argv[i]) == "assincrono") g_sincrono = false;
  }

  std::string modelo = (std::filesystem::temp_directory_path() / "zuvbench-produtos-XXXXXX").string();
  const std::string pasta = mkdtemp(modelo.data());
  TelaMuda tela;
  TelaDoEscopo escopo(tela);
  try {
    const std::string programa = pasta + "/programa";
    std::filesystem::create_directories(programa);
    auto inicio = Relogio::now();
    escrevePlanilha(programa + "/" + kArquivoProduto, n, true);
    std::printf("workbook written:            %7d rows in %8.2f s\n", n, segundos(inicio));
    const long memoriaAntes = memoriaKb("VmHWM:");
    zeraPico();

    auto c = bancoNovo(pasta + "/dados");
    ResumoImportacaoProduto resumo;
    AmbienteImportacao ambiente{*c, tela, programa, {}, {}, {}};
    OpcoesImportacaoProduto opcoes;
    opcoes.grupo = true;
    opcoes.encerraPrograma = false;
    inicio = Relogio::now();
    double cpuInicio = cpu();
    Resultado r = importaProdutos(ambiente, opcoes, resumo);
    const double tNova = segundos(inicio), cNova = cpu() - cpuInicio;
    if (r.desfecho != Resultado::Desfecho::Concluido || resumo.inseridos != n)
      throw Erro("a importação falhou: " + r.mensagem + " " + resumo.texto());
    const long memoriaNova = memoriaKb("VmHWM:");

    // The same workbook with new prices: every row updates its item, every box ticked.
    escrevePlanilha(programa + "/" + kArquivoProduto, n, false);
    opcoes.marcaTodos(true);
    resumo = {};
    zeraPico();
    inicio = Relogio::now();
    cpuInicio = cpu();
    r = importaProdutos(ambiente, opcoes, resumo);
    const double tAtualiza = segundos(inicio), cAtualiza = cpu() - cpuInicio;
    if (r.desfecho != Resultado::Desfecho::Concluido || resumo.atualizados != n)
      throw Erro("a atualização falhou: " + r.mensagem + " " + resumo.texto());
    const long memoriaAtualiza = memoriaKb("VmHWM:");

    // Floors on a catalogue of the same size: the references and the items exist, so each row issues
    // the statements of its steady state.
    const int desde = n + 1;
    const Tempo pNova = piso(*c, nPiso, true, desde), pAtualiza = piso(*c, nPiso, false, desde);
    auto linha = [&](const char* nome, double t, double tc, const Tempo& p) {
      std::printf(
          "%-27s %7d rows in %8.2f s = %5.0f rows/s (floor %5.0f rows/s), %.2fx the floor's time; "
          "processor %.2f ms/row, %.2fx the floor's\n",
          nome, n, t, n / t, nPiso / p.relogio, t / (p.relogio / nPiso * n), tc / n * 1000,
          tc / (p.cpu / nPiso * n));
    };
    linha("import into an empty base:", tNova, cNova, pNova);
    linha("import as updates:", tAtualiza, cAtualiza, pAtualiza);
    std::printf(
        "peak memory (VmHWM):         %ld kB writing the workbook, %ld kB importing, %ld kB updating\n",
        memoriaAntes, memoriaNova, memoriaAtualiza);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_produtos: %s\n", e.what());
    std::filesystem::remove_all(pasta);
    return 1;
  }
  std::filesystem::remove_all(pasta);
  return 0;
}
