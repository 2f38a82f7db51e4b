#include "dbcopy/RegistrosReferencia.h"

#include "common/Erro.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"

namespace zuv::atualiza {

namespace {
constexpr TipoSQL FL = TipoSQL::FL, CH = TipoSQL::CH;
}

const TipoReferencia kUnidade{"idUnidade",
                              "UNIDADE",
                              "Select * From UNIDADE Where IDUNIDADE =",
                              " Insert Into UNIDADE ( ",
                              {{"IDUNIDADE", FL},
                               {"DESCRICAO", CH, nullptr, ",                 "},
                               {"MEDIDAFRACAO", CH},
                               {"METRAGEM", CH, nullptr, ", "},
                               {"QTDECIMAL", FL}},
                              ",",
                              " ) Values ( ",
                              " Update  UNIDADE  Set ",
                              {{"DESCRICAO = ", "DESCRICAO", CH},
                               {"MEDIDAFRACAO = ", "MedidaFracao", CH},
                               {"METRAGEM = ", "Metragem", CH},
                               {"QTDECIMAL = ", "QTDecimal", FL}},
                              " Where IDUNIDADE = "};

const TipoReferencia kGrupo{"IdProdGrupo",
                            "PRODUTOGRUPO",
                            "Select * From PRODUTOGRUPO Where IDPRODGRUPO =",
                            " Insert Into PRODUTOGRUPO ( ",
                            {{"IDPRODGRUPO", FL},
                             {"DESCRICAO", CH},
                             {"PORCMARGEMVENDA", FL},
                             {"PORCMARGEMATACADO", FL},
                             {"PORCAUTO", CH},
                             {"PORCMARGEMVENDEDOR", FL},
                             {"PORCMARGEMVENDAATA", FL},
                             {"DEPARTAMENTOBALANCA", FL}},
                            ", ",
                            " )  Values ( ",
                            " Update  PRODUTOGRUPO  Set ",
                            {{"DESCRICAO = ", "DESCRICAO", CH},
                             {"PORCMARGEMVENDA = ", "PORCMARGEMVENDA", FL},
                             {"PORCMARGEMATACADO = ", "PORCMARGEMATACADO", FL},
                             {"PORCAUTO = ", "PORCAUTO", CH}},
                            " Where IDPRODGRUPO = "};

const TipoReferencia kSubGrupo{"IdSubGrupo",
                               "SUBGRUPO",
                               "Select * From SUBGRUPO Where IDSUBGRUPO =",
                               " Insert Into SUBGRUPO ( ",
                               {{"IDSUBGRUPO", FL}, {"DESCRICAO", CH}},
                               ",",
                               ")  Values ( ",
                               " Update  SUBGRUPO  Set ",
                               {{"DESCRICAO = ", "DESCRICAO", CH}},
                               " Where IDSUBGRUPO = "};

const TipoReferencia kLocal{"IDLOCAL",
                            "LOCALPRODUTO",
                            "Select * From LOCALPRODUTO Where IDLOCAL =",
                            " Insert Into LOCALPRODUTO ( ",
                            {{"IDLOCAL", FL}, {"LOCALIZACAO", CH}},
                            ",",
                            ")  Values ( ",
                            " Update  LOCALPRODUTO  Set ",
                            {{"LOCALIZACAO = ", "Localizacao", CH}},
                            " Where IDLOCAL = "};

const TipoReferencia kFabricante{
    "IDFABRICANTE",
    "FABRICANTE",
    "Select * From FABRICANTE Where IDFABRICANTE =",
    " Insert Into FABRICANTE ( ",
    {{"IDFABRICANTE", CH}, {"APELIDO", CH}, {"NOMERAZAO", CH},  {"CONTATO", CH}, {"ENDERECO", CH},
     {"ENDERECO2", CH},    {"BAIRRO", CH},  {"CIDADE", CH},     {"ESTADO", CH},  {"DDI1", CH},
     {"DDD1", CH},         {"FONE1", CH},   {"DDI2", CH},       {"DDD2", CH},    {"FONE2", CH},
     {"DDICEL", CH},       {"DDDCEL", CH},  {"CELCONTATO", CH}, {"CEP", CH},     {"CGC", CH},
     {"INSCEST", CH},      {"EMAIL", CH},   {"SITE", CH}},
    "  ,",
    "  ) Values ( ",
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

std::string insercaoReferencia(const TipoReferencia& tipo, const Recordset& origem,
                               const std::optional<std::string>& outroId) {
  Insercao insercao(tipo.cabecaInsercao, tipo.colunas);
  insercao.separadores(tipo.entreColunas, ",");
  for (size_t i = 0; i < tipo.colunas.size(); ++i)
    insercao.valor(i, i == 0 && outroId
                          ? *outroId
                          : LiteralCopia(origem.valor(tipo.colunas[i].nome), tipo.colunas[i].tipo));
  return insercao.sql(tipo.meioInsercao);
}

std::string atualizacaoReferencia(const TipoReferencia& tipo, const Recordset& origem,
                                  const std::string& id) {
  Atualizacao atualizacao(tipo.cabecaAtualizacao);
  for (const Atribuicao& a : tipo.atribuicoes)
    atualizacao.campo(a.literal + LiteralCopia(origem.valor(a.coluna), a.tipo));
  return atualizacao.sql(tipo.chave + id);
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
