// "sat" and "nfe" on the command line: the cycle with options for the check boxes and the answer
// to the reset question, and a run without an answer.
#include "cli/ApoioComando.h"
#include "tax/AmbienteTributos.h"

namespace zuv::teste {
namespace {

class ComandoTributosTest : public AmbienteTributos, public Comando {
 protected:
  int roda(std::vector<std::string> args) { return Comando::roda(std::move(args), pasta.string()); }
};

TEST_F(ComandoTributosTest, ExportaEditaImportaComOpcoes) {
  EXPECT_EQ(roda({"sat", "exportar"}), 0) << erros.str();
  EXPECT_EQ(saida.str(), sat().string() + "\n");
  editaPlanilha(sat(), {{2, 5, "#1012100"}, {2, 12, "#4"}});
  EXPECT_EQ(roda({"sat", "importar"}), 2);  // nobody to answer the reset question
  EXPECT_NE(erros.str().find("Excluir os Cadastro de CFOP"), std::string::npos) << erros.str();
  EXPECT_EQ(roda({"sat", "importar", "--manter-cfop", "--sem-pis", "--simular"}), 0) << erros.str();
  EXPECT_EQ(um("select count(*) from NCM"), "2");  // a dry run leaves nothing
  EXPECT_EQ(roda({"sat", "importar", "--manter-cfop", "--sem-pis"}), 0) << erros.str();
  EXPECT_EQ(saida.str(), "FIM\n");
  EXPECT_EQ(um("select n.CodigoNCM || '/' || coalesce(p.PisCSTSai, 0) from ProdutoEstoque p join NCM n on "
               "n.idNCM = "
               "p.idNCM where idItemProduto = 1"),
            "01012100/0");

  EXPECT_EQ(roda({"nfe", "exportar"}), 0) << erros.str();
  EXPECT_EQ(saida.str(), (pasta / "produtoNfe.xlsx").string() + "\n");
  EXPECT_EQ(roda({"nfe", "importar", "--excluir-cfop", "--atomico"}), 0) << erros.str();
  EXPECT_EQ(um("select count(*) from TribCFOP"), "3");                     // recreated from the SAT workbook
  EXPECT_EQ(roda({"nfe", "importar", "--icms-cad-produto", "--sim"}), 2);  // a SAT-only option

  // A reset the database refuses: the rows are imported, but the run failed in part and says so.
  conexao->executa("insert into TribCFOPVinculo (idCFOPEntrada, idCFOPSaida) values (2, 1)");
  EXPECT_EQ(roda({"sat", "importar", "--excluir-cfop", "--sem-copia"}), 1);
  EXPECT_TRUE(saida.str().starts_with("Erro ao Excluir CFOP ")) << saida.str();
  EXPECT_TRUE(saida.str().ends_with("\nFIM\n")) << saida.str();
  EXPECT_NE(erros.str().find("parte dela falhou"), std::string::npos) << erros.str();
}

}  // namespace
}  // namespace zuv::teste
