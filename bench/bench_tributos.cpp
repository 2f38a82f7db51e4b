// Tax workbook speed: N active stock items (20 000 by default) of a fresh schema-fixture database
// exported to produtosat.xlsx and the unedited workbook imported back, all-or-nothing (--atomico)
// and, on its first M rows, with one commit per row; against the statement-rate floors of
// bench_banco measured here on the same machine (auto-commit inserts, inserts in one transaction).
//   bench_tributos [items] [rows imported with commits]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/Erro.h"
#include "common/Tela.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "shell/BancoZUV.h"
#include "shell/ContextoExecucao.h"
#include "tax/AtualizaTributos.h"
#include "tax/PlanilhaTributos.h"

using namespace zuv;
using Relogio = std::chrono::steady_clock;

namespace {

class TelaMuda : public Tela {
 public:
  void mensagem(const std::string& t, Icone, const std::string&) override { ultima = t; }
  bool pergunta(const std::string&, Icone, const std::string&, Padrao) override { return false; }
  void progresso(int) override {}
  void cursorEspera(bool) override {}
  void mostraControle(const std::string&, bool) override {}
  void defineTexto(const std::string&, const std::string&) override {}
  void adicionaItem(const std::string&, const std::string&) override {}
  void limpaItens(const std::string&) override {}
  void mostraArquivo(const std::string&) override {}
  std::string ultima;
};

double segundos(Relogio::time_point inicio) {
  return std::chrono::duration<double>(Relogio::now() - inicio).count();
}

// The schema fixture through isql-fb, as the tests and the demo make it.
void criaBanco(const std::string& caminho) {
  Conexao::criaBancoDeDados(caminho);
  const std::string comando = "isql-fb -q -user SYSDBA -password quartzine -i '" +
                              std::string(ZUV_FIXTURES_DIR) + "/zuv_schema.sql' '" + caminho + "' >/dev/null";
  if (std::system(comando.c_str()) != 0) throw Erro("isql-fb falhou: " + comando);
}

void povoa(Conexao& c, int n) {
  c.iniciaTransacao();
  c.executa("insert into ProdutoGrupo (idProdGrupo, Descricao) values (1, 'MERCEARIA')");
  for (int i = 1; i <= 200; ++i)
    c.executa("insert into NCM (idNCM, CodigoNCM, Descricao, idNCMGrupo, CEST) values (" + std::to_string(i) +
              ", '" + std::to_string(10000000 + i * 1013) + "', 'NCM " + std::to_string(i) + "', 1, '0" +
              std::to_string(300100 + i) + "')");
  for (int i = 1; i <= 4; ++i)
    c.executa("insert into ECFLetra (idECFLetra, LetraImpressao, PorcICF, Descricao) values (" +
              std::to_string(i) + ", 'T" + std::to_string(i) + "', " + std::to_string(i * 6) + ", 'ECF')");
  c.executa("insert into CST (idCST, CodigoCST, CST) values (1, '102', 'CSN:102')");
  c.executa(
      "insert into TribCFOP (idTribCFOP, Tipo, Descricao, CodFiscal, CSOSN, Ativo) values (1, 'S', 'CFOP "
      "5102 CSOSN "
      "102', '5102', '102', 'S')");
  c.executa(
      "insert into TribCFOP (idTribCFOP, Tipo, Descricao, CodFiscal, CSTSat, Ativo) values (2, 'S', 'CFOP "
      "5405 "
      "CSTSat 60', '5405', '60', 'S')");
  c.executa(
      "insert into TribCFOP (idTribCFOP, Tipo, Descricao, CodFiscal) values (3, 'S', 'CFOP Entrada 1102', "
      "'1102')");
  for (int i = 1; i <= n; ++i) {
    const std::string id = std::to_string(i);
    c.executa("insert into Produto (idProduto, Descricao) values (" + id + ", 'PRODUTO DE TESTE " + id +
              "')");
    c.executa(
        "insert into ProdutoEstoque (idItemProduto, idProduto, idProdGrupo, idNCM, idECFLetra, idTribCFOP, "
        "idTribCFOPEntradada, PisCSTSai, PISPorcentagemSai, CofinsCSTSai, CofinsPorcentagemSai, Ativo, "
        "Barra) "
        "values (" +
        id + ", " + id + ", 1, " + std::to_string(i % 200 + 1) + ", " + std::to_string(i % 4 + 1) + ", " +
        std::to_string(i % 2 + 1) + ", 3, 49, 0.65, 49, 3, 'S', '789" + std::to_string(1000000000 + i) +
        "')");
  }
  c.confirma();
}

double taxaInsercoes(Conexao& c, int n, bool transacao) {
  c.executa("create table Piso (id integer not null primary key, texto varchar(40), valor numeric(15,2))");
  if (transacao) c.iniciaTransacao();
  const auto inicio = Relogio::now();
  for (int i = 1; i <= n; ++i)
    c.executa("insert into Piso (id, texto, valor) values (" + std::to_string(i) + ", 'TEXTO " +
              std::to_string(i) + "', " + std::to_string(i % 1000) + ".25)");
  if (transacao) c.confirma();
  const double t = segundos(inicio);
  c.executa("drop table Piso");
  return n / t;
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 20000;
  const int nCommit = argc > 2 ? std::atoi(argv[2]) : 500;
  std::string modelo = (std::filesystem::temp_directory_path() / "zuvbench-tributos-XXXXXX").string();
  const std::string pasta = mkdtemp(modelo.data());
  const std::string dados = pasta + "/dados", programa = pasta + "/programa";
  std::filesystem::create_directories(dados);
  std::filesystem::create_directories(programa);
  TelaMuda tela;
  TelaDoEscopo escopo(tela);
  try {
    criaBanco(dados + "/VENDAS.FDB");
    auto c = std::make_unique<Conexao>(textoConexaoZUV(dados));
    const double pisoAuto = taxaInsercoes(*c, 150, false), pisoTransacao = taxaInsercoes(*c, 20000, true);
    std::printf("floor: auto-commit %8.0f statements/s, one transaction %8.0f statements/s\n", pisoAuto,
                pisoTransacao);
    povoa(*c, n);

    const auto executa = [&](const Execucao& e, OpcoesExecucao o = {}) {
      ContextoExecucao ctx(tela, programa, o);
      ctx.usaConexao(*c);
      return executaNoContexto(ctx, e);
    };
    auto inicio = Relogio::now();
    if (executa([](ContextoExecucao& ctx) { return ExportaSAT(ctx, {}); }).desfecho !=
        Resultado::Desfecho::Concluido)
      throw Erro("exportação: " + tela.ultima);
    double t = segundos(inicio);
    std::printf("export:            %6d rows in %7.3f s = %7.0f rows/s\n", n, t, n / t);

    // An unedited row issues 8 statements: NCM select + CEST update, rate select, CST select,
    // CFOP select + description update, incoming select, item update.
    constexpr int kInstrucoesPorLinha = 8;
    OpcoesAtualizaTributos o;
    o.excluiCFOP = false;
    OpcoesExecucao atomico;
    atomico.atomico = true;
    inicio = Relogio::now();
    executa([o](ContextoExecucao& ctx) { return AtualizaTributosSAT(ctx, o); }, atomico);
    if (tela.ultima != "FIM") throw Erro("importação: " + tela.ultima);
    t = segundos(inicio);
    const double taxa = n * kInstrucoesPorLinha / t;
    std::printf(
        "import --atomico:  %6d rows in %7.3f s = %7.0f rows/s, %7.0f statements/s (%.2fx the "
        "one-transaction floor, %.0fx faster than the auto-commit floor)\n",
        n, t, n / t, taxa, pisoTransacao / taxa, taxa / pisoAuto);

    // The first nCommit rows alone, one commit per row.
    {
      auto planilha = abrePlanilha(programa + "/produtosat.xlsx");
      EscritorPlanilha curta;
      for (int l = 1; l <= nCommit + 1; ++l)
        for (int col = 1; col <= 15; ++col)
          curta.escreve(l, col, planilha->celula(l, col));
      planilha.reset();
      curta.salva(programa + "/produtosat.xlsx");
    }
    inicio = Relogio::now();
    executa([o](ContextoExecucao& ctx) { return AtualizaTributosSAT(ctx, o); });
    t = segundos(inicio);
    std::printf(
        "import (commits):  %6d rows in %7.3f s = %7.0f rows/s, %7.0f statements/s (auto-commit floor "
        "for its %d statements: %.3f s)\n",
        nCommit, t, nCommit / t, nCommit * kInstrucoesPorLinha / t, nCommit * kInstrucoesPorLinha,
        nCommit * kInstrucoesPorLinha / pisoAuto);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_tributos: %s\n", e.what());
    std::filesystem::remove_all(pasta);
    return 1;
  }
  std::filesystem::remove_all(pasta);
  return 0;
}
