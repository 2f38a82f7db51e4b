#include "dbcopy/AtualizaBanco.h"

#include <exception>
#include <set>
#include <unordered_map>
#include <utility>

#include "common/Erro.h"
#include "common/Limpeza.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "dbcopy/LimpaBancoDestino.h"
#include "dbcopy/NCMCFOPDestino.h"
#include "dbcopy/RegistrosReferencia.h"
#include "dbcopy/ValoresCopia.h"
#include "platform/Conexao.h"
#include "platform/Recordset.h"
#include "platform/Transacao.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

namespace atualiza {

namespace {

// The columns of the origin query, in order (TamanhoGrade twice, as the ZUV query reads it).
constexpr const char* kColunasItem[] = {
    "IDITEMPRODUTO",
    "IDPRODUTO",
    "IDPRODGRUPO",
    "IDSUBGRUPO",
    "IDFABRICANTE",
    "IDLOCAL",
    "CUSTOBRUTO",
    "DESCONTOVALOR",
    "DESCONTOPORC",
    "IPIPORCENTAGEM",
    "IPIVALOR",
    "CUSTOLIQUIDO",
    "MARGEMVENDAPORC",
    "MARGEMVENDA",
    "VENDAATUAL",
    "VENDACDESCONTO",
    "UNIDEMBALAGEM",
    "CAPEMBALAGEM",
    "PESOGR",
    "IDUNIDADE",
    "TIPOESTOQUE",
    "ESTOQUEATUAL",
    "ESTOQUEMINIMO",
    "COMISSAOVEND",
    "PORCATACADO",
    "MARGEMATACADO",
    "VENDAATACADO",
    "IDTIPOPROMO",
    "QTDIAVALIDO",
    "ALIQICMS",
    "VALORICMS",
    "IDGRADE",
    "IDTRIBCFOP",
    "IDFIG",
    "ESTOQUECOMPRADO",
    "CLASSEABC",
    "GERARETIQUETA",
    "ATIVO",
    "BARRA",
    "MEIO",
    "CONSERTO",
    "BALANCA",
    "CHECKOUTATUALIZADO",
    "GRADE",
    "IMPRIMECONSERTO",
    "CALCBALANCA",
    "VALIDADEPRECO",
    "DATACADASTRO",
    "DATAALTERADO",
    "VAIDADEPRODUTO",
    "idNCM",
    "ProdutoMaster",
    "TamanhoGrade",
    "CorGrade",
    "DescricaoGrade",
    "TamanhoGrade",
    "IDGRADESIMILAR",
};
constexpr int kTotalColunas = sizeof kColunasItem / sizeof *kColunasItem;
constexpr int kId = 0, kProduto = 1, kCFOP = 32, kNCM = 50, kGradeSimilar = 56;
constexpr int kPrimeiroTexto = 35, kPrimeiraData = 46, kPrimeiroGrade = 51;

int posicaoReferencia(const TipoReferencia& t) {
  if (&t == &kUnidade) return 19;
  if (&t == &kGrupo) return 2;
  if (&t == &kSubGrupo) return 3;
  if (&t == &kLocal) return 5;
  return 4;  // manufacturer
}

// The type code of insert column i (0-based; column 55 is the query's IDGRADESIMILAR).
Tipo tipoColuna(int i) {
  if (i >= kPrimeiroTexto && i < kPrimeiraData) return Tipo::CH;
  if (i >= kPrimeiraData && i < kNCM) return Tipo::DT;
  if (i >= kPrimeiroGrade && i < kPrimeiroGrade + 4) return Tipo::CH;
  return Tipo::FL;
}

// " IDPRODUTO            = ": the column name padded, as the update of a stock item writes it.
std::string literalAtribuicao(const std::string& coluna) {
  const size_t largura = coluna == "IDPRODUTO" ? 21 : 25;
  return " " + coluna + std::string(coluna.size() < largura ? largura - coluna.size() : 1, ' ') + "= ";
}

}  // namespace

std::string consultaItens() {
  std::string sql = "       Select                  ";
  for (int i = 0; i < kTotalColunas; ++i)
    sql += std::string(i ? "," : "") + kColunasItem[i];
  return sql + " From ProdutoEstoque     " + " ORDER BY IDGRADESIMILAR," + " IDITEMPRODUTO           ";
}

std::string insercaoItem(const Recordset& item, const Valor& idNCM, const Valor& idTribCFOP) {
  std::string colunas = " Insert Into ProdutoEstoque (        ";
  std::string valores = "  Values ( ";
  for (int i = 0; i < kGradeSimilar; ++i) {
    const int posicao = i == kGradeSimilar - 1 ? kGradeSimilar : i;
    colunas += i < kGradeSimilar - 1 ? (i ? " " : "") + std::string(kColunasItem[i]) + " ,"
                                     : std::string(" IDGRADESIMILAR ) ");
    const Valor& v = i == kCFOP ? idTribCFOP : i == kNCM ? idNCM : item.valor(posicao);
    valores += i == kId ? textoId(v) : literal(v, tipoColuna(i));
    if (i < kNCM)
      valores += " , ";
    else if (i < kGradeSimilar - 1)
      valores += ",";
  }
  return colunas + valores + ")";
}

std::string atualizacaoItem(const Recordset& item, const Valor& idTribCFOP) {
  std::string sql = " Update  ProdutoEstoque Set ";
  bool primeiro = true;
  for (int i = kProduto; i < kNCM; ++i) {
    const std::string coluna = kColunasItem[i];
    if (coluna == "ESTOQUEATUAL" || coluna == "ESTOQUEMINIMO") continue;
    if (!primeiro) sql += " , ";
    primeiro = false;
    sql += literalAtribuicao(coluna) + literal(i == kCFOP ? idTribCFOP : item.valor(i), tipoColuna(i));
  }
  return sql + " WHERE IDITEMPRODUTO = " + textoId(item.valor(kId));
}

std::string insercaoProduto(const Valor& id, const Valor& descricao, const Valor& descricaoImp) {
  const std::string nome = descricao.nulo() ? std::string() : LimpaTexto(descricao.textoRegional(1), false);
  // The printed name whole, cleaned and cut to its 24 characters; a missing one stays missing.
  const std::string impressao =
      descricaoImp.nulo()
          ? std::string("Null")
          : literal(Valor(esquerda(LimpaTexto(descricaoImp.textoRegional(1), false), 24)), Tipo::CH);
  return " Insert Into Produto (IDPRODUTO, DESCRICAO,DESCRICAOIMP) Values (" + literal(id, Tipo::FL) + "," +
         literal(Valor(nome), Tipo::CH) + "," + impressao + ")";
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
    int ultimoProgresso = 0;
    for (; !itens.eof(); itens.proximo()) {
      copiaItem(itens);
      ++feitos;
      const int progresso = totalReg > 0 ? static_cast<int>(100.0 / totalReg * feitos) : 100;
      if (progresso != ultimoProgresso) tela_.progresso(ultimoProgresso = std::min(progresso, 100));
      if (feitos % 100 == 0 || itens.totalRegistros() == feitos)
        tela_.defineTexto("Label1", std::to_string(feitos));
    }
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
                       literal(grade.valor(1), Tipo::CH) + "," +
                       " CorGrade = " + literal(grade.valor(3), Tipo::CH) + "," +
                       " DescricaoGrade = " + literal(grade.valor(4), Tipo::CH) + "," +
                       " TamanhoGrade = " + literal(grade.valor(2), Tipo::CH) + "," +
                       " IDGRADESIMILAR = " + literal(grade.valor(6), Tipo::FL) +
                       " Where IDITEMPRODUTO = " + textoId(grade.valor(0)));
  }

 private:
  // The origin's products, read once instead of once per stock item.
  void carregaProdutos() {
    Recordset rs = origem_.abre("Select IDPRODUTO, DESCRICAO, DESCRICAOIMP From PRODUTO");
    for (; !rs.eof(); rs.proximo())
      if (!rs.valor(0).nulo()) produtos_[textoId(rs.valor(0))] = {rs.valor(1), rs.valor(2)};
  }

  void copiaItem(const Recordset& item) {
    const std::string id = textoId(item.valor(kId));
    try {
      const Valor& idProduto = item.valor(kProduto);
      if (!idProduto.nulo()) {
        const std::string p = textoId(idProduto);
        // A product shared by several stock items is inserted for the first of them.
        if (produtosFeitos_.insert(p).second) {
          auto it = produtos_.find(p);
          if (it == produtos_.end()) throw Erro("o produto " + p + " não existe no banco de dados origem");
          destino_.executa(insercaoProduto(idProduto, it->second.descricao, it->second.descricaoImp));
        }
      }
      for (const TipoReferencia* tipo : kReferencias)
        referencias_.garante(*tipo, item.valor(posicaoReferencia(*tipo)));
      const Valor idNCM = ncm_.idNCM(item.valor(kNCM));
      const Valor idTribCFOP = cfop_.idTribCFOP(item.valor(kCFOP));
      // The destination's stock items were deleted in this transaction: an identifier already
      // written here is the only one it can hold.
      destino_.executa(itensFeitos_.insert(id).second ? insercaoItem(item, idNCM, idTribCFOP)
                                                      : atualizacaoItem(item, idTribCFOP));
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
    if (opcoes.antesDeApagar) opcoes.antesDeApagar(destino);
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
  opcoes.antesDeApagar = [&ctx](Conexao& d) { ctx.copiaDeSeguranca(d, "copia-produtos"); };
  opcoes.simulacao = ctx.simulacao();
  return AtualizaBanco(origem, destino, ctx.tela(), opcoes);
}

}  // namespace zuv
