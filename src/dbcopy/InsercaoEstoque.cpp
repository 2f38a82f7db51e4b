#include "dbcopy/InsercaoEstoque.h"

#include <span>

#include "common/Erro.h"
#include "dbcopy/LiteraisCopia.h"
#include "platform/Recordset.h"

namespace zuv {

namespace {
constexpr TipoSQL FL = TipoSQL::FL, CH = TipoSQL::CH, DT = TipoSQL::DT;
// From column 51 on the values are separated by "," alone.
constexpr const char* kDepois50 = ",";
}  // namespace

const std::array<ColunaSQL, kColunasEstoqueInclui> kColunasEstoque = {{
    {"IDITEMPRODUTO", FL},
    {"IDPRODUTO", FL},
    {"IDPRODGRUPO", FL},
    {"IDSUBGRUPO", FL},
    {"IDFABRICANTE", FL},
    {"IDLOCAL", FL},
    {"CUSTOBRUTO", FL},
    {"DESCONTOVALOR", FL},
    {"DESCONTOPORC", FL},
    {"IPIPORCENTAGEM", FL},
    {"IPIVALOR", FL},
    {"CUSTOLIQUIDO", FL},
    {"MARGEMVENDAPORC", FL},
    {"MARGEMVENDA", FL},
    {"VENDAATUAL", FL},
    {"VENDACDESCONTO", FL},
    {"UNIDEMBALAGEM", FL},
    {"CAPEMBALAGEM", FL},
    {"PESOGR", FL},
    {"IDUNIDADE", FL},
    {"TIPOESTOQUE", FL},
    {"ESTOQUEATUAL", FL},
    {"ESTOQUEMINIMO", FL},
    {"COMISSAOVEND", FL},
    {"PORCATACADO", FL},
    {"MARGEMATACADO", FL},
    {"VENDAATACADO", FL},
    {"IDTIPOPROMO", FL},
    {"QTDIAVALIDO", FL},
    {"ALIQICMS", FL},
    {"VALORICMS", FL},
    {"IDGRADE", FL},
    {"IDTRIBCFOP", FL},
    {"IDFIG", FL},
    {"ESTOQUECOMPRADO", FL},
    {"CLASSEABC", CH},
    {"GERARETIQUETA", CH},
    {"ATIVO", CH},
    {"BARRA", CH},
    {"MEIO", CH},
    {"CONSERTO", CH},
    {"BALANCA", CH},
    {"CHECKOUTATUALIZADO", CH},
    {"GRADE", CH},
    {"IMPRIMECONSERTO", CH},
    {"CALCBALANCA", CH},
    {"VALIDADEPRECO", DT},
    {"DATACADASTRO", DT},
    {"DATAALTERADO", DT},
    {"VAIDADEPRODUTO", DT},
    {"idNCM", FL, nullptr, nullptr, kDepois50},
    {"ProdutoMaster", CH, nullptr, nullptr, kDepois50},
    {"TamanhoGrade", CH, nullptr, nullptr, kDepois50},
    {"CorGrade", CH, nullptr, nullptr, kDepois50},
    {"DescricaoGrade", CH, nullptr, nullptr, kDepois50},
    {"IDGRADESIMILAR", FL, nullptr, nullptr, kDepois50},
    {"VENDAPORPLANNEGOCIO", CH},
}};

std::string listaLeituraEstoque(const std::string& prefixo) {
  std::string lista;
  for (int i = 0; i < kColunasEstoquePredefinido; ++i) {
    if (i == kColunasEstoquePredefinido - 1) lista += prefixo + "TamanhoGrade,";
    lista += prefixo + kColunasEstoque[i].nome;
    if (i + 1 < kColunasEstoquePredefinido) lista += ",";
  }
  return lista;
}

Insercao insercaoEstoque(const Recordset& linha, int colunas) {
  if (colunas < 1 || colunas > kColunasEstoqueInclui) throw Erro("Número de colunas inválido");
  const std::span<const ColunaSQL> tabela(kColunasEstoque.data(), static_cast<size_t>(colunas));
  Insercao insercao(" Insert Into ProdutoEstoque (        ", tabela);
  insercao.separadores(" , ", " , ");
  for (size_t i = 0; i < tabela.size(); ++i)
    insercao.valor(i, LiteralCopia(linha.valor(tabela[i].nome), tabela[i].tipo));
  return insercao;
}

}  // namespace zuv
