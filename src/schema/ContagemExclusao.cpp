#include "schema/ContagemExclusao.h"

#include <algorithm>

#include "common/Erro.h"
#include "common/Texto.h"
#include "platform/Alteracoes.h"
#include "platform/Conexao.h"

namespace zuv {

namespace {

// The tables named in the question, in this order, with their names in the singular and plural.
struct Nome {
  const char* tabela;
  const char* singular;
  const char* plural;
  bool feminino;
};
constexpr Nome kNomes[] = {
    {"PRODUTO", "produto", "produtos", false},
    {"PRODUTOESTOQUE", "item de estoque", "itens de estoque", false},
    {"NFSAIDA", "venda", "vendas", true},
    {"COMANDA", "comanda", "comandas", true},
    {"CONTA", "conta", "contas", true},
    {"CAIXA", "caixa", "caixas", false},
    {"PEDIDOCOMPRA", "pedido de compra", "pedidos de compra", false},
    {"ESTOQUEMOV", "movimento de estoque", "movimentos de estoque", false},
    {"ENTREGA", "entrega", "entregas", true},
    {"PRODUTOGRUPO", "grupo", "grupos", false},
    {"TRIBCFOP", "cadastro de CFOP", "cadastros de CFOP", false},
    {"NCM", "cadastro de NCM", "cadastros de NCM", false},
};

}  // namespace

std::vector<std::pair<std::string, long long>> contaExclusao(Conexao& conexao,
                                                             const std::vector<std::string>& instrucoes) {
  std::vector<std::pair<std::string, long long>> contagens;
  std::vector<std::string> vistas;
  for (const std::string& instrucao : instrucoes) {
    const std::string tabela = tabelaDaInstrucao(instrucao);
    if (tabela.empty() || maiusculas(apara(instrucao)).rfind("DELETE", 0) != 0) continue;
    if (std::find(vistas.begin(), vistas.end(), tabela) != vistas.end()) continue;
    vistas.push_back(tabela);
    try {
      Recordset rs = conexao.abre("Select Count(*) From " + tabela);
      const long long n = rs.eof() ? 0 : static_cast<long long>(rs.valor(0).paraDouble());
      if (n > 0) contagens.emplace_back(tabela, n);
    } catch (const ErroBanco&) {
      // A table this database does not have: the wipe skips it too.
    }
  }
  return contagens;
}

std::string textoExclusao(const std::vector<std::pair<std::string, long long>>& contagens, bool condicional) {
  std::vector<std::string> partes;
  long long total = 0;
  bool feminino = false;
  for (const Nome& nome : kNomes)
    for (const auto& [t, n] : contagens)
      if (t == nome.tabela) {
        partes.push_back(milhares(n) + " " + (n == 1 ? nome.singular : nome.plural));
        feminino = nome.feminino;
      }
  long long outros = 0;
  std::string quais;
  int nomeadas = 0;
  for (const auto& [t, n] : contagens) {
    total += n;
    const std::string& tabela = t;  // a lambda may not capture a structured binding before clang 16
    if (std::any_of(std::begin(kNomes), std::end(kNomes), [&](const Nome& k) { return tabela == k.tabela; }))
      continue;
    outros += n;
    if (++nomeadas <= 6) quais += (quais.empty() ? "" : ", ") + t;
  }
  if (nomeadas > 6) quais += ", ...";
  if (outros > 0) {
    partes.push_back(milhares(outros) + (outros == 1 ? " outro registro (" : " outros registros (") + quais +
                     ")");
    feminino = false;
  }
  if (partes.empty()) return {};
  std::string texto;
  for (size_t i = 0; i < partes.size(); ++i)
    texto += (i == 0 ? "" : i + 1 == partes.size() ? " e " : ", ") + partes[i];
  // One row alone takes the singular (and its gender); any list, the masculine plural.
  const bool um = total == 1;
  texto +=
      condicional ? (um ? " seria excluíd" : " seriam excluíd") : (um ? " será excluíd" : " serão excluíd");
  return texto + (um && feminino ? "a" : um ? "o" : "os");
}

}  // namespace zuv
