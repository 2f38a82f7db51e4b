#pragma once
// The NCM and fiscal-operation records of the stock items the predefined migration copies.
// NCM records are renumbered in the destination: each origin NCM is created once per run and
// every stock item that names it links to that one record. Fiscal operations (TRIBCFOP) keep
// their origin identifiers, like the other reference records.
#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>

#include "common/Valor.h"

namespace zuv {

class Conexao;
class Recordset;

namespace atualiza {

class NCMDestino {
 public:
  NCMDestino(Conexao& origem, Conexao& destino);
  // The IDNCM the stock item receives for its origin idNCM: Null for a null idNCM or an origin
  // NCM without a code, otherwise the destination record made for that origin NCM.
  Valor idNCM(const Valor& idOrigem);

 private:
  Conexao& origem_;
  Conexao& destino_;
  std::unordered_map<std::string, Valor> novos_;  // origin idNCM -> destination IDNCM (or Null)
  int32_t proximoNCM_ = 0, proximoGrupo_ = 0;     // 0 until read from the destination
  size_t tamanhoCodigo_ = 10, tamanhoDescricao_ = 250;
};

class CFOPDestino {
 public:
  CFOPDestino(Conexao& origem, Conexao& destino) : origem_(origem), destino_(destino) {}
  // The IDTRIBCFOP the stock item receives: the origin's identifier, its record copied; Null for
  // a null identifier, and for 0 when the origin has no record 0 (a stock item's "no fiscal
  // operation"). Throws Erro when the origin lacks any other record.
  Valor idTribCFOP(const Valor& idOrigem);

 private:
  Conexao& origem_;
  Conexao& destino_;
  std::unordered_map<std::string, Valor> feitos_;
};

// The statements of one TRIBCFOP record, from its origin row (the columns of `origem` by name).
std::string insercaoTribCFOP(const Recordset& origem);
std::string atualizacaoTribCFOP(const Recordset& origem, const std::string& id);

// " Insert Into NCM ( IDNCM, ... ) Values (...)": the description followed by " - " and its first
// 15 characters cleaned, code and description quoted and cut to their column sizes.
std::string insercaoNCM(int32_t idNCM, const std::string& codigo, const std::string& descricao,
                        int32_t idGrupo, size_t tamanhoCodigo = 10, size_t tamanhoDescricao = 250);

}  // namespace atualiza
}  // namespace zuv
