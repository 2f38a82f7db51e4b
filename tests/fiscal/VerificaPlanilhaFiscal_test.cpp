// The fiscal check of whole workbooks made by openpyxl: each kind of fault in the product and the
// tax layouts, the official tables, moved columns, and the check the imports run first.
#include "fiscal/VerificaPlanilhaFiscal.h"

#include "fiscal/ApoioFiscal.h"
#include "shell/ContextoExecucao.h"

namespace zuv::teste {
namespace {

using Celulas = std::vector<std::string>;

// "row:column:suggestion" of each finding, in order.
std::vector<std::string> posicoes(const std::vector<AchadoFiscal>& achados) {
  std::vector<std::string> r;
  for (const AchadoFiscal& a : achados)
    r.push_back(std::to_string(a.linha) + ":" + std::to_string(a.coluna) + ":" + a.sugestao);
  return r;
}

const AchadoFiscal& em(const std::vector<AchadoFiscal>& achados, int linha, int coluna) {
  for (const AchadoFiscal& a : achados)
    if (a.linha == linha && a.coluna == coluna) return a;
  static const AchadoFiscal nenhum{};
  ADD_FAILURE() << "nenhum achado na linha " << linha << ", coluna " << coluna;
  return nenhum;
}

class VerificaPlanilhaFiscalTest : public ComPlanilhasFiscais {
 protected:
  OpcoesVerificacaoFiscal opcoes{Data{2026, 12, 8}, 1};

  static std::string produtos(const std::string& nome, Linhas dados) {
    dados.insert(dados.begin(), kCabecalhoProduto);
    return planilha(nome, dados);
  }
};

TEST_F(VerificaPlanilhaFiscalTest, PlanilhaDeProdutosComCadaErro) {
  // What the import reads right is no finding: "12.50", "1,234.50", a dotted NCM or CFOP, an NCM
  // or CEST typed as a number; column 13 is not read by the import.
  const std::string caminho =
      produtos("produto.xlsx", {
                                   {"7891000100103", "ARROZ", "UN", "10,00", "12,50", "5", "G", "S", "#1006",
                                    "18", "5102", "102", "00", "", "11,00"},
                                   {"7891000100103", "FEIJAO", "UN", "1", "2", "5", "G", "S", "#1012100",
                                    "18", "1102", "104", "#0", "#100100", ""},
                                   {"#7891000100110", "AGUA", "UN", "12.50", "1,234.50", "cinco", "G", "S",
                                    "0101.21.00", "120", "5.405", "500", "X", "01.001.00", "1.234"},
                                   {},
                                   {"789", "depois da linha vazia"},
                               });
  const ResultadoVerificacaoFiscal r = verificaPlanilha(caminho, nullptr, opcoes);
  EXPECT_EQ(r.linhasDeDados, 3);
  EXPECT_EQ(posicoes(r.achados),
            (std::vector<std::string>{"2:1:", "2:9:", "3:11:", "3:12:", "4:6:", "4:10:", "4:15:", "5:1:"}));
  // The repeated barcode is one finding at its first row, standing for both.
  EXPECT_EQ(textoDoAchado(em(r.achados, 2, 1)),
            "Linha 2, coluna A (Barra) \"7891000100103\": em 2 linhas (2 e 3): a importação as trata como um "
            "item só; as linhas seguintes atualizam o item da primeira");
  EXPECT_EQ(em(r.achados, 2, 1).vezes, 2);
}

TEST_F(VerificaPlanilhaFiscalTest, PlanilhaDeTributacaoComCadaErro) {
  Linhas linhas = {kTitulosTributacao};
  linhas[0].push_back("Porcentagem ICMS Cadastro Produto");
  linhas.push_back({"#10", "7891", "CERVEJA", "BEBIDAS", "22030000", "18", "5405", "500", "060", "0302100",
                    "1403", "#1", "1,65", "01", "7,6", "18"});
  linhas.push_back({"1 OR 1=1", "7891", "X", "G", "2203000", "18%", "5100", "102", "00", "", "5102", "10",
                    "1.65", "99", "760", "abc"});
  linhas.push_back({"010", "7892", "Y", "G", "2203", "18", "5102", "102", "00", "", "", "", "", "", "", ""});
  const ResultadoVerificacaoFiscal r = verificaPlanilha(planilha("produtosat.xlsx", linhas), nullptr, opcoes);
  EXPECT_EQ(r.linhasDeDados, 3);
  EXPECT_EQ(
      posicoes(r.achados),
      (std::vector<std::string>{"2:1:", "3:1:", "3:6:", "3:7:", "3:11:", "3:12:", "3:15:", "3:16:", "4:5:"}));
}

TEST_F(VerificaPlanilhaFiscalTest, TabelasOficiaisVigenciaEPrefixoDoCest) {
  const TabelaNcm ncm = TabelaNcm::deJson(kNcmPequena);
  const TabelaCest cest = TabelaCest::deHtml(kCestPequena);
  const TabelasFiscais tabelas{&ncm, &cest};
  auto linha = [](std::string barra, std::string ncm, std::string cest) {
    return Celulas{
        std::move(barra), "ITEM", "UN", "1", "2", "3", "G", "S", std::move(ncm), "18", "5102", "102", "00",
        std::move(cest)};
  };
  // The tables judge the code the import stores: 1012100 and 302100 with their zero back.
  const std::string caminho = produtos("tabelas.xlsx", {
                                                           linha("1", "39139050", ""),
                                                           linha("2", "22030000", "1700100"),
                                                           linha("3", "#1012100", ""),
                                                           linha("4", "12345678", ""),
                                                           linha("5", "2203000", ""),
                                                           linha("6", "22030000", "9999999"),
                                                           linha("7", "22030000", "0302100"),
                                                           linha("8", "17049010", "#302100"),
                                                       });
  const ResultadoVerificacaoFiscal r = verificaPlanilha(caminho, &tabelas, opcoes);
  EXPECT_EQ(posicoes(r.achados),
            (std::vector<std::string>{"2:9:", "3:14:", "5:9:", "6:9:", "7:14:", "9:14:"}));
  // The NCM judged with its zero back; a CEST of another NCM: the command line's test.
  EXPECT_EQ(em(r.achados, 6, 9).motivo, "NCM 02203000 não existe na tabela NCM (Vigente em 13/08/2026)");
  EXPECT_EQ(em(r.achados, 7, 14).motivo, "CEST 9999999 não existe na tabela CEST (CONVÊNIO ICMS 142/18)");

  // The day decides: before 30/09/2026 the code was in force.
  OpcoesVerificacaoFiscal antes = opcoes;
  antes.dia = {2026, 9, 30};
  EXPECT_EQ(posicoes(verificaPlanilhaFiscal(caminho, &tabelas, antes)).front(), "3:14:");
}

TEST_F(VerificaPlanilhaFiscalTest, ColunasLidasPelosTitulosEDeslocamentoAvisado) {
  Celulas titulos = kCabecalhoProduto;
  titulos.insert(titulos.begin() + 8, "Marca");  // a column inserted before NCM
  const std::string caminho = planilha(
      "deslocada.xlsx",
      {titulos,
       {"7891", "ITEM", "UN", "1", "2", "3", "G", "S", "ACME", "1006", "18", "5102", "102", "00", "", "4"}});
  const auto achados = verificaPlanilhaFiscal(caminho, nullptr, opcoes);
  EXPECT_EQ(posicoes(achados),
            (std::vector<std::string>{"1:10:", "1:11:", "1:12:", "1:13:", "1:15:", "1:16:", "2:10:"}));
  EXPECT_EQ(
      achados[0].motivo,
      "O título \"NCM\" está na coluna J, mas a importação lê esta informação da coluna I (as colunas são "
      "lidas pela posição)");
}

// Before an import: one note per kind with up to three examples, every finding in the run's
// report under the sheet's own row numbers.
TEST_F(VerificaPlanilhaFiscalTest, VerificacaoAntesDaImportacao) {
  const std::string ruim = produtos("antes.xlsx", {{"1", "A", "UN", "1", "2", "3", "G", "S", "#1006"},
                                                   {"1", "B", "UN", "1", "2", "3", "G", "S", "#1905"},
                                                   {"2", "C", "UN", "1", "2", "3", "G", "S", "22"},
                                                   {"3", "D", "UN", "1", "2", "3", "G", "S", "2203"},
                                                   {"4", "E", "UN", "1", "2", "3", "G", "S", "1012100"}});
  const std::string boa = produtos("boa.xlsx", {{"1", "A", "UN", "1", "2", "3", "G", "S", "01012100"}});

  ContextoExecucao ctx(tela, pasta());
  EXPECT_TRUE(verificaAntesDaImportacao(ctx, ruim, false));
  EXPECT_EQ(
      tela.notas,
      (std::vector<std::string>{
          "Verificação fiscal de antes.xlsx: 5 achados (todos no relatório da operação; a lista: "
          "importadorzuv fiscal verificar antes.xlsx --detalhes)",
          "Código de barras repetido: 1 (linha 2, coluna A \"1\" em 2 linhas)",
          "NCM com menos de 8 dígitos: 4 (linha 2, coluna I \"1006\"; linha 3, coluna I \"1905\"; linha 4, "
          "coluna I \"22\"; ...)"}));
  EXPECT_TRUE(tela.mensagens.empty() && tela.eventos.empty());
  ASSERT_EQ(ctx.falhas().size(), 5u);
  EXPECT_EQ(ctx.falhas()[4].onde, "Linha 5, coluna I (NCM) de antes.xlsx");
  EXPECT_EQ(
      ctx.falhas()[4].causa,
      "Verificação fiscal (NCM com menos de 8 dígitos): \"2203\": NCM com 4 dígitos: a importação grava "
      "2203, mas o NCM tem 8 dígitos");

  EXPECT_FALSE(verificaAntesDaImportacao(ctx, ruim, true));
  EXPECT_EQ(tela.textosDasMensagens(),
            std::vector<std::string>{
                "A importação não foi iniciada: a verificação fiscal encontrou 5 problemas em antes.xlsx."});

  tela.eventos.clear();
  EXPECT_TRUE(verificaAntesDaImportacao(ctx, boa, true));
  EXPECT_TRUE(verificaAntesDaImportacao(ctx, pasta() + "/nao-existe.xlsx", true));  // the import says why
  EXPECT_TRUE(tela.eventos.empty());
}

}  // namespace
}  // namespace zuv::teste
