#include "migration/ImportacaoProduto.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string_view>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/Operacao.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "migration/ConsultaNCM.h"
#include "migration/EstoqueProduto.h"
#include "migration/LeitorGrade.h"
#include "migration/LinhaProduto.h"
#include "migration/RegistrosProduto.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "schema/Registros.h"
#include "schema/Tabelas.h"

namespace zuv {

namespace {

constexpr const char* kSavepointLinha = "LINHA_PRODUTO";
constexpr const char* kSavepointLimpeza = "LIMPEZA_PRODUTOS";

bool temLetra(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](unsigned char c) { return c >= 'A' && c <= 'Z'; });
}

// A failure of the database itself (falhaDoBanco) during a row: the run stops there.
struct ParadaDoBanco {
  int linha;
  std::string causa;
};

class Importacao {
 public:
  Importacao(AmbienteImportacao& a, const OpcoesImportacaoProduto& o, ResumoImportacaoProduto& r)
      : a_(a), c_(a.conexao), tela_(a.tela), o_(o), resumo_(r), consulta_(o.enderecoNCM) {}

  Resultado executa();

 private:
  enum class Desfecho { Inserido, Atualizado, SemAlteracao };

  bool limpaBase();
  Desfecho processaLinha(const LinhaProduto& l, const std::string& ncmOnline);
  Desfecho insere(const LinhaProduto& l, ItemProduto& item);
  Desfecho atualiza(const LinhaProduto& l, ItemProduto& item, const std::vector<ItemGravado>& gravados,
                    const EscalasItem& escalas);
  std::vector<ItemGravado> itensDaBarra(const std::string& barra, EscalasItem& escalas);
  bool descricao(const LinhaProduto& l, const std::string& barraGravada, int32_t idNovo);
  void confirmaLote(int linha);
  int totalDeLinhas();
  Resultado paraNaFalhaDoBanco(const ParadaDoBanco& p);
  std::string fonte(int linha) const;

  AmbienteImportacao& a_;
  Conexao& c_;
  Tela& tela_;
  const OpcoesImportacaoProduto& o_;
  ResumoImportacaoProduto& resumo_;
  ConsultaNCM consulta_;
  std::shared_ptr<LeitorPlanilha> fonte_;
  int estilo_ = 1;
  int confirmadaAte_ = 0;  // the last sheet row whose work is committed (0: none)
};

// Wipes the catalogue in one transaction. A statement the database refuses is undone (with the one
// that prepares it) and listed; the run goes on only when the stock items and products are gone.
bool Importacao::limpaBase() {
  auto prepara = [](const char* instrucao) {
    return std::find_if(std::begin(kLimpaBaseProdutosPreparam), std::end(kLimpaBaseProdutosPreparam),
                        [&](const char* p) { return std::string_view(p) == instrucao; }) !=
           std::end(kLimpaBaseProdutosPreparam);
  };
  c_.iniciaTransacao();
  std::string recusa;
  const size_t total = std::size(kLimpaBaseProdutos);
  for (size_t i = 0; i < total; ++i) {
    const size_t ate = prepara(kLimpaBaseProdutos[i]) && i + 1 < total ? i + 1 : i;
    c_.executa(std::string("SAVEPOINT ") + kSavepointLimpeza);
    for (size_t j = i; j <= ate; ++j) {
      try {
        c_.executa(kLimpaBaseProdutos[j]);
      } catch (const ErroBanco& e) {
        // A table this database does not have is listed like a refusal; a failure of the database
        // itself stops the run.
        if (falhaDoBanco(e) && e.codigoSql() != -204) throw;
        c_.executa(std::string("ROLLBACK TO SAVEPOINT ") + kSavepointLimpeza);
        tela_.adicionaItem(kControleProdErro, std::string(kLimpaBaseProdutos[j]) + ": " + e.what());
        if (recusa.empty()) recusa = e.what();
        break;
      }
    }
    i = ate;
  }
  for (const char* tabela : {"ProdutoEstoque", "Produto"}) {
    if (c_.abre(std::string("Select First 1 1 From ") + tabela).eof()) continue;
    c_.desfaz();
    const std::string texto = std::string("A base de produtos não foi limpa: a tabela ") + tabela +
                              " ainda tem registros que outras tabelas usam (" + recusa +
                              "). Nada foi excluído e nada foi importado.";
    tela_.cursorEspera(false);
    tela_.mensagem(texto, Icone::Exclamacao);
    return false;
  }
  c_.confirma();
  return true;
}

// Rows up to the first one whose barcode and description are both empty (the grid), or the last
// row holding a cell (the workbook, one more pass over the sheet).
int Importacao::totalDeLinhas() {
  if (o_.planilha) return std::max(1, fonte_->ultimaLinha() - 1);
  int linha = 2;
  while (!apara(fonte_->celula(linha, coluna::kBarra)).empty() ||
         !apara(fonte_->celula(linha, coluna::kDescricao)).empty())
    ++linha;
  return std::max(1, linha - 2);
}

std::string Importacao::fonte(int linha) const {
  return "a linha " + std::to_string(linha) +
         (o_.planilha ? std::string(" de ") + kArquivoProduto : " da grade");
}

void Importacao::confirmaLote(int linha) {
  try {
    c_.confirma();
  } catch (const ErroBanco& e) {
    throw ParadaDoBanco{linha, e.what()};
  }
  ++resumo_.confirmacoes;
  confirmadaAte_ = linha;
  c_.iniciaTransacao();
}

// Every stock item whose barcode is the row's (in any case); none for an empty barcode, which is
// always a new item.
std::vector<ItemGravado> Importacao::itensDaBarra(const std::string& barra, EscalasItem& escalas) {
  std::vector<ItemGravado> itens;
  if (barra.empty()) return itens;
  Recordset rs = c_.abre("Select * from ProdutoEstoque where Barra = " + aspas(barra));
  if (rs.eof() && temLetra(barra))
    rs = c_.abre("Select * from ProdutoEstoque where Upper(Barra) = " + aspas(barra));
  escalas = escalasItem(rs);
  for (; !rs.eof(); rs.proximo())
    itens.push_back(itemGravado(rs));
  return itens;
}

Importacao::Desfecho Importacao::processaLinha(const LinhaProduto& l, const std::string& ncmOnline) {
  ItemProduto item;
  item.cadastro = Data::hoje();
  item.barra = l.barra;
  item.idItemProduto = ProxCodigo(c_, "iditemproduto", "produtoestoque",
                                  "select MAX(iditemproduto) AS iditemproduto from produtoestoque");
  EscalasItem escalas;
  const std::vector<ItemGravado> gravados = itensDaBarra(l.barra, escalas);
  const bool existe = !gravados.empty();
  item.idUnidade = unidadeDoProduto(c_, l.unidade, l.unidadeEscrita);

  // The numbers are read before the references, so that a row that is not a number creates nothing.
  item.venda = leNumero(l.venda, estilo_);
  if (!existe || o_.precoCusto) item.custo = leNumero(l.custo, estilo_);

  // "Grupo": a new item without group is filed under "DIVERSOS"; an existing item gets each of
  // group and sub-group only from its own cell.
  if (o_.grupo) {
    if (!existe || !l.grupo.empty()) item.idProdGrupo = grupoDoProduto(c_, l.grupo, l.grupoEscrito);
    item.idSubGrupo = subGrupoDoProduto(c_, l.subGrupo, l.subGrupoEscrito);
  }
  const std::string ncm = l.ncm.empty() ? ncmOnline : l.ncm;
  if (!ncm.empty()) item.idNCM = ncmDoProduto(c_, ncm, l.cest, l.descricao);
  item.idECFLetra = aliquotaDoProduto(c_, l.aliquota, estilo_);
  // A CFOP record needs the row's NCM; a new one takes the row's own CSOSN.
  if (!l.cfop.empty() && !ncm.empty()) item.idTribCFOP = tribCfopDoProduto(c_, l.cfop, l.csosn);
  cstDoProduto(c_, l.csosn);

  item.atacado = leNumero(l.atacado, estilo_);
  item.venda2 = item.atacado;
  item.atacado2 = leNumero(l.atacado2, estilo_);

  const Desfecho d = existe ? atualiza(l, item, gravados, escalas) : insere(l, item);
  const bool novaDescricao =
      descricao(l, existe ? gravados.front().barra : l.barra, existe ? 0 : item.idProduto);
  return d == Desfecho::SemAlteracao && novaDescricao ? Desfecho::Atualizado : d;
}

Importacao::Desfecho Importacao::insere(const LinhaProduto& l, ItemProduto& item) {
  // Without a cost the sale price is the cost.
  if (item.custo.unscaled == 0) item.custo = item.venda;
  item.margem = Decimal{item.venda.unscaled - item.custo.unscaled, 2};
  item.margemPorc = item.custo.unscaled != 0 ? item.margem.paraDouble() / item.custo.paraDouble() * 100 : 100;
  try {
    item.estoque = leNumero(l.estoque, estilo_, 3);
  } catch (const ErroConversao&) {
    item.estoque = Decimal{0, 3};  // a new item's stock is 0 when the cell is not a number
  }
  item.idProduto = ProxCodigo(c_, "IDPRODUTO", "PRODUTO");
  c_.executa(insercaoProduto(item.idProduto, l.descricao));
  c_.executa(insercaoEstoque(item));
  return Desfecho::Inserido;
}

// Every ticked field whose own cell holds something is rewritten; the margin follows the cost and
// the sale price the item ends with. "Preço Venda" alone rewrites no price.
Importacao::Desfecho Importacao::atualiza(const LinhaProduto& l, ItemProduto& item,
                                          const std::vector<ItemGravado>& gravados,
                                          const EscalasItem& escalas) {
  const ItemGravado& g = gravados.front();
  AlteracaoEstoque a;
  if (!l.atacado.empty()) a.atacado = item.atacado;
  if (o_.precoCusto) {
    const Decimal venda =
        o_.precoVenda && !l.venda.empty() ? item.venda : arredonda(std::isnan(g.venda) ? 0 : g.venda, 2);
    if (o_.precoVenda && !l.venda.empty()) a.venda = venda;
    Decimal custo = arredonda(std::isnan(g.custo) ? 0 : g.custo, 2);
    if (!l.custo.empty()) {
      custo = item.custo.unscaled == 0 ? venda : item.custo;  // a cost of 0 takes the sale price
      a.custo = custo;
    }
    if (a.custo || a.venda) {
      a.margem = Decimal{venda.unscaled - custo.unscaled, 2};
      a.margemPorc = custo.unscaled != 0 ? a.margem->paraDouble() / custo.paraDouble() * 100 : 100;
    }
  }
  if (o_.estoque && !l.estoque.empty()) a.estoque = leNumero(l.estoque, estilo_, 3);
  // References only when the row names one that was found or created.
  if (o_.cfopSat && item.idTribCFOP) a.idTribCFOP = item.idTribCFOP;
  if (o_.aliqEcf && item.idECFLetra && *item.idECFLetra) a.idECFLetra = item.idECFLetra;
  if (o_.ncm && item.idNCM) a.idNCM = item.idNCM;
  if (o_.grupo && item.idProdGrupo) a.idProdGrupo = item.idProdGrupo;
  if (o_.grupo && item.idSubGrupo) a.idSubGrupo = item.idSubGrupo;
  const std::string sql = atualizacaoEstoque(a, g.barra);
  if (!sql.empty()) c_.executa(sql);
  const bool altera = std::any_of(gravados.begin(), gravados.end(),
                                  [&](const ItemGravado& i) { return alteraItem(a, i, escalas); });
  return altera ? Desfecho::Atualizado : Desfecho::SemAlteracao;
}

// "Nome Produto" in update mode rewrites the description of the row's product (never with an empty
// cell). Whether an existing product's description changed.
bool Importacao::descricao(const LinhaProduto& l, const std::string& barraGravada, int32_t idNovo) {
  if (o_.limpaBase || !o_.nomeProduto || l.descricao.empty()) return false;
  std::optional<int32_t> idProduto;
  if (!barraGravada.empty()) {
    Recordset rs = c_.abre("select idproduto from produtoestoque where barra = " + aspas(barraGravada + " "));
    if (!rs.eof() && !rs.valor("idProduto").nulo()) idProduto = int32_t(rs.valor("idProduto").paraDouble());
  } else if (idNovo) {
    idProduto = idNovo;  // an empty barcode names every item without one: take the row's own
  }
  if (!idProduto) return false;
  const std::string d = esquerda(l.descricao, 55), imp = esquerda(d, 24);
  bool muda = false;
  if (!idNovo) {
    Recordset rs = c_.abre("Select Descricao, DescricaoImp From Produto Where IdProduto = " +
                           std::to_string(*idProduto));
    muda = !rs.eof() && (rs.valor(0).textoRegional(1) != d || rs.valor(1).textoRegional(1) != imp);
  }
  c_.executa("update produto set descricao = " + ConverteSQL(Valor(d), "CH") + " , DescricaoImp  = " +
             ConverteSQL(Valor(imp), "CH") + " where idproduto = " + std::to_string(*idProduto));
  return muda;
}

// The database failed under the run: the row is undone, what the connection still holds is
// committed, and one message says where the run stopped and why.
Resultado Importacao::paraNaFalhaDoBanco(const ParadaDoBanco& p) {
  std::string gravado;
  if (c_.atomica()) {
    gravado = "Nada foi gravado.";
  } else if (p.linha < 2) {
    try {
      if (c_.aberta() && c_.emTransacao()) c_.desfaz();
    } catch (const Erro&) {
    }
    gravado = "Nada foi excluído e nada foi importado.";
  } else {
    try {
      if (c_.aberta() && c_.emTransacao()) {
        c_.confirma();
        confirmadaAte_ = p.linha - 1;
      }
    } catch (const Erro&) {
    }
    gravado = confirmadaAte_ >= 2 ? "As linhas até a " + std::to_string(confirmadaAte_) +
                                        " estão gravadas; as seguintes não foram gravadas."
                                  : "Nenhuma linha foi gravada.";
  }
  const std::string onde = p.linha < 2 ? "ao limpar a base de produtos" : "n" + fonte(p.linha);
  const std::string texto = "A importação parou " + onde + ": falha do banco de dados (" +
                            textoVisivel(p.causa, true) + "). " + gravado;
  tela_.cursorEspera(false);
  tela_.mensagem(texto, Icone::Exclamacao);
  return Resultado::falhou(texto);
}

Resultado Importacao::executa() {
  const auto inicio = std::chrono::steady_clock::now();
  estilo_ = estiloRegional();
  if (o_.planilha) {
    try {
      fonte_ = abrePlanilha(a_.pastaPrograma + "/" + kArquivoProduto);
    } catch (const ErroPlanilha& e) {
      // Nothing has been touched yet, in either mode.
      return informaFalha(tela_, e);
    }
  } else {
    fonte_ = std::make_shared<LeitorGrade>(o_.grade ? o_.grade : std::make_shared<const GradeProduto>());
  }
  const bool temDados = !leLinhaProduto(*fonte_, 2, o_.planilha).fim();

  tela_.cursorEspera(true);
  if (o_.limpaBase) {
    if (!temDados) {
      // A new migration without rows would end with an empty catalogue: nothing is done.
      const std::string texto = std::string("Nenhuma linha de produto em ") +
                                (o_.planilha ? kArquivoProduto : "na grade") +
                                ": a base de produtos não foi limpa e nada foi importado.";
      tela_.cursorEspera(false);
      tela_.mensagem(texto, Icone::Exclamacao);
      return Resultado::falhou(texto);
    }
    if (a_.copiaDeSeguranca) a_.copiaDeSeguranca();
    try {
      if (!limpaBase()) return Resultado::falhou("A base de produtos não foi limpa.");
    } catch (const ErroBanco& e) {
      if (!falhaDoBanco(e)) throw;
      return paraNaFalhaDoBanco({0, e.what()});
    }
  }

  const int total = temDados ? totalDeLinhas() : 1;
  tela_.mostraControle(kControleProgressoMigracao, true);
  tela_.progresso(0);
  int mostrado = 0;
  c_.iniciaTransacao();
  int lote = 0;
  int linha = 2;
  try {
    for (;; ++linha) {
      tela_.defineTexto(kControleRegistro, std::to_string(linha));
      LinhaProduto l = leLinhaProduto(*fonte_, linha, o_.planilha);
      if (l.fim()) break;
      // Asked once per row, outside the row's savepoint: a retry does not ask again.
      std::string ncmOnline, aviso;
      if (l.ncm.empty()) ncmOnline = consulta_.consulta(l.barra, aviso);
      if (!aviso.empty()) tela_.adicionaItem(kControleProdErro, aviso);

      std::string erro;
      for (int tentativa = 0; tentativa < 2; ++tentativa) {
        if (tentativa) l = leLinhaProduto(*fonte_, linha, o_.planilha);
        try {
          c_.executa(std::string("SAVEPOINT ") + kSavepointLinha);
          const Desfecho d = processaLinha(l, ncmOnline);
          ++(d == Desfecho::Inserido     ? resumo_.inseridos
             : d == Desfecho::Atualizado ? resumo_.atualizados
                                         : resumo_.semAlteracao);
          erro.clear();
          break;
        } catch (const Erro& e) {
          // Nothing of the row stays: its statements go back to the savepoint.
          const auto* banco = dynamic_cast<const ErroBanco*>(&e);
          if (banco && falhaDoBanco(*banco)) {
            try {
              if (c_.aberta()) c_.executa(std::string("ROLLBACK TO SAVEPOINT ") + kSavepointLinha);
            } catch (const Erro&) {
            }
            throw ParadaDoBanco{linha, e.what()};
          }
          c_.executa(std::string("ROLLBACK TO SAVEPOINT ") + kSavepointLinha);
          erro = e.what();
        }
      }
      if (!erro.empty()) {
        ++resumo_.falhas;
        tela_.adicionaItem(kControleProdErro, "Linha Excel: " + std::to_string(linha - 1) + " Código Barra " +
                                                  l.barra + " Valor de Venda " + l.venda +
                                                  " Descrição Programática: " + erro);
        if (a_.registraFalha)
          a_.registraFalha("Linha " + std::to_string(linha) + " de " + kArquivoProduto, erro);
      }
      // The first commit comes after six rows, then after every five.
      if (lote == 5) {
        confirmaLote(linha);
        lote = 0;
      }
      ++lote;
      const int valor = std::clamp(int((linha - 1) * (100.0 / total)), 0, 100);
      if (valor != mostrado) tela_.progresso(mostrado = valor);
    }
  } catch (const ParadaDoBanco& p) {
    resumo_.ultimaLinha = p.linha;
    return paraNaFalhaDoBanco(p);
  }
  resumo_.ultimaLinha = linha;

  try {
    c_.confirma();
    ++resumo_.confirmacoes;
  } catch (const ErroBanco& e) {
    tela_.cursorEspera(false);
    const std::string texto =
        std::string("As linhas importadas desde a última gravação não foram gravadas: ") + e.what();
    tela_.mensagem(texto, Icone::Exclamacao);
    return Resultado::falhou(texto);
  }
  resumo_.segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  if (a_.nota) a_.nota(resumo_.texto());
  tela_.cursorEspera(false);
  tela_.mensagem("Fim Importação", Icone::Informacao);
  if (!o_.encerraPrograma) return Resultado::concluido();
  tela_.mensagem("FIM", Icone::Informacao);
  return Resultado::encerrar();
}

}  // namespace

void OpcoesImportacaoProduto::marcaTodos(bool marcado) {
  for (bool* b : {&nomeProduto, &precoCusto, &aliqEcf, &icmsSt, &unidade, &precoVenda, &cfopSat, &estoque,
                  &grupo, &ncm, &tribSimpNac, &atacado})
    *b = marcado;
}

std::string ResumoImportacaoProduto::texto() const {
  char tempo[32];
  std::snprintf(tempo, sizeof tempo, "%.1f", segundos);
  std::string r = "Produtos: " + std::to_string(inseridos) + " importados, " + std::to_string(atualizados) +
                  " atualizados, ";
  if (semAlteracao) r += std::to_string(semAlteracao) + " sem alteração, ";
  r += std::to_string(falhas) + " com erro, em " + tempo + " s";
  if (ultimaLinha > 2) r += " (linhas 2 a " + std::to_string(ultimaLinha - 1) + ")";
  return r;
}

Resultado importaProdutos(AmbienteImportacao& ambiente, const OpcoesImportacaoProduto& opcoes,
                          ResumoImportacaoProduto& resumo) {
  TelaDoEscopo escopo(ambiente.tela);
  Importacao importacao(ambiente, opcoes, resumo);
  try {
    return importacao.executa();
  } catch (const Erro& e) {
    // A failure outside a row (the workbook damaged midway, the connection lost): the rows since
    // the last commit go back.
    if (ambiente.conexao.aberta() && ambiente.conexao.emTransacao()) {
      try {
        ambiente.conexao.desfaz();
      } catch (const Erro&) {
      }
    }
    return informaFalha(ambiente.tela, e);
  }
}

}  // namespace zuv
