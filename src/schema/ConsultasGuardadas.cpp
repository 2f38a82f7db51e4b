#include "schema/ConsultasGuardadas.h"

#include "common/Texto.h"
#include "platform/Conexao.h"

namespace zuv {

bool ConsultasGuardadas::guarda(const std::string& tabela) const {
  return conexao_.atomica() && conexao_.reservada(tabela);
}

Recordset ConsultasGuardadas::abre(const std::string& tabela, const std::string& sql) {
  if (!guarda(tabela)) return conexao_.abre(sql);
  auto& daTabela = guardadas_[maiusculas(tabela)];
  auto it = daTabela.find(sql);
  if (it == daTabela.end()) it = daTabela.emplace(sql, conexao_.abre(sql)).first;
  return it->second.clone();
}

void ConsultasGuardadas::esquece(const std::string& tabela, const std::string& sql) {
  if (auto it = guardadas_.find(maiusculas(tabela)); it != guardadas_.end()) it->second.erase(sql);
}

void ConsultasGuardadas::esquece(const std::string& tabela) {
  guardadas_.erase(maiusculas(tabela));
}

}  // namespace zuv
