#pragma once
// The records a stock item points to (unit, product group, sub-group, location, manufacturer),
// copied into the destination under the origin's identifiers: inserted when the destination
// lacks the identifier, overwritten with the origin's values when it has it.
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/InstrucaoSQL.h"
#include "dbcopy/LiteraisCopia.h"
#include "dbcopy/ValoresCopia.h"

namespace zuv {

class Conexao;
class Recordset;

namespace atualiza {

struct Atribuicao {
  const char* literal;  // "DESCRICAO = "
  const char* coluna;   // origin column
  TipoSQL tipo;
};

struct TipoReferencia {
  const char* colunaItem;  // the stock item's column naming the record
  const char* tabela;      // for messages
  const char* consulta;    // lookup, followed by the identifier
  // The insert: cabecaInsercao + the columns (each read from the origin row by its name) joined by
  // entreColunas + meioInsercao + the values joined by "," + ")".
  const char* cabecaInsercao;
  std::vector<ColunaSQL> colunas;
  const char* entreColunas;
  const char* meioInsercao;
  const char* cabecaAtualizacao;
  std::vector<Atribuicao> atribuicoes;
  const char* chave;  // key literal of the update, followed by the identifier
};

extern const TipoReferencia kUnidade, kGrupo, kSubGrupo, kLocal, kFabricante;
// In the order the copy runs them for each stock item.
extern const TipoReferencia* const kReferencias[5];

// The insert of a record from its origin row (with another identifier literal when given); the
// update of the destination record `id`.
std::string insercaoReferencia(const TipoReferencia& tipo, const Recordset& origem,
                               const std::optional<std::string>& outroId = {});
std::string atualizacaoReferencia(const TipoReferencia& tipo, const Recordset& origem, const std::string& id);

// Brings each record into the destination once per run: every stock item pointing to it would
// write the same origin values again.
class RegistrosReferencia {
 public:
  RegistrosReferencia(Conexao& origem, Conexao& destino) : origem_(origem), destino_(destino) {}
  // Nothing for a null identifier. Throws Erro when the origin lacks the record (the stock item
  // would point to nothing), ErroBanco when the destination refuses a statement.
  void garante(const TipoReferencia& tipo, const Valor& id);

 private:
  Conexao& origem_;
  Conexao& destino_;
  std::set<std::pair<const TipoReferencia*, std::string>> feitos_;
};

}  // namespace atualiza
}  // namespace zuv
