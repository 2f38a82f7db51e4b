#include "dbcopy/CopiaTabela.h"

#include <cmath>
#include <optional>
#include <vector>

#include "common/Erro.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "dbcopy/LiteraisCopia.h"
#include "dbcopy/ParBancos.h"
#include "dbcopy/ZUVProduto.h"
#include "platform/Conexao.h"
#include "platform/Transacao.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

namespace {

// The key of a row as a whole number, -1 when it is none (the copy asks for keys 1, 2, ...).
long chaveInteira(const Valor& v) {
  if (v.inteiro()) return static_cast<long>(v.comoInteiro());
  if (v.decimal() || v.real()) {
    const double d = v.paraDouble();
    return d == std::floor(d) ? static_cast<long>(d) : -1;
  }
  if (v.texto()) {
    const std::string t = apara(v.comoTexto());
    if (t.empty() || t.size() > 18 || t.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stol(t);
  }
  return -1;
}

bool mesmoNome(const std::string& a, const std::string& b) {
  return maiusculas(a) == maiusculas(b);
}

// Leaves the hourglass however the copy ends.
struct CursorDeEspera {
  Tela& tela;
  explicit CursorDeEspera(Tela& t) : tela(t) { tela.cursorEspera(true); }
  ~CursorDeEspera() { tela.cursorEspera(false); }
};

}  // namespace

std::string mensagemChaveAusente(long chave) {
  return "Erro ao inserir o Registro " + std::to_string(chave) +
         " Exluir o registro que não possui a chave primária.";
}

Resultado MigraProduto(ContextoExecucao& ctx, ParBancos& b, const std::string& tabela) {
  Tela& tela = ctx.tela();
  CursorDeEspera espera(tela);
  long chave = 0;
  const auto falha = [&](const std::string& texto) {
    tela.mensagem(texto, Icone::Exclamacao);
    return Resultado::falhou(texto);
  };
  try {
    std::optional<Transacao> leitura(std::in_place, b.origem);  // one snapshot of the origin
    const long total =
        static_cast<long>(b.origem.abre("select Count(*) from " + tabela).valor("Count").paraDouble());
    Recordset origem = b.origem.abre("select * from " + tabela);
    Recordset destino = b.destino.abre("select * from " + tabela);

    // The destination's columns, each read from the origin's column of the same name. One the
    // origin lacks is left out, so the destination's default (or Null) applies, as for LIBERAMENSAL.
    std::string colunas;
    std::vector<int> deOrigem;
    std::vector<std::string> semOrigem;
    for (int i = 0; i < destino.totalCampos(); ++i) {
      const std::string& nome = destino.campo(i).nome;
      if (mesmoNome(nome, kColunaNaoCopiada)) continue;
      const int pos = origem.posicaoCampo(nome);
      if (pos < 0) {
        semOrigem.push_back(nome);
        continue;
      }
      colunas += nome + " ,";
      deOrigem.push_back(pos);
    }
    if (!colunas.empty()) colunas.pop_back();

    // Every statement is made before the destination is touched, so a missing key or a value that
    // cannot be written stops the copy with the destination as it was.
    std::vector<std::string> insercoes(static_cast<size_t>(std::max(total, 0L)) + 1);
    for (; !origem.eof(); origem.proximo()) {
      const long k = chaveInteira(origem.valor(0));
      if (k < 1 || k > total) continue;
      std::string valores;
      for (int pos : deOrigem)
        valores += LiteralDoCampo(origem.valor(pos), origem.campo(pos)) + ",";
      if (!valores.empty()) valores.pop_back();
      insercoes[k] = "Insert Into " + tabela + " (" + colunas + ") Values (" + valores + ")";
    }
    for (chave = 1; chave <= total; ++chave) {
      if (!insercoes[chave].empty()) continue;
      tela.mensagem(mensagemChaveAusente(chave), Icone::Informacao);
      tela.defineTexto(kControleResultado, "Registro com Erro " + std::to_string(chave));
      tela.mensagem(kMensagemCampoEmBranco, Icone::Informacao, kTituloCampoEmBranco);
      return Resultado::falhou(mensagemChaveAusente(chave));
    }
    chave = 0;
    leitura.reset();

    if (!semOrigem.empty()) {
      std::string lista;
      for (const std::string& nome : semOrigem)
        lista += (lista.empty() ? "" : ", ") + nome;
      tela.nota("Colunas de " + tabela +
                " que a origem não tem, deixadas com o valor padrão do destino: " + lista);
    }
    ctx.copiaDeSeguranca(b.destino, "copia-clientes");
    Transacao transacao(b.destino);
    try {
      b.destino.executa("delete from " + tabela);
    } catch (const ErroBanco& e) {
      return falha("Os registros da tabela " + tabela +
                   " do banco de destino não podem ser apagados: " + e.what());
    }
    tela.progresso(0);
    for (chave = 1; chave <= total; ++chave) {
      b.destino.executa(insercoes[chave]);
      tela.progressoLinhas(static_cast<int>(std::lround(double(chave) / double(total) * 100)), chave, total);
    }
    transacao.confirma();
    --chave;
  } catch (const std::exception& e) {
    Resultado r = falha("Erro na Tabela " + tabela + (chave > 0 ? " REGISTRO " + std::to_string(chave) : "") +
                        ": " + e.what());
    if (chave > 0) tela.defineTexto(kControleResultado, "RegErro " + std::to_string(chave));
    return r;
  }
  tela.mensagem(kMensagemFimCopia);
  tela.defineTexto(kControleResultado, "Importados " + std::to_string(chave));
  return Resultado::concluido();
}

}  // namespace zuv
