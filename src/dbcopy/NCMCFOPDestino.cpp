#include "dbcopy/NCMCFOPDestino.h"

#include "common/ConverteSQL.h"
#include "common/Erro.h"
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

constexpr TipoCopia FL = TipoCopia::FL, CH = TipoCopia::CH;

std::string textoDe(const Recordset& rs, const char* coluna) {
  const Valor& v = rs.valor(coluna);
  if (v.nulo()) return {};
  return v.texto() ? v.comoTexto() : v.textoRegional(1);
}

struct ColunaCFOP {
  const char* coluna;      // destination column in the insert
  const char* atribuicao;  // literal of the update (none for the key)
  const char* origem;      // origin column
  TipoCopia tipo;
};

const ColunaCFOP kColunasCFOP[] = {
    {"IDTRIBCFOP", nullptr, "idTribCFOP", FL},
    {"TIPO", "TIPO       = ", "Tipo", CH},
    {"DESCRICAO", "DESCRICAO      = ", "DESCRICAO", CH},
    {"CREDICMS", "CREDICMS   = ", "CredICMS", CH},
    {"CREDIPI", "CREDIPI            = ", "CredIPI", CH},
    {"GERADPL", "GERADPL            = ", "GeraDPL", CH},
    {"ATUEST", "ATUEST             = ", "AtuEst", CH},
    {"PODERTERC", "PODERTERC      = ", "PoderTerc", CH},
    {"ATUPRECOCOMPRA", "ATUPRECOCOMPRA    = ", "AtuPrecoCompra", CH},
    {"CALCICMS", "CALCICMS   = ", "CalcICMS", CH},
    {"CALCIPI", "CALCIPI            = ", "CalcIPI", CH},
    {"CODFISCAL", "CODFISCAL      = ", "CodFiscal", CH},
    {"DESTACAIPI", "DESTACAIPI     = ", "DestacaIPI", CH},
    {"IPIBASE", "IPIBASE            = ", "IPIBase", CH},
    {"CALCDIFICMS", "CALCDIFICMS    = ", "CalcDifICMS", CH},
    {"CALCIPIFRETE", "CALCIPIFRETE   = ", "CalcIPIFrete", CH},
    {"CALCISS", "CALCISS            = ", "CalcISS", CH},
    {"MATCONSUMO", "MATCONSUMO     = ", "MatConsumo", CH},
    {"DESPINTCUSTO", "DESPINTCUSTO   = ", "DespIntCusto", CH},
    {"IPIINTCUSTO", "IPIINTCUSTO    = ", "IPIIntCusto", CH},
    {"LFISCICMS", "LFISCICMS      = ", "LFiscICMS", CH},
    {"LFISCIPI", "LFISCIPI   = ", "LFiscIPI", CH},
    {"LFISCISS", "LFISCISS   = ", "LFiscISS", CH},
    {"NUMLIVRO", "NUMLIVRO   = ", "NumLivro", CH},
    {"LOCKED", "LOCKED             = ", "Locked", CH},
    {"CALCIPIDESPESA", "CALCIPIDESPESA    = ", "CalcIPIDespesa", CH},
    {"ORIGEMPRODUTO", "ORIGEMPRODUTO      = ", "OrigemProduto", CH},
    {"MENSAGEMNF", "MENSAGEMNF     = ", "MENSAGEMNF", CH},
    {"OBSFISCAL", "OBSFISCAL      = ", "ObsFiscal", CH},
    {"TRIBUTAICMS", "TRIBUTAICMS    = ", "TributaICMS", CH},
    {"STF", "STF        = ", "Stf", CH},
    {"CCONTABIL", "CCONTABIL      = ", "CContabil", CH},
    {"CREDPIS", "CREDPIS            = ", "CredPIS", CH},
    {"CREDCOFINS", "CREDCOFINS     = ", "CredCOFINS", CH},
    {"CALCPIS", "CALCPIS            = ", "CalcPIS", CH},
    {"CALCCOFINS", "CALCCOFINS     = ", "CalcCOFINS", CH},
    {"INSCESTSUBTRIB", "INSCESTSUBTRIB    = ", "InscEstSubTrib", CH},
    {"LETRAIMPRESSAO", "LETRAIMPRESSAO    = ", "LetraImpressao", CH},
    {"PORCINSS", "PORCINSS   = ", "PorcINSS", FL},
    {"REDICMS", "REDICMS            = ", "RedICMS", FL},
    {"REDIPI", "REDIPI             = ", "RedIPI", FL},
};

}  // namespace

std::string insercaoTribCFOP(const Recordset& origem) {
  std::string colunas = " Insert Into TRIBCFOP ( ";
  std::string valores = " Values (";
  bool primeiro = true;
  for (const ColunaCFOP& c : kColunasCFOP) {
    if (!primeiro) {
      colunas += " , ";
      valores += ",";
    }
    primeiro = false;
    colunas += c.coluna;
    valores += LiteralCopia(origem.valor(c.origem), c.tipo);
  }
  return colunas + " )" + valores + ")";
}

std::string atualizacaoTribCFOP(const Recordset& origem, const std::string& id) {
  std::string sql = " Update  TRIBCFOP Set ";
  bool primeiro = true;
  for (const ColunaCFOP& c : kColunasCFOP) {
    if (!c.atribuicao) continue;
    if (!primeiro) sql += ",";
    primeiro = false;
    sql += c.atribuicao + LiteralCopia(origem.valor(c.origem), c.tipo);
  }
  return sql + " Where IDTRIBCFOP = " + id;
}

std::string insercaoNCM(int32_t idNCM, const std::string& codigo, const std::string& descricao,
                        int32_t idGrupo, size_t tamanhoCodigo, size_t tamanhoDescricao) {
  const std::string completa = descricao + " - " + LimpaTexto(esquerda(descricao, 15), false);
  return " Insert Into NCM ( IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO ) Values (" + std::to_string(idNCM) +
         "," + aspas(esquerda(codigo, tamanhoCodigo)) + "," + aspas(esquerda(completa, tamanhoDescricao)) +
         "," + std::to_string(idGrupo) + ")";
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
      destino_.abre("Select IDNCMGRUPO From NCMGRUPO Where DESCRICAOGRUPO = '" + id + "'");
  if (!achado.eof() && achado.valor(0).numero()) {
    grupo = static_cast<int32_t>(achado.valor(0).paraDouble());
  } else {
    grupo =
        proximoGrupo_ ? ++proximoGrupo_ : (proximoGrupo_ = ProxCodigo(destino_, "IDNCMGRUPO", "NCMGRUPO"));
    const std::string g = std::to_string(grupo);
    destino_.executa(" Insert Into  NCMGRUPO (IDNCMGRUPO,CODIGONCMGRUPO, DESCRICAOGRUPO) Values ( " + g +
                     ",'" + g + "','" + id + "')");
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
