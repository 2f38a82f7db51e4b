#pragma once
// The lookups of a run whose transaction holds their table for protected write (an all-or-nothing
// or dry run, Conexao::reservada): nobody else can write the table meanwhile, so a SELECT asked again
// gives the rows it gave the first time, and only the run's own inserts can change them. Each record
// is then read once per run instead of once per row. The run says which of its inserts may change a
// kept answer (esquece); outside such a run every lookup goes to the database, as the system does.
// A run that rolls part of itself back (a savepoint) must forget what that part may have changed.
#include <string>
#include <unordered_map>

#include "platform/Recordset.h"

namespace zuv {

class Conexao;

class ConsultasGuardadas {
 public:
  explicit ConsultasGuardadas(Conexao& conexao) : conexao_(conexao) {}

  // The rows of sql, a lookup on tabela, at the first row.
  Recordset abre(const std::string& tabela, const std::string& sql);
  // After an insert into tabela that only the lookup sql can see (one that found nothing before):
  // it is asked of the database again.
  void esquece(const std::string& tabela, const std::string& sql);
  // After an insert that any lookup of tabela may see: all of them are asked again.
  void esquece(const std::string& tabela);
  // Whether the lookups of tabela are kept (the run holds the table).
  bool guarda(const std::string& tabela) const;

 private:
  Conexao& conexao_;
  std::unordered_map<std::string, std::unordered_map<std::string, Recordset>> guardadas_;  // by table
};

}  // namespace zuv
