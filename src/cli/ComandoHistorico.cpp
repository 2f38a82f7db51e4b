// "importadorzuv historico [--linhas N]": the recent runs that wrote the program folder's ZUV
// database, from the journal beside it (relatorios/).
#include <memory>

#include "cli/LinhaDeComando.h"
#include "common/Erro.h"
#include "common/Tela.h"
#include "shell/DiarioExecucoes.h"
#include "shell/LocalDoBanco.h"
#include "shell/PastaPrograma.h"

namespace zuv {
namespace {

void registra(CLI::App& programa, Tarefas& tarefas) {
  auto* historico = programa.add_subcommand(
      "historico", "Lista as últimas execuções que gravaram no banco do ZUV (relatorios/ ao lado dele)");
  auto linhas = std::make_shared<size_t>(20);
  historico->add_option("--linhas", *linhas, "Quantas execuções mostrar, das mais recentes")
      ->type_name("N")
      ->capture_default_str();
  tarefas.executa(historico, [linhas](Tela& tela) {
    try {
      tela.mensagem(historicoDoBanco(localDoBancoZUV(pastaPrograma()), *linhas), Icone::Informacao);
    } catch (const ErroConfiguracao& e) {
      tela.mensagem(e.what(), Icone::Informacao);
      return Resultado::encerrar(MotivoFim::Configuracao);
    }
    return Resultado::concluido();
  });
}

}  // namespace
ZUV_TAREFA_CLI("historico", registra);
}  // namespace zuv
