#include "dbcopy/NCMCFOPDestino.h"

#include <iterator>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/InstrucaoSQL.h"
#include "common/Limpeza.h"
#include "common/Texto.h"
#include "dbcopy/LiteraisCopia.h"
#include "dbcopy/ParBancos.h"
#include "dbcopy/ValoresCopia.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"
#include "schema/Registros.h"

namespace zuv::atualiza {

namespace {

constexpr TipoSQL FL = TipoSQL::FL;

std::string textoDe(const Recordset& rs, const char* coluna) {
  const Valor& v = rs.valor(coluna);
  if (v.nulo()) return {};
  return v.texto() ? v.comoTexto() : v.textoRegional(1);
}

// The record's columns (each read from the origin row by its name) and, but for the key, the
// literals of their assignments in the update.
constexpr ColunaSQL kColunasCFOP[] = {
    {"IDTRIBCFOP", FL}, {"TIPO"},           {"DESCRICAO"},     {"CREDICMS"},
    {"CREDIPI"},        {"GERADPL"},        {"ATUEST"},        {"PODERTERC"},
    {"ATUPRECOCOMPRA"}, {"CALCICMS"},       {"CALCIPI"},       {"CODFISCAL"},
    {"DESTACAIPI"},     {"IPIBASE"},        {"CALCDIFICMS"},   {"CALCIPIFRETE"},
    {"CALCISS"},        {"MATCONSUMO"},     {"DESPINTCUSTO"},  {"IPIINTCUSTO"},
    {"LFISCICMS"},      {"LFISCIPI"},       {"LFISCISS"},      {"NUMLIVRO"},
    {"LOCKED"},         {"CALCIPIDESPESA"}, {"ORIGEMPRODUTO"}, {"MENSAGEMNF"},
    {"OBSFISCAL"},      {"TRIBUTAICMS"},    {"STF"},           {"CCONTABIL"},
    {"CREDPIS"},        {"CREDCOFINS"},     {"CALCPIS"},       {"CALCCOFINS"},
    {"INSCESTSUBTRIB"}, {"LETRAIMPRESSAO"}, {"PORCINSS", FL},  {"REDICMS", FL},
    {"REDIPI", FL},
};
constexpr const char* kAtribuicoesCFOP[] = {
    nullptr,
    "TIPO       = ",
    "DESCRICAO      = ",
    "CREDICMS   = ",
    "CREDIPI            = ",
    "GERADPL            = ",
    "ATUEST             = ",
    "PODERTERC      = ",
    "ATUPRECOCOMPRA    = ",
    "CALCICMS   = ",
    "CALCIPI            = ",
    "CODFISCAL      = ",
    "DESTACAIPI     = ",
    "IPIBASE            = ",
    "CALCDIFICMS    = ",
    "CALCIPIFRETE   = ",
    "CALCISS            = ",
    "MATCONSUMO     = ",
    "DESPINTCUSTO   = ",
    "IPIINTCUSTO    = ",
    "LFISCICMS      = ",
    "LFISCIPI   = ",
    "LFISCISS   = ",
    "NUMLIVRO   = ",
    "LOCKED             = ",
    "CALCIPIDESPESA    = ",
    "ORIGEMPRODUTO      = ",
    "MENSAGEMNF     = ",
    "OBSFISCAL      = ",
    "TRIBUTAICMS    = ",
    "STF        = ",
    "CCONTABIL      = ",
    "CREDPIS            = ",
    "CREDCOFINS     = ",
    "CALCPIS            = ",
    "CALCCOFINS     = ",
    "INSCESTSUBTRIB    = ",
    "LETRAIMPRESSAO    = ",
    "PORCINSS   = ",
    "REDICMS            = ",
    "REDIPI             = ",
};
static_assert(std::size(kColunasCFOP) == std::size(kAtribuicoesCFOP));

}  // namespace

std::string insercaoTribCFOP(const Recordset& origem) {
  Insercao insercao(" Insert Into TRIBCFOP ( ", kColunasCFOP);
  insercao.separadores(" , ", ",");
  for (size_t i = 0; i < std::size(kColunasCFOP); ++i)
    insercao.valor(i, LiteralCopia(origem.valor(kColunasCFOP[i].nome), kColunasCFOP[i].tipo));
  return insercao.sql(" ) Values (");
}

std::string atualizacaoTribCFOP(const Recordset& origem, const std::string& id) {
  Atualizacao atualizacao(" Update  TRIBCFOP Set ");
  for (size_t i = 1; i < std::size(kColunasCFOP); ++i)
    atualizacao.campo(kAtribuicoesCFOP[i] +
                      LiteralCopia(origem.valor(kColunasCFOP[i].nome), kColunasCFOP[i].tipo));
  return atualizacao.sql(" Where IDTRIBCFOP = " + id);
}

std::string insercaoNCM(int32_t idNCM, const std::string& codigo, const std::string& descricao,
                        int32_t idGrupo, size_t tamanhoCodigo, size_t tamanhoDescricao) {
  const std::string completa = descricao + " - " + LimpaTexto(esquerda(descricao, 15), false);
  return Insercao(" Insert Into NCM ( ")
      .separadores(", ", ",")
      .campo("IDNCM", std::to_string(idNCM))
      .campo("CODIGONCM", aspas(esquerda(codigo, tamanhoCodigo)))
      .campo("DESCRICAO", aspas(esquerda(completa, tamanhoDescricao)))
      .campo("IDNCMGRUPO", std::to_string(idGrupo))
      .sql(" ) Values (");
}

NCMDestino::NCMDestino(Conexao& origem, Conexao& destino) : origem_(origem), destino_(destino) {
  // The destination's own column sizes, when its catalogue knows the columns.
  if (const int n = tamanhoColuna(destino_, "NCM", "CODIGONCM"); n > 0) tamanhoCodigo_ = n;
  if (const int n = tamanhoColuna(destino_, "NCM", "DESCRICAO"); n > 0) tamanhoDescricao_ = n;
}

Valor NCMDestino::idNCM(const Valor& idOrigem) {
  if (idOrigem.nulo()) return {};
  const std::string id = textoId(idOrigem);
  if (auto it = novos_.find(id); it != novos_.end()) return it->second;

  const Recordset ncm = origem_.abre("Select * From NCM Where idNCM =" + id);
  const std::string codigo = ncm.eof() ? std::string() : textoDe(ncm, "CodigoNCM");
  const std::string descricao = ncm.eof() ? std::string() : textoDe(ncm, "DESCRICAO");
  if (apara(codigo).empty()) return novos_[id] = Valor();  // no code, no record (nor group)

  // The group made for this origin NCM carries its identifier as description, so a later run
  // finds it again instead of adding another.
  int32_t grupo = 0;
  const Recordset achado =
      destino_.abre("Select IDNCMGRUPO From NCMGRUPO Where DESCRICAOGRUPO = " + aspas(id));
  if (!achado.eof() && achado.valor(0).numero()) {
    grupo = static_cast<int32_t>(achado.valor(0).paraDouble());
  } else {
    grupo =
        proximoGrupo_ ? ++proximoGrupo_ : (proximoGrupo_ = ProxCodigo(destino_, "IDNCMGRUPO", "NCMGRUPO"));
    const std::string g = std::to_string(grupo);
    destino_.executa(Insercao(" Insert Into  NCMGRUPO (")
                         .campo("IDNCMGRUPO", g)
                         .campo("CODIGONCMGRUPO", aspas(g))
                         .separadoresDoUltimo(", ", ",")
                         .campo("DESCRICAOGRUPO", aspas(id))
                         .sql(")  Values ( "));
  }
  const int32_t novo = proximoNCM_ ? ++proximoNCM_ : (proximoNCM_ = ProxCodigo(destino_, "IDNCM", "NCM"));
  destino_.executa(insercaoNCM(novo, codigo, descricao, grupo, tamanhoCodigo_, tamanhoDescricao_));
  return novos_[id] = Valor(int64_t{novo});
}

Valor CFOPDestino::idTribCFOP(const Valor& idOrigem) {
  if (idOrigem.nulo()) return {};
  const std::string id = textoId(idOrigem);
  if (auto it = feitos_.find(id); it != feitos_.end()) return it->second;
  const std::string consulta = "Select * From TRIBCFOP Where IDTRIBCFOP =" + id;
  const Recordset origem = origem_.abre(consulta);
  if (origem.eof()) {
    if (id == "0") return feitos_[id] = Valor();
    throw Erro("o registro " + id + " de TRIBCFOP não existe no banco de dados origem");
  }
  const bool existe = !destino_.abre(consulta).eof();
  destino_.executa(existe ? atualizacaoTribCFOP(origem, id) : insercaoTribCFOP(origem));
  return feitos_[id] = idOrigem;
}

}  // namespace zuv::atualiza
