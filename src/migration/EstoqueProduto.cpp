#include "migration/EstoqueProduto.h"

#include <vector>

#include "common/ConverteSQL.h"
#include "common/Texto.h"
#include "migration/LinhaProduto.h"

namespace zuv {

namespace {

std::string fl(const Valor& v) {
  return ConverteSQL(v, "FL");
}

std::string id(int32_t v) {
  return std::to_string(v);
}

}  // namespace

std::string insercaoProduto(int32_t idProduto, const std::string& descricao) {
  const std::string d = esquerda(descricao, 55);
  return std::string("Insert into PRODUTO ( IDPRODUTO,DESCRICAO , DescricaoImp )") + " Values ( " +
         id(idProduto) + "," + aspas(d) + "," + aspas(esquerda(d, 24)) + ")";
}

std::string insercaoEstoque(const ItemProduto& i) {
  std::string colunas = " Insert Into PRODUTOESTOQUE (";
  std::vector<std::string> valores;
  auto coluna = [&](const char* nome, std::string valor) {
    colunas += nome;
    valores.push_back(std::move(valor));
  };
  coluna("        CapEmbalagem  ,", fl(Valor("1")));
  if (i.idTribCFOP) coluna("        idTribCFOP , ", id(i.idTribCFOP));
  if (i.idECFLetra) coluna("        IdECFLetra , ", id(*i.idECFLetra));
  if (i.idNCM) coluna("        idNCM , ", id(i.idNCM));
  coluna("        idGrade  ,", "Null");
  coluna("        idItemProduto  ,", id(i.idItemProduto));
  coluna("        idProduto  ,", id(i.idProduto));
  if (i.idProdGrupo) coluna("        idProdGrupo      ,", id(i.idProdGrupo));
  coluna("        CustoLiquido     ,", numeroSQL(i.custo));
  coluna("        Custobruto     ,", numeroSQL(i.custo));
  coluna("        VENDAATACADO   ,", numeroSQL(i.atacado));
  coluna("        VendaAtual       ,", numeroSQL(i.venda));
  coluna("        VendaAtual2   ,", numeroSQL(i.venda2));
  coluna("        VENDAATACADO2       ,", numeroSQL(i.atacado2));
  coluna("        VendacDesconto   ,", "0");
  coluna("        IdUnidade        ,", id(i.idUnidade));
  coluna("        Balanca          ,", "'N'");
  coluna("        Barra      ,", aspas(i.barra));
  coluna("        BarraExterno      ,", aspas(i.barra));
  coluna("        MargemVenda      ,", numeroSQL(i.margem));
  coluna("        MargemVendaPorc  ,", fl(Valor(i.margemPorc)));
  coluna("        UNIDEMBALAGEM    ,", "1");
  coluna("        TIPOESTOQUE      ,", "1");
  coluna("        GERARETIQUETA    ,", "'N'");
  coluna("        ATIVO            ,", "'S'");
  coluna("        DATACADASTRO     ,", ConverteSQL(Valor(i.cadastro), "DT"));
  coluna("        AliqICMS            ,", fl(Valor(0)));
  coluna("        VALORICMS            ,", fl(Valor(0)));
  coluna("        IPIPorcentagem            ,", "0");
  coluna("        PorcAtacado            ,", "0");
  coluna("        IPIValor            ,", "0");
  coluna("        MargemAtacado,", "0");
  coluna("        EstoqueAtual,", fl(Valor(i.estoque)));
  coluna("        EstoqueMinimo      ,", fl(Valor(0)));
  coluna("        IDLOCAL      ,", fl(Valor("")));
  coluna("        IDSUBGRUPO   ,PorcDescMaximo   )", fl(i.idSubGrupo ? Valor(*i.idSubGrupo) : Valor("")));
  valores.push_back(fl(Valor(0)));
  std::string sql = colunas + " Values (";
  for (size_t v = 0; v < valores.size(); ++v)
    sql += (v ? "," : "") + valores[v];
  return sql + ")";
}

std::string atualizacaoEstoque(const ItemProduto& i, const CamposAtualizacao& c,
                               const std::string& barraGravada) {
  // Each assignment with the separator in front, as the statement writes it.
  std::vector<std::string> partes;
  if (c.temAtacado) partes.push_back(" ,VENDAATACADO    = " + numeroSQL(i.atacado));
  if (c.precoCusto && c.temCusto) {
    const std::string custo = numeroSQL(i.custo);
    partes.push_back(" ,CustoLiquido    = " + custo + "," + " Custobruto      = " + custo);
    if (c.precoVenda && c.temVenda) partes.push_back(" ,VendaAtual      = " + numeroSQL(i.venda));
    partes.push_back(" ,MargemVenda     = " + numeroSQL(i.margem) +
                     " ,MargemVendaPorc = " + fl(Valor(i.margemPorc)));
  }
  if (c.estoque && c.temEstoque) partes.push_back(" , EstoqueAtual    = " + fl(Valor(i.estoque)));
  // References only when the row names one that was found or created.
  if (c.cfopSat && i.idTribCFOP) partes.push_back(" ,idTribCFOP      = " + id(i.idTribCFOP));
  if (c.aliqEcf && i.idECFLetra && *i.idECFLetra)
    partes.push_back(" ,IdECFLetra      = " + id(*i.idECFLetra));
  if (c.ncm && i.idNCM) partes.push_back(" ,idNCM           = " + id(i.idNCM));
  if (c.grupo && c.temGrupo) {
    if (i.idProdGrupo) partes.push_back("     ,   idProdGrupo      = " + id(i.idProdGrupo));
    if (i.idSubGrupo) partes.push_back("     ,   IDSUBGRUPO      = " + id(*i.idSubGrupo));
  }
  if (partes.empty()) return {};
  // The first assignment has no separator before it.
  std::string& primeira = partes.front();
  primeira.erase(primeira.find(','), 1);
  std::string sql = "Update ProdutoEstoque Estoque SEt ";
  for (const std::string& p : partes)
    sql += p;
  return sql + " Where Barra = " + aspas(barraGravada);
}

}  // namespace zuv
