#include "migration/EstoqueProduto.h"

#include <cmath>
#include <vector>

#include "common/ConverteSQL.h"
#include "common/Texto.h"
#include "migration/LinhaProduto.h"

namespace zuv {

namespace {

std::string fl(const Valor& v) {
  return ConverteSQL(v, TipoSQL::FL);
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

ItemGravado itemGravado(const std::vector<Valor>& l) {
  ItemGravado g;
  g.idItemProduto = inteiro(l[0]).value_or(0);
  g.idProduto = inteiro(l[1]);
  g.barra = l[2].textoRegional(1);
  g.custo = numero(l[3]);
  g.venda = numero(l[4]);
  g.atacado = numero(l[5]);
  g.margem = numero(l[6]);
  g.margemPorc = numero(l[7]);
  g.estoque = numero(l[8]);
  g.idTribCFOP = inteiro(l[9]);
  g.idECFLetra = inteiro(l[10]);
  g.idNCM = inteiro(l[11]);
  g.idProdGrupo = inteiro(l[12]);
  g.idSubGrupo = inteiro(l[13]);
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

Insercao insercaoProduto(int32_t idProduto, const std::string& descricao) {
  const std::string d = esquerda(descricao, 55);
  Insercao i("Insert into PRODUTO ( ");
  i.variavel("IDPRODUTO", id(idProduto))
      .variavel("DESCRICAO ", aspas(d))
      .variavel(" DescricaoImp ", aspas(esquerda(d, 24)))
      .fim(std::string(")") + " Values ( ", ")");
  return i;
}

Insercao insercaoEstoque(const ItemProduto& i) {
  // Each column name carries its own separator, as the system writes them.
  Insercao e(" Insert Into PRODUTOESTOQUE (");
  e.separadores("", ",").fim(" Values (", ")");
  e.campo("        CapEmbalagem  ,", fl(Valor("1")));
  if (i.idTribCFOP) e.variavel("        idTribCFOP , ", id(i.idTribCFOP));
  if (i.idECFLetra) e.variavel("        IdECFLetra , ", id(*i.idECFLetra));
  if (i.idNCM) e.variavel("        idNCM , ", id(i.idNCM));
  e.campo("        idGrade  ,", "Null");
  e.variavel("        idItemProduto  ,", id(i.idItemProduto));
  e.variavel("        idProduto  ,", id(i.idProduto));
  if (i.idProdGrupo) e.variavel("        idProdGrupo      ,", id(i.idProdGrupo));
  e.variavel("        CustoLiquido     ,", numeroSQL(i.custo));
  e.variavel("        Custobruto     ,", numeroSQL(i.custo));
  e.variavel("        VENDAATACADO   ,", numeroSQL(i.atacado));
  e.variavel("        VendaAtual       ,", numeroSQL(i.venda));
  e.variavel("        VendaAtual2   ,", numeroSQL(i.venda2));
  e.variavel("        VENDAATACADO2       ,", numeroSQL(i.atacado2));
  e.campo("        VendacDesconto   ,", "0");
  e.variavel("        IdUnidade        ,", id(i.idUnidade));
  e.campo("        Balanca          ,", "'N'");
  e.variavel("        Barra      ,", aspas(i.barra));
  e.variavel("        BarraExterno      ,", aspas(i.barra));
  e.variavel("        MargemVenda      ,", numeroSQL(i.margem));
  e.campo("        MargemVendaPorc  ,", Valor(i.margemPorc), TipoSQL::FL);
  e.campo("        UNIDEMBALAGEM    ,", "1");
  e.campo("        TIPOESTOQUE      ,", "1");
  e.campo("        GERARETIQUETA    ,", "'N'");
  e.campo("        ATIVO            ,", "'S'");
  e.campo("        DATACADASTRO     ,", Valor(i.cadastro), TipoSQL::DT);
  e.campo("        AliqICMS            ,", fl(Valor(0)));
  e.campo("        VALORICMS            ,", fl(Valor(0)));
  e.campo("        IPIPorcentagem            ,", "0");
  e.campo("        PorcAtacado            ,", "0");
  e.campo("        IPIValor            ,", "0");
  e.campo("        MargemAtacado,", "0");
  e.campo("        EstoqueAtual,", Valor(i.estoque), TipoSQL::FL);
  e.campo("        EstoqueMinimo      ,", fl(Valor(0)));
  e.campo("        IDLOCAL      ,", fl(Valor("")));
  e.campo("        IDSUBGRUPO   ,", i.idSubGrupo ? Valor(*i.idSubGrupo) : Valor(""), TipoSQL::FL);
  e.campo("PorcDescMaximo   )", fl(Valor(0)));
  return e;
}

Atualizacao atualizacaoEstoque(const AlteracaoEstoque& a) {
  // Each assignment with the separator in front, as the statement writes it; the first one
  // without its comma.
  Atualizacao u("Update ProdutoEstoque Estoque SEt ");
  u.separador("");
  auto atribui = [&](std::string prefixo, std::string literal) {
    if (u.vazia()) prefixo.erase(prefixo.find(','), 1);
    u.variavel(std::move(prefixo), std::move(literal));
  };
  if (a.atacado) atribui(" ,VENDAATACADO    = ", numeroSQL(*a.atacado));
  if (a.custo) {
    atribui(" ,CustoLiquido    = ", numeroSQL(*a.custo));
    atribui(std::string(",") + " Custobruto      = ", numeroSQL(*a.custo));
  }
  if (a.venda) atribui(" ,VendaAtual      = ", numeroSQL(*a.venda));
  if (a.margem) {
    atribui(" ,MargemVenda     = ", numeroSQL(*a.margem));
    atribui(" ,MargemVendaPorc = ", fl(Valor(a.margemPorc.value_or(100))));
  }
  if (a.estoque) atribui(" , EstoqueAtual    = ", fl(Valor(*a.estoque)));
  if (a.idTribCFOP) atribui(" ,idTribCFOP      = ", id(*a.idTribCFOP));
  if (a.idECFLetra) atribui(" ,IdECFLetra      = ", id(*a.idECFLetra));
  if (a.idNCM) atribui(" ,idNCM           = ", id(*a.idNCM));
  if (a.idProdGrupo) atribui("     ,   idProdGrupo      = ", id(*a.idProdGrupo));
  if (a.idSubGrupo) atribui("     ,   IDSUBGRUPO      = ", id(*a.idSubGrupo));
  return u;
}

Atualizacao atualizacaoDescricao(const std::string& descricao, int32_t idProduto) {
  const std::string d = esquerda(descricao, 55);
  Atualizacao u("update produto set ");
  u.campo("descricao = ", Valor(d), TipoSQL::CH)
      .separador("")
      .campo(" , DescricaoImp  = ", Valor(esquerda(d, 24)), TipoSQL::CH)
      .condicao(" where idproduto = ", id(idProduto));
  return u;
}

}  // namespace zuv
