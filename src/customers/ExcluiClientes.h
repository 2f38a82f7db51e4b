#pragma once
// Customer base deletion: removes every customer with its dependent records; customers the
// database still needs (sales, accounts) are kept whole and listed.
#include <optional>
#include <string>

#include "common/Resultado.h"
#include "common/Valor.h"
#include "schema/Tabelas.h"

namespace zuv {

class ContextoExecucao;

// The identifier as it is pasted into the statements, or nothing when it is not a whole number
// (such a customer is never put into a statement).
std::optional<std::string> textoIdCliente(const Valor& id);

// The list item of a customer the database refused to remove.
std::string itemClienteMantido(const std::string& id, const std::string& nome);

// The run of the button "Excluir Cadastro Cliente". Each customer's statements run in one
// transaction: a refused customer is rolled back whole, listed in lstCliente, and the run goes on.
// Before the first deletion the database is backed up (ContextoExecucao::copiaDeSeguranca); a failed
// backup stops the run. A failure outside the customers' statements (the backup, the snapshot) is
// shown with its description. Refused customers are also kept for the change report.
Resultado ExcluiClientes(ContextoExecucao& ctx);

}  // namespace zuv
