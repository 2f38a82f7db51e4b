#pragma once
// The predefined migration ("Limpa Banco e Cadastra Produtos"): empties the destination and copies
// every origin stock item with its product and the records it refers to under their own
// identifiers.
#include "common/Resultado.h"

namespace zuv {

class ContextoExecucao;
struct ParBancos;

// Reads the origin, writes the destination of bancos; talks through ctx.tela().
Resultado AtualizaBanco(ContextoExecucao& ctx, ParBancos& bancos);

// Shown while this version has no predefined migration.
inline constexpr const char* kMensagemPredefinidaIndisponivel =
    "A migração pré-definida (Limpa Banco e Cadastra Produtos) ainda não está disponível nesta "
    "versão. Nada foi alterado. Para copiar os produtos mantendo os do destino, escolha \"Incluir "
    "Produtos e Deixa os Produtos que já possui\".";

}  // namespace zuv
