#pragma once
// Rows a connection inserted, updated and deleted, per table, counted from the engine's
// affected-row count of each statement. Feeds the change report of a run.
#include <map>
#include <string>

namespace zuv {

struct ContagemTabela {
  long long incluidos = 0, alterados = 0, excluidos = 0;
  bool operator==(const ContagemTabela&) const = default;
  long long total() const { return incluidos + alterados + excluidos; }
};

// By table name in upper case (a quoted name as written), in name order.
using Alteracoes = std::map<std::string, ContagemTabela>;

// The table an INSERT, UPDATE, DELETE, UPDATE OR INSERT or MERGE writes; "" for other statements.
std::string tabelaDaInstrucao(const std::string& sql);

// a + b, table by table.
void soma(Alteracoes& a, const Alteracoes& b);
bool vazias(const Alteracoes& a);  // no row changed in any table

}  // namespace zuv
