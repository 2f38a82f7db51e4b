#include "migration/ImportacaoProduto.h"

#include <algorithm>
#include <chrono>
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

Decimal decimalDe(const Valor& v, int casas) {
  return v.nulo() ? Decimal{0, casas} : arredonda(v.paraDouble(), casas);
}

bool temLetra(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](unsigned char c) { return c >= 'A' && c <= 'Z'; });
}

class Importacao {
 public:
  Importacao(AmbienteImportacao& a, const OpcoesImportacaoProduto& o, ResumoImportacaoProduto& r)
      : a_(a), c_(a.conexao), tela_(a.tela), o_(o), resumo_(r), consulta_(o.enderecoNCM) {}

  Resultado executa();

 private:
  enum class Desfecho { Inserido, Atualizado };

  bool limpaBase();
  Desfecho processaLinha(const LinhaProduto& l, const std::string& ncmOnline);
  void descricao(const LinhaProduto& l, const std::string& barraGravada, int32_t idNovo);
  void confirmaLote();
  int totalDeLinhas();

  AmbienteImportacao& a_;
  Conexao& c_;
  Tela& tela_;
  const OpcoesImportacaoProduto& o_;
  ResumoImportacaoProduto& resumo_;
  ConsultaNCM consulta_;
  std::shared_ptr<LeitorPlanilha> fonte_;
  int estilo_ = 1;
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

void Importacao::confirmaLote() {
  c_.confirma();
  ++resumo_.confirmacoes;
  c_.iniciaTransacao();
}

Importacao::Desfecho Importacao::processaLinha(const LinhaProduto& l, const std::string& ncmOnline) {
  ItemProduto item;
  item.cadastro = Data::hoje();
  item.barra = l.barra;
  item.idItemProduto = ProxCodigo(c_, "iditemproduto", "produtoestoque",
                                  "select MAX(iditemproduto) AS iditemproduto from produtoestoque");

  // The existing item: same barcode, in any case; an empty barcode is always a new item.
  Recordset existente;
  if (!l.barra.empty()) {
    existente = c_.abre("Select * from ProdutoEstoque where Barra = " + aspas(l.barra));
    if (existente.eof() && temLetra(l.barra))
      existente = c_.abre("Select * from ProdutoEstoque where Upper(Barra) = " + aspas(l.barra));
  }
  const bool existe = existente.aberto() && !existente.eof();
  const std::string barraGravada = existe ? existente.valor("Barra").textoRegional(estilo_) : l.barra;
  item.idUnidade = unidadeDoProduto(c_, l.unidade, l.unidadeEscrita);

  // Prices. "Preço Venda" alone keeps the stored cost of an existing item; new items take column 4.
  const bool custoGravado = existe && o_.precoVenda && !o_.precoCusto;
  item.custo = custoGravado ? decimalDe(existente.valor("CustoLiquido"), 2) : leNumero(l.custo, estilo_);
  item.venda = leNumero(l.venda, estilo_);
  // An existing item whose sale price is not rewritten keeps it: its margin is taken against it.
  const bool vendaNova = o_.precoCusto && o_.precoVenda && !l.venda.empty();
  const Decimal vendaDaMargem =
      existe && !vendaNova ? decimalDe(existente.valor("VendaAtual"), 2) : item.venda;
  if (item.custo.unscaled == 0) item.custo = vendaDaMargem;
  item.margem = Decimal{vendaDaMargem.unscaled - item.custo.unscaled, 2};
  item.margemPorc = item.custo.unscaled != 0 ? item.margem.paraDouble() / item.custo.paraDouble() * 100 : 100;

  if (o_.grupo) {
    item.idProdGrupo = grupoDoProduto(c_, l.grupo, l.grupoEscrito);
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

  Desfecho desfecho;
  if (!existe) {
    try {
      item.estoque = leNumero(l.estoque, estilo_, 3);
    } catch (const ErroConversao&) {
      item.estoque = Decimal{0, 3};  // a new item's stock is 0 when the cell is not a number
    }
    item.idProduto = ProxCodigo(c_, "IDPRODUTO", "PRODUTO");
    c_.executa(insercaoProduto(item.idProduto, l.descricao));
    c_.executa(insercaoEstoque(item));
    desfecho = Desfecho::Inserido;
  } else {
    CamposAtualizacao campos{o_.precoCusto, o_.precoVenda, o_.estoque, o_.cfopSat,
                             o_.aliqEcf,    o_.ncm,        o_.grupo};
    campos.temCusto = !l.custo.empty() || custoGravado;
    campos.temVenda = !l.venda.empty();
    campos.temEstoque = !l.estoque.empty();
    campos.temAtacado = !l.atacado.empty();
    campos.temGrupo = !l.grupo.empty();
    if (o_.estoque && campos.temEstoque) item.estoque = leNumero(l.estoque, estilo_, 3);
    const std::string sql = atualizacaoEstoque(item, campos, barraGravada);
    if (!sql.empty()) c_.executa(sql);
    desfecho = Desfecho::Atualizado;
  }
  descricao(l, barraGravada, existe ? 0 : item.idProduto);
  return desfecho;
}

// "Nome Produto" in update mode rewrites the description of the row's product (never with an empty
// cell).
void Importacao::descricao(const LinhaProduto& l, const std::string& barraGravada, int32_t idNovo) {
  if (o_.limpaBase || !o_.nomeProduto || l.descricao.empty()) return;
  std::optional<int32_t> idProduto;
  if (!barraGravada.empty()) {
    Recordset rs = c_.abre("select idproduto from produtoestoque where barra = " + aspas(barraGravada + " "));
    if (!rs.eof() && !rs.valor("idProduto").nulo()) idProduto = int32_t(rs.valor("idProduto").paraDouble());
  } else if (idNovo) {
    idProduto = idNovo;  // an empty barcode names every item without one: take the row's own
  }
  if (!idProduto) return;
  const std::string d = esquerda(l.descricao, 55);
  c_.executa("update produto set descricao = " + ConverteSQL(Valor(d), "CH") + " , DescricaoImp  = " +
             ConverteSQL(Valor(esquerda(d, 24)), "CH") + " where idproduto = " + std::to_string(*idProduto));
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
      tela_.adicionaItem(kControleProdErro, std::string("Nenhuma linha de produto em ") +
                                                (o_.planilha ? kArquivoProduto : "na grade") +
                                                ": a base de produtos não foi limpa.");
    } else {
      if (a_.confirmaLimpeza && !a_.confirmaLimpeza()) {
        tela_.cursorEspera(false);
        const std::string texto = "Importação cancelada: nada foi excluído nem importado.";
        if (a_.nota) a_.nota(texto);
        return Resultado::falhou(texto);
      }
      if (a_.copiaDeSeguranca) a_.copiaDeSeguranca();
      if (!limpaBase()) return Resultado::falhou("A base de produtos não foi limpa.");
    }
  }

  const int total = temDados ? totalDeLinhas() : 1;
  tela_.mostraControle(kControleProgressoMigracao, true);
  tela_.progresso(0);
  c_.iniciaTransacao();
  int lote = 0;
  int linha = 2;
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
      c_.executa(std::string("SAVEPOINT ") + kSavepointLinha);
      try {
        const Desfecho d = processaLinha(l, ncmOnline);
        ++(d == Desfecho::Inserido ? resumo_.inseridos : resumo_.atualizados);
        erro.clear();
        break;
      } catch (const Erro& e) {
        // Nothing of the row stays: its statements go back to the savepoint.
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
      confirmaLote();
      lote = 0;
    }
    ++lote;
    tela_.progressoLinhas(std::clamp(int((linha - 1) * (100.0 / total)), 0, 100), linha - 1, total);
  }
  resumo_.ultimaLinha = linha;
  tela_.progressoLinhas(100, linha - 2, linha - 2);  // all done, also when the sheet's range ran further

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
                  " atualizados, " + std::to_string(falhas) + " com erro, em " + tempo + " s";
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
