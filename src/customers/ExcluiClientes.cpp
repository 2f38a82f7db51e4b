#include "customers/ExcluiClientes.h"

#include <cmath>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/Operacao.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "customers/Clientes.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"
#include "platform/Transacao.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

namespace {

// Runs the eight statements of one customer; the engine's description when the database refused
// one of them, in which case none of them stays.
std::optional<std::string> excluiCliente(Conexao& conexao, const std::string& id) {
  Transacao transacao(conexao);
  try {
    for (const char* exclusao : kExclusoesCliente)
      conexao.executa(exclusao + id);
    transacao.confirma();
    return std::nullopt;
  } catch (const ErroBanco& e) {
    return e.what();
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

Resultado ExcluiClientes(ContextoExecucao& ctx) {
  Tela& tela = ctx.tela();
  try {
    Conexao& conexao = ctx.zuv();
    if (!tela.pergunta("Excluir Base de dados de Cliente do ZUV", Icone::Pergunta, kTituloClientes,
                       Padrao::Nao)) {
      tela.cursorEspera(false);
      return Resultado::concluido();
    }
    tela.cursorEspera(true);
    ctx.copiaDeSeguranca(conexao, "excluir_clientes");
    Recordset clientes = conexao.abre("Select * from cliente");
    tela.limpaItens(kControleLista);  // the list shows the customers kept by this run
    tela.mostraControle(kControleLista, true);
    const int estilo = estiloRegional();
    for (; !clientes.eof(); clientes.proximo()) {
      const Valor& id = clientes.valor("idcliente");
      const std::optional<std::string> textoId = textoIdCliente(id);
      std::optional<std::string> recusa = "o identificador não é um número inteiro";
      if (textoId) recusa = excluiCliente(conexao, *textoId);
      if (!recusa) continue;
      ctx.registraFalha("Cliente " + id.textoRegional(estilo), *recusa);
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
