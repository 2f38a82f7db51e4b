// Product import speed and memory, new rows and updates (every field box ticked), in both modes:
//   - "--atomico": the whole run in one transaction holding the tables it numbers, which the import
//     then keeps in memory (identifiers counted, barcode map, reference tables), its repeated
//     statements prepared once; on a catalogue with primary keys only, as a store's database may be;
//   - the system's way (a commit every five rows, every lookup and MAX a statement), on the same
//     catalogue (every row reads the whole table: slow and growing with the catalogue) and on one
//     with descending indexes on IDITEMPRODUTO and IDPRODUTO and an index on BARRA, against the
//     floor of the same statements executed directly.
// For each size: rows/s, the per-row time at the largest size against the smallest, peak memory.
//   bench_produtos [rows...] [--padrao-sem-indice N] [--so-atomico] [assincrono]
// Sizes default to 10 000 and 100 000. The system's way on the primary-keys-only catalogue runs at
// N rows only (default 10 000; 0 skips it): at 100 000 it takes hours. "assincrono" creates the
// databases with forced writes off.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/Tela.h"
#include "migration/EstoqueProduto.h"
#include "migration/ImportaPlanilhaProduto.h"
#include "migration/ImportacaoProduto.h"
#include "migration/LinhaProduto.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "shell/BancoZUV.h"
#include "shell/ContextoExecucao.h"

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

bool g_sincrono = true;

std::unique_ptr<Conexao> bancoNovo(const std::string& pasta, bool indices) {
  std::filesystem::create_directories(pasta);
  const std::string banco = pasta + "/VENDAS.FDB";
  Conexao::criaBancoDeDados(banco, "SYSDBA", "quartzine",
                            g_sincrono);  // forced writes on, as a real VENDAS.FDB
  const std::string comando = "isql-fb -q -user SYSDBA -password quartzine -ch NONE -i '" +
                              std::string(ZUV_FIXTURES_DIR) + "/zuv_schema.sql' '" + banco + "' >/dev/null";
  if (std::system(comando.c_str()) != 0) throw Erro("isql-fb falhou: " + comando);
  auto c = std::make_unique<Conexao>(textoConexaoZUV(pasta));
  if (indices) {
    c->executa("CREATE DESCENDING INDEX IX_PRODUTOESTOQUE_IDDESC ON PRODUTOESTOQUE (IDITEMPRODUTO)");
    c->executa("CREATE DESCENDING INDEX IX_PRODUTO_IDDESC ON PRODUTO (IDPRODUTO)");
  } else {
    c->executa("DROP INDEX IX_PRODUTOESTOQUE_BARRA");  // the fixture's: a store's base may lack it
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
  return ConverteSQL(Valor(s), TipoSQL::CH);
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
  Recordset ecf =
      c.abre("Select * From ECFLetra Where  PorcICF =  " + ConverteSQL(Valor(l.aliquota), TipoSQL::FL));
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
    c.executa(insercaoProduto(idItem, l.descricao).sql());
    c.executa(insercaoEstoque(item).sql());
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
    c.executa(atualizacaoEstoque(a).condicao(" Where Barra = ", aspas(l.barra)).sql());
    c.abre("select idproduto from produtoestoque where barra = " + aspas(l.barra + " "));
    c.abre("Select Descricao, DescricaoImp From Produto Where IdProduto = ?", {Valor(int64_t{idItem})});
    c.executa("update produto set descricao = " + aspasCh(l.descricao) + " , DescricaoImp  = " +
              aspasCh(l.descricao.substr(0, 24)) + " where idproduto = " + std::to_string(idItem));
  }
  c.executa("RELEASE SAVEPOINT LINHA_PRODUTO ONLY");
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

struct Fim {};  // the figures asked for are printed

// One import of the workbook in the program folder, as the command line runs it (with --atomico
// when asked), on the connection given; its time, processor time and peak memory.
struct Medida {
  double relogio = 0, cpu = 0;
  long picoKb = 0;
  ResumoImportacaoProduto resumo;
};

Medida importa(Conexao& c, Tela& tela, const std::string& programa, bool atualiza, bool atomico) {
  OpcoesImportacaoProduto opcoes;
  opcoes.grupo = true;
  opcoes.encerraPrograma = false;
  if (atualiza) opcoes.marcaTodos(true);
  Medida m;
  zeraPico();
  const auto inicio = Relogio::now();
  const double cpuInicio = cpu();
  ContextoExecucao ctx(tela, programa, {.atomico = atomico, .semCopia = true, .relatorio = ""});
  ctx.usaConexao(c);
  const Resultado r = executaNoContexto(
      ctx, [&](ContextoExecucao& x) { return ImportaPlanilhaProduto(x, opcoes, &m.resumo); });
  m.relogio = segundos(inicio);
  m.cpu = cpu() - cpuInicio;
  m.picoKb = memoriaKb("VmHWM:");
  if (r.desfecho != Resultado::Desfecho::Concluido || m.resumo.falhas != 0)
    throw Erro("a importação falhou: " + r.mensagem + " " + m.resumo.texto());
  return m;
}

struct Par {
  Medida nova, atualizacao;
};

// A fresh database: n new rows, then the same rows with new values as updates.
Par mede(const std::string& pasta, Tela& tela, int n, bool indices, bool atomico) {
  std::filesystem::remove_all(pasta);
  const std::string programa = pasta + "/programa";
  std::filesystem::create_directories(programa);
  auto c = bancoNovo(pasta + "/dados", indices);
  Par p;
  escrevePlanilha(programa + "/" + kArquivoProduto, n, true);
  p.nova = importa(*c, tela, programa, false, atomico);
  escrevePlanilha(programa + "/" + kArquivoProduto, n, false);
  p.atualizacao = importa(*c, tela, programa, true, atomico);
  if (p.nova.resumo.inseridos != n || p.atualizacao.resumo.atualizados != n)
    throw Erro("contagem errada: " + p.nova.resumo.texto() + " / " + p.atualizacao.resumo.texto());
  return p;
}

void imprime(const char* modo, const char* catalogo, int n, const Par& p) {
  std::printf(
      "%-9s %-19s %7d rows: new %6.0f rows/s (%7.1f s, processor %.2f ms/row), updates %6.0f rows/s "
      "(%7.1f s, %.2f ms/row); peak memory %ld / %ld MB\n",
      modo, catalogo, n, n / p.nova.relogio, p.nova.relogio, p.nova.cpu / n * 1000, n / p.atualizacao.relogio,
      p.atualizacao.relogio, p.atualizacao.cpu / n * 1000, p.nova.picoKb / 1024, p.atualizacao.picoKb / 1024);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known, also into a file
  std::vector<int> tamanhos;
  int padraoSemIndice = 10000;
  bool padrao = true;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "assincrono")
      g_sincrono = false;
    else if (a == "--so-atomico")
      padrao = false;
    else if (a == "--padrao-sem-indice" && i + 1 < argc)
      padraoSemIndice = std::atoi(argv[++i]);
    else
      tamanhos.push_back(std::atoi(argv[i]));
  }
  if (tamanhos.empty()) tamanhos = {10000, 100000};

  std::string modelo = (std::filesystem::temp_directory_path() / "zuvbench-produtos-XXXXXX").string();
  const std::string pasta = mkdtemp(modelo.data());
  TelaMuda tela;
  TelaDoEscopo escopo(tela);
  try {
    // --atomico, primary keys only: every size, and how the time per row grows.
    std::vector<Par> atomicos;
    for (int n : tamanhos) {
      atomicos.push_back(mede(pasta + "/a", tela, n, false, true));
      imprime("--atomico", "primary keys only", n, atomicos.back());
    }
    if (tamanhos.size() > 1) {
      const int n0 = tamanhos.front(), n1 = tamanhos.back();
      const Par &p0 = atomicos.front(), &p1 = atomicos.back();
      std::printf("--atomico per-row time at %d against %d rows: new %.2fx, updates %.2fx\n", n1, n0,
                  (p1.nova.relogio / n1) / (p0.nova.relogio / n0),
                  (p1.atualizacao.relogio / n1) / (p0.atualizacao.relogio / n0));
    }
    // The system's way on the same catalogue: every row reads the whole table.
    if (!padrao) throw Fim{};
    if (padraoSemIndice > 0)
      imprime("default", "primary keys only", padraoSemIndice,
              mede(pasta + "/b", tela, padraoSemIndice, false, false));
    // The system's way with the indexes, against its statements' floor.
    for (int n : tamanhos) {
      const Par p = mede(pasta + "/c", tela, n, true, false);
      imprime("default", "indexed", n, p);
      auto c = std::make_unique<Conexao>(textoConexaoZUV(pasta + "/c/dados"));
      const int nPiso = std::min(n, 10000);
      const Tempo pNova = piso(*c, nPiso, true, n + 1), pAtualiza = piso(*c, nPiso, false, n + 1);
      std::printf(
          "default   indexed floor       %7d rows: new %.2fx the floor's time (floor %5.0f rows/s), updates "
          "%.2fx (floor %5.0f rows/s)\n",
          n, p.nova.relogio / (pNova.relogio / nPiso * n), nPiso / pNova.relogio,
          p.atualizacao.relogio / (pAtualiza.relogio / nPiso * n), nPiso / pAtualiza.relogio);
    }
  } catch (const Fim&) {
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_produtos: %s\n", e.what());
    std::filesystem::remove_all(pasta);
    return 1;
  }
  std::filesystem::remove_all(pasta);
  return 0;
}
