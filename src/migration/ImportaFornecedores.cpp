#include <dirent.h>
#include <strings.h>

#include <exception>
#include <memory>

#include "common/Erro.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "migration/Fornecedores.h"
#include "migration/MigracaoPadrao.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "shell/BancoZUV.h"
#include "shell/ContextoExecucao.h"

namespace zuv {

namespace {

constexpr int kColunaCGC = 2, kColunaNome = 4, kColunaFax = 16, kColunaContato = 19;

// fornecedor.XLS, or a file of the same name in another case (a copy from Windows, where names
// are compared without case). The exact name when there is none, for the message.
std::string arquivoFornecedor(const std::string& pasta) {
  std::string achado = pasta + "/" + kArquivoFornecedor;
  if (DIR* dir = opendir(pasta.c_str())) {
    while (dirent* e = readdir(dir)) {
      if (e->d_name == std::string(kArquivoFornecedor)) {
        achado = pasta + "/" + e->d_name;
        break;
      }
      if (strcasecmp(e->d_name, kArquivoFornecedor) == 0) achado = pasta + "/" + e->d_name;
    }
    closedir(dir);
  }
  return achado;
}

// A failure that stops the run: its description after what was being done.
Resultado para(Tela& tela, const std::string& etapa, const std::exception& e) {
  const std::string texto = etapa + e.what();
  tela.cursorEspera(false);
  tela.mensagem(texto, Icone::Exclamacao);
  return Resultado::falhou(texto);
}

}  // namespace

Resultado ImportaFornecedores(ContextoExecucao& ctx, const OpcoesFornecedores& opcoes) {
  Tela& tela = ctx.tela();
  const std::string pasta = ctx.pastaPrograma();
  tela.cursorEspera(true);
  try {
    lePastaDados(pasta);  // only has to exist: the suppliers go to DADOS of the program folder
  } catch (const ErroConfiguracao&) {
    tela.cursorEspera(false);
    avisaSemIni(tela, pasta);
    throw FimDoPrograma{MotivoFim::Configuracao};
  } catch (const std::exception& e) {
    return para(tela, "", e);
  }

  // The workbook and the database are checked before anything is deleted.
  std::unique_ptr<LeitorPlanilha> planilha;
  try {
    planilha = abrePlanilha(arquivoFornecedor(pasta));
  } catch (const std::exception& e) {
    return para(tela, "", e);
  }
  const std::string banco = caminhoBancoFornecedores(pasta);
  Conexao* conexao = nullptr;
  try {
    conexao = &ctx.abreOutra(std::string(" provider=LCPI.IBProvider.1;data source=") +
                             bancoFornecedores(pasta) + ";" + kCaudaConexao);
  } catch (const std::exception& e) {
    return para(tela, "Erro ao abrir o banco de dados " + banco + ". ", e);
  }

  int linha = 1, numero = 1;
  try {
    ctx.copiaDeSeguranca(*conexao, "fornecedores");
    conexao->executa("delete from fornecedor");
  } catch (const std::exception& e) {
    return para(tela, "Erro ao limpar os fornecedores de " + banco + ". ", e);
  }
  try {
    // The list ends at the first row without CGC; that row is not a supplier. The workbook's
    // telephone column (15) is not used: every supplier gets the fixed text.
    for (++linha; !apara(maiusculas(planilha->celula(linha, kColunaCGC))).empty(); ++linha, ++numero) {
      CelulasFornecedor celulas{planilha->celula(linha, kColunaCGC), planilha->celula(linha, kColunaNome),
                                planilha->celula(linha, kColunaContato), planilha->celula(linha, kColunaFax)};
      conexao->executa(insercaoFornecedor(limpaFornecedor(celulas), opcoes.fone, numero));
    }
    if (planilha->ultimaLinha() > linha)
      tela.nota("A linha " + std::to_string(linha) + " de " + kArquivoFornecedor +
                " está sem CGC e encerrou a importação; há dados até a linha " +
                std::to_string(planilha->ultimaLinha()) + " que não foram importados.");
  } catch (const std::exception& e) {
    return para(tela,
                "Erro na linha " + std::to_string(linha) + " de " + kArquivoFornecedor + " (" +
                    std::to_string(numero - 1) + " fornecedores gravados antes dela em " + banco + "). ",
                e);
  }
  tela.cursorEspera(false);
  if (!ctx.simulacao()) tela.nota(std::to_string(numero - 1) + " fornecedores gravados em " + banco + ".");
  tela.mensagem("Fim");
  return Resultado::concluido();
}

}  // namespace zuv
