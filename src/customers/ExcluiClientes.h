#pragma once
// Customer base deletion: removes every customer with its dependent records; customers the
// database still needs (sales, accounts) are kept whole and listed.
#include <optional>
#include <string>

#include "common/Resultado.h"
#include "common/Valor.h"

namespace zuv {

class Conexao;
class Tela;

// The dependent tables, emptied for a customer before the customer itself, in this order.
inline constexpr const char* kExclusoesCliente[] = {
    "Delete From ClienteCobranca where idcliente = ", "Delete From ClienteEntrega where idcliente = ",
    "Delete From cliconta where idcliente = ",        "Delete From CliTrab where idcliente = ",
    "Delete From CLIREF where idcliente = ",          "Delete From ClienteAnotacao where idcliente = ",
    "Delete From Contacliente where idcliente = ",    "Delete From Cliente where idcliente = ",
};

// The identifier as it is pasted into the statements, or nothing when it is not a whole number
// (such a customer is never put into a statement).
std::optional<std::string> textoIdCliente(const Valor& id);

// The list item of a customer the database refused to remove.
std::string itemClienteMantido(const std::string& id, const std::string& nome);

// The run of the button "Excluir Cadastro Cliente". Each customer's statements run in one
// transaction: a refused customer is rolled back whole, listed in lstCliente, and the run goes on.
// A failure outside the customers' statements (the snapshot) is shown with its description.
Resultado ExcluiClientes(Conexao& conexao, Tela& tela);

}  // namespace zuv
