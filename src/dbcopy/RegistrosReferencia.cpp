#include "dbcopy/RegistrosReferencia.h"

#include "common/Erro.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"

namespace zuv::atualiza {

namespace {
constexpr TipoCopia FL = TipoCopia::FL, CH = TipoCopia::CH;
}

const TipoReferencia kUnidade{
    "idUnidade",
    "UNIDADE",
    "Select * From UNIDADE Where IDUNIDADE =",
    " Insert Into UNIDADE ( IDUNIDADE,DESCRICAO,                 MEDIDAFRACAO,METRAGEM, QTDECIMAL )",
    {{"idUnidade", FL}, {"DESCRICAO", CH}, {"MedidaFracao", CH}, {"Metragem", CH}, {"QTDecimal", FL}},
    " Update  UNIDADE  Set ",
    {{"DESCRICAO = ", "DESCRICAO", CH},
     {"MEDIDAFRACAO = ", "MedidaFracao", CH},
     {"METRAGEM = ", "Metragem", CH},
     {"QTDECIMAL = ", "QTDecimal", FL}},
    " Where IDUNIDADE = "};

const TipoReferencia kGrupo{
    "IdProdGrupo",
    "PRODUTOGRUPO",
    "Select * From PRODUTOGRUPO Where IDPRODGRUPO =",
    " Insert Into PRODUTOGRUPO ( IDPRODGRUPO, DESCRICAO, PORCMARGEMVENDA, PORCMARGEMATACADO, PORCAUTO, "
    "PORCMARGEMVENDEDOR, PORCMARGEMVENDAATA, DEPARTAMENTOBALANCA ) ",
    {{"IdProdGrupo", FL},
     {"DESCRICAO", CH},
     {"PORCMARGEMVENDA", FL},
     {"PORCMARGEMATACADO", FL},
     {"PORCAUTO", CH},
     {"PORCMARGEMVENDEDOR", FL},
     {"PORCMARGEMVENDAATA", FL},
     {"DEPARTAMENTOBALANCA", FL}},
    " Update  PRODUTOGRUPO  Set ",
    {{"DESCRICAO = ", "DESCRICAO", CH},
     {"PORCMARGEMVENDA = ", "PORCMARGEMVENDA", FL},
     {"PORCMARGEMATACADO = ", "PORCMARGEMATACADO", FL},
     {"PORCAUTO = ", "PORCAUTO", CH}},
    " Where IDPRODGRUPO = "};

const TipoReferencia kSubGrupo{"IdSubGrupo",
                               "SUBGRUPO",
                               "Select * From SUBGRUPO Where IDSUBGRUPO =",
                               " Insert Into SUBGRUPO ( IDSUBGRUPO,DESCRICAO) ",
                               {{"IdSubGrupo", FL}, {"DESCRICAO", CH}},
                               " Update  SUBGRUPO  Set ",
                               {{"DESCRICAO = ", "DESCRICAO", CH}},
                               " Where IDSUBGRUPO = "};

const TipoReferencia kLocal{"IDLOCAL",
                            "LOCALPRODUTO",
                            "Select * From LOCALPRODUTO Where IDLOCAL =",
                            " Insert Into LOCALPRODUTO ( IDLOCAL,LOCALIZACAO) ",
                            {{"IDLOCAL", FL}, {"Localizacao", CH}},
                            " Update  LOCALPRODUTO  Set ",
                            {{"LOCALIZACAO = ", "Localizacao", CH}},
                            " Where IDLOCAL = "};

const TipoReferencia kFabricante{
    "IDFABRICANTE",
    "FABRICANTE",
    "Select * From FABRICANTE Where IDFABRICANTE =",
    " Insert Into FABRICANTE ( IDFABRICANTE  ,APELIDO  ,NOMERAZAO  ,CONTATO  ,ENDERECO  ,ENDERECO2  ,BAIRRO  "
    ",CIDADE  ,ESTADO  ,DDI1  ,DDD1  ,FONE1  ,DDI2  ,DDD2  ,FONE2  ,DDICEL  ,DDDCEL  ,CELCONTATO  ,CEP  ,CGC "
    " "
    ",INSCEST  ,EMAIL  ,SITE  )",
    {{"IDFABRICANTE", CH}, {"APELIDO", CH}, {"NOMERAZAO", CH},  {"Contato", CH}, {"Endereco", CH},
     {"ENDERECO2", CH},    {"Bairro", CH},  {"cidade", CH},     {"ESTADO", CH},  {"DDI1", CH},
     {"DDD1", CH},         {"Fone1", CH},   {"DDI2", CH},       {"DDD2", CH},    {"fone2", CH},
     {"DDICEL", CH},       {"DDDCEL", CH},  {"CELCONTATO", CH}, {"cep", CH},     {"CGC", CH},
     {"InscEst", CH},      {"email", CH},   {"SITE", CH}},
    " Update FABRICANTE  Set ",
    {{" APELIDO   = ", "APELIDO", CH},  {" NOMERAZAO = ", "NOMERAZAO", CH},  {" CONTATO   = ", "Contato", CH},
     {" ENDERECO  = ", "Endereco", CH}, {" ENDERECO2 = ", "ENDERECO2", CH},  {" BAIRRO    = ", "Bairro", CH},
     {" CIDADE    = ", "cidade", CH},   {" ESTADO    = ", "ESTADO", CH},     {" DDI1      = ", "DDI1", CH},
     {" DDD1      = ", "DDD1", CH},     {" FONE1     = ", "Fone1", CH},      {" DDI2      = ", "DDI2", CH},
     {" DDD2      = ", "DDD2", CH},     {" FONE2     = ", "fone2", CH},      {" DDICEL    = ", "DDICEL", CH},
     {" DDDCEL    = ", "DDDCEL", CH},   {" CELCONTATO= ", "CELCONTATO", CH}, {" CEP       = ", "cep", CH},
     {" CGC       = ", "CGC", CH},      {" INSCEST   = ", "InscEst", CH},    {" EMAIL     = ", "email", CH},
     {" SITE      = ", "SITE", CH}},
    " where IDFABRICANTE ="};

const TipoReferencia* const kReferencias[5] = {&kUnidade, &kGrupo, &kSubGrupo, &kLocal, &kFabricante};

std::string insercaoReferencia(const TipoReferencia& tipo, const Recordset& origem) {
  std::string sql = std::string(tipo.cabecaInsercao) + " Values ( ";
  for (size_t i = 0; i < tipo.valores.size(); ++i) {
    if (i) sql += ",";
    sql += LiteralCopia(origem.valor(tipo.valores[i].coluna), tipo.valores[i].tipo);
  }
  return sql + ")";
}

std::string atualizacaoReferencia(const TipoReferencia& tipo, const Recordset& origem,
                                  const std::string& id) {
  std::string sql = tipo.cabecaAtualizacao;
  for (size_t i = 0; i < tipo.atribuicoes.size(); ++i) {
    if (i) sql += ",";
    const Atribuicao& a = tipo.atribuicoes[i];
    sql += a.literal + LiteralCopia(origem.valor(a.coluna), a.tipo);
  }
  return sql + tipo.chave + id;
}

void RegistrosReferencia::garante(const TipoReferencia& tipo, const Valor& valorId) {
  if (valorId.nulo()) return;
  const std::string id = textoId(valorId);
  if (!feitos_.emplace(&tipo, id).second) return;
  const bool existe = !destino_.abre(tipo.consulta + id).eof();
  const Recordset origem = origem_.abre(tipo.consulta + id);
  if (origem.eof())
    throw Erro("o registro " + id + " de " + tipo.tabela + " não existe no banco de dados origem");
  destino_.executa(existe ? atualizacaoReferencia(tipo, origem, id) : insercaoReferencia(tipo, origem));
}

}  // namespace zuv::atualiza
