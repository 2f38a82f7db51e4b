#include "customers/ExcluiClientes.h"

#include <cmath>
#include <exception>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/Operacao.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "customers/Clientes.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"

namespace zuv {

namespace {

// One customer's transaction: rolled back unless confirmed, also when the rollback itself fails
// (the connection reports that on its next statement).
class TransacaoCliente {
 public:
  explicit TransacaoCliente(Conexao& conexao) : conexao_(conexao) { conexao_.iniciaTransacao(); }
  ~TransacaoCliente() {
    if (!confirmada_) try {
        conexao_.desfaz();
      } catch (const std::exception&) {
      }
  }
  TransacaoCliente(const TransacaoCliente&) = delete;
  TransacaoCliente& operator=(const TransacaoCliente&) = delete;
  void confirma() {
    conexao_.confirma();
    confirmada_ = true;
  }

 private:
  Conexao& conexao_;
  bool confirmada_ = false;
};

// Runs the eight statements of one customer; false when the database refused one of them, in
// which case none of them stays.
bool excluiCliente(Conexao& conexao, const std::string& id) {
  TransacaoCliente transacao(conexao);
  try {
    for (const char* exclusao : kExclusoesCliente)
      conexao.executa(exclusao + id);
    transacao.confirma();
    return true;
  } catch (const ErroBanco&) {
    return false;
  }
}

bool inteiroEmTexto(const std::string& s) {
  size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

}  // namespace

std::optional<std::string> textoIdCliente(const Valor& id) {
  if (id.inteiro()) return std::to_string(id.comoInteiro());
  if (id.decimal() || id.real()) {
    const double d = id.paraDouble();
    if (d != std::floor(d) || std::fabs(d) > 9e15) return std::nullopt;
    return std::to_string(static_cast<long long>(d));
  }
  if (id.texto()) {
    const std::string s = apara(id.comoTexto());
    if (inteiroEmTexto(s)) return s;
  }
  return std::nullopt;
}

std::string itemClienteMantido(const std::string& id, const std::string& nome) {
  return id + "Nome: " + nome + "Operação não poderá ser completa, há operações vinculada a esse cliente : ";
}

Resultado ExcluiClientes(Conexao& conexao, Tela& tela) {
  TelaDoEscopo escopo(tela);
  try {
    if (!tela.pergunta("Excluir Base de dados de Cliente do ZUV", Icone::Pergunta, kTituloClientes)) {
      tela.cursorEspera(false);
      return Resultado::concluido();
    }
    tela.cursorEspera(true);
    Recordset clientes = conexao.abre("Select * from cliente");
    tela.limpaItens(kControleLista);  // the list shows the customers kept by this run
    tela.mostraControle(kControleLista, true);
    const int estilo = estiloRegional();
    for (; !clientes.eof(); clientes.proximo()) {
      const Valor& id = clientes.valor("idcliente");
      const std::optional<std::string> textoId = textoIdCliente(id);
      if (textoId && excluiCliente(conexao, *textoId)) continue;
      tela.adicionaItem(kControleLista, itemClienteMantido(id.textoRegional(estilo),
                                                           clientes.valor("Cliente").textoRegional(estilo)));
    }
    tela.mensagem("finalizado");
    tela.cursorEspera(false);
    return Resultado::concluido();
  } catch (const std::exception& e) {
    return informaFalha(tela, e);
  }
}

}  // namespace zuv
