#pragma once
// The reference records a product row points to: unit, group, sub-group, NCM (with its group and
// CEST), ECF rate, CFOP record and CST code, found by the form they are stored in or created with
// the next identifier (ProxCodigo). Each lookup is the system's statement on the connection; in
// kept mode (an all-or-nothing run that holds the tables against other writers) the tables are
// read once and kept current as records are created, which gives the same answers without a
// statement per row. A failing statement throws ErroBanco (the row fails).
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/InstrucaoSQL.h"

namespace zuv {

class Conexao;

class RegistrosProduto {
 public:
  RegistrosProduto(Conexao& conexao, bool mantidos);

  // Unit, group and sub-group are looked up as the import stores them, then as the row wrote them
  // (`escrito`: a record the ZUV system wrote keeps its accents), and created in the stored form
  // when neither is found.
  // Unit: stored as 2 characters, upper case, cleaned; the prepared text is tried first.
  int32_t unidade(const std::string& unidade, const std::string& escrito = {});
  // Product group (cut to 50; empty means "DIVERSOS") and sub-group (cut to 30; none when empty).
  int32_t grupo(const std::string& grupo, const std::string& escrito = {});
  std::optional<int32_t> subGrupo(const std::string& subGrupo, const std::string& escrito = {});
  // NCM record of the code: found (its CEST rewritten when the row has one) or created with an NCM
  // group named by the first 20 characters of the product's description.
  int32_t ncm(const std::string& ncm, const std::string& cest, const std::string& descricao);
  // ECF rate of the rate text (none when empty or above 99). Throws ErroConversao for a text that
  // is not a number.
  std::optional<int32_t> aliquota(const std::string& aliquota, int estilo);
  // TribCFOP record of the CFOP; a new one gets the row's CST code.
  int32_t tribCfop(const std::string& cfop, const std::string& codigoCst);
  // CST code of the CSOSN text (created when missing); "" for an empty text.
  std::string cst(const std::string& csosn);

  // Kept mode: what the kept tables have learnt since marca(), undone by desfazAte(marca) when
  // the row that created those records is rolled back.
  size_t marca() const { return desfazer_.size(); }
  void desfazAte(size_t marca);
  // The row went in: what it taught stays, and nothing of it is kept for undoing.
  void fixa() { desfazer_.clear(); }

 private:
  // A kept table: the first identifier of each stored text, compared as the database compares
  // texts (blanks at the end do not count).
  using Tabela = std::unordered_map<std::string, int32_t>;
  void carrega();
  std::optional<int32_t> procura(Tabela& tabela, const std::string& consulta, const char* campo,
                                 std::initializer_list<std::string> textos);
  void guarda(Tabela& tabela, const std::string& texto, int32_t id);

  Conexao& conexao_;
  bool mantidos_;
  bool carregados_ = false;
  Tabela unidades_, grupos_, subGrupos_, ncmGrupos_, tribCfops_;
  std::unordered_map<std::string, std::pair<int32_t, std::string>> ncms_;  // code -> id, CEST
  std::map<int64_t, int32_t> aliquotas_;                                   // rate x 10 000 -> id
  std::unordered_map<std::string, std::string> csts_;                      // code -> code as stored
  std::vector<std::function<void()>> desfazer_;
};

// The insert of a new TribCFOP record, as the system writes it.
Insercao insercaoTribCfop(int32_t id, const std::string& cfop, const std::string& codigoCst);

}  // namespace zuv
