#include "dbcopy/FrmZUVdeZUVProduto.h"

#include <gmock/gmock.h>

#include <QtWidgets>

#include "dbcopy/AmbienteCopia.h"
#include "dbcopy/AtualizaBanco.h"
#include "shell/FrmMenu.h"
#include "support/CaixasGravadas.h"

namespace zuv::teste {
namespace {

using qt::clica;
using qt::controle;

// Answers No to every question; the file dialogs are recorded and answered from escolhas.
class FrmZUVdeZUVProdutoTest : public AmbienteCopia {
 protected:
  void SetUp() override {
    AmbienteCopia::SetUp();
    destino->executaIsql(kClientesTipados);
    caixas.resposta = false;
    escolhaDeArquivo() = [this](QWidget*, const QString& titulo, const QString&, const QString& filtro) {
      dialogos.push_back(titulo.toStdString() + " | " + filtro.toStdString());
      const QString r = QString::fromStdString(escolhas.front());
      escolhas.erase(escolhas.begin());
      return r;
    };
  }
  void TearDown() override {
    escolhaDeArquivo() = escolhaDeArquivoPadrao();
    AmbienteCopia::TearDown();
  }
  CaixasGravadas caixas;
  std::vector<std::string> dialogos, escolhas;
};

TEST_F(FrmZUVdeZUVProdutoTest, TheMenuOpensItThePathsAreChosenAndTheIndividualRunCopiesProductsAndCustomers) {
  auto* form = qobject_cast<FrmZUVdeZUVProduto*>(FrmMenu::abreFormulario("cmdImportaZUV"));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(qt::textos(*form),
            (std::vector<std::string>{
                "ZUV ATUALIZAÇÃO: Produto, Estoque, Unidade, Grupo, SubGrupo, Fabricante, Cliente, "
                "Fornecedor, CFOP",
                "Frame3: Localização Banco de Dados", "lblDestino: C:\\ZUV\\Dados\\VENDAS.FDB",
                "lblOrigem: C:\\ZUV\\Dados\\VENDAS_PORTAS.FDB", "cmdArqDestino: Banco de Dados Destino",
                "cmdArqOrigem: Banco de Dados Origem", "Label1: Migração Pré - Definido",
                "cmdSalvar: Iniciar Importação", "Frame1: Importação por Tabela",
                "optIncluiProdutos: Incluir Produtos e Deixa os Produtos que já possui",
                "optProduto: Limpa Banco e Cadastra Produtos [x]", "chkCliente: Cliente",
                "txtTabela: ", "cmdComanda: Iniciar Importação Individual", "Label3: Nome da Tabela",
                "Label2: Neste processo você deve colocar o nome da tabela que deseja importar o sistema vai "
                "se encarregar de incluir os dados no novo banco de dados (Não são todas as Tabelas que pode "
                "ser importada).",
                "lblQT: ", "cmdSair: Sair"}));
  EXPECT_EQ(controle<QProgressBar>(*form, "Trm")->value(), 0);

  // A cancelled dialog leaves "*.*" in its box; a chosen file, its path.
  escolhas = {origem->caminho().string(), "", destino->caminho().string()};
  controle(*form, "cmdArqOrigem")->click();
  controle(*form, "cmdArqDestino")->click();
  EXPECT_EQ(controle<QLineEdit>(*form, "lblDestino")->text().toStdString(), "*.*");
  controle(*form, "cmdArqDestino")->click();
  EXPECT_EQ(dialogos, std::vector<std::string>(3, "Selecione o diretório de origem do arquivo | *.*"));
  EXPECT_EQ(controle<QLineEdit>(*form, "lblOrigem")->text().toStdString(), origem->caminho().string());
  EXPECT_EQ(controle<QLineEdit>(*form, "lblDestino")->text().toStdString(), destino->caminho().string());

  // The default mode: the destination emptied and given the origin's catalogue; again, now that the
  // destination has a catalogue, answered No: nothing deleted, and the status line says so.
  clica(*form, "cmdSalvar");
  EXPECT_EQ(caixas.textos().back(), "Atualização feita com sucesso");
  clica(*form, "cmdSalvar");
  EXPECT_EQ(caixas.textos(true).back(),
            "Limpa Banco e Cadastra Produtos: 3 produtos, 5 itens de estoque, 2 grupos e 2 cadastros de CFOP "
            "serão excluídos de " +
                destino->caminho().string() + ". Continuar? | ImportadorZUV [Não]");
  EXPECT_THAT(controle<QPlainTextEdit>(*form, "txtNotas")->toPlainText().toStdString(),
              ::testing::StartsWith("Cópia cancelada: nada foi excluído do destino.\n"));

  // The individual run with the customers ticked: its counts in the form's labels and bar.
  controle<QRadioButton>(*form, "optIncluiProdutos")->click();
  controle<QCheckBox>(*form, "chkCliente")->click();
  clica(*form, "cmdComanda");
  EXPECT_EQ(caixas.textos().back(), "Fim da Importação");
  EXPECT_EQ(controle<QLabel>(*form, "Label1")->text().toStdString(), "5");
  EXPECT_EQ(controle<QLabel>(*form, "lblQT")->text().toStdString(), "Importados 3");
  EXPECT_EQ(controle<QProgressBar>(*form, "Trm")->value(), 100);
  EXPECT_EQ(conta(*destino, "CLIENTE"), 3);
  controle(*form, "cmdSair")->click();
  processaExclusoes();
  EXPECT_EQ(FrmMenu::formularioAberto("cmdImportaZUV"), nullptr);
}

}  // namespace
}  // namespace zuv::teste
