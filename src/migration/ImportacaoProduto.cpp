#include "migration/ImportacaoProduto.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>

#include "common/Erro.h"
#include "common/Operacao.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "migration/ConsultaNCM.h"
#include "migration/EstimativaImportacao.h"
#include "migration/EstoqueProduto.h"
#include "migration/ImportaPlanilhaProduto.h"
#include "migration/ItensProduto.h"
#include "migration/LeitorGrade.h"
#include "migration/LinhaProduto.h"
#include "migration/RegistrosProduto.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "platform/PontoDeSalvamento.h"
#include "platform/Transacao.h"
#include "schema/Tabelas.h"

namespace zuv {

namespace {

constexpr const char* kSavepointLinha = "LINHA_PRODUTO";
constexpr const char* kSavepointLimpeza = "LIMPEZA_PRODUTOS";

using Relogio = std::chrono::steady_clock;

double segundosDesde(Relogio::time_point inicio) {
  return std::chrono::duration<double>(Relogio::now() - inicio).count();
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

  std::optional<Resultado> abreFonte();
  std::optional<Resultado> limpaBase();
  Resultado importaLinhas(bool temDados);
  std::string importaLinha(int linha, LinhaProduto& l);
  Desfecho processaLinha(const LinhaProduto& l, const std::string& ncmOnline);
  Desfecho insere(const LinhaProduto& l, ItemProduto& item);
  Desfecho atualiza(const LinhaProduto& l, const ItemProduto& item, const std::vector<ItemGravado>& gravados);
  int totalDeLinhas();
  Resultado paraNaFalhaDoBanco(const ParadaDoBanco& p, std::optional<Transacao>& lote);
  std::string fonte(int linha) const;

  AmbienteImportacao& a_;
  Conexao& c_;
  Tela& tela_;
  const OpcoesImportacaoProduto& o_;
  ResumoImportacaoProduto& resumo_;
  ConsultaNCM consulta_;
  std::shared_ptr<LeitorPlanilha> fonte_;
  int estilo_ = 1;
  // Kept mode: an all-or-nothing run whose transaction holds the tables it numbers (see
  // RegistrosProduto and ItensProduto).
  bool mantidos_ = false;
  std::unique_ptr<RegistrosProduto> registros_;
  std::unique_ptr<ItensProduto> itens_;
  int confirmadaAte_ = 0;      // the last sheet row whose work is committed (0: none)
  double segundosMaximo_ = 0;  // the row's MAX(IDITEMPRODUTO), for the estimate
};

// Wipes the catalogue in one transaction. A statement the database refuses is undone (with the one
// that prepares it) and listed; the run goes on only when the stock items and products are gone.
// Nothing when the run can go on, the run's end otherwise.
std::optional<Resultado> Importacao::limpaBase() {
  auto prepara = [](const char* instrucao) {
    return std::find_if(std::begin(kLimpaBaseProdutosPreparam), std::end(kLimpaBaseProdutosPreparam),
                        [&](const char* p) { return std::string_view(p) == instrucao; }) !=
           std::end(kLimpaBaseProdutosPreparam);
  };
  Transacao limpeza(c_);
  std::string recusa;
  const size_t total = std::size(kLimpaBaseProdutos);
  for (size_t i = 0; i < total; ++i) {
    const size_t ate = prepara(kLimpaBaseProdutos[i]) && i + 1 < total ? i + 1 : i;
    PontoDeSalvamento ponto(c_, kSavepointLimpeza);
    bool recusado = false;
    for (size_t j = i; j <= ate; ++j) {
      try {
        c_.executa(kLimpaBaseProdutos[j]);
      } catch (const ErroBanco& e) {
        // A table this database does not have is listed like a refusal; a failure of the database
        // itself stops the run.
        if (falhaDoBanco(e) && e.codigoSql() != -204) throw;
        ponto.desfaz();
        tela_.adicionaItem(kControleProdErro, std::string(kLimpaBaseProdutos[j]) + ": " + e.what());
        if (recusa.empty()) recusa = e.what();
        recusado = true;
        break;
      }
    }
    if (!recusado) ponto.libera();
    i = ate;
  }
  for (const char* tabela : {"ProdutoEstoque", "Produto"}) {
    if (c_.abre(std::string("Select First 1 1 From ") + tabela).eof()) continue;
    const std::string texto = std::string("A base de produtos não foi limpa: a tabela ") + tabela +
                              " ainda tem registros que outras tabelas usam (" + recusa +
                              "). Nada foi excluído e nada foi importado.";
    tela_.cursorEspera(false);
    tela_.mensagem(texto, Icone::Exclamacao);
    return Resultado::falhou("A base de produtos não foi limpa.");
  }
  limpeza.confirma();
  return std::nullopt;
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

Importacao::Desfecho Importacao::processaLinha(const LinhaProduto& l, const std::string& ncmOnline) {
  ItemProduto item;
  item.cadastro = Data::hoje();
  item.barra = l.barra;
  // The system takes the next item identifier before it reads the row; a kept run counts it when it
  // inserts, so that a row that updates takes none.
  if (!mantidos_) {
    const auto inicio = Relogio::now();
    item.idItemProduto = itens_->proximoItem();
    segundosMaximo_ = segundosDesde(inicio);
  }
  const std::vector<ItemGravado> gravados = itens_->daBarra(l.barra);
  const bool existe = !gravados.empty();
  item.idUnidade = registros_->unidade(l.unidade, l.unidadeEscrita);

  // The numbers are read before the references, so that a row that is not a number creates nothing.
  item.venda = leNumero(l.venda, estilo_);
  if (!existe || o_.precoCusto) item.custo = leNumero(l.custo, estilo_);

  // "Grupo": a new item without group is filed under "DIVERSOS"; an existing item gets each of
  // group and sub-group only from its own cell.
  if (o_.grupo) {
    if (!existe || !l.grupo.empty()) item.idProdGrupo = registros_->grupo(l.grupo, l.grupoEscrito);
    item.idSubGrupo = registros_->subGrupo(l.subGrupo, l.subGrupoEscrito);
  }
  const std::string ncm = l.ncm.empty() ? ncmOnline : l.ncm;
  if (!ncm.empty()) item.idNCM = registros_->ncm(ncm, l.cest, l.descricao);
  item.idECFLetra = registros_->aliquota(l.aliquota, estilo_);
  // A CFOP record needs the row's NCM; a new one takes the row's own CSOSN.
  if (!l.cfop.empty() && !ncm.empty()) item.idTribCFOP = registros_->tribCfop(l.cfop, l.csosn);
  registros_->cst(l.csosn);

  item.atacado = leNumero(l.atacado, estilo_);
  item.venda2 = item.atacado;
  item.atacado2 = leNumero(l.atacado2, estilo_);

  const Desfecho d = existe ? atualiza(l, item, gravados) : insere(l, item);
  // "Nome Produto" in update mode rewrites the description of the row's product (never with an
  // empty cell).
  if (o_.limpaBase || !o_.nomeProduto || l.descricao.empty()) return d;
  const bool novaDescricao = itens_->reescreveDescricao(
      l.descricao, existe ? gravados.front().barra : l.barra, existe ? 0 : item.idProduto);
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
  if (mantidos_) item.idItemProduto = itens_->proximoItem();
  item.idProduto = itens_->proximoProduto();
  itens_->insere(item, l.descricao);
  return Desfecho::Inserido;
}

// Every ticked field whose own cell holds something is rewritten; the margin follows the cost and
// the sale price the item ends with. "Preço Venda" alone rewrites no price.
Importacao::Desfecho Importacao::atualiza(const LinhaProduto& l, const ItemProduto& item,
                                          const std::vector<ItemGravado>& gravados) {
  const ItemGravado& g = gravados.front();
  auto gravado = [](double v) { return arredonda(std::isnan(v) ? 0 : v, 2); };
  AlteracaoEstoque a;
  if (!l.atacado.empty()) a.atacado = item.atacado;
  if (o_.precoCusto) {
    const bool venda = o_.precoVenda && !l.venda.empty();
    const Decimal vendaFinal = venda ? item.venda : gravado(g.venda);
    if (venda) a.venda = vendaFinal;
    Decimal custo = gravado(g.custo);
    if (!l.custo.empty()) {
      custo = item.custo.unscaled == 0 ? vendaFinal : item.custo;  // a cost of 0 takes the sale price
      a.custo = custo;
    }
    if (a.custo || a.venda) {
      a.margem = Decimal{vendaFinal.unscaled - custo.unscaled, 2};
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
  itens_->atualiza(a, g.barra);
  // Changed: some item the statement rewrites (the ones with that very barcode) gets a new value.
  const bool altera = std::any_of(gravados.begin(), gravados.end(), [&](const ItemGravado& i) {
    return apara(i.barra) == apara(g.barra) && alteraItem(a, i, itens_->escalas());
  });
  return altera ? Desfecho::Atualizado : Desfecho::SemAlteracao;
}

// The database failed under the run: the row is undone, what the connection still holds is
// committed, and one message says where the run stopped and why.
Resultado Importacao::paraNaFalhaDoBanco(const ParadaDoBanco& p, std::optional<Transacao>& lote) {
  std::string gravado;
  if (c_.atomica()) {
    gravado = "Nada foi gravado.";
  } else if (p.linha < 2) {
    gravado = "Nada foi excluído e nada foi importado.";
  } else {
    try {
      if (lote && c_.aberta()) {
        lote->confirma();
        confirmadaAte_ = p.linha - 1;
      }
    } catch (const Erro&) {
    }
    gravado = confirmadaAte_ >= 2 ? "As linhas até a " + std::to_string(confirmadaAte_) +
                                        " estão gravadas; as seguintes não foram gravadas."
                                  : "Nenhuma linha foi gravada.";
  }
  lote.reset();
  const std::string onde = p.linha < 2 ? "ao limpar a base de produtos" : "n" + fonte(p.linha);
  const std::string texto = "A importação parou " + onde + ": falha do banco de dados (" +
                            textoVisivel(p.causa, true) + "). " + gravado;
  tela_.cursorEspera(false);
  tela_.mensagem(texto, Icone::Exclamacao);
  return Resultado::falhou(texto);
}

// One row in its savepoint, tried once more when it fails: its failure's description, "" when it
// went in. A failure of the database itself stops the run (ParadaDoBanco).
std::string Importacao::importaLinha(int linha, LinhaProduto& l) {
  // Asked once per row, outside the row's savepoint: a retry does not ask again.
  std::string ncmOnline, aviso;
  if (l.ncm.empty()) ncmOnline = consulta_.consulta(l.barra, aviso);
  if (!aviso.empty()) tela_.adicionaItem(kControleProdErro, aviso);
  std::string erro;
  for (int tentativa = 0; tentativa < 2; ++tentativa) {
    if (tentativa) l = leLinhaProduto(*fonte_, linha, o_.planilha);
    const size_t marcaRegistros = registros_->marca(), marcaItens = itens_->marca();
    try {
      PontoDeSalvamento ponto(c_, kSavepointLinha);
      try {
        const Desfecho d = processaLinha(l, ncmOnline);
        ponto.libera();
        registros_->fixa();
        itens_->fixa();
        ++(d == Desfecho::Inserido     ? resumo_.inseridos
           : d == Desfecho::Atualizado ? resumo_.atualizados
                                       : resumo_.semAlteracao);
        return {};
      } catch (const Erro& e) {
        // Nothing of the row stays: its statements go back to the savepoint, and the kept tables
        // forget what it created.
        registros_->desfazAte(marcaRegistros);
        itens_->desfazAte(marcaItens);
        const auto* banco = dynamic_cast<const ErroBanco*>(&e);
        if (banco && falhaDoBanco(*banco)) throw ParadaDoBanco{linha, e.what()};
        ponto.desfaz();
        erro = e.what();
      }
    } catch (const ErroBanco& e) {
      // The savepoint itself failed: the database, not the row.
      throw ParadaDoBanco{linha, e.what()};
    }
  }
  return erro;
}

Resultado Importacao::importaLinhas(bool temDados) {
  const int total = temDados ? totalDeLinhas() : 1;
  EstimativaImportacao estimativa(c_, mantidos_ || !temDados ? 0 : total);
  tela_.mostraControle(kControleProgressoMigracao, true);
  tela_.progresso(0);
  std::optional<Transacao> lote(std::in_place, c_);
  int contagem = 0;
  int linha = 2;
  try {
    for (;; ++linha) {
      tela_.defineTexto(kControleRegistro, std::to_string(linha));
      LinhaProduto l = leLinhaProduto(*fonte_, linha, o_.planilha);
      if (l.fim()) break;
      const auto inicio = Relogio::now();
      const long inseridos = resumo_.inseridos;
      const std::string erro = importaLinha(linha, l);
      if (!erro.empty()) {
        ++resumo_.falhas;
        tela_.adicionaItem(kControleProdErro, "Linha Excel: " + std::to_string(linha - 1) + " Código Barra " +
                                                  l.barra + " Valor de Venda " + l.venda +
                                                  " Descrição Programática: " + erro);
        if (a_.registraFalha)
          a_.registraFalha("Linha " + std::to_string(linha) + " de " + kArquivoProduto, erro);
      }
      // The first commit comes after six rows, then after every five.
      if (contagem == 5) {
        try {
          lote->confirma();
        } catch (const ErroBanco& e) {
          throw ParadaDoBanco{linha, e.what()};
        }
        ++resumo_.confirmacoes;
        confirmadaAte_ = linha;
        lote.emplace(c_);
        contagem = 0;
      }
      ++contagem;
      if (auto nota = estimativa.linha(segundosDesde(inicio), segundosMaximo_, resumo_.inseridos > inseridos);
          nota && a_.nota)
        a_.nota(*nota);
      tela_.progressoLinhas(std::clamp(int((linha - 1) * (100.0 / total)), 0, 100), linha - 1, total);
    }
  } catch (const ParadaDoBanco& p) {
    resumo_.ultimaLinha = p.linha;
    return paraNaFalhaDoBanco(p, lote);
  }
  resumo_.ultimaLinha = linha;
  tela_.progressoLinhas(100, linha - 2, linha - 2);  // all done, also when the sheet's range ran further
  try {
    lote->confirma();
    ++resumo_.confirmacoes;
  } catch (const ErroBanco& e) {
    tela_.cursorEspera(false);
    const std::string texto =
        std::string("As linhas importadas desde a última gravação não foram gravadas: ") + e.what();
    tela_.mensagem(texto, Icone::Exclamacao);
    return Resultado::falhou(texto);
  }
  return Resultado::concluido();
}

// produto.xlsx, or the grid's snapshot. The failure (shown) when the workbook cannot be opened:
// nothing has been touched yet, in either mode.
std::optional<Resultado> Importacao::abreFonte() {
  if (!o_.planilha) {
    fonte_ = std::make_shared<LeitorGrade>(o_.grade ? o_.grade : std::make_shared<const GradeProduto>());
    return std::nullopt;
  }
  try {
    fonte_ = abrePlanilha(a_.pastaPrograma + "/" + kArquivoProduto);
    return std::nullopt;
  } catch (const ErroPlanilha& e) {
    return informaFalha(tela_, e);
  }
}

Resultado Importacao::executa() {
  const auto inicio = Relogio::now();
  estilo_ = estiloRegional();
  if (std::optional<Resultado> falha = abreFonte()) return *falha;
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
    if (a_.confirmaLimpeza && !a_.confirmaLimpeza()) {
      tela_.cursorEspera(false);
      const std::string texto = "Importação cancelada: nada foi excluído nem importado.";
      if (a_.nota) a_.nota(texto);
      return Resultado::falhou(texto);
    }
    if (a_.copiaDeSeguranca) a_.copiaDeSeguranca();
    try {
      if (std::optional<Resultado> fim = limpaBase()) return *fim;
    } catch (const ErroBanco& e) {
      if (!falhaDoBanco(e)) throw;
      std::optional<Transacao> nenhum;
      return paraNaFalhaDoBanco({0, e.what()}, nenhum);
    }
  }

  mantidos_ = c_.atomica() && std::all_of(kTabelasProdutos.begin(), kTabelasProdutos.end(),
                                          [&](const std::string& t) { return c_.reservada(t); });
  resumo_.mantidos = mantidos_;
  registros_ = std::make_unique<RegistrosProduto>(c_, mantidos_);
  itens_ = std::make_unique<ItensProduto>(c_, mantidos_);
  if (Resultado r = importaLinhas(temDados); r.desfecho != Resultado::Desfecho::Concluido) return r;

  resumo_.segundos = segundosDesde(inicio);
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
