#include "tax/ExcluiCadastroCFOP.h"

#include <exception>

#include "common/Tela.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"
#include "platform/Transacao.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

bool ExcluiCadastroCFOP(ContextoExecucao& ctx, Conexao& conexao) {
  ctx.copiaDeSeguranca(conexao, "cfop");
  try {
    Transacao transacao(conexao);
    conexao.executa(kSoltaProdutosCFOP);
    conexao.executa(kSoltaCliDonoCFOP);
    for (Recordset registros = conexao.abre(kRegistrosCFOP); !registros.eof(); registros.proximo()) {
      const std::string id = registros.valor("idTribCFOP").textoRegional(1);
      bool exclui = true;
      for (const char* sonda : kSondasCFOP)
        if (!conexao.abre(sonda + id).eof()) exclui = false;
      if (exclui) conexao.executa(kExcluiUmCFOP + id);
    }
    conexao.executa(kExcluiTodosCFOP);
    transacao.confirma();
    return true;
  } catch (const std::exception& e) {
    ctx.tela().mensagem(kMensagemErroExcluiCFOP + std::string(e.what()), Icone::Informacao);
    return false;
  }
}

}  // namespace zuv
