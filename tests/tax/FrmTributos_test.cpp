// Both tax forms offscreen, opened from the menu: their controls, an export and an import by
// their buttons (an unticked box reaches the run; the end window), and Sair.
#include <gmock/gmock.h>

#include <QtWidgets>

#include "shell/BancoZUV.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"
#include "support/CaixasGravadas.h"
#include "tax/AmbienteTributos.h"
#include "tax/FrmAtuProdutoNCMCFOP.h"
#include "tax/FrmAtuProdutoNFE.h"

namespace zuv::teste {
namespace {

using ::testing::StartsWith;

using qt::clica;
using qt::controle;

class FrmTributosTest : public AmbienteTributos {
 protected:
  void SetUp() override {
    AmbienteTributos::SetUp();
    definePastaPrograma(pasta.string());
    caixas.resposta = false;
  }
  void TearDown() override {
    definePastaPrograma("");
    SlotConexao::programa().fecha();
    AmbienteTributos::TearDown();
  }
  CaixasGravadas caixas;
};

TEST_F(FrmTributosTest, SATExportaImportaESai) {
  auto* form = qobject_cast<FrmAtuProdutoNCMCFOP*>(FrmMenu::abreFormulario("cmdImportaNCM"));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(
      qt::textos(*form),
      (std::vector<std::string>{
          "ZUV ATUALIZAÇÃO DE DADOS",
          "txtCaminho: Gerar Planilha no Formato Excel Para o Cliente Pasta " + pasta.string() +
              "/ProdutoSAT.xls",
          "Frame1: Dados para Importação", "chkICMSCadProduto: ICMS Cad Produto", "chkCFOP: CFOP [x]",
          "chkAliquotaICMS: % Aliquota Imposto (7,12,18 etc..) [x]", "chkPIS: PIS / Cofins [x]",
          "chkNCM: NCM [x]", "chkFixa: 5102 = cst 102 cfop 5102 - 5405 - cst 060 - cfp 5405 - todos 18%",
          "cmdGeraExcel: Gerar Planilha Excel", "cmdProd: Iniciar Importação", "cmdSair: Sair",
          "Label1: Importar o Arquivo para o Sistema ZUV", "cmdVerificarFiscal: Verificar códigos fiscais"}));
  EXPECT_FALSE(controle<QProgressBar>(*form, "Trm")->isVisibleTo(form));

  clica(*form, "cmdGeraExcel");
  EXPECT_EQ(caixas.abertos, std::vector<std::string>{sat().string()});
  EXPECT_TRUE(controle<QProgressBar>(*form, "Trm")->isVisibleTo(form));
  controle<QCheckBox>(*form, "chkCFOP")->setChecked(false);
  conexao->executa("update ProdutoEstoque set idTribCFOP = null where idItemProduto = 2");
  clica(*form, "cmdProd");
  EXPECT_EQ(
      caixas.textos(true).front(),
      "Excluir os Cadastro de CFOP, e Criar um Novo, Parametro de Sistema Refazer Manual  | ImportadorZUV "
      "[Não]");
  EXPECT_EQ(caixas.textos().back(), "FIM");
  EXPECT_GE(caixas.encerramentos, 1);    // "FIM" ends the program
  ASSERT_EQ(caixas.janelas.size(), 1u);  // before the end: what the run did, and where it is kept
  EXPECT_THAT(caixas.janelas[0], StartsWith("Resumo da execução: sat importar\nsat importar: concluída\n"));
  EXPECT_EQ(um("select Coalesce(idTribCFOP, 0) from ProdutoEstoque where idItemProduto = 2"),
            "0");  // not ticked
  controle(*form, "cmdSair")->click();
  EXPECT_FALSE(SlotConexao::programa().aberta());
  processaExclusoes();
  EXPECT_EQ(FrmMenu::formularioAberto("cmdImportaNCM"), nullptr);
}

TEST_F(FrmTributosTest, NFEExportaImportaESai) {
  auto* form = qobject_cast<FrmAtuProdutoNFE*>(FrmMenu::abreFormulario("cmdImportaNFE"));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(qt::textos(*form),
            (std::vector<std::string>{"ZUV ATUALIZAÇÃO DE DADOS",
                                      "Label1: Gerar Planilha no Formato Excel Para o Cliente Pasta " +
                                          pasta.string() + "/ProdutoNFE.xls",
                                      "Frame1: Dados para Importação", "chkCFOP: CFOP [x]",
                                      "chkAliquotaICMS: % Aliquota Imposto (7,12,18 etc..) [x]",
                                      "chkPIS: PIS / Cofins [x]", "chkNCM: NCM [x]",
                                      "cmdGeraExcel: Gerar Planilha Excel", "cmdProd: Iniciar Importação",
                                      "cmdSair: Sair"}));
  EXPECT_FALSE(SlotConexao::programa().aberta());  // its own connection

  clica(*form, "cmdGeraExcel");
  EXPECT_EQ(caixas.abertos, std::vector<std::string>{(pasta / "produtoNfe.xlsx").string()});
  clica(*form, "cmdProd");  // only produtoNfe.xlsx: the import fails before the question
  ASSERT_EQ(caixas.todas.size(), 1u);
  EXPECT_NE(caixas.todas[0].texto.find("produtosat.xlsx"), std::string::npos) << caixas.todas[0].texto;
  EXPECT_EQ(caixas.encerramentos, 0);
  controle(*form, "cmdSair")->click();
  processaExclusoes();
  EXPECT_EQ(FrmMenu::formularioAberto("cmdImportaNFE"), nullptr);
}

}  // namespace
}  // namespace zuv::teste
