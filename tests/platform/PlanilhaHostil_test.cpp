// Files that are not sound workbooks: each gives an ErroPlanilha naming the file and the problem.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/Erro.h"
#include "platform/ApoioPlanilha.h"
#include "platform/Planilha.h"
#include "support/EstiloRegional.h"

// FreeXL loses 384 bytes when it gives up on some damaged files (a fault of the library, found by
// fuzzing); LeakSanitizer in the asan build is told to ignore leaks from inside it.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfreexl\n";
}

namespace zuv::teste {
namespace {

class PlanilhaHostil : public ComPlanilhasGeradas {
 protected:
  // The message of reading the whole sheet, "" when it reads fine.
  static std::string erroAoLer(const std::string& nome, LimitesLeitura limites = {}) {
    try {
      auto p = abrePlanilha(naPasta(nome), limites);
      const int n = p->ultimaLinha();
      for (int l = 1; l <= n; ++l)
        p->celula(l, 1);
      return "";
    } catch (const ErroPlanilha& e) {
      return e.what();
    }
  }
};

MATCHER_P(Diz, trecho, "") {
  return arg.find(trecho) != std::string::npos && arg.find("Não foi possível ler a planilha \"") == 0;
}

TEST_F(PlanilhaHostil, ArquivosQueNaoSaoPlanilhas) {
  EXPECT_THAT(erroAoLer("nao_existe.xlsx"), Diz("nao_existe.xlsx\": arquivo não encontrado"));
  EXPECT_THAT(erroAoLer("texto.xlsx"), Diz("não é uma planilha do Excel"));
  EXPECT_THAT(erroAoLer("vazio.xlsx"), Diz("o arquivo está vazio"));
  EXPECT_THAT(erroAoLer("zip_sem_livro.xlsx"), Diz("não uma planilha do Excel"));
  EXPECT_THAT(erroAoLer("ole_sem_livro.xls"), Diz("OLE2 sem pasta de trabalho"));
  EXPECT_THAT(erroAoLer("nao/existe.xlsx"), Diz("arquivo não encontrado"));
  std::filesystem::create_directories(teste::naPasta("pasta.xlsx"));
  try {
    abrePlanilha(teste::naPasta("pasta.xlsx"));
    FAIL();
  } catch (const ErroPlanilha& e) {
    EXPECT_THAT(std::string(e.what()), Diz("não é um arquivo"));
  }
}

TEST_F(PlanilhaHostil, DanificadosEProtegidos) {
  EXPECT_THAT(erroAoLer("truncada.xlsx"), Diz("danificado ou incompleto"));
  EXPECT_THAT(erroAoLer("xml_ruim.xlsx"), Diz("XML inválido na parte xl/worksheets/sheet1.xml"));
  EXPECT_THAT(erroAoLer("linhas_fora_de_ordem.xlsx"), Diz("linhas fora de ordem"));
  EXPECT_THAT(erroAoLer("texto_inexistente.xlsx"), Diz("aponta um texto que não existe"));
  EXPECT_THAT(erroAoLer("dtd.xlsx"), Diz("DTD"));
  EXPECT_THAT(erroAoLer("protegida.xlsx"), Diz("protegida.xlsx\": planilha protegida por senha"));
  // Found by fuzzing: a BIFF record longer than its stream made FreeXL read past a buffer, and a
  // damaged file made it answer OK without a handle.
  for (const char* nome : {"xls_registro_grande.xls", "xls_freexl_sem_alca.xls", "xls_formato_longo.xls"}) {
    try {
      abrePlanilha(fonteDeTeste(nome));
      ADD_FAILURE() << nome;
    } catch (const ErroPlanilha& e) {
      EXPECT_THAT(std::string(e.what()), Diz(".xls está danificado")) << nome;
    }
  }
  // A directory overwritten with garbage beside an intact workbook stream made FreeXL read past a
  // buffer; FreeXL now gets a clean copy of the stream and the workbook reads.
  EXPECT_EQ(abrePlanilha(fonteDeTeste("xls_diretorio_danificado.xls"))->celula(1, 1), "Barra");
}

TEST_F(PlanilhaHostil, LimitesDeTamanho) {
  EXPECT_THAT(erroAoLer("bomba.xlsx"), Diz("taxa de compressão suspeita"));
  EXPECT_THAT(erroAoLer("colunas_demais.xlsx"), Diz("passa do limite de 16384 colunas"));
  // A sheet that only claims a huge size is read as what it holds.
  EXPECT_EQ(erroAoLer("dimensao_enorme.xlsx"), "");
  LimitesLeitura pequeno;
  pequeno.bytesDescomprimidos = 200;
  EXPECT_THAT(erroAoLer("formas.xlsx", pequeno), Diz("passa do limite de 200 bytes"));
  LimitesLeitura poucas;
  poucas.celulas = 10;
  EXPECT_THAT(erroAoLer("formas.xlsx", poucas), Diz("passa do limite de 10"));
}

}  // namespace
}  // namespace zuv::teste
