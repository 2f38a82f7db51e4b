// The process list and stop over /proc, on a dummy process this test starts under a unique name
// (a copy of sleep): only that name is ever stopped.
#include "migration/Processos.h"

#include "migration/ControleProcessos.h"
#include "shell/ContextoExecucao.h"
#include "support/TelaGravadora.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace zuv {
namespace {

namespace fs = std::filesystem;

class ProcessoFicticio : public ::testing::Test {
 protected:
  void SetUp() override {
    // Longer than the 15 characters /proc/<pid>/comm keeps.
    nome = "zuvteste_processo_" + std::to_string(getpid());
    pasta = fs::temp_directory_path() / nome;
    fs::create_directories(pasta);
    fs::copy_file("/bin/sleep", pasta / nome);
  }
  void TearDown() override {
    for (pid_t p : iniciados) {
      kill(p, SIGKILL);
      waitpid(p, nullptr, 0);
    }
    fs::remove_all(pasta);
  }
  pid_t inicia() {
    const std::string programa = (pasta / nome).string();
    char* argv[] = {const_cast<char*>(programa.c_str()), const_cast<char*>("60"), nullptr};
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, programa.c_str(), nullptr, nullptr, argv, environ), 0);
    iniciados.push_back(pid);
    // Until the exec has happened the child still carries this program's name.
    for (int i = 0; i < 1000 && processosDoUsuario(nome).size() < iniciados.size(); ++i)
      usleep(10'000);
    return pid;
  }
  // True when the child ended (and reaps it).
  bool terminou(pid_t pid) {
    for (int i = 0; i < 300; ++i) {
      if (waitpid(pid, nullptr, WNOHANG) == pid) {
        std::erase(iniciados, pid);
        return true;
      }
      usleep(10'000);
    }
    return false;
  }

  std::string nome;
  fs::path pasta;
  std::vector<pid_t> iniciados;
};

TEST_F(ProcessoFicticio, ListaEEncerraSoOsDoNomeExato) {
  const pid_t a = inicia(), b = inicia();
  const auto nomes = ListaProcessos();
  EXPECT_EQ(std::count(nomes.begin(), nomes.end(), nome), 2);  // whole name, lower case

  // Part of the name, or the name with more after it, stops nothing.
  EXPECT_FALSE(EncerraProcesso(nome.substr(0, 15)));
  EXPECT_FALSE(EncerraProcesso(nome + "x"));
  EXPECT_EQ(processosDoUsuario(nome).size(), 2u);

  // "Encerrar Processo": a dry run stops nothing and keeps the program; the real one stops both
  // copies, whatever the case of the name asked for, shows "FIM" and ends the program.
  std::string maiusculo = nome;
  std::transform(maiusculo.begin(), maiusculo.end(), maiusculo.begin(), ::toupper);
  teste::TelaGravadora tela;
  OpcoesExecucao simular;
  simular.simular = true;
  auto encerra = [&](ContextoExecucao& c) { return EncerrarProcessos(c, OpcoesEncerraProcesso{maiusculo}); };
  ContextoExecucao seco(tela, "/", simular), ctx(tela, "/");
  EXPECT_EQ(executaNoContexto(seco, encerra), Resultado::concluido());
  EXPECT_EQ(processosDoUsuario(nome).size(), 2u);
  EXPECT_EQ(executaNoContexto(ctx, encerra), Resultado::encerrar());
  EXPECT_TRUE(terminou(a));
  EXPECT_TRUE(terminou(b));
  EXPECT_EQ(tela.textosDasMensagens(), (std::vector<std::string>{"FIM", "FIM"}));
  EXPECT_EQ(tela.mensagens[1].icone, Icone::Informacao);
  EXPECT_FALSE(EncerraProcesso(nome));  // none left
}

}  // namespace
}  // namespace zuv
