// The product import from its button: the form's choices and the grid's pasted rows reach the run,
// which fills the error box and ends the program.
#include <gmock/gmock.h>

#include <QtWidgets>

#include "gui/ModeloGrade.h"
#include "migration/FrmMigracaoPadrao.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"
#include "support/AplicacaoQt.h"
#include "support/BancoDeTeste.h"
#include "support/EstiloRegional.h"

namespace zuv::teste {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::StartsWith;

class FrmImportacaoProdutoTest : public ComEstilo {
 protected:
  void SetUp() override {
    aplicacaoQt();
    ComEstilo::SetUp();
    banco.carregaFixture("zuv_populado.sql");
    definePastaPrograma(banco.pastaPrograma().string());
    caixasDialogo().mensagem = [this](QWidget*, const QString& texto, Icone, const QString&) {
      caixas.push_back(texto.toStdString());
    };
    caixasDialogo().pergunta = [this](QWidget*, const QString& texto, Icone, const QString&, Padrao padrao) {
      perguntas.push_back(texto.toStdString());
      EXPECT_EQ(padrao, Padrao::Nao) << "a wiping question defaults to No";
      return resposta;
    };
    caixasDialogo().janelaTexto = [this](QWidget*, const QString&, const QString& texto,
                                         const QString& pasta) {
      janelas.push_back(texto.toStdString());
      pastas.push_back(pasta.toStdString());
    };
    defineEncerramento([this] { encerrou = true; });
    form = qobject_cast<FrmMigracaoPadrao*>(FrmMenu::abreFormulario("cmdImportaProduto"));
    ASSERT_NE(form, nullptr);
  }
  void TearDown() override {
    if (form) form->close();
    processaExclusoes();
    defineEncerramento({});
    caixasDialogo() = caixasPadrao();
    definePastaPrograma("");
    ComEstilo::TearDown();
  }

  BancoDeTeste banco;
  QPointer<FrmMigracaoPadrao> form;
  std::vector<std::string> caixas, perguntas, janelas, pastas;
  bool encerrou = false, resposta = true;
};

// In clean mode the form first asks (default No) what will be deleted; No leaves the catalogue.
// The run ends the program: after "FIM", one window with the summary, the change report, the failed
// row, the backup and its restore command.
TEST_F(FrmImportacaoProdutoTest, TheGridsRowsAndTheTickedBoxesReachTheRun) {
  form->chkExcel()->click();  // the grid is the source
  form->modeloGrade().colaTexto(1, 1,
                                "Barra\tNome Produto\tUnidade\tPreço Custo\tPreço Venda\tEstoque Atual\n"
                                "7891000100012\tCafé Moído 500g\tUN\t9,50\t15,90\t12\n"
                                "7891000100029\tChá Mate\tUN\t1,00\tcaro\t3\n"
                                "7891000100036\tAçúcar\tKG\t2,00\t4,00\t7\n");
  form->chkTodos()->click();
  EXPECT_TRUE(form->chkEstoque()->isChecked());
  form->optLimpaBase()->click();
  const std::string itens =
      BancoDeTeste::consulta(banco.caminho(), "select count(*) from produtoestoque")[0][0];
  resposta = false;
  form->cmdProd()->click();
  form->aguardaOperacao();
  ASSERT_EQ(perguntas.size(), 1u);
  EXPECT_THAT(perguntas[0], MatchesRegex("Limpa Base de Produtos \\( Nova Migração \\): [0-9]+ produtos, " +
                                         itens + " itens de estoque, .* serão excluídos de " +
                                         banco.caminho().string() + "\\. Continuar\\?"));
  EXPECT_EQ(BancoDeTeste::consulta(banco.caminho(), "select count(*) from produtoestoque")[0][0], itens);
  EXPECT_FALSE(encerrou);
  EXPECT_TRUE(janelas.empty() && caixas.empty());
  resposta = true;
  form->cmdProd()->click();
  // Edits after the click do not reach the run: it has its own copy of the cells.
  form->modeloGrade().colaTexto(2, 2, "Outro nome");
  form->aguardaOperacao();
  EXPECT_EQ(caixas, (std::vector<std::string>{"Fim Importação", "FIM"}));
  EXPECT_TRUE(encerrou);
  ASSERT_EQ(janelas.size(), 1u);
  EXPECT_THAT(janelas[0],
              StartsWith("produtos importar: concluída\nBanco: " + banco.caminho().string() +
                         "\nOrigem: grade do formulário\nOpções: formulário FrmMigracaoPadrao: "));
  EXPECT_THAT(janelas[0],
              HasSubstr("\nLinhas: 2 importadas, 0 atualizadas, " + itens + " excluídas, 1 com erro\n"));
  EXPECT_THAT(janelas[0],
              HasSubstr("\n  PRODUTOESTOQUE: 2 incluídas, 0 alteradas, " + itens + " excluídas\n"));
  EXPECT_THAT(janelas[0],
              HasSubstr("\nLinhas com erro (1):\n  Linha 3 de produto.xlsx: \"CARO\" não é um número.\n"));
  const std::string copias = (banco.pastaDados() / "copias").string();
  EXPECT_THAT(janelas[0], ContainsRegex("\nCópia de segurança: " + copias +
                                        "/VENDAS_[0-9_]+_produtos.fbk\n"
                                        "Para restaurá-la: importadorzuv restaurar '" +
                                        copias + "/VENDAS_[0-9_]+_produtos.fbk' --banco '" +
                                        banco.caminho().string() + "'\n"));
  EXPECT_EQ(pastas, std::vector<std::string>{(banco.pastaDados() / "relatorios").string()});
  EXPECT_EQ(form->txtRegistro()->text().toStdString(), "5");
  EXPECT_EQ(
      form->txtProdErro()->toPlainText().toStdString(),
      "Linha Excel: 2 Código Barra 7891000100029 Valor de Venda CARO Descrição Programática: \"CARO\" não é "
      "um número.");
  EXPECT_EQ(
      BancoDeTeste::consulta(banco.caminho(),
                             "select p.descricao, e.vendaatual, e.estoqueatual from produtoestoque e join "
                             "produto p on p.idproduto = e.idproduto where e.barra like '7891000100%' order "
                             "by e.barra"),
      (BancoDeTeste::Linhas{{"CAFE MOIDO 500G", "15.90", "12.000"}, {"ACUCAR", "4.00", "7.000"}}));
}

}  // namespace
}  // namespace zuv::teste
