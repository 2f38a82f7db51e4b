#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "cli/ApoioComando.h"
#include "customers/AmbienteClientes.h"

namespace zuv::teste {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class ComandoClientesTest : public AmbienteClientes, public Comando {
 protected:
  int roda(std::vector<std::string> args) { return Comando::roda(std::move(args), pasta.string()); }
  // Through isql-fb: the tests close the connection first.
  long contaClientes() { return std::stol(banco->valor("select count(*) from cliente")); }
  fs::path copias() const { return banco->pastaDados() / "copias"; }
};

// A deletion undone with "restaurar" (the newest backup), and the restore undone in turn with the
// backup it took first; a backup that is not among the database's own needs --banco; "historico"
// lists the runs from the journal, newest first, and each journal entry opens with what ran.
TEST_F(ComandoClientesTest, RestaurarDesfazAExclusaoEAHistoriaGuardaCadaExecucao) {
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
  EXPECT_THAT(saida.str(),
              ContainsRegex("  restaurar  concluída\n    De VENDAS_[0-9_]+excluir_clientes.fbk\n"));
  const size_t fim = saida.str().find("clientes-excluir.csv"), comeco = saida.str().rfind("    ", fim) + 4;
  std::ifstream f(saida.str().substr(comeco, fim + 20 - comeco), std::ios::binary);
  const std::string entrada((std::istreambuf_iterator<char>(f)), {});
  EXPECT_THAT(entrada,
              StartsWith("\xEF\xBB\xBFTarefa;clientes excluir\r\nOpções;--pasta-programa " + pasta.string() +
                         " --sim\r\nOrigem;\r\nBanco;" + banco->caminho().string() + "\r\nInício;"));
  EXPECT_THAT(entrada,
              HasSubstr("\r\nResultado;concluída\r\nLinhas;0 importadas, 0 atualizadas, 2 excluídas, 2 "
                        "com erro\r\nCópia de segurança;" +
                        copias().string() + "/VENDAS_"));
  EXPECT_THAT(entrada,
              HasSubstr("\r\n\r\nTipo;Banco;Tabela;Incluídas;Alteradas;Excluídas;Situação;Onde;Causa\r\n"
                        "Alteração;VENDAS.FDB;CLICONTA;0;0;2;gravadas;;\r\nAlteração;VENDAS.FDB;CLIENTE;0;0;"
                        "2;gravadas;;\r\n"));
}

// While another connection uses the database (the ZUV system running, here through the real
// server), "restaurar" refuses, says so and touches nothing.
TEST_F(ComandoClientesTest, RestaurarRecusaUmBancoEmUso) {
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
TEST_F(ComandoClientesTest, ABackupKilledMidwayLeavesNoFileUnderABackupsName) {
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

}  // namespace
}  // namespace zuv::teste
