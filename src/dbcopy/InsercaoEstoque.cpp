#include "dbcopy/InsercaoEstoque.h"

#include "common/Erro.h"
#include "platform/Recordset.h"

namespace zuv {

using T = TipoCopia;

const std::array<ColunaEstoque, kColunasEstoqueInclui> kColunasEstoque = {{
    {"IDITEMPRODUTO", T::FL},
    {"IDPRODUTO", T::FL},
    {"IDPRODGRUPO", T::FL},
    {"IDSUBGRUPO", T::FL},
    {"IDFABRICANTE", T::FL},
    {"IDLOCAL", T::FL},
    {"CUSTOBRUTO", T::FL},
    {"DESCONTOVALOR", T::FL},
    {"DESCONTOPORC", T::FL},
    {"IPIPORCENTAGEM", T::FL},
    {"IPIVALOR", T::FL},
    {"CUSTOLIQUIDO", T::FL},
    {"MARGEMVENDAPORC", T::FL},
    {"MARGEMVENDA", T::FL},
    {"VENDAATUAL", T::FL},
    {"VENDACDESCONTO", T::FL},
    {"UNIDEMBALAGEM", T::FL},
    {"CAPEMBALAGEM", T::FL},
    {"PESOGR", T::FL},
    {"IDUNIDADE", T::FL},
    {"TIPOESTOQUE", T::FL},
    {"ESTOQUEATUAL", T::FL},
    {"ESTOQUEMINIMO", T::FL},
    {"COMISSAOVEND", T::FL},
    {"PORCATACADO", T::FL},
    {"MARGEMATACADO", T::FL},
    {"VENDAATACADO", T::FL},
    {"IDTIPOPROMO", T::FL},
    {"QTDIAVALIDO", T::FL},
    {"ALIQICMS", T::FL},
    {"VALORICMS", T::FL},
    {"IDGRADE", T::FL},
    {"IDTRIBCFOP", T::FL},
    {"IDFIG", T::FL},
    {"ESTOQUECOMPRADO", T::FL},
    {"CLASSEABC", T::CH},
    {"GERARETIQUETA", T::CH},
    {"ATIVO", T::CH},
    {"BARRA", T::CH},
    {"MEIO", T::CH},
    {"CONSERTO", T::CH},
    {"BALANCA", T::CH},
    {"CHECKOUTATUALIZADO", T::CH},
    {"GRADE", T::CH},
    {"IMPRIMECONSERTO", T::CH},
    {"CALCBALANCA", T::CH},
    {"VALIDADEPRECO", T::DT},
    {"DATACADASTRO", T::DT},
    {"DATAALTERADO", T::DT},
    {"VAIDADEPRODUTO", T::DT},
    {"idNCM", T::FL},
    {"ProdutoMaster", T::CH},
    {"TamanhoGrade", T::CH},
    {"CorGrade", T::CH},
    {"DescricaoGrade", T::CH},
    {"IDGRADESIMILAR", T::FL},
    {"VENDAPORPLANNEGOCIO", T::CH},
}};

std::string listaLeituraEstoque(const std::string& prefixo) {
  std::string lista;
  for (int i = 0; i < kColunasEstoquePredefinido; ++i) {
    if (i == coluna_estoque::IDGRADESIMILAR - 1) lista += prefixo + "TamanhoGrade,";
    lista += prefixo + kColunasEstoque[i].nome;
    if (i + 1 < kColunasEstoquePredefinido) lista += ",";
  }
  return lista;
}

InsercaoEstoque::InsercaoEstoque(const Recordset& linha, int colunas) {
  if (colunas < 1 || colunas > kColunasEstoqueInclui) throw Erro("Número de colunas inválido");
  valores_.reserve(colunas);
  for (int i = 0; i < colunas; ++i) {
    const ColunaEstoque& c = kColunasEstoque[i];
    const bool ultima = i + 1 == colunas;
    valores_.push_back({LiteralCopia(linha.valor(c.nome), c.tipo), ultima ? "" : i < 50 ? " , " : ","});
  }
}

InsercaoEstoque& InsercaoEstoque::valor(int coluna, std::string literal) {
  valores_.at(coluna - 1).literal = std::move(literal);
  return *this;
}

InsercaoEstoque& InsercaoEstoque::valor(int coluna, std::string literal, std::string separador) {
  Entrada& e = valores_.at(coluna - 1);
  e.literal = std::move(literal);
  e.separador = std::move(separador);
  return *this;
}

std::string InsercaoEstoque::sql() const {
  std::string s = " Insert Into ProdutoEstoque (        ";
  s.reserve(1500);
  for (size_t i = 0; i < valores_.size(); ++i) {
    if (i) s += " , ";
    s += kColunasEstoque[i].nome;
  }
  s += " ) ";
  s += "  Values ( ";
  for (const Entrada& e : valores_)
    s.append(e.literal).append(e.separador);
  s += ")";
  return s;
}

}  // namespace zuv
