#include "dbcopy/IncluiProdutos.h"

#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "common/ConverteSQL.h"
#include "common/InstrucaoSQL.h"
#include "common/Limpeza.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "dbcopy/InsercaoEstoque.h"
#include "dbcopy/LiteraisCopia.h"
#include "dbcopy/ParBancos.h"
#include "dbcopy/RegistrosReferencia.h"
#include "dbcopy/ZUVProduto.h"
#include "platform/Conexao.h"
#include "platform/Transacao.h"
#include "schema/ConsultasGuardadas.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

namespace {

std::string fl(int64_t id) {
  return LiteralCopia(Valor(id), TipoSQL::FL);
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

// The destination tables the run writes. In an all-or-nothing or dry run the destination's
// transaction holds them, and the run then reads each of their records once instead of once per
// item: units and groups by description, the barcodes taken, the origin's products.
const std::vector<std::string> kTabelasDestino = {"PRODUTO", "PRODUTOESTOQUE", "UNIDADE", "PRODUTOGRUPO"};

// A unit or group of the destination found by the origin's description, or created from the origin
// row with the next identifier. Gives its identifier.
int32_t unidadeOuGrupo(ParBancos& b, ConsultasGuardadas& consultas, const atualiza::TipoReferencia& tipo,
                       const char* chave, const Valor& descricao, ContadorId& contador) {
  const std::string busca = buscaPorDescricao(tipo.tabela, descricao);
  Recordset achado = consultas.abre(tipo.tabela, busca);
  if (!achado.eof()) return static_cast<int32_t>(achado.valor(chave).paraDouble());
  const int32_t id = contador.proximo(b.destino);
  Recordset origem = b.origem.abre(busca);
  b.destino.executa(atualiza::insercaoReferencia(tipo, origem, fl(id)));
  // Descriptions are compared with the database's rules (trailing blanks): any kept lookup may see it.
  consultas.esquece(tipo.tabela);
  return id;
}

// The barcodes "1", "2", ...: the first numbers no destination stock item has, each tried with the
// system's lookup, or, when the run holds PRODUTOESTOQUE, against its barcodes read once.
class Barras {
 public:
  Barras(Conexao& destino, bool guarda) : destino_(destino), guarda_(guarda) {
    if (!guarda_) return;
    for (Recordset rs = destino_.abre("Select Barra From PRODUTOESTOQUE"); !rs.eof(); rs.proximo())
      if (rs.valor(0).texto()) tomadas_.insert(semBrancosAoFim(rs.valor(0).comoTexto()));
  }
  std::string proxima() {
    for (;;) {
      const std::string n = std::to_string(++barra_);
      if (guarda_ ? tomadas_.insert(n).second
                  : destino_.abre("Select Barra From PRODUTOESTOQUE Where Barra = " + aspas(n)).eof())
        return n;
    }
  }

 private:
  // The database compares texts without their trailing blanks.
  static std::string semBrancosAoFim(const std::string& s) {
    return s.substr(0, s.find_last_not_of(' ') + 1);
  }
  Conexao& destino_;
  bool guarda_;
  int64_t barra_ = 0;  // the numbers below it are taken: the next free one is above it
  std::unordered_set<std::string> tomadas_;
};

// The origin's products by identifier: read once when the run holds the destination's tables, else
// with the system's lookup for each item.
class ProdutosOrigem {
 public:
  ProdutosOrigem(Conexao& origem, bool todos) : origem_(origem), todos_(todos) {
    if (!todos_) return;
    for (Recordset rs = origem_.abre("Select IDPRODUTO, DESCRICAO, DESCRICAOIMP From PRODUTO"); !rs.eof();
         rs.proximo())
      if (!rs.valor(0).nulo())
        produtos_.emplace(textoSimples(rs.valor(0)), std::pair{rs.valor(1), rs.valor(2)});
  }
  // DESCRICAO and DESCRICAOIMP of the product, none when the origin lacks it.
  std::optional<std::pair<Valor, Valor>> busca(const Valor& id) {
    if (todos_) {
      auto it = produtos_.find(textoSimples(id));
      if (it == produtos_.end()) return std::nullopt;
      return it->second;
    }
    Recordset p = origem_.abre("Select * From PRODUTO Where IDPRODUTO =" + textoSimples(id));
    if (p.eof()) return std::nullopt;
    return std::pair{p.valor("DESCRICAO"), p.valor("DescricaoImp")};
  }

 private:
  Conexao& origem_;
  bool todos_;
  std::unordered_map<std::string, std::pair<Valor, Valor>> produtos_;
};

// The origin's fiscal operation of a stock item, as the destination's record with the same fiscal
// code, CSOSN and CST: an origin number names an unrelated record in another database. Record 0 is a
// record like any other. Null when the origin item has none or the destination has no such record.
class MapaCfop {
 public:
  std::string literal(ParBancos& b, const Valor& idOrigem) {
    if (idOrigem.nulo()) {
      ++semNaOrigem;
      return "Null";
    }
    const std::string id = textoSimples(idOrigem);
    auto it = literais_.find(id);
    if (it == literais_.end()) it = literais_.emplace(id, busca(b, id)).first;
    if (it->second == "Null") ++semCorrespondente;
    return it->second;
  }
  long semNaOrigem = 0;        // items without a fiscal operation in the origin
  long semCorrespondente = 0;  // items whose origin operation (or record) the destination lacks

 private:
  std::string busca(ParBancos& b, const std::string& id) {
    Recordset o = b.origem.abre("Select * From TRIBCFOP Where IDTRIBCFOP =" + id);
    if (o.eof()) return "Null";
    std::string sql = "Select IDTRIBCFOP From TRIBCFOP Where 1 = 1";
    for (const char* c : {"CODFISCAL", "CSOSN", "CSTSAT"})
      if (o.posicaoCampo(c) >= 0)
        sql += std::string(" and ") + c + " is not distinct from " + literalGuardado(o.valor(c));
    Recordset d = b.destino.abre(sql + " order by IDTRIBCFOP");
    return d.eof() ? "Null" : fl(d.valor(0).comoInteiro());
  }
  std::map<std::string, std::string> literais_;
};

}  // namespace

const std::vector<std::string>& tabelasIncluiProdutos() {
  return kTabelasDestino;
}

std::string descricaoImpressao(const Valor& descricaoImp, int tamanho) {
  if (descricaoImp.nulo()) return {};
  const std::string limpo = LimpaTexto(descricaoImp.textoRegional(estiloRegional()), false);
  return tamanho > 0 ? esquerda(limpo, static_cast<size_t>(tamanho)) : limpo;
}

std::string insercaoProduto(int32_t id, const Valor& descricao, const Valor& descricaoImp,
                            int tamanhoImpressao) {
  static constexpr ColunaSQL kColunas[] = {
      {"IDPRODUTO", TipoSQL::FL, nullptr, ", "}, {"DESCRICAO"}, {"DESCRICAOIMP"}};
  return Insercao(" Insert Into Produto (", kColunas)
      .valor(0, fl(id))
      .converte("DESCRICAO", Valor(LimpaTexto(descricao.textoRegional(estiloRegional()), false)))
      .converte("DESCRICAOIMP", Valor(descricaoImpressao(descricaoImp, tamanhoImpressao)))
      .sql(") Values (");
}

Resultado AtualizaBancoCadProdutoInclui(ContextoExecucao& ctx, ParBancos& b) {
  Tela& tela = ctx.tela();
  try {
    tela.progresso(0);
    // The run is one destination transaction. An all-or-nothing run is one already, and a savepoint
    // around all of it would only make the engine keep an undo log of every row.
    std::optional<Transacao> transacao, leitura;
    if (!b.destino.atomica()) transacao.emplace(b.destino);
    if (!b.origem.atomica()) leitura.emplace(b.origem);  // one snapshot of the origin, never confirmed
    ContadorId produtos("idProduto", "PRODUTO", "Select Max(idProduto)as idProduto From PRODUTO");
    ContadorId unidades("IdUnidade", "Unidade", "Select Max(IdUnidade)as IdUnidade From Unidade");
    ContadorId grupos("IdProdGrupo", "PRODUTOGRUPO",
                      "Select Max(IdProdGrupo)as IdProdGrupo From PRODUTOGRUPO");
    ContadorId itens("idItemProduto", "PRODUTOestoque",
                     "Select Max(idItemProduto)as idItemProduto From PRODUTOestoque");
    MapaCfop cfops;
    ConsultasGuardadas consultas(b.destino);
    Barras barras(b.destino, consultas.guarda("PRODUTOESTOQUE"));
    ProdutosOrigem produtosOrigem(b.origem, consultas.guarda("PRODUTO"));

    Recordset total =
        b.origem.abre("Select count(*) totalReg      " + std::string(" From ProdutoEstoque    "));
    const double totalReg = total.valor("totalReg").paraDouble();
    const int tamanhoImpressao = tamanhoColuna(b.destino, "PRODUTO", "DESCRICAOIMP");

    Recordset linha = b.origem.abre(selectOrigem());
    long feitos = 0;
    for (; !linha.eof(); linha.proximo()) {
      // The product, only when the origin has it; the item refers to the one inserted for it.
      std::string produto = "Null";
      if (const Valor& idProduto = linha.valor("idProduto"); !idProduto.nulo()) {
        const int32_t id = produtos.proximo(b.destino);
        if (const auto p = produtosOrigem.busca(idProduto)) {
          b.destino.executa(insercaoProduto(id, p->first, p->second, tamanhoImpressao));
          produto = fl(id);
        } else {
          produtos.devolve();
        }
      }

      const std::string barra = barras.proxima();

      std::string unidade = "Null", grupo = "Null";
      if (!linha.valor("idUnidade").nulo())
        unidade = fl(unidadeOuGrupo(b, consultas, atualiza::kUnidade, "idUnidade",
                                    linha.valor("DescricaoUnidade"), unidades));
      if (!linha.valor("IdProdGrupo").nulo())
        grupo = fl(unidadeOuGrupo(b, consultas, atualiza::kGrupo, "IdProdGrupo",
                                  linha.valor("DescricaoGrupo"), grupos));

      namespace c = coluna_estoque;
      b.destino.executa(insercaoEstoque(linha, kColunasEstoqueInclui)
                            .valor(c::IDITEMPRODUTO, std::to_string(itens.proximo(b.destino)))
                            .valor(c::IDPRODUTO, produto)
                            .valor(c::IDPRODGRUPO, grupo)
                            .valor(c::IDSUBGRUPO, "NULL, ", "")
                            .valor(c::IDFABRICANTE, "NULL, ", "")
                            .valor(c::IDLOCAL, "NULL, ", "")
                            .valor(c::IDUNIDADE, unidade)
                            .valor(c::IDTRIBCFOP, cfops.literal(b, linha.valor("IDTRIBCFOP")))
                            .valor(c::BARRA, ConverteSQL(Valor(barra), TipoSQL::CH))
                            .valor(c::IDNCM, "Null")
                            .sql(kMeioInsercaoEstoque));

      ++feitos;
      tela.progressoLinhas(static_cast<int>(std::lround(100.0 / totalReg * static_cast<double>(feitos))),
                           feitos, static_cast<long long>(totalReg));
      tela.defineTexto(kControleContador, std::to_string(feitos));
    }
    tela.progressoLinhas(100, feitos, feitos);  // all done (the count may include items left out)
    if (transacao) transacao->confirma();
    if (const long sem = cfops.semNaOrigem + cfops.semCorrespondente; sem > 0)
      tela.nota(std::to_string(sem) +
                " item(ns) sem operação fiscal (IDTRIBCFOP): " + std::to_string(cfops.semNaOrigem) +
                " sem operação fiscal na origem, " + std::to_string(cfops.semCorrespondente) +
                " cuja operação de origem o destino não tem (o mesmo CFOP, CSOSN e CST).");
    tela.mensagem(kMensagemTotalProdutos + std::to_string(feitos), Icone::Informacao);
    return Resultado::concluido();
  } catch (const std::exception& e) {
    const std::string texto = kMensagemErroComando + std::string(e.what());
    tela.mensagem(texto, Icone::Informacao);
    return Resultado::falhou(texto);
  }
}

}  // namespace zuv
