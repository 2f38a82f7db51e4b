#include "dbcopy/AtualizaBanco.h"

#include <exception>
#include <iterator>
#include <set>
#include <unordered_map>
#include <utility>

#include "common/Erro.h"
#include "common/Limpeza.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "dbcopy/IncluiProdutos.h"
#include "dbcopy/InsercaoEstoque.h"
#include "dbcopy/LimpaBancoDestino.h"
#include "dbcopy/LiteraisCopia.h"
#include "dbcopy/NCMCFOPDestino.h"
#include "dbcopy/ParBancos.h"
#include "dbcopy/RegistrosReferencia.h"
#include "dbcopy/ValoresCopia.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"
#include "platform/Transacao.h"
#include "schema/Tabelas.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

namespace atualiza {

namespace {

// Positions (from 0) in a row of consultaItens().
constexpr int kId = 0, kProduto = 1, kCFOP = 32, kNCM = 50;

int posicaoReferencia(const TipoReferencia& t) {
  if (&t == &kUnidade) return 19;
  if (&t == &kGrupo) return 2;
  if (&t == &kSubGrupo) return 3;
  if (&t == &kLocal) return 5;
  return 4;  // manufacturer
}

// " IDPRODUTO            = ": the column name padded, as the update of a stock item writes it.
std::string literalAtribuicao(const std::string& coluna) {
  const size_t largura = coluna == "IDPRODUTO" ? 21 : 25;
  return " " + coluna + std::string(coluna.size() < largura ? largura - coluna.size() : 1, ' ') + "= ";
}

}  // namespace

std::string consultaItens() {
  return "       Select                  " + listaLeituraEstoque("") + " From ProdutoEstoque     " +
         " ORDER BY IDGRADESIMILAR," + " IDITEMPRODUTO           ";
}

std::string insercaoItem(const Recordset& item, const Valor& idProduto, const Valor& idNCM,
                         const Valor& idTribCFOP) {
  using namespace coluna_estoque;
  return InsercaoEstoque(item, kColunasEstoquePredefinido)
      .valor(IDITEMPRODUTO, textoId(item.valor(kId)))
      .valor(coluna_estoque::IDPRODUTO, LiteralCopia(idProduto, TipoCopia::FL))
      .valor(coluna_estoque::IDTRIBCFOP, LiteralCopia(idTribCFOP, TipoCopia::FL))
      .valor(coluna_estoque::IDNCM, LiteralCopia(idNCM, TipoCopia::FL))
      .sql();
}

std::string atualizacaoItem(const Recordset& item, const Valor& idProduto, const Valor& idTribCFOP) {
  std::string sql = " Update  ProdutoEstoque Set ";
  bool primeiro = true;
  for (int i = kProduto; i < kNCM; ++i) {
    const std::string coluna = kColunasEstoque[i].nome;
    if (coluna == "ESTOQUEATUAL" || coluna == "ESTOQUEMINIMO") continue;
    if (!primeiro) sql += " , ";
    primeiro = false;
    const Valor& v = i == kCFOP ? idTribCFOP : i == kProduto ? idProduto : item.valor(i);
    sql += literalAtribuicao(coluna) + LiteralCopia(v, kColunasEstoque[i].tipo);
  }
  return sql + " WHERE IDITEMPRODUTO = " + textoId(item.valor(kId));
}

std::string insercaoProduto(const Valor& id, const Valor& descricao, const Valor& descricaoImp,
                            int tamanhoImpressao) {
  const Recordset produto(std::vector<Campo>{{"DESCRICAO"}, {"DescricaoImp"}},
                          std::vector<std::vector<Valor>>{{descricao, descricaoImp}});
  return zuv::insercaoProduto(static_cast<int32_t>(id.paraDouble()), produto, tamanhoImpressao);
}

namespace {

struct Produto {
  Valor descricao, descricaoImp;
};

class Copia {
 public:
  Copia(Conexao& origem, Conexao& destino, Tela& tela)
      : origem_(origem),
        destino_(destino),
        tela_(tela),
        referencias_(origem, destino),
        ncm_(origem, destino),
        cfop_(origem, destino) {}

  long copiaItens() {
    Recordset total =
        origem_.abre(std::string("Select count(*) totalReg      ") + " From ProdutoEstoque    ");
    const long totalReg = total.eof() ? 0 : static_cast<long>(total.valor(0).paraDouble());
    carregaProdutos();
    Recordset itens = origem_.abre(consultaItens());
    long feitos = 0;
    for (; !itens.eof(); itens.proximo()) {
      copiaItem(itens);
      ++feitos;
      const int progresso = totalReg > 0 ? static_cast<int>(100.0 / totalReg * feitos) : 100;
      tela_.progressoLinhas(std::min(progresso, 100), feitos, totalReg);
      if (feitos % 100 == 0 || itens.totalRegistros() == feitos)
        tela_.defineTexto("Label1", std::to_string(feitos));
    }
    tela_.progressoLinhas(100, feitos, feitos);  // all copied (the count may include items the query skips)
    return feitos;
  }

  // The grid data of every item of a similar-grid group, written again from the origin.
  void passadaGrade() {
    Recordset grade =
        origem_.abre(std::string(" Select ") + " IDITEMPRODUTO          ,    " + " ProdutoMaster ," +
                     "TamanhoGrade ," + "CorGrade ," + "DescricaoGrade," + "TamanhoGrade ," +
                     " IDGRADESIMILAR" + " From ProdutoEstoque    where IDGRADESIMILAR is not null" +
                     " oRDER BY IDGRADESIMILAR,IDITEMPRODUTO ");
    for (; !grade.eof(); grade.proximo())
      destino_.executa("Update ProdutoEstoque Estoque SEt" + std::string(" ProdutoMaster = ") +
                       LiteralCopia(grade.valor(1), TipoCopia::CH) + "," +
                       " CorGrade = " + LiteralCopia(grade.valor(3), TipoCopia::CH) + "," +
                       " DescricaoGrade = " + LiteralCopia(grade.valor(4), TipoCopia::CH) + "," +
                       " TamanhoGrade = " + LiteralCopia(grade.valor(2), TipoCopia::CH) + "," +
                       " IDGRADESIMILAR = " + LiteralCopia(grade.valor(6), TipoCopia::FL) +
                       " Where IDITEMPRODUTO = " + textoId(grade.valor(0)));
  }

 private:
  // The origin's products, read once instead of once per stock item.
  void carregaProdutos() {
    tamanhoImpressao_ = tamanhoColuna(destino_, "PRODUTO", "DESCRICAOIMP");
    Recordset rs = origem_.abre("Select IDPRODUTO, DESCRICAO, DESCRICAOIMP From PRODUTO");
    for (; !rs.eof(); rs.proximo())
      if (!rs.valor(0).nulo()) produtos_[textoId(rs.valor(0))] = {rs.valor(1), rs.valor(2)};
  }

  void copiaItem(const Recordset& item) {
    const std::string id = textoId(item.valor(kId));
    try {
      // A product shared by several stock items is inserted for the first of them; an item whose
      // product the origin lacks is copied without one.
      Valor idProduto = item.valor(kProduto);
      if (!idProduto.nulo()) {
        const std::string p = textoId(idProduto);
        auto it = produtos_.find(p);
        if (it == produtos_.end())
          idProduto = Valor();
        else if (produtosFeitos_.insert(p).second)
          destino_.executa(
              insercaoProduto(idProduto, it->second.descricao, it->second.descricaoImp, tamanhoImpressao_));
      }
      for (const TipoReferencia* tipo : kReferencias)
        referencias_.garante(*tipo, item.valor(posicaoReferencia(*tipo)));
      const Valor idNCM = ncm_.idNCM(item.valor(kNCM));
      const Valor idTribCFOP = cfop_.idTribCFOP(item.valor(kCFOP));
      // The destination's stock items were deleted in this transaction: an identifier already
      // written here is the only one it can hold.
      destino_.executa(itensFeitos_.insert(id).second ? insercaoItem(item, idProduto, idNCM, idTribCFOP)
                                                      : atualizacaoItem(item, idProduto, idTribCFOP));
    } catch (const ErroBanco&) {
      throw;
    } catch (const Erro& e) {
      throw Erro(std::string(e.what()) + " (IDITEMPRODUTO " + id + ")");
    }
  }

  Conexao& origem_;
  Conexao& destino_;
  Tela& tela_;
  RegistrosReferencia referencias_;
  NCMDestino ncm_;
  CFOPDestino cfop_;
  std::unordered_map<std::string, Produto> produtos_;
  int tamanhoImpressao_ = 0;
  std::set<std::string> produtosFeitos_, itensFeitos_;
};

// The comanda generators follow their (now empty) tables.
void reiniciaGeradores(Conexao& destino) {
  const std::pair<const char*, const char*> geradores[] = {
      {"Select Max(IDITEMCOMANDA) MaxRegistro From COMANDAMOVIMENTODIA",
       "set GENERATOR GEN_ID_ComandaMovimentoDia TO "},
      {"Select Max(idComanda) MaxComanda From Comanda", "set GENERATOR GEN_ID_ComandaPr TO "},
  };
  for (const auto& [consulta, comando] : geradores) {
    Recordset rs = destino.abre(consulta);
    if (rs.eof()) continue;
    destino.executa(comando + (rs.valor(0).nulo() ? std::string("0") : textoId(rs.valor(0))));
  }
}

}  // namespace
}  // namespace atualiza

Resultado AtualizaBanco(Conexao& origem, Conexao& destino, Tela& tela, const OpcoesAtualizaBanco& opcoes) {
  using namespace atualiza;
  TelaDoEscopo escopo(tela);
  tela.progresso(0);
  long migrados = 0;
  try {
    if (const std::string motivo = impedimentoLimpezaDestino(destino); !motivo.empty()) throw Erro(motivo);
    if (opcoes.antesDeApagar && !opcoes.antesDeApagar(destino)) {
      const std::string texto = "Cópia cancelada: nada foi excluído do destino.";
      tela.nota(texto);
      return Resultado::falhou(texto);
    }
    {
      // The origin is read in one snapshot, so the copy sees it as it was at one moment.
      Transacao leitura(origem);
      Transacao transacao(destino);
      LimpaBancoDestino(destino);
      Copia copia(origem, destino, tela);
      migrados = copia.copiaItens();
      copia.passadaGrade();
      transacao.confirma();
    }
    if (!opcoes.simulacao) reiniciaGeradores(destino);
  } catch (const std::exception& e) {
    const std::string mensagem = "Erro ao executar o comando: " + std::string(e.what());
    tela.mensagem(mensagem, Icone::Informacao);
    return Resultado::falhou(mensagem);
  }
  tela.mensagem("Total de Produtos Recuperado  " + std::to_string(migrados), Icone::Informacao);
  return Resultado::concluido();
}

Resultado AtualizaBanco(ContextoExecucao& ctx, Conexao& origem, Conexao& destino) {
  OpcoesAtualizaBanco opcoes;
  opcoes.antesDeApagar = [&ctx](Conexao& d) {
    std::vector<std::string> exclusoes(std::begin(kLimpaBancoDestino), std::end(kLimpaBancoDestino));
    exclusoes.insert(exclusoes.end(), std::begin(kExcluiCatalogoDestino), std::end(kExcluiCatalogoDestino));
    if (!ctx.confirmaExclusao(d, exclusoes, "Limpa Banco e Cadastra Produtos")) return false;
    ctx.copiaDeSeguranca(d, "copia-produtos");
    return true;
  };
  opcoes.simulacao = ctx.simulacao();
  return AtualizaBanco(origem, destino, ctx.tela(), opcoes);
}

Resultado AtualizaBanco(ContextoExecucao& ctx, ParBancos& bancos) {
  return AtualizaBanco(ctx, bancos.origem, bancos.destino);
}

}  // namespace zuv
