// The tasks of the command line, run without a terminal (unless a test types into one) on real
// databases: exit status, what they print and what the databases hold afterwards.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>

#include "cli/LinhaDeComando.h"
#include "customers/AmbienteClientes.h"
#include "dbcopy/AmbienteCopia.h"
#include "fiscal/ApoioFiscal.h"
#include "fiscal/ConfiguracaoFiscal.h"
#include "shell/PastaPrograma.h"
#include "tax/AmbienteTributos.h"

namespace zuv::teste {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// Runs the command line on a program folder and keeps what it printed; without digitado there is no
// terminal, with it a terminal whose person types digitado.
struct Comando {
  std::ostringstream saida, erros;
  // interrompida: asked at each progress step, as the Ctrl+C handler's flag is.
  int roda(std::vector<std::string> args, const std::string& pasta, std::function<bool()> interrompida = {},
           const char* digitado = nullptr) {
    args.insert(args.end(), {kOpcaoPastaPrograma, pasta});
    std::istringstream entrada(digitado ? digitado : "");
    saida.str("");
    erros.str("");
    const int status = executaLinhaDeComando(
        args, Terminal{entrada, saida, erros, digitado != nullptr, false, 80, std::move(interrompida)});
    definePastaPrograma("");
    return status;
  }
};

// The program's database is the copy's destination (stock items 1-5 and 9, customers ANTIGO 1, 2
// and 5); the copy's origin has five items and three customers.
class ComandosTest : public AmbienteCopia, public Comando {
 protected:
  void SetUp() override {
    AmbienteCopia::SetUp();
    destino->executaIsql(kDestinoComDados);
    destino->executaIsql(kClientesTipados);
  }
};

// In arguments and output, $O and $D stand for the origin's and the destination's paths, $P for the
// program folder.
TEST_F(ComandosTest, EachTasksExitOutputAndDatabase) {
  struct Caso {
    std::vector<std::string> args;
    int status;
    std::string trecho;              // in stdout, then stderr
    std::string banco;               // stock items/customers/customers named ANTIGO afterwards
    std::string sql = "";            // run on the destination first
    const char* digitado = nullptr;  // what a terminal's user types; none: no terminal
    std::string ausente = "";        // in neither stdout nor stderr
  };
  const std::string copiados = "Total de Produtos Recuperado  5\nAtualização feita com sucesso\n";
  const std::string mantido = "Operação não poderá ser completa, há operações vinculada a esse cliente : ";
  const std::string venda = "insert into nfsaida (idnfsaida, idcliente) values (1, 2)";
  const std::vector<std::string> copia = {"zuv", "copiar", "--origem", "$O", "--destino", "$D"};
  const auto mais = [](std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  // clang-format off
  const std::vector<Caso> casos = {
      {{"clientes", "importar", "--nao"}, 0, "Atualizar o Cadastro de Cliente [s/n] n (--nao)\n", "6/3/3"},
      {{"clientes", "importar", "--sim"}, 0, "Atualizar o Cadastro de Cliente [s/n] s (--sim)\nFIM\n", "6/5/3"},
      {{"clientes", "importar", "--sim", "--simular"}, 0, "Simulação: nada foi gravado em VENDAS.FDB. A operação "
                                                          "faria:\n  CLIENTE: 2 incluídas, 0 alteradas, 0 excluídas\n", "6/3/3"},
      {{"clientes", "importar", "--sim", "--sem-copia"}, 2, "--sem-copia", "6/3/3"},
      {{"clientes", "excluir", "--sim"}, 0, "Excluir Base de dados de Cliente do ZUV [s/N] s (--sim)\n2Nome: ANTIGO 2" +
                                            mantido + "\nfinalizado\n", "6/1/1", venda},
      {{"clientes", "excluir", "--sim", "--sem-copia", "--atomico"}, 0, "Alterações gravadas em VENDAS.FDB:\n  "
                                                                        "CLIENTE: 0 incluídas, 0 alteradas, 3 excluídas\n",
       "6/0/0", "", nullptr, "Cópia de segurança"},
      // The copy: the wiping mode asks first; --sim answers, a terminal's empty answer is No.
      {mais(copia, {"--cliente"}), 0, "Fim da Importação\n", "6/3/0"},
      {mais(copia, {"--incluir-produtos"}), 0, copiados, "11/3/3"},
      {copia, 2, "e não há quem responda", "6/3/3"},
      {copia, 1, " serão excluídos de $D. Continuar? [s/N] ", "6/3/3", "", "\n"},
      {mais(copia, {"--sim"}), 0, "Continuar? [s/N] s (--sim)\n" + copiados, "5/3/3"},
      {mais(copia, {"--limpa-banco", "--cliente"}), 0, "Continuar? [s/N] " + copiados + "Fim da Importação\n", "5/3/0", "", "s\n"},
      {{"zuv", "copiar", "--origem", "/nao/existe.fdb", "--destino", "$D", "--cliente"}, 2,
       "Erro ao abrir os dados, verifique o caminho do banco de dados \n", "6/3/3"},
      {mais(copia, {"--incluir-produtos", "--limpa-banco"}), 2, "--limpa-banco", "6/3/3"},
      {{"copiar", "--origem", "$O", "--cliente"}, 2, "--destino", "6/3/3"},
      // The fiscal check: usage errors and files it cannot read.
      {{"fiscal", "verificar", "$P/nao-existe.xlsx"}, 2, "nao-existe.xlsx", "6/3/3"},
      {{"fiscal", "verificar", "$P/clientes.xlsx"}, 2, "clientes.xlsx: a linha 1 não tem os títulos", "6/3/3"},
      {{"fiscal", "verificar", "$P/clientes.xlsx", "--tabela-ncm", "$P/zuv.ini"}, 2, "zuv.ini: esperava '{'", "6/3/3"},
  };
  // clang-format on
  const fs::path modelo = destino->pastaDados().parent_path().parent_path() / "clientes-modelo.xlsx";
  planilha({{"NOME"}, {"Ana"}, {"Bruno"}}, modelo);
  for (const Caso& c : casos) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + (c.digitado ? c.digitado : ""));
    SetUp();
    const auto troca = [&](std::string s) {
      for (const auto& [de, para] : {std::pair{"$O", origem->caminho().string()},
                                     {"$D", destino->caminho().string()},
                                     {"$P", destino->pastaPrograma().string()}})
        for (size_t i = s.find(de); i != std::string::npos; i = s.find(de, i + para.size()))
          s.replace(i, 2, para);
      return s;
    };
    if (!c.sql.empty()) destino->executaIsql(c.sql + ";");
    fs::copy_file(modelo, destino->pastaPrograma() / "clientes.xlsx");
    std::vector<std::string> args;
    for (const std::string& a : c.args)
      args.push_back(troca(a));
    EXPECT_EQ(Comando::roda(args, destino->pastaPrograma().string(), {}, c.digitado), c.status);
    const std::string tudo = saida.str() + erros.str();
    EXPECT_THAT(tudo, HasSubstr(troca(c.trecho)));
    if (!c.ausente.empty()) {
      EXPECT_THAT(tudo, Not(HasSubstr(c.ausente)));
    }
    EXPECT_EQ(destino->valor("select (select count(*) from PRODUTOESTOQUE) || '/' || (select count(*) from "
                             "CLIENTE) || '/' || (select count(*) from CLIENTE where CLIENTE starting with "
                             "'ANTIGO') from RDB$DATABASE"),
              c.banco);
  }
}

// The customer and product tasks on a fresh database of the schema fixture.
class ComandoNoBancoTest : public AmbienteClientes, public Comando {
 protected:
  // ctrlC: the progress step at which the person presses Ctrl+C (0: never).
  int roda(std::vector<std::string> args, int ctrlC = 0) {
    int passos = 0;
    return Comando::roda(std::move(args), pasta.string(), [&] { return ctrlC > 0 && ++passos >= ctrlC; });
  }
  // Through isql-fb: the tests close the connection first.
  long contaClientes() { return std::stol(banco->valor("select count(*) from cliente")); }
  fs::path copias() const { return banco->pastaDados() / "copias"; }
};

// A deletion undone with "restaurar" (the newest backup), and the restore undone in turn with the
// backup it took first; a backup that is not among the database's own needs --banco; "historico"
// lists the runs from the journal, newest first, and each journal entry opens with what ran.
TEST_F(ComandoNoBancoTest, RestaurarDesfazAExclusaoEAHistoriaGuardaCadaExecucao) {
  clientes({"C1", "C2", "C3", "C4"}, {2, 4});
  conexao.reset();  // another connection would keep the restore from starting
  EXPECT_EQ(roda({"clientes", "excluir", "--sim"}), 0) << erros.str();
  EXPECT_EQ(contaClientes(), 2);
  EXPECT_EQ(roda({"restaurar", "--sim"}), 0) << saida.str() << erros.str();
  EXPECT_EQ(contaClientes(), 4);
  EXPECT_THAT(saida.str(), StartsWith("Cópia de segurança: " + copias().string() + "/VENDAS_"));
  EXPECT_THAT(saida.str(), HasSubstr("_excluir_clientes.fbk\nDe "));
  EXPECT_THAT(saida.str(), HasSubstr(", tirada antes de \"excluir_clientes\".\nRestaurar " +
                                     banco->caminho().string() + " com a cópia de "));
  const std::string desfazer = "Para desfazer a restauração: importadorzuv restaurar '";
  const size_t inicio = saida.str().find(desfazer) + desfazer.size();
  ASSERT_GT(inicio, desfazer.size()) << saida.str();
  const std::string anterior = saida.str().substr(inicio, saida.str().find('\'', inicio) - inicio);
  EXPECT_THAT(anterior, HasSubstr("_antes-de-restaurar.fbk"));
  EXPECT_EQ(roda({"restaurar", anterior, "--sim"}), 0) << saida.str() << erros.str();
  EXPECT_EQ(contaClientes(), 2);

  // A backup kept elsewhere is restored only over the database named with --banco.
  const fs::path fora = pasta / "VENDAS_20260101_000000_guardada.fbk";
  fs::copy_file(anterior, fora);
  EXPECT_EQ(roda({"restaurar", fora.string(), "--sim"}), 1);
  EXPECT_THAT(saida.str(), HasSubstr("não é uma das cópias de " + banco->caminho().string()));
  EXPECT_EQ(roda({"restaurar", fora.string(), "--banco", banco->caminho().string(), "--nao"}), 1);
  EXPECT_THAT(erros.str(), HasSubstr("Nada foi restaurado."));

  EXPECT_EQ(roda({"historico", "--linhas", "2"}), 0);
  const std::string relatorios = (banco->pastaDados() / "relatorios").string();
  EXPECT_THAT(saida.str(),
              ContainsRegex(":\n\n[0-9/]+ [0-9:]+  restaurar  falhou: Nada foi restaurado\\.\n    De "
                            "VENDAS_20260101_000000_guardada.fbk\n    " +
                            relatorios +
                            "/[0-9_]+restaurar(_[0-9]+)?\\.csv\n"
                            "[0-9/]+ [0-9:]+  restaurar  concluída\n    De VENDAS_[0-9_]+antes-de-"
                            "restaurar.fbk\n    [^\n]+csv\n$"));
  EXPECT_EQ(roda({"historico"}), 0);
  const size_t fim = saida.str().find("clientes-excluir.csv"), comeco = saida.str().rfind("    ", fim) + 4;
  std::ifstream f(saida.str().substr(comeco, fim + 20 - comeco), std::ios::binary);
  const std::string entrada((std::istreambuf_iterator<char>(f)), {});
  EXPECT_THAT(entrada,
              StartsWith("\xEF\xBB\xBFTarefa;clientes excluir\r\nOpções;--pasta-programa " + pasta.string() +
                         " --sim\r\nOrigem;\r\nBanco;" + banco->caminho().string()));
  EXPECT_THAT(entrada, HasSubstr("\r\nLinhas;0 importadas, 0 atualizadas, 2 excluídas, 2 com erro\r\nCópia"));
  EXPECT_THAT(entrada,
              HasSubstr("\r\nTipo;Banco;Tabela;Incluídas;Alteradas;Excluídas;Situação;Onde;Causa\r\n"));
}

// While another connection uses the database (the ZUV system running, here through the real
// server), "restaurar" refuses, says so and touches nothing.
TEST_F(ComandoNoBancoTest, RestaurarRecusaUmBancoEmUso) {
  const char* servidor = std::getenv("ZUV_TEST_SERVIDOR");
  if (!servidor || !*servidor) GTEST_SKIP() << "ZUV_TEST_SERVIDOR is not set";
  clientes({"C1", "C2", "C3", "C4"}, {2, 4});
  conexao.reset();
  EXPECT_EQ(roda({"clientes", "excluir", "--sim"}), 0) << erros.str();
  // The server runs as its own user.
  for (const fs::path& p : {banco->pastaDados().parent_path(), banco->pastaDados()})
    chmod(p.c_str(), 0777);
  chmod(banco->caminho().c_str(), 0666);
  Conexao sistemaZuv("data source=" + std::string(servidor) + ":" + banco->caminho().string() +
                     ";user id=sysdba;password=quartzine;ctype=none");
  EXPECT_EQ(roda({"restaurar", "--sim"}), 1);
  EXPECT_THAT(saida.str(), HasSubstr("O banco de dados " + banco->caminho().string() +
                                     " está em uso por outra conexão ("));
  EXPECT_THAT(saida.str(), HasSubstr("Feche o sistema ZUV e tente de novo. Nada foi restaurado."));
  EXPECT_EQ(std::distance(fs::directory_iterator(copias()), {}), 1);
  EXPECT_EQ(sistemaZuv.abre("select count(*) from cliente").valor(0).comoInteiro(), 2);
}

// The real program killed (kill -9) while it backs the database up: nothing lies in copias/ under a
// backup's name; only the partial file, named as such. Nothing was deleted.
TEST_F(ComandoNoBancoTest, ABackupKilledMidwayLeavesNoFileUnderABackupsName) {
  conexao.reset();
  banco->executaIsql(
      "SET TERM ^;\nEXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 100000) DO BEGIN "
      "INSERT INTO CLIENTE (IDCLIENTE, CLIENTE, ENDERECO) VALUES (:I, 'CLIENTE ' || :I, 'RUA DAS FLORES'); "
      "I = I + 1; END END^\nSET TERM ;^\n");
  const pid_t filho = fork();
  ASSERT_GE(filho, 0);
  if (filho == 0) {
    const int nulo = open("/dev/null", O_WRONLY);
    dup2(nulo, STDOUT_FILENO);
    dup2(nulo, STDERR_FILENO);
    execl(ZUV_BINARY_DIR "/src/importadorzuv", "importadorzuv", "clientes", "excluir", "--sim",
          kOpcaoPastaPrograma, pasta.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // Killed once the backup has written part of its file.
  fs::path parcial;
  for (int i = 0; i < 30000 && parcial.empty(); ++i) {
    std::error_code e;
    for (fs::directory_iterator it(copias(), e), fim; !e && it != fim; it.increment(e))
      if (it->path().extension() == ".parcial" && fs::file_size(it->path(), e) > 0) parcial = it->path();
    if (parcial.empty()) usleep(1000);
  }
  kill(filho, SIGKILL);
  waitpid(filho, nullptr, 0);
  ASSERT_FALSE(parcial.empty()) << "the backup was never seen running";
  std::vector<std::string> arquivos;
  for (const auto& e : fs::directory_iterator(copias()))
    arquivos.push_back(e.path().filename().string());
  EXPECT_EQ(arquivos, std::vector<std::string>{parcial.filename().string()});
  EXPECT_TRUE(parcial.filename().string().ends_with("_excluir_clientes.fbk.parcial")) << parcial;
  EXPECT_EQ(contaClientes(), 100000);
}

// The options reach the product import: --grade reads a text grid (Windows-1252 when a Windows
// program saved it), --estoque and --nome-produto update an item, clean mode asks first.
TEST_F(ComandoNoBancoTest, ImportarLeAPlanilhaOuAGradeComAsCaixasDoFormulario) {
  const std::string grade = (pasta / "grade.txt").string();
  std::ofstream(grade) << "Barra\tNome\tUn\tCusto\tVenda\tEstoque\n7891\tArroz\tUN\t20,00\t25,00\t4\n"
                          "7892\tFeijão\tUN\t6,00\tcaro\t5\n";
  EXPECT_EQ(roda({"produtos", "importar", "--grade", grade}), 0) << erros.str();
  EXPECT_EQ(saida.str(),
            "Linha Excel: 2 Código Barra 7892 Valor de Venda CARO Descrição Programática: \"CARO\" não é um "
            "número.\nFim Importação\nFIM\n");
  EXPECT_THAT(erros.str(), HasSubstr("Produtos: 1 importados, 0 atualizados, 1 com erro, em "));
  std::ofstream(grade) << "Barra\n7891\tArroz tipo 1\tUN\t21,00\t26,00\t9\n";
  EXPECT_EQ(roda({"produtos", "importar", "--grade", grade, "--estoque", "--nome-produto"}), 0)
      << erros.str();
  EXPECT_EQ(um("select p.descricao || '/' || e.estoqueatual from produtoestoque e join produto p on "
               "p.idproduto = e.idproduto"),
            "ARROZ TIPO 1/9.000");
  std::ofstream(grade, std::ios::binary) << "Barra\n7893\tA\xE7\xFA"
                                            "car cristal\tUN\t3,00\t4,00\n";
  EXPECT_EQ(roda({"produtos", "importar", "--grade", grade}), 0) << saida.str();
  EXPECT_EQ(um("select p.descricao from produtoestoque e join produto p on p.idproduto = e.idproduto "
               "where e.barra = '7893'"),
            "ACUCAR CRISTAL");
  EXPECT_EQ(roda({"produtos", "importar", "--limpa-base", "--atualiza"}), 2);

  // Without a terminal and --sim clean mode stops at its question and deletes nothing.
  std::vector<std::string> limpa = {"produtos", "importar", "--limpa-base", "--grade", grade};
  EXPECT_EQ(roda(limpa), 2);
  EXPECT_EQ(conta("produto"), 2);
  limpa.push_back("--sim");
  EXPECT_EQ(roda(limpa), 0) << erros.str();
  EXPECT_THAT(saida.str(), HasSubstr(". Continuar? [s/N] s (--sim)\nFim Importação\nFIM\n"));
  EXPECT_EQ(conta("produtoestoque"), 1);
}

// The fiscal check before a workbook import: its findings go into the --relatorio file;
// they are not rows with errors (a run stopped at its question failed none).
TEST_F(ComandoNoBancoTest, FiscalFindingsGoIntoTheReport) {
  planilha({kCabecalhoProduto, {"7891", "Arroz", "UN", "20,00", "25,00", "4", "", "", "#1006"}},
           pasta / "produto.xlsx");
  const std::string csv = (pasta / "relatorio.csv").string();
  EXPECT_EQ(roda({"produtos", "importar", "--relatorio", csv}), 0) << erros.str();
  std::ifstream f(csv, std::ios::binary);
  EXPECT_THAT(std::string(std::istreambuf_iterator<char>(f), {}),
              HasSubstr("Falha;;;;;;;Linha 2, coluna I (NCM) de produto.xlsx;"));
  EXPECT_EQ(roda({"produtos", "importar", "--limpa-base"}), 2);
  EXPECT_EQ(roda({"historico", "--linhas", "1"}), 0);
  EXPECT_THAT(saida.str(), HasSubstr("\n    Linhas: 0 importadas, 0 atualizadas, 0 com erro\n"));
}

// Ctrl+C stops the import after the row in progress; the import's own rule decides what stays:
// it commits after six rows, then every five, so rows 7 and 8 go and 1 to 6 stay; --atomico keeps
// nothing.
TEST_F(ComandoNoBancoTest, CtrlCDizOndeParouEOQueFicaGravado) {
  std::ofstream grade(pasta / "grade.txt");
  grade << "Barra\tNome\tUn\tCusto\tVenda\tEstoque\n";
  for (int i = 1; i <= 10; ++i)
    grade << 7890 + i << "\tItem " << i << "\tUN\t1,00\t2,00\t1\n";
  grade.close();
  const std::vector<std::string> importar = {"produtos", "importar", "--grade",
                                             (pasta / "grade.txt").string()};
  auto comAtomico = importar;
  comAtomico.push_back("--atomico");
  using Caso = std::tuple<std::vector<std::string>, std::string, std::string, int>;
  for (const auto& [args, oQueFica, relatorio, itens] : std::vector<Caso>{
           {importar,
            "Fica gravado o que a operação já tinha confirmado no banco; o que ela ainda não tinha "
            "confirmado foi desfeito.",
            "PRODUTOESTOQUE: 6 incluídas", 6},
           {comAtomico, "Nada foi gravado: com --atomico a operação inteira é desfeita.",
            "nada foi gravado em VENDAS.FDB", 0}}) {
    conexao->executa("delete from produtoestoque");
    conexao->executa("delete from produto");
    // Step 1 is the bar's 0 before the first row: step 9 comes after row 8.
    EXPECT_EQ(roda(args, 9), kSaidaInterrompida) << erros.str();
    EXPECT_THAT(erros.str(),
                HasSubstr("importadorzuv: operação interrompida depois de 8 de 10 linhas.\n" + oQueFica));
    EXPECT_THAT(erros.str(), HasSubstr(relatorio));
    EXPECT_EQ(conta("produtoestoque"), itens);
    EXPECT_THAT(saida.str(), Not(HasSubstr("FIM")));
  }
}

// "sat" and "nfe" on the command line: the cycle with options for the check boxes and the answer
// to the reset question, and a run without an answer.
class ComandoTributosTest : public AmbienteTributos, public Comando {
 protected:
  int roda(std::vector<std::string> args) { return Comando::roda(std::move(args), pasta.string()); }
};

TEST_F(ComandoTributosTest, ExportaEditaImportaComOpcoes) {
  EXPECT_EQ(roda({"sat", "exportar"}), 0) << erros.str();
  EXPECT_EQ(saida.str(), sat().string() + "\n");
  editaPlanilha(sat(), {{2, 5, "#1012100"}, {2, 12, "#4"}});
  EXPECT_EQ(roda({"sat", "importar"}), 2);  // nobody to answer the reset question
  EXPECT_EQ(roda({"sat", "importar", "--manter-cfop", "--sem-pis", "--simular"}), 0) << erros.str();
  EXPECT_EQ(um("select count(*) from NCM"), "2");  // a dry run leaves nothing
  EXPECT_EQ(roda({"sat", "importar", "--manter-cfop", "--sem-pis"}), 0) << erros.str();
  EXPECT_EQ(saida.str(), "FIM\n");
  EXPECT_EQ(um("select n.CodigoNCM || '/' || coalesce(p.PisCSTSai, 0) from ProdutoEstoque p join NCM n on "
               "n.idNCM = p.idNCM where idItemProduto = 1"),
            "01012100/0");

  EXPECT_EQ(roda({"nfe", "exportar"}), 0) << erros.str();
  EXPECT_EQ(saida.str(), (pasta / "produtoNfe.xlsx").string() + "\n");
  EXPECT_EQ(roda({"nfe", "importar", "--excluir-cfop", "--atomico"}), 0) << erros.str();
  EXPECT_EQ(um("select count(*) from TribCFOP"), "3");                     // recreated from the SAT workbook
  EXPECT_EQ(roda({"nfe", "importar", "--icms-cad-produto", "--sim"}), 2);  // a SAT-only option

  // A reset the database refuses: the rows are imported, but the run failed in part and says so.
  conexao->executa("insert into TribCFOPVinculo (idCFOPEntrada, idCFOPSaida) values (2, 1)");
  EXPECT_EQ(roda({"sat", "importar", "--excluir-cfop", "--sem-copia"}), 1);
  EXPECT_TRUE(saida.str().starts_with("Erro ao Excluir CFOP ")) << saida.str();
  EXPECT_TRUE(saida.str().ends_with("\nFIM\n")) << saida.str();
  EXPECT_THAT(erros.str(), HasSubstr("parte dela falhou"));
}

// "importadorzuv fiscal verificar": what it prints and its exit status, with the tables from the
// options and from the settings file of the program folder.
class ComandoFiscalTest : public ComPlanilhasFiscais, public Comando {
 protected:
  void SetUp() override {
    ComPlanilhasFiscais::SetUp();
    unsetenv(kVariavelTabelaNcm);
    unsetenv(kVariavelTabelaCest);
    std::filesystem::create_directories(programa);
  }
  void TearDown() override {
    std::filesystem::remove(programa + "/" + kArquivoTabelasFiscais);
    ComPlanilhasFiscais::TearDown();
  }

  int roda(std::vector<std::string> args) { return Comando::roda(std::move(args), programa); }

  static std::string produtos(const std::string& nome, const std::string& ncm, const std::string& cest) {
    return planilha(
        nome, {kCabecalhoProduto,
               {"7891", "ITEM", "UN", "1", "2", "3", "G", "S", ncm, "18", "5102", "102", "00", cest, ""}});
  }

  std::string programa = pasta() + "/programa";
};

TEST_F(ComandoFiscalTest, SaidaZeroSemAchadosUmComAchados) {
  const std::string boa = produtos("boa.xlsx", "22030000", "0302100");
  EXPECT_EQ(roda({"fiscal", "verificar", boa, "--data", "08/12/2026"}), 0) << erros.str();
  EXPECT_EQ(saida.str(),
            "Sem tabelas oficiais: só as regras dos códigos (--tabela-ncm, --tabela-cest)\n"
            "Planilha: planilha de produtos (produto.xlsx), 1 linha de dados, verificada em 08/12/2026\n"
            "Nenhum achado.\n");

  const std::string ncm = arquivo("ncm.json", kNcmPequena), cest = arquivo("cest.html", kCestPequena);
  const std::string ruim = produtos("ruim.xlsx", "39139050", "1700100"), csv = pasta() + "/achados.csv";
  // One line per kind of finding; every finding with --detalhes and in the CSV of --relatorio.
  EXPECT_EQ(roda({"fiscal", "verificar", ruim, "--tabela-ncm", ncm, "--tabela-cest", cest, "--data",
                  "08/12/2026", "--detalhes", "--relatorio", csv}),
            1)
      << erros.str();
  EXPECT_EQ(
      saida.str(),
      "Tabela NCM: Vigente em 13/08/2026 (Resolução Gecex nº 926/2026), 4 códigos de 8 dígitos\n"
      "Tabela CEST: CONVÊNIO ICMS 142/18, 2 códigos (0 revogados)\n"
      "Planilha: planilha de produtos (produto.xlsx), 1 linha de dados, verificada em 08/12/2026\n"
      "NCM fora de vigência: 1 (linha 2, coluna I \"39139050\")\n"
      "CEST de outro NCM: 1 (linha 2, coluna N \"1700100\")\n"
      "Linha 2, coluna I (NCM) \"39139050\": NCM 39139050 deixou de vigorar em 30/09/2026\n"
      "Linha 2, coluna N (Código CEST) \"1700100\": CEST 1700100 não vale para o NCM 39139050: vale para "
      "NCM que começa com 1704.90.10\n"
      "2 achados.\n");
  std::ifstream f(csv, std::ios::binary);
  EXPECT_THAT(std::string(std::istreambuf_iterator<char>(f), {}),
              HasSubstr("\r\nFalha;;;;;;;Linha 2, coluna N (Código CEST) de ruim.xlsx;\"Verificação fiscal"));
  EXPECT_EQ(roda({"fiscal", "verificar", ruim, "--tabela-ncm", ncm, "--data", "08/12/2026"}), 1);
  EXPECT_THAT(erros.str(), HasSubstr("--detalhes"));  // without it, how to see every finding

  // The NCM table from the settings file of the program folder, by a relative path.
  std::filesystem::copy_file(ncm, programa + "/ncm.json", std::filesystem::copy_options::overwrite_existing);
  std::ofstream(programa + "/" + kArquivoTabelasFiscais) << "[tabelas]\nncm = ncm.json\n";
  EXPECT_EQ(roda({"fiscal", "verificar", ruim, "--data", "01/09/2026"}), 0);
  EXPECT_THAT(saida.str(), StartsWith("Tabela NCM: Vigente em 13/08/2026"));
}

}  // namespace
}  // namespace zuv::teste
