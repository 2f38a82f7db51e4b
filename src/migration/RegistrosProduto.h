#pragma once
// The reference records a product row points to: found in the ZUV database by the form they are
// stored in, or created with the next identifier. Each function runs its statements on the
// connection and returns the identifier; a failing statement throws ErroBanco (the row fails).
#include <cstdint>
#include <optional>
#include <string>

namespace zuv {

class Conexao;

// Unit, group and sub-group are looked up as the import stores them, then as the row wrote them
// (`escrito`: a record the ZUV system wrote keeps its accents), and created in the stored form when
// neither is found.
// Unit: stored as 2 characters, upper case, cleaned; the prepared text is tried first.
int32_t unidadeDoProduto(Conexao& conexao, const std::string& unidade, const std::string& escrito = {});
// Product group (cut to 50; empty means "DIVERSOS") and sub-group (cut to 30; none when empty).
int32_t grupoDoProduto(Conexao& conexao, const std::string& grupo, const std::string& escrito = {});
std::optional<int32_t> subGrupoDoProduto(Conexao& conexao, const std::string& subGrupo,
                                         const std::string& escrito = {});

// NCM record of the code: found (its CEST rewritten when the row has one) or created with an NCM
// group named by the first 20 characters of the product's description.
int32_t ncmDoProduto(Conexao& conexao, const std::string& ncm, const std::string& cest,
                     const std::string& descricao);

// ECF rate of the rate text (none when empty or above 99). Throws ErroConversao for a text that is
// not a number.
std::optional<int32_t> aliquotaDoProduto(Conexao& conexao, const std::string& aliquota, int estilo);

// TribCFOP record of the CFOP; a new one gets the row's CST code.
int32_t tribCfopDoProduto(Conexao& conexao, const std::string& cfop, const std::string& codigoCst);

// CST code of the CSOSN text (created when missing); "" for an empty text.
std::string cstDoProduto(Conexao& conexao, const std::string& csosn);

// The TribCFOP insert of a new CFOP record.
std::string insercaoTribCfop(int32_t id, const std::string& cfop, const std::string& codigoCst);

}  // namespace zuv
