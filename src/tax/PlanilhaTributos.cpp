#include "tax/PlanilhaTributos.h"

#include <algorithm>
#include <exception>
#include <functional>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/Tela.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "platform/Recordset.h"
#include "schema/Registros.h"
#include "shell/ContextoExecucao.h"
#include "tax/Tributos.h"

namespace zuv {

const std::vector<ColunaTributos> kColunasSAT = {
    {"Cod.Interno", 12},
    {"Código Barra", 15},
    {"Descrição Produto", 35},
    {"Grupo Produto", 20},
    {"NCM", 9},
    {"Aliq. ECF SAT", 14},
    {"CFOP SAT", 9},
    {"Trib.Simples Nacional", 22},
    {"Cód.Trib.ICMS CST", 17},
    {"Código CEST", 17},
    {"CFP de Entrada", 17},
    {"Código CST PIS", 17},
    {"Porcentagem PIS", 17},
    {"Código CST Cofins", 17},
    {"Porcentagem Cofins", 17},
    {"Porcentagem ICMS Cadastro Produto", 17},
};

const std::vector<ColunaTributos> kColunasNFE = {
    {"Código Barra", 15},      {"Cod.Interno", 0},    {"CFOP Inerno", 0},
    {"Descrição Produto", 35}, {"Grupo Produto", 20}, {"NCM", 10},
    {"Código CEST", 13},       {"CFOP NFE", 10},      {"Cód.Trib.ICMS CST", 18},
    {"Natureza Operação", 25},
};

std::string consultaTributosSAT(bool aliqICMS) {
  // Column 11 is the incoming CFOP that the import writes back into idTribCFOPEntradada, so it is
  // read from that link (reading idTribCFOP would point every item's purchases at its sales record
  // after an unedited round trip).
  return std::string(
             "Select T.idItemProduto Codigo_Interno, Coalesce(T.Barra,'') as Codigo_Barra, P.Descricao as "
             "Nome_Produto,") +
         " Coalesce(g.Descricao,'') as Grupo_Produto," + " Coalesce(N.CodigoNCM,'') as Codigo_NCM, " +
         " Coalesce(L.PorcICF,'') as AliquotaICMS," + " Coalesce(O.CodFiscal,'') as Codigo_CFOP_SAT, " +
         " Coalesce(O.CSOSN,'') as Tributacao_Simples_Nacional, " +
         " Coalesce(O.CSTSAT,'') as Cod_Trib_ICMS_CST , " + " Coalesce(N.CEST,'') as Codigo_CEST, " +
         " ( Select CODFISCAL from   TRIBCFOP  Where IDTRIBCFOP  = T.idTribCFOPEntradada) CodFiscalEntrada," +
         " T.PisCSTSai   Codigo_CST_PIS," + " T.PISPorcentagemSai Porcentagem_PIS," +
         " T.CofinsCSTSai      Codigo_CST_Cofins," +
         (aliqICMS ? std::string(" T.CofinsPorcentagemSai Porcentagem_Cofins,") + " T.AliqICMS"
                   : std::string(" T.CofinsPorcentagemSai Porcentagem_Cofins")) +
         " From ProdutoEstoque T Inner Join Produto  P ON T.idProduto   = P.idProduto  " +
         "                       Left Join TRIBCFOP  O on O.IDTRIBCFOP  = T.idTribCFOP " +
         "                       Left Join ECFLetra  L on L.idECFLetra  = T.idECFLetra " +
         "                       Left Join ProdutoGrupo G on G.idProdGrupo = T.idProdGrupo" +
         "                       Left Join NCM          N on N.idNCM = t.idNCM    " +
         "  where  T.Ativo   = 'S'" + "   Order by T.idProdGrupo, P.Descricao";
}

std::string consultaTributosNFE() {
  return std::string(" Select Coalesce(T.Barra,'') as Codigo_Barra, ") + " T.idItemProduto Codigo_Interno, " +
         " Coalesce(O.idTribCFOP,'') as Codigo_CFOPInterno, " + " P.Descricao as Nome_Produto," +
         " Coalesce(g.Descricao,'') as Grupo_Produto," + " Coalesce(N.CodigoNCM,'') as Codigo_NCM, " +
         " Coalesce(N.CEST,'') as Codigo_CEST ," + " Coalesce(O.CodFiscal,'') as Codigo_CFOP, " +
         " Coalesce(O.CST,'') as Trib_ICMS_CST, " + " Coalesce(O.NaturezaOperacao,'') as NaturezaOperacao " +
         " From ProdutoEstoque T Inner Join Produto  P ON T.idProduto   = P.idProduto  " +
         "                       Left Join TRIBCFOP  O on O.IDTRIBCFOP  = T.idTribCFOP " +
         "                       Left Join ProdutoGrupo G on G.idProdGrupo = T.idProdGrupo" +
         "                       Left Join NCM          N on N.idNCM = t.idNCM    " +
         "  where  T.Ativo   = 'S'" + "   Order by T.idProdGrupo, P.Descricao";
}

namespace {

void escreveCampo(EscritorPlanilha& planilha, int linha, int coluna, const Valor& v) {
  if (v.nulo()) return;
  if (v.numero()) {
    planilha.escreveNumero(linha, coluna, v.paraDouble());
  } else if (v.texto()) {
    planilha.escreve(linha, coluna, v.comoTexto());
  } else {
    planilha.escreve(linha, coluna, v.textoRegional(estiloRegional()));
  }
}

// One export: the query, then the workbook. A failure of the query is the click path's
// ("Erro ao Gerar o Excel"); one while the workbook is built names the connection's error raised
// meanwhile, if any.
Resultado exporta(ContextoExecucao& ctx, const std::function<std::string(Conexao&)>& consulta,
                  const std::vector<ColunaTributos>& colunas, const char* arquivo) {
  Tela& tela = ctx.tela();
  TelaDoEscopo escopo(tela);
  const auto falha = [&](const std::string& texto, Icone icone) {
    tela.mensagem(texto, icone);
    tela.cursorEspera(false);
    return Resultado::falhou(texto);
  };
  Recordset registros;
  std::string erroAntes;
  Conexao* conexao = nullptr;
  try {
    tela.cursorEspera(true);
    tela.mostraControle(kProgressoTributos, true);
    conexao = &ctx.zuv();
    registros = conexao->abre(consulta(*conexao));
    erroAntes = conexao->descricaoErro();
  } catch (const std::exception& e) {
    // The system's message says nothing of the cause; the note does.
    tela.nota(std::string("Causa: ") + e.what());
    return falha("Erro ao Gerar o Excel", Icone::Informacao);
  }
  const std::string caminho = ctx.pastaPrograma() + "/" + arquivo;
  try {
    geraPlanilhaTributos(registros.clone(), colunas, caminho, tela, !ctx.simulacao());
  } catch (const std::exception& e) {
    const std::string& erro = conexao->descricaoErro();
    if (erro != erroAntes && !erro.empty())
      return falha("Erro ao Montar Planilha Excel " + erro, Icone::Nenhum);
    tela.nota(std::string("Causa: ") + e.what());
    return falha("Erro ao Gerar o Excel", Icone::Informacao);
  }
  if (ctx.simulacao())
    tela.nota("Simulação: a planilha " + caminho + " não foi gravada.");
  else
    tela.mostraArquivo(caminho);
  tela.cursorEspera(false);
  return Resultado::concluido();
}

}  // namespace

void geraPlanilhaTributos(Recordset registros, const std::vector<ColunaTributos>& colunas,
                          const std::string& caminho, Tela& tela, bool grava) {
  EscritorPlanilha planilha;
  const int campos = registros.totalCampos();
  for (int i = 0; i < campos; ++i) {
    if (static_cast<size_t>(i) >= colunas.size()) throw Erro("Coluna sem título na planilha de tributos.");
    planilha.escreve(1, i + 1, colunas[i].titulo);
    planilha.larguraColuna(i + 1, colunas[i].largura);
  }
  tela.progresso(0);
  const long total = registros.totalRegistros();
  int linha = 2;
  for (long feitos = 1; !registros.eof(); registros.proximo(), ++feitos, ++linha) {
    for (int i = 0; i < campos; ++i)
      escreveCampo(planilha, linha, i + 1, registros.valor(i));
    // Whole percent: counter x (100 / total), never past 100.
    tela.progressoLinhas(static_cast<int>(std::min<long>(100, feitos * 100 / total)), feitos, total);
  }
  registros.fecha();
  if (grava) planilha.salva(caminho);
}

Resultado ExportaSAT(ContextoExecucao& ctx, const OpcoesExportaSAT&) {
  const auto consulta = [](Conexao& conexao) {
    return consultaTributosSAT(ConsultaParametro(conexao, "ProdutoEstoqueAliqICMS") == "S");
  };
  return exporta(ctx, consulta, kColunasSAT, kArquivoSAT);
}

Resultado ExportaNFE(ContextoExecucao& ctx) {
  return exporta(
      ctx, [](Conexao&) { return consultaTributosNFE(); }, kColunasNFE, kArquivoNFE);
}

}  // namespace zuv
