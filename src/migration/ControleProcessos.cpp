#include "migration/ControleProcessos.h"

#include <exception>

#include "common/Tela.h"
#include "migration/MigracaoPadrao.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

Resultado ListarProcessos(ContextoExecucao& ctx) {
  Tela& tela = ctx.tela();
  tela.limpaItens(kControleProcessos);
  for (const std::string& nome : ListaProcessos())
    tela.adicionaItem(kControleProcessos, nome);
  return Resultado::concluido();
}

Resultado EncerrarProcessos(ContextoExecucao& ctx, const OpcoesEncerraProcesso& opcoes) {
  Tela& tela = ctx.tela();
  try {
    if (ctx.simulacao()) {
      // A dry run stops nothing and leaves the program running.
      tela.nota("Simulação: " + std::to_string(processosDoUsuario(opcoes.nome).size()) + " processo(s) \"" +
                opcoes.nome + "\" deste usuário seriam encerrados.");
      tela.mensagem("FIM", Icone::Informacao);
      return Resultado::concluido();
    }
    EncerraProcesso(opcoes.nome);
  } catch (const std::exception& e) {
    const std::string texto = std::string("Erro ao encerrar o processo ") + e.what();
    tela.mensagem(texto);
    return Resultado::falhou(texto);
  }
  tela.mensagem("FIM", Icone::Informacao);
  return Resultado::encerrar();
}

}  // namespace zuv
