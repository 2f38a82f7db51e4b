// "importadorzuv restaurar [ARQUIVO.fbk] [--banco BANCO] [--sim]": puts a backup back over its
// database (RestauraCopia), the newest backup of the ZUV database when no file is named. The
// question is answered by --sim / --nao; without them a terminal asks.
#include <memory>

#include "cli/LinhaDeComando.h"
#include "shell/ContextoExecucao.h"
#include "shell/PastaPrograma.h"
#include "shell/RestauraCopia.h"

namespace zuv {
namespace {

void registra(CLI::App& programa, Tarefas& tarefas) {
  auto* restaurar = programa.add_subcommand(
      "restaurar",
      "Restaura uma cópia de segurança sobre o seu banco (com o sistema ZUV fechado); o estado atual é "
      "copiado antes, para que a restauração também possa ser desfeita");
  auto o = std::make_shared<OpcoesRestauracao>();
  restaurar
      ->add_option("arquivo", o->arquivo,
                   "A cópia (.fbk); sem ela, a mais recente do banco do ZUV, em copias/ ao lado dele")
      ->type_name("ARQUIVO.fbk");
  restaurar
      ->add_option("--banco", o->banco,
                   "O banco a restaurar (padrão: o VENDAS.FDB da pasta de zuv.ini); exigido para uma cópia "
                   "que não está em copias/ ao lado dele")
      ->type_name("BANCO");
  tarefas.executa(restaurar, [o, restaurar](Tela& tela) {
    ContextoExecucao ctx(tela, pastaPrograma());
    ctx.descreve(nomeDaTarefa(restaurar), opcoesDadas(restaurar));
    return executaNoContexto(ctx, [o](ContextoExecucao& c) { return RestauraCopia(c, *o); });
  });
}

}  // namespace
ZUV_TAREFA_CLI("restaurar", registra);
}  // namespace zuv
