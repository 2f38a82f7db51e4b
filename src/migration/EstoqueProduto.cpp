#include "migration/EstoqueProduto.h"

#include <cmath>
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

std::optional<int32_t> inteiro(const Valor& v) {
  if (v.nulo()) return std::nullopt;
  return static_cast<int32_t>(v.paraDouble());
}

double numero(const Valor& v) {
  return v.nulo() ? std::nan("") : v.paraDouble();
}

int escala(const Recordset& rs, const char* nome) {
  const int p = rs.posicaoCampo(nome);
  if (p < 0) return -1;
  const Campo& c = rs.campo(p);
  // SQL_DOUBLE (480) and SQL_FLOAT (482) report scale 0 but keep fractions.
  const bool flutuante = c.tipoSql == 480 || c.tipoSql == 482;
  return c.classe == ClasseTipo::Numero && !flutuante ? c.escala : -1;
}

// The value as a column of that scale stores it, against the stored one.
bool mesmo(double novo, double gravado, int casas) {
  if (std::isnan(gravado)) return false;
  if (casas < 0) return std::fabs(novo - gravado) < 1e-9;
  const double p = std::pow(10.0, casas);
  return std::llround(novo * p) == std::llround(gravado * p);
}

}  // namespace

ItemGravado itemGravado(const Recordset& rs) {
  ItemGravado g;
  g.idItemProduto = inteiro(rs.valor("IdItemProduto")).value_or(0);
  g.idProduto = inteiro(rs.valor("IdProduto"));
  g.barra = rs.valor("Barra").textoRegional(1);
  g.custo = numero(rs.valor("CustoLiquido"));
  g.venda = numero(rs.valor("VendaAtual"));
  g.atacado = numero(rs.valor("VendaAtacado"));
  g.margem = numero(rs.valor("MargemVenda"));
  g.margemPorc = numero(rs.valor("MargemVendaPorc"));
  g.estoque = numero(rs.valor("EstoqueAtual"));
  g.idTribCFOP = inteiro(rs.valor("IdTribCFOP"));
  g.idECFLetra = inteiro(rs.valor("IdECFLetra"));
  g.idNCM = inteiro(rs.valor("IdNCM"));
  g.idProdGrupo = inteiro(rs.valor("IdProdGrupo"));
  g.idSubGrupo = inteiro(rs.valor("IdSubGrupo"));
  return g;
}

EscalasItem escalasItem(const Recordset& rs) {
  return {escala(rs, "CustoLiquido"), escala(rs, "VendaAtual"),      escala(rs, "VendaAtacado"),
          escala(rs, "MargemVenda"),  escala(rs, "MargemVendaPorc"), escala(rs, "EstoqueAtual")};
}

bool alteraItem(const AlteracaoEstoque& a, const ItemGravado& g, const EscalasItem& e) {
  auto difere = [](const std::optional<Decimal>& novo, double gravado, int casas) {
    return novo && !mesmo(novo->paraDouble(), gravado, casas);
  };
  auto outro = [](const std::optional<int32_t>& novo, const std::optional<int32_t>& gravado) {
    return novo && novo != gravado;
  };
  return difere(a.atacado, g.atacado, e.atacado) || difere(a.custo, g.custo, e.custo) ||
         difere(a.venda, g.venda, e.venda) || difere(a.margem, g.margem, e.margem) ||
         (a.margem && !mesmo(a.margemPorc.value_or(100), g.margemPorc, e.margemPorc)) ||
         difere(a.estoque, g.estoque, e.estoque) || outro(a.idTribCFOP, g.idTribCFOP) ||
         outro(a.idECFLetra, g.idECFLetra) || outro(a.idNCM, g.idNCM) ||
         outro(a.idProdGrupo, g.idProdGrupo) || outro(a.idSubGrupo, g.idSubGrupo);
}

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

std::string atualizacaoEstoque(const AlteracaoEstoque& a, const std::string& barraGravada) {
  // Each assignment with the separator in front, as the statement writes it.
  std::vector<std::string> partes;
  if (a.atacado) partes.push_back(" ,VENDAATACADO    = " + numeroSQL(*a.atacado));
  if (a.custo) {
    const std::string custo = numeroSQL(*a.custo);
    partes.push_back(" ,CustoLiquido    = " + custo + "," + " Custobruto      = " + custo);
  }
  if (a.venda) partes.push_back(" ,VendaAtual      = " + numeroSQL(*a.venda));
  if (a.margem)
    partes.push_back(" ,MargemVenda     = " + numeroSQL(*a.margem) +
                     " ,MargemVendaPorc = " + fl(Valor(a.margemPorc.value_or(100))));
  if (a.estoque) partes.push_back(" , EstoqueAtual    = " + fl(Valor(*a.estoque)));
  if (a.idTribCFOP) partes.push_back(" ,idTribCFOP      = " + id(*a.idTribCFOP));
  if (a.idECFLetra) partes.push_back(" ,IdECFLetra      = " + id(*a.idECFLetra));
  if (a.idNCM) partes.push_back(" ,idNCM           = " + id(*a.idNCM));
  if (a.idProdGrupo) partes.push_back("     ,   idProdGrupo      = " + id(*a.idProdGrupo));
  if (a.idSubGrupo) partes.push_back("     ,   IDSUBGRUPO      = " + id(*a.idSubGrupo));
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
