// "importadorzuv fiscal verificar ARQUIVO [--tabela-ncm F] [--tabela-cest F] [--data DD/MM/AAAA]
// [--relatorio CSV]": the fiscal check of a product or tax workbook before its import. Says on
// stdout one line per kind of finding (with --detalhes also every doubtful cell); --relatorio
// writes every finding to a CSV of the runs' report format. Exit status: 0 nothing found,
// 1 findings, 2 usage, or a workbook, table or report that cannot be read or written.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli/LinhaDeComando.h"
#include "common/Regional.h"
#include "fiscal/ConfiguracaoFiscal.h"
#include "fiscal/VerificaPlanilhaFiscal.h"
#include "shell/PastaPrograma.h"
#include "shell/RelatorioAlteracoes.h"

namespace zuv {

namespace {

constexpr const char* kLista = "lstVerificacaoFiscal";

struct OpcoesVerificar {
  std::string arquivo;
  CaminhosTabelasFiscais tabelas;
  std::string dia;
  std::string relatorio;  // CSV with every finding ("" = none)
};

std::optional<Data> dataDoTexto(const std::string& t) {
  Data d;
  char resto = 0;
  if (std::sscanf(t.c_str(), "%2d/%2d/%4d%c", &d.dia, &d.mes, &d.ano, &resto) != 3 || !d.valida())
    return std::nullopt;
  return d;
}

std::string quantos(size_t n) {
  return std::to_string(n) + (n == 1 ? " achado." : " achados.");
}

Resultado verifica(const OpcoesVerificar& opcoes, bool detalhes, Tela& tela) {
  OpcoesVerificacaoFiscal verificacao;
  verificacao.estilo = RetornaConfigWin();
  if (!opcoes.dia.empty()) verificacao.dia = *dataDoTexto(opcoes.dia);

  const CaminhosTabelasFiscais caminhos = caminhosTabelasFiscais(pastaPrograma(), opcoes.tabelas);
  std::optional<TabelaNcm> ncm;
  std::optional<TabelaCest> cest;
  TabelasFiscais tabelas;
  try {
    if (!caminhos.ncm.empty()) {
      ncm = TabelaNcm::carrega(caminhos.ncm);
      tabelas.ncm = &*ncm;
      tela.adicionaItem(kLista, "Tabela NCM: " + ncm->descricao());
    }
    if (!caminhos.cest.empty()) {
      cest = TabelaCest::carrega(caminhos.cest);
      tabelas.cest = &*cest;
      tela.adicionaItem(kLista, "Tabela CEST: " + cest->descricao());
    }
  } catch (const ErroTabelaFiscal& e) {
    tela.mensagem(e.what(), Icone::Exclamacao);
    return Resultado::encerrar(MotivoFim::Configuracao);
  }
  if (!tabelas.ncm && !tabelas.cest)
    tela.adicionaItem(kLista, "Sem tabelas oficiais: só as regras dos códigos (--tabela-ncm, --tabela-cest)");

  ResultadoVerificacaoFiscal resultado;
  try {
    resultado = verificaPlanilha(opcoes.arquivo, &tabelas, verificacao);
  } catch (const Erro& e) {
    tela.mensagem(e.what(), Icone::Exclamacao);
    return Resultado::encerrar(MotivoFim::Configuracao);
  }
  tela.adicionaItem(kLista, std::string("Planilha: ") + nomeDoLayout(resultado.layout) + ", " +
                                std::to_string(resultado.linhasDeDados) +
                                (resultado.linhasDeDados == 1 ? " linha" : " linhas") +
                                " de dados, verificada em " + textoData(verificacao.dia));
  for (const GrupoDeAchados& g : agrupaAchados(resultado.achados))
    tela.adicionaItem(kLista, textoDoGrupo(g, resultado.achados));
  if (detalhes)
    for (const AchadoFiscal& a : resultado.achados)
      tela.adicionaItem(kLista, textoDoAchado(a));
  if (!opcoes.relatorio.empty()) {
    try {
      gravaRelatorioCsv(
          opcoes.relatorio, {},
          achadosNoRelatorio(resultado.achados, std::filesystem::path(opcoes.arquivo).filename().string()),
          DestinoAlteracoes::Gravadas);
    } catch (const Erro& e) {
      tela.mensagem(e.what(), Icone::Exclamacao);
      return Resultado::encerrar(MotivoFim::Configuracao);
    }
    tela.nota("Relatório da verificação: " + opcoes.relatorio);
  } else if (!detalhes && !resultado.achados.empty()) {
    tela.nota("Cada achado: --detalhes (na tela) ou --relatorio ARQUIVO (CSV)");
  }
  if (resultado.achados.empty()) {
    tela.mensagem("Nenhum achado.");
    return Resultado::concluido();
  }
  const std::string resumo = quantos(resultado.achados.size());
  tela.mensagem(resumo);
  return Resultado::falhou(resumo);
}

void registra(CLI::App& programa, Tarefas& tarefas) {
  auto* fiscal =
      programa.add_subcommand("fiscal", "Códigos fiscais das planilhas (NCM, CEST, CFOP, CSOSN, CST)");
  fiscal->require_subcommand(1);
  auto* verificar = fiscal->add_subcommand(
      "verificar",
      "Verifica os códigos fiscais de produto.xlsx ou produtosat.xlsx (pelos títulos) antes da importação:\n"
      "uma linha por tipo de achado, com exemplos; --detalhes mostra cada achado.\n"
      "Saída: 0 nada achado, 1 achados, 2 erro de uso ou arquivo ilegível.");
  auto opcoes = std::make_shared<OpcoesVerificar>();
  verificar->add_option("ARQUIVO", opcoes->arquivo, "A planilha (.xlsx ou .xls)")->required();
  verificar
      ->add_option("--tabela-ncm", opcoes->tabelas.ncm,
                   std::string("Tabela NCM Vigente do Siscomex (JSON); sem ela, a variável ") +
                       kVariavelTabelaNcm + " ou " + kArquivoTabelasFiscais + " da pasta do programa")
      ->type_name("ARQUIVO");
  verificar
      ->add_option("--tabela-cest", opcoes->tabelas.cest,
                   std::string("Página do Convênio ICMS 142/18 do CONFAZ (HTML); sem ela, a variável ") +
                       kVariavelTabelaCest + " ou " + kArquivoTabelasFiscais)
      ->type_name("ARQUIVO");
  verificar->add_option("--data", opcoes->dia, "Dia em que os NCM devem estar vigentes (padrão: hoje)")
      ->type_name("DD/MM/AAAA")
      ->check(CLI::Validator(
          [](std::string& t) { return dataDoTexto(t) ? std::string() : "data inválida: " + t; }, ""));
  verificar
      ->add_option("--relatorio", opcoes->relatorio,
                   "Grava todos os achados neste CSV (o formato do relatório das operações)")
      ->type_name("ARQUIVO");
  // The program's --detalhes (also after the task) asks for every finding, not only the summary.
  const CLI::Option* detalhes = programa.get_option_no_throw("--detalhes");
  tarefas.executa(verificar, [opcoes, detalhes](Tela& tela) {
    return verifica(*opcoes, detalhes && detalhes->count() > 0, tela);
  });
}

}  // namespace

ZUV_TAREFA_CLI("fiscal", registra);

}  // namespace zuv
