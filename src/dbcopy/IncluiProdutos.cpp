#include "dbcopy/IncluiProdutos.h"

#include <cmath>
#include <map>

#include "common/ConverteSQL.h"
#include "common/Limpeza.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "dbcopy/InsercaoEstoque.h"
#include "dbcopy/LiteraisCopia.h"
#include "dbcopy/ParBancos.h"
#include "dbcopy/ZUVProduto.h"
#include "platform/Conexao.h"
#include "platform/Transacao.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

namespace {

std::string fl(int64_t id) {
  return LiteralCopia(Valor(id), TipoCopia::FL);
}

std::string ch(const Valor& v) {
  return LiteralCopia(v, TipoCopia::CH);
}

std::string selectOrigem() {
  return "       Select                  " + listaLeituraEstoque("A.") +
         ",(B.Descricao)As DescricaoUnidade,(C.Descricao)As DescricaoGrupo,A.VENDAPORPLANNEGOCIO" +
         " From ProdutoEstoque A     " + " Inner Join Unidade         B on A.IdUnidade = B.IdUnidade" +
         " Inner Join ProdutoGrupo    C on A.IdProdGrupo = C.IdProdGrupo" + " ORDER BY A.IDGRADESIMILAR," +
         " A.IDITEMPRODUTO           ";
}

// The description lookup of a unit or group. The description is a quoted literal, so an
// apostrophe in it cannot end the statement; a null one matches nothing, as an empty text.
std::string buscaPorDescricao(const char* tabela, const Valor& descricao) {
  return std::string("Select * From ") + tabela +
         " Where Descricao = " + aspas(descricao.texto() ? descricao.comoTexto() : "");
}

std::string insercaoUnidade(int32_t id, const Recordset& u) {
  return " Insert Into UNIDADE ( IDUNIDADE,DESCRICAO," +
         std::string("                 MEDIDAFRACAO,METRAGEM, QTDECIMAL )") + " Values ( " + fl(id) + "," +
         ch(u.valor("DESCRICAO")) + "," + ch(u.valor("MedidaFracao")) + "," + ch(u.valor("Metragem")) + "," +
         LiteralCopia(u.valor("QTDecimal"), TipoCopia::FL) + ")";
}

std::string insercaoGrupo(int32_t id, const Recordset& g) {
  const auto f = [&](const char* c) { return LiteralCopia(g.valor(c), TipoCopia::FL); };
  return " Insert Into PRODUTOGRUPO ( IDPRODGRUPO, DESCRICAO, PORCMARGEMVENDA," +
         std::string(
             " PORCMARGEMATACADO, PORCAUTO, PORCMARGEMVENDEDOR, PORCMARGEMVENDAATA, DEPARTAMENTOBALANCA ) ") +
         " Values ( " + fl(id) + "," + ch(g.valor("DESCRICAO")) + "," + f("PORCMARGEMVENDA") + "," +
         f("PORCMARGEMATACADO") + "," + ch(g.valor("PORCAUTO")) + "," + f("PORCMARGEMVENDEDOR") + "," +
         f("PORCMARGEMVENDAATA") + "," + f("DEPARTAMENTOBALANCA") + ")";
}

// A unit or group of the destination found by the origin's description, or created from the origin
// row with the next identifier. Gives its identifier.
int32_t unidadeOuGrupo(ParBancos& b, const char* tabela, const char* chave, const Valor& descricao,
                       ContadorId& contador, std::string (*insercao)(int32_t, const Recordset&)) {
  const std::string busca = buscaPorDescricao(tabela, descricao);
  Recordset achado = b.destino.abre(busca);
  if (!achado.eof()) return static_cast<int32_t>(achado.valor(chave).paraDouble());
  const int32_t id = contador.proximo(b.destino);
  Recordset origem = b.origem.abre(busca);
  b.destino.executa(insercao(id, origem));
  return id;
}

// The origin's fiscal operation of a stock item, as the destination's record with the same fiscal
// code, CSOSN and CST: an origin number names an unrelated record in another database. Null when the
// destination has none.
class MapaCfop {
 public:
  std::string literal(ParBancos& b, const Valor& idOrigem) {
    if (idOrigem.nulo() || idOrigem.paraDouble() == 0) return "Null";
    const std::string id = textoSimples(idOrigem);
    auto it = literais_.find(id);
    if (it == literais_.end()) it = literais_.emplace(id, busca(b, id)).first;
    if (it->second == "Null") ++semCorrespondente;
    return it->second;
  }
  long semCorrespondente = 0;  // items whose origin operation the destination lacks

 private:
  std::string busca(ParBancos& b, const std::string& id) {
    Recordset o = b.origem.abre("Select * From TRIBCFOP Where IDTRIBCFOP =" + id);
    if (o.eof()) return "Null";
    std::string sql = "Select IDTRIBCFOP From TRIBCFOP Where 1 = 1";
    for (const char* c : {"CODFISCAL", "CSOSN", "CSTSAT"})
      if (o.posicaoCampo(c) >= 0)
        sql += std::string(" and ") + c + " is not distinct from " + LiteralCopia(o.valor(c), TipoCopia::TX);
    Recordset d = b.destino.abre(sql + " order by IDTRIBCFOP");
    return d.eof() ? "Null" : fl(d.valor(0).comoInteiro());
  }
  std::map<std::string, std::string> literais_;
};

}  // namespace

std::string descricaoImpressao(const Recordset& produto, int tamanho) {
  const Valor& v = produto.valor("DescricaoImp");
  if (v.nulo()) return {};
  const std::string limpo = LimpaTexto(v.textoRegional(estiloRegional()), false);
  return tamanho > 0 ? esquerda(limpo, static_cast<size_t>(tamanho)) : limpo;
}

std::string insercaoProduto(int32_t id, const Recordset& produto, int tamanhoImpressao) {
  const std::string descricao = LimpaTexto(produto.valor("DESCRICAO").textoRegional(estiloRegional()), false);
  return " Insert Into Produto (IDPRODUTO, DESCRICAO,DESCRICAOIMP) Values (" + fl(id) + "," + ch(descricao) +
         "," + ch(descricaoImpressao(produto, tamanhoImpressao)) + ")";
}

Resultado AtualizaBancoCadProdutoInclui(ContextoExecucao& ctx, ParBancos& b) {
  Tela& tela = ctx.tela();
  try {
    tela.progresso(0);
    Transacao transacao(b.destino);
    Transacao leitura(b.origem);  // one snapshot of the origin, never confirmed: nothing is written there
    ContadorId produtos("Select Max(idProduto)as idProduto From PRODUTO");
    ContadorId unidades("Select Max(IdUnidade)as IdUnidade From Unidade");
    ContadorId grupos("Select Max(IdProdGrupo)as IdProdGrupo From PRODUTOGRUPO");
    ContadorId itens("Select Max(idItemProduto)as idItemProduto From PRODUTOestoque");
    MapaCfop cfops;

    Recordset total =
        b.origem.abre("Select count(*) totalReg      " + std::string(" From ProdutoEstoque    "));
    const double totalReg = total.valor("totalReg").paraDouble();
    const int tamanhoImpressao = tamanhoColuna(b.destino, "PRODUTO", "DESCRICAOIMP");

    Recordset linha = b.origem.abre(selectOrigem());
    long feitos = 0;
    int64_t barra = 0;  // the numbers below it are taken: the next free one is above it
    for (; !linha.eof(); linha.proximo()) {
      // The product, only when the origin has it; the item refers to the one inserted for it.
      std::string produto = "Null";
      if (const Valor& idProduto = linha.valor("idProduto"); !idProduto.nulo()) {
        const int32_t id = produtos.proximo(b.destino);
        Recordset p = b.origem.abre("Select * From PRODUTO Where IDPRODUTO =" + textoSimples(idProduto));
        if (!p.eof()) {
          b.destino.executa(insercaoProduto(id, p, tamanhoImpressao));
          produto = fl(id);
        } else {
          produtos.devolve();
        }
      }

      for (;;) {
        ++barra;
        if (b.destino.abre("Select Barra From PRODUTOESTOQUE Where Barra = '" + std::to_string(barra) + "'")
                .eof())
          break;
      }

      std::string unidade = "Null", grupo = "Null";
      if (!linha.valor("idUnidade").nulo())
        unidade = fl(unidadeOuGrupo(b, "UNIDADE", "idUnidade", linha.valor("DescricaoUnidade"), unidades,
                                    insercaoUnidade));
      if (!linha.valor("IdProdGrupo").nulo())
        grupo = fl(unidadeOuGrupo(b, "PRODUTOGRUPO", "IdProdGrupo", linha.valor("DescricaoGrupo"), grupos,
                                  insercaoGrupo));

      namespace c = coluna_estoque;
      InsercaoEstoque item(linha, kColunasEstoqueInclui);
      item.valor(c::IDITEMPRODUTO, std::to_string(itens.proximo(b.destino)))
          .valor(c::IDPRODUTO, produto)
          .valor(c::IDPRODGRUPO, grupo)
          .valor(c::IDSUBGRUPO, "NULL, ", "")
          .valor(c::IDFABRICANTE, "NULL, ", "")
          .valor(c::IDLOCAL, "NULL, ", "")
          .valor(c::IDUNIDADE, unidade)
          .valor(c::IDTRIBCFOP, cfops.literal(b, linha.valor("IDTRIBCFOP")))
          .valor(c::BARRA, ch(std::to_string(barra)))
          .valor(c::IDNCM, "Null");
      b.destino.executa(item.sql());

      ++feitos;
      tela.progressoLinhas(static_cast<int>(std::lround(100.0 / totalReg * static_cast<double>(feitos))),
                           feitos, static_cast<long long>(totalReg));
      tela.defineTexto(kControleContador, std::to_string(feitos));
    }
    tela.progressoLinhas(100, feitos, feitos);  // all done (the count may include items left out)
    transacao.confirma();
    if (cfops.semCorrespondente > 0)
      tela.nota(std::to_string(cfops.semCorrespondente) +
                " item(ns) sem operação fiscal (IDTRIBCFOP): o destino não tem uma com o mesmo CFOP, CSOSN e "
                "CST da operação de origem.");
    tela.mensagem(kMensagemTotalProdutos + std::to_string(feitos), Icone::Informacao);
    return Resultado::concluido();
  } catch (const std::exception& e) {
    const std::string texto = kMensagemErroComando + std::string(e.what());
    tela.mensagem(texto, Icone::Informacao);
    return Resultado::falhou(texto);
  }
}

}  // namespace zuv
