#pragma once
// The product import on a connection and an interaction, as ImportaPlanilhaProduto runs it inside
// its run context; in clean mode `confirmaLimpeza` asks first (false: nothing is wiped or
// imported) and `copiaDeSeguranca` is called just before the catalogue is wiped.
#include <functional>
#include <string>

#include "migration/ImportaPlanilhaProduto.h"

namespace zuv {

class Conexao;
class Tela;

struct AmbienteImportacao {
  Conexao& conexao;
  Tela& tela;
  std::string pastaPrograma;
  std::function<void()> copiaDeSeguranca;
  // A failed row, for the change report: where (the sheet row) and why.
  std::function<void(const std::string&, const std::string&)> registraFalha;
  // Side information for the person (the summary), not one of the system's messages.
  std::function<void(const std::string&)> nota;
  std::function<bool()> confirmaLimpeza;
};

Resultado importaProdutos(AmbienteImportacao& ambiente, const OpcoesImportacaoProduto& opcoes,
                          ResumoImportacaoProduto& resumo);

}  // namespace zuv
