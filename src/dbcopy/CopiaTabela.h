#pragma once
// Customer table copy (MigraProduto): the destination's CLIENTE is replaced by the origin's rows,
// keyed 1 to the origin's row count in its first column, column by column as the destination
// lists them (LIBERAMENSAL is never written). Every value keeps its Firebird type: exact numbers,
// timestamps with their time, texts as stored.
//
// Everything is checked before the destination is touched (keys, columns, values); then the
// destination is backed up, emptied and filled in one transaction, rolled back on any failure.
// The origin is only read.
#include <string>

#include "common/Resultado.h"

namespace zuv {

class ContextoExecucao;
struct ParBancos;

inline constexpr const char* kTabelaClientes = "CLIENTE";
inline constexpr const char* kColunaNaoCopiada = "LIBERAMENSAL";
inline constexpr const char* kMensagemFimCopia = "Fim da Importação";

// The origin lacks key k (1..count): shown with the information icon, then kMensagemCampoEmBranco.
std::string mensagemChaveAusente(long chave);
inline constexpr const char* kMensagemCampoEmBranco = "O campo está em branco";
inline constexpr const char* kTituloCampoEmBranco = "Erro";

Resultado MigraProduto(ContextoExecucao& ctx, ParBancos& bancos, const std::string& tabela = kTabelaClientes);

}  // namespace zuv
