// The button a form gets with one call, and the findings window it opens: the list, the summary
// with the tables' versions, a table that cannot be read, checking again.
#include "fiscal/FrmVerificacaoFiscal.h"

#include <QtWidgets>

#include "fiscal/ApoioFiscal.h"
#include "fiscal/ConfiguracaoFiscal.h"
#include "shell/PastaPrograma.h"
#include "support/AplicacaoQt.h"

namespace zuv::teste {
namespace {

// A table where 22021000 ended years ago, so the finding does not depend on today's date.
const std::string kNcmAntiga =
    R"({"Data_Ultima_Atualizacao_NCM":"Vigente em 13/08/2026","Nomenclaturas":[
 {"Codigo":"0101.21.00","Data_Inicio":"01/04/2022","Data_Fim":"31/12/9999"},
 {"Codigo":"2202.10.00","Data_Inicio":"01/01/2017","Data_Fim":"31/12/2020"}]})";

class FrmVerificacaoFiscalTest : public ComPlanilhasFiscais {
 protected:
  void SetUp() override {
    aplicacaoQt();
    ComPlanilhasFiscais::SetUp();
    unsetenv(kVariavelTabelaNcm);
    unsetenv(kVariavelTabelaCest);
    definePastaPrograma(pasta());  // no settings file there
  }
  void TearDown() override {
    definePastaPrograma("");
    ComPlanilhasFiscais::TearDown();
  }
};

TEST_F(FrmVerificacaoFiscalTest, OBotaoAbreAListaDosAchadosEVerificaDeNovoComATabela) {
  const std::string caminho = planilha(
      "produto.xlsx", {kCabecalhoProduto,
                       {"7891", "ITEM", "UN", "1", "2", "3", "G", "S", "#1006", "18", "5102", "102", "00"},
                       {"7891", "ITEM", "UN", "1", "2", "3", "G", "S", "22021000", "18", "5102", "102", "00"},
                       {"7892", "ITEM", "UN", "1", "2", "3", "G", "S", "22", "18", "5102", "102", "00"}});
  QWidget form;
  auto* grade = new QGridLayout(&form);
  grade->addWidget(new QLabel("Incia a Importação para o Sistema ZUV"), 0, 0);
  grade->addWidget(new QPushButton("Sair"), 0, 1);
  QPushButton* botao = adicionaVerificacaoFiscal(grade, [&] { return caminho; });
  EXPECT_EQ(botao->text().toStdString(), "Verificar códigos fiscais");
  int linha, coluna, linhas, colunas;
  grade->getItemPosition(grade->indexOf(botao), &linha, &coluna, &linhas, &colunas);
  EXPECT_EQ(std::vector<int>({linha, coluna, colunas}), std::vector<int>({1, 0, 2}));

  botao->click();
  auto* janela = form.findChild<FrmVerificacaoFiscal*>();
  ASSERT_NE(janela, nullptr);
  EXPECT_TRUE(janela->isVisible());
  EXPECT_FALSE(janela->isModal());
  auto* lista = qt::controle<QTreeWidget>(*janela, "grdAchados");
  auto* resumo = qt::controle<QLabel>(*janela, "lblResumo");
  // One line per kind, opened onto its cells.
  ASSERT_EQ(lista->topLevelItemCount(), 2);
  EXPECT_EQ(lista->topLevelItem(1)->childCount(), 2);
  EXPECT_TRUE(lista->topLevelItem(1)->isExpanded());
  QStringList cabecalhos;
  for (int c = 0; c < lista->columnCount(); ++c)
    cabecalhos << lista->headerItem()->text(c);
  EXPECT_EQ(cabecalhos.join("|").toStdString(), "Linha|Coluna|Valor|Motivo|Sugestão");
  EXPECT_EQ(resumo->text().toStdString(),
            "Sem tabelas oficiais: só as regras dos códigos\n"
            "Planilha: planilha de produtos (produto.xlsx), 3 linhas de dados: 3 achados");

  // The table boxes reach the check: with the NCM table the ended code of row 3 is found; a CEST
  // path that does not exist is said and left out.
  janela->findChild<QLineEdit*>("txtTabelaNcm")
      ->setText(QString::fromStdString(arquivo("ncm.json", kNcmAntiga)));
  janela->findChild<QLineEdit*>("txtTabelaCest")->setText(QString::fromStdString(pasta() + "/nada.html"));
  janela->findChild<QPushButton*>("cmdVerificar")->click();
  EXPECT_EQ(lista->topLevelItemCount(), 3);
  EXPECT_NE(resumo->text().toStdString().find("Tabela CEST deixada de fora: tabela CEST não encontrada"),
            std::string::npos);

  janela->findChild<QPushButton*>("cmdFechar")->click();
  processaExclusoes();
  EXPECT_EQ(form.findChild<FrmVerificacaoFiscal*>(), nullptr);
}

}  // namespace
}  // namespace zuv::teste
