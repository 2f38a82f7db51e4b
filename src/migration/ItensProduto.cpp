#include "migration/ItensProduto.h"

#include <algorithm>
#include <cmath>

#include "common/ConverteSQL.h"
#include "common/Texto.h"
#include "platform/Conexao.h"
#include "schema/Registros.h"

namespace zuv {

namespace {

// A barcode as the database compares it: blanks at the end do not count.
std::string chave(std::string texto) {
  while (!texto.empty() && texto.back() == ' ')
    texto.pop_back();
  return texto;
}

// Upper case as the database's Upper() of a text without character set: ASCII letters only.
std::string maiusculasAscii(std::string texto) {
  for (char& c : texto)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return texto;
}

bool temLetra(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](unsigned char c) { return c >= 'A' && c <= 'Z'; });
}

double numero(const Decimal& d) {
  return d.paraDouble();
}

}  // namespace

ItensProduto::ItensProduto(Conexao& conexao, bool mantidos) : conexao_(conexao), mantidos_(mantidos) {}

void ItensProduto::executa(const Insercao& i) {
  if (mantidos_)
    conexao_.executa(i.sqlComParametros(), i.parametros());
  else
    conexao_.executa(i.sql());
}

void ItensProduto::executa(const Atualizacao& a) {
  if (mantidos_)
    conexao_.executa(a.sqlComParametros(), a.parametros());
  else
    conexao_.executa(a.sql());
}

void ItensProduto::carrega() {
  if (!mantidos_ || carregados_) return;
  const std::string colunas = kColunasItemGravado;
  escalas_ = escalasItem(conexao_.abre("Select " + colunas + " From ProdutoEstoque Where 1 = 0"));
  conexao_.percorre("Select " + colunas + " From ProdutoEstoque", [&](const std::vector<Valor>& l) {
    if (!l[2].nulo()) guarda(itemGravado(l), false);
  });
  carregados_ = true;
}

// Adds an item at the end of the map (and of its barcode's chain); a new one can be taken back.
void ItensProduto::guarda(ItemGravado item, bool desfazivel) {
  const std::string k = chave(item.barra);
  const auto indice = static_cast<int32_t>(itens_.size());
  itens_.push_back({std::move(item), -1});
  int32_t ultimo = -1;
  if (auto it = porBarra_.find(k); it == porBarra_.end()) {
    porBarra_.emplace(k, indice);
  } else {
    for (ultimo = it->second; itens_[ultimo].seguinte >= 0;)
      ultimo = itens_[ultimo].seguinte;
    itens_[ultimo].seguinte = indice;
  }
  if (maiusculasProntas_) indexaMaiusculas(indice);
  if (!desfazivel) return;
  desfazer_.push_back([this, k, ultimo] {
    const std::string m = maiusculasAscii(k);
    if (maiusculasProntas_) {
      auto& v = porMaiusculas_[m];
      v.pop_back();
      if (v.empty()) porMaiusculas_.erase(m);
    }
    if (ultimo >= 0)
      itens_[ultimo].seguinte = -1;
    else
      porBarra_.erase(k);
    itens_.pop_back();
  });
}

void ItensProduto::indexaMaiusculas(int32_t indice) {
  porMaiusculas_[maiusculasAscii(chave(itens_[indice].item.barra))].push_back(indice);
}

void ItensProduto::desfazAte(size_t marca) {
  while (desfazer_.size() > marca) {
    desfazer_.back()();
    desfazer_.pop_back();
  }
}

std::vector<ItemGravado> ItensProduto::daBarra(const std::string& barra) {
  std::vector<ItemGravado> itens;
  if (barra.empty()) return itens;
  if (!mantidos_) {
    Recordset rs = conexao_.abre("Select * from ProdutoEstoque where Barra = " + aspas(barra));
    if (rs.eof() && temLetra(barra))
      rs = conexao_.abre("Select * from ProdutoEstoque where Upper(Barra) = " + aspas(barra));
    escalas_ = escalasItem(rs);
    for (; !rs.eof(); rs.proximo())
      itens.push_back(itemGravado(rs));
    return itens;
  }
  carrega();
  if (auto it = porBarra_.find(chave(barra)); it != porBarra_.end()) {
    for (int32_t i = it->second; i >= 0; i = itens_[i].seguinte)
      itens.push_back(itens_[i].item);
    return itens;
  }
  if (!temLetra(barra)) return itens;
  if (!maiusculasProntas_) {
    maiusculasProntas_ = true;
    for (int32_t i = 0; i < static_cast<int32_t>(itens_.size()); ++i)
      indexaMaiusculas(i);
  }
  if (auto it = porMaiusculas_.find(chave(barra)); it != porMaiusculas_.end())
    for (int32_t i : it->second)
      itens.push_back(itens_[i].item);
  return itens;
}

int32_t ItensProduto::proximoItem() {
  return ProxCodigo(conexao_, "iditemproduto", "produtoestoque",
                    "select MAX(iditemproduto) AS iditemproduto from produtoestoque");
}

int32_t ItensProduto::proximoProduto() {
  return ProxCodigo(conexao_, "IDPRODUTO", "PRODUTO");
}

void ItensProduto::insere(const ItemProduto& item, const std::string& descricao) {
  executa(insercaoProduto(item.idProduto, descricao));
  executa(insercaoEstoque(item));
  if (!mantidos_) return;
  carrega();
  ItemGravado g;
  g.idItemProduto = item.idItemProduto;
  g.idProduto = item.idProduto;
  g.barra = item.barra;
  g.custo = numero(item.custo);
  g.venda = numero(item.venda);
  g.atacado = numero(item.atacado);
  g.margem = numero(item.margem);
  g.margemPorc = item.margemPorc;
  g.estoque = numero(item.estoque);
  if (item.idTribCFOP) g.idTribCFOP = item.idTribCFOP;
  g.idECFLetra = item.idECFLetra;
  if (item.idNCM) g.idNCM = item.idNCM;
  if (item.idProdGrupo) g.idProdGrupo = item.idProdGrupo;
  g.idSubGrupo = item.idSubGrupo;
  guarda(std::move(g), true);
}

void ItensProduto::atualiza(const AlteracaoEstoque& a, const std::string& barra) {
  Atualizacao u = atualizacaoEstoque(a);
  if (u.vazia()) return;
  if (!mantidos_) {
    conexao_.executa(u.condicao(" Where Barra = ", aspas(barra)).sql());
    return;
  }
  // The items the system's condition names, each by its key.
  carrega();
  const auto it = porBarra_.find(chave(barra));
  for (int32_t i = it == porBarra_.end() ? -1 : it->second; i >= 0; i = itens_[i].seguinte) {
    ItemGravado& g = itens_[i].item;
    executa(u.condicao(" Where IdItemProduto = ", std::to_string(g.idItemProduto)));
    desfazer_.push_back([this, i, antes = g] { itens_[i].item = antes; });
    if (a.atacado) g.atacado = numero(*a.atacado);
    if (a.custo) g.custo = numero(*a.custo);
    if (a.venda) g.venda = numero(*a.venda);
    if (a.margem) {
      g.margem = numero(*a.margem);
      g.margemPorc = a.margemPorc.value_or(100);
    }
    if (a.estoque) g.estoque = numero(*a.estoque);
    if (a.idTribCFOP) g.idTribCFOP = a.idTribCFOP;
    if (a.idECFLetra) g.idECFLetra = a.idECFLetra;
    if (a.idNCM) g.idNCM = a.idNCM;
    if (a.idProdGrupo) g.idProdGrupo = a.idProdGrupo;
    if (a.idSubGrupo) g.idSubGrupo = a.idSubGrupo;
  }
}

bool ItensProduto::reescreveDescricao(const std::string& descricao, const std::string& barra,
                                      int32_t idNovo) {
  std::optional<int32_t> idProduto;
  if (barra.empty()) {
    if (idNovo) idProduto = idNovo;  // an empty barcode names every item without one: take the row's own
  } else if (!mantidos_) {
    Recordset rs = conexao_.abre("select idproduto from produtoestoque where barra = " + aspas(barra + " "));
    if (!rs.eof() && !rs.valor("idProduto").nulo()) idProduto = int32_t(rs.valor("idProduto").paraDouble());
  } else {
    carrega();
    if (auto it = porBarra_.find(chave(barra)); it != porBarra_.end())
      idProduto = itens_[it->second].item.idProduto;
  }
  if (!idProduto) return false;
  const Atualizacao u = atualizacaoDescricao(descricao, *idProduto);
  bool muda = false;
  if (!idNovo) {
    // As the statement stores them (ConverteSQL trims the blanks of a cut text), compared as the
    // database compares texts (blanks at the end do not count).
    const std::string d = chave(apara(esquerda(descricao, 55))), imp = chave(apara(esquerda(d, 24)));
    const Recordset rs = conexao_.abre("Select Descricao, DescricaoImp From Produto Where IdProduto = ?",
                                       {Valor(int64_t{*idProduto})});
    muda =
        !rs.eof() && (chave(rs.valor(0).textoRegional(1)) != d || chave(rs.valor(1).textoRegional(1)) != imp);
  }
  executa(u);
  return muda;
}

}  // namespace zuv
