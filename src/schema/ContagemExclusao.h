#pragma once
// What a wipe will remove, counted before it runs, for the question that comes first: the rows of
// every table its "Delete from" statements empty, named as the person knows them ("3 378 produtos,
// 12 040 vendas e 310 contas").
#include <string>
#include <utility>
#include <vector>

namespace zuv {

class Conexao;

// Rows per table (upper case), in the order the statements first name them. Tables that are empty
// or that the database does not have are left out; UPDATE statements count nothing.
std::vector<std::pair<std::string, long long>> contaExclusao(Conexao& conexao,
                                                             const std::vector<std::string>& instrucoes);

// The counts in words with their verb: the tables the person knows by name first, in that order,
// then the others together: "3 378 produtos, 12 040 vendas e 1 520 outros registros (ITEMSAIDA,
// CONTADET) serão excluídos" ("seriam excluídos" when condicional). "" when there is nothing.
std::string textoExclusao(const std::vector<std::pair<std::string, long long>>& contagens,
                          bool condicional = false);

}  // namespace zuv
