// "importadorzuv produtos importar": the button "Incia a Importação para o Sistema ZUV" of
// FrmMigracaoPadrao on the command line, with every option of the form. A workbook import first
// lists the fiscal check's table-free findings on produto.xlsx (standard error); --verificar
// refuses to start when there is any.
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/ComandoMigracao.h"
#include "common/Erro.h"
#include "fiscal/VerificaPlanilhaFiscal.h"
#include "migration/ConsultaNCM.h"
#include "migration/GradeProduto.h"
#include "migration/ImportaPlanilhaProduto.h"
#include "shell/ContextoExecucao.h"

namespace zuv {
namespace {

struct OpcoesLinha {
  OpcoesImportacaoProduto importacao;
  std::string grade;  // a tab-separated text file instead of produto.xlsx
  bool todos = false;
  bool atualiza = false;
  bool verificar = false;
};

constexpr const char* kDescricao =
    "Cada linha de produto.xlsx da pasta do programa (ou de "
    "--grade) vira um produto com o seu item de estoque, ou reescreve os campos marcados do item que já "
    "tem o mesmo código de barras. Itens novos recebem todas as colunas da linha; o custo vem da coluna 4 "
    "(Preço Custo) também quando nem --preco-custo nem --preco-venda são dados. Uma linha com erro é "
    "desfeita, listada com a sua linha e a importação segue. Com --atomico também: as linhas com erro são "
    "listadas, a importação segue e tudo é gravado de uma vez no fim (ou nada, se a gravação falhar).";

Resultado executaImportacao(const OpcoesLinha& linha, ContextoExecucao& ctx) {
  OpcoesImportacaoProduto o = linha.importacao;
  if (linha.todos) o.marcaTodos(true);
  if (linha.grade.empty() &&
      !verificaAntesDaImportacao(ctx, ctx.pastaPrograma() + "/produto.xlsx", linha.verificar))
    return Resultado::falhou("verificação fiscal");
  if (!linha.grade.empty()) {
    ctx.defineOrigem(linha.grade);
    std::ifstream f(linha.grade, std::ios::binary);
    if (!f) throw ErroConfiguracao("Não foi possível ler a grade " + linha.grade);
    std::stringstream texto;
    texto << f.rdbuf();
    auto grade = std::make_shared<GradeProduto>();
    grade->colaTexto(1, 1, GradeProduto::textoDeArquivo(texto.str()));
    o.planilha = false;
    o.grade = grade;
  }
  if (o.enderecoNCM.empty()) o.enderecoNCM = ConsultaNCM::enderecoConfigurado();
  return ImportaPlanilhaProduto(ctx, o);
}

void registraImportar(CLI::App* produtos, Tarefas& tarefas) {
  auto* importar = produtos->add_subcommand(
      "importar",
      "Incia a Importação para o Sistema ZUV: as linhas de produto.xlsx (ou de --grade) no cadastro");
  importar->footer(kDescricao);
  auto opcoes = std::make_shared<OpcoesLinha>();
  OpcoesImportacaoProduto& o = opcoes->importacao;
  importar
      ->add_option(
          "--grade", opcoes->grade,
          "Lê as linhas de um texto colado de uma planilha (células separadas por tabulação, linha 1 "
          "com os títulos) em vez de produto.xlsx: a grade do formulário (chkExcel desmarcado)")
      ->type_name("ARQUIVO");
  auto* limpa =
      importar->add_flag("--limpa-base", o.limpaBase,
                         "Limpa Base de Produtos ( Nova Migração ): apaga o cadastro de produtos e tudo "
                         "que depende dele (vendas, comandas, contas) antes da primeira linha");
  importar->add_flag("--atualiza", opcoes->atualiza, "Atualiza Base de Produtos (o padrão)")->excludes(limpa);
  importar->add_flag("--todos", opcoes->todos,
                     "Todos os Campos para Importação: marca todos os campos abaixo");
  importar->add_flag("--nome-produto", o.nomeProduto,
                     "Nome Produto: reescreve a descrição dos produtos existentes");
  importar->add_flag("--preco-custo", o.precoCusto,
                     "Preço Custo: reescreve custo e margem dos itens existentes");
  importar->add_flag(
      "--preco-venda", o.precoVenda,
      "Preço Venda: com --preco-custo reescreve também o preço de venda; sozinho mantém o custo "
      "gravado do item existente");
  importar->add_flag("--estoque", o.estoque, "Estoque Atual: reescreve o estoque dos itens existentes");
  importar->add_flag("--grupo", o.grupo, "Grupo: lê grupo e subgrupo (colunas 7 e 8) e os reescreve");
  importar->add_flag("--ncm", o.ncm, "NCM: reescreve o NCM dos itens existentes");
  importar->add_flag("--aliq-ecf", o.aliqEcf, "Aliq.ECF: reescreve a alíquota ECF dos itens existentes");
  importar->add_flag("--cfop-sat", o.cfopSat, "CFOP SAT: reescreve o CFOP dos itens existentes");
  importar->add_flag("--unidade", o.unidade, "Unidade (não é consultado pela importação)");
  importar->add_flag("--trib-simp-nac", o.tribSimpNac, "Trib.Simp.Nac (não é consultado pela importação)");
  importar->add_flag("--icms-st", o.icmsSt, "ICMS ST (não é consultado pela importação)");
  importar->add_flag("--valor-atacado", o.atacado, "Valor Atacado (não é consultado pela importação)");
  importar
      ->add_option("--ncm-endereco", o.enderecoNCM,
                   std::string("Endereço da consulta de NCM pela internet para linhas sem NCM (padrão: $") +
                       kVariavelEnderecoNCM + "; sem endereço não há consulta)")
      ->type_name("URL");
  importar->add_flag("--verificar", opcoes->verificar,
                     "Não começa quando a verificação fiscal acha problemas em produto.xlsx");
  tarefas.executaNoBanco(
      importar, [opcoes](ContextoExecucao& ctx) { return executaImportacao(*opcoes, ctx); }, /*apaga=*/true);
}

const bool registrado [[maybe_unused]] = registraVerbo("produtos", registraImportar);

}  // namespace
}  // namespace zuv
