// The supplier import on a fornecedor.XLS made by LibreOffice (texts with quotes, numeric cells),
// into DADOS/VENDAS.FDB of the program folder.
#include <gtest/gtest.h>

#include "common/Operacao.h"
#include "migration/AmbienteMigracao.h"
#include "migration/Fornecedores.h"
#include "shell/ContextoExecucao.h"

namespace zuv::teste {
namespace {

// A row of the supplier sheet: only the columns the import reads are given.
std::vector<std::string> fornecedor(const std::string& cgc, const std::string& nome, const std::string& fone,
                                    const std::string& fax, const std::string& contato) {
  std::vector<std::string> l(19);
  l[1] = cgc;
  l[3] = nome;
  l[14] = fone;
  l[15] = fax;
  l[18] = contato;
  return l;
}

class ImportaFornecedoresTest : public ComEstilo {
 protected:
  void SetUp() override {
    ComEstilo::SetUp();
    fs::create_directories(banco.pastaPrograma() / "DADOS");
    fs::copy_file(banco.caminho(), dados());
  }
  fs::path dados() const { return banco.pastaPrograma() / "DADOS" / "VENDAS.FDB"; }
  Resultado importa(OpcoesExecucao opcoes = {}, const std::string& fone = "0800") {
    opcoes.semCopia = opcoes.semCopia || !comCopia;
    ContextoExecucao ctx(tela, banco.pastaPrograma().string(), opcoes);
    OpcoesFornecedores o;
    o.fone = fone;
    return executaOperacao(tela, [&](Tela&) {
      return executaNoContexto(ctx, [&](ContextoExecucao& c) { return ImportaFornecedores(c, o); });
    });
  }
  BancoDeTeste::Linhas fornecedores() const {
    return BancoDeTeste::consulta(dados(),
                                  "select IDFORNECEDOR, NOMERAZAO, CONTATO, CGC, FONE1, FAX from "
                                  "FORNECEDOR order by IDFORNECEDOR");
  }
  void planilha(const std::vector<std::vector<std::string>>& linhas, const char* nome = "fornecedor.XLS") {
    teste::planilha(linhas, banco.pastaPrograma() / nome, true, "xls");
  }

  BancoDeTeste banco;
  bool comCopia = false;
};

TEST_F(ImportaFornecedoresTest, SubstituiOsFornecedoresEParaNoCGCVazio) {
  planilha({fornecedor("CGC", "NOME", "FONE", "FAX", "CONTATO"),
            fornecedor("11.222.333/0001-81", "D'Ávila & Filhos", "#1133334444", "(11) 3333-'4444", "Zé"),
            fornecedor("#1222333000181", "acme", "", "#1144445555", ""),  // numbers, as typed
            fornecedor("", "SEM CGC", "", "", ""), fornecedor("99", "DEPOIS DO FIM", "", "", "")},
           "Fornecedor.xls");  // another spelling of the name, as copied from Windows
  BancoDeTeste::executaIsql(dados(),
                            "INSERT INTO FORNECEDOR (IDFORNECEDOR, NOMERAZAO) VALUES (7, 'ANTIGO');");
  comCopia = true;
  ASSERT_EQ(importa(), Resultado::concluido());
  const BancoDeTeste::Linhas esperadas = {
      {"1", "DAVILA   FILHOS", "ZE", "11222333000181", "0800", "(11) 3333-'4444"},
      {"2", "ACME", "", "01222333000181", "0800", "1144445555"},
  };
  EXPECT_EQ(fornecedores(), esperadas);
  EXPECT_EQ(tela.textosDasMensagens(), std::vector<std::string>{"Fim"});
  // The backup before the delete, and the rows left after the end, are told as notes.
  std::string notas;
  for (const auto& n : tela.notas)
    notas += n + "\n";
  // The backup is beside the database it protects, under its name; nothing goes to zuv.ini's folder.
  const fs::path copias = dados().parent_path() / "copias";
  ASSERT_TRUE(fs::is_directory(copias)) << notas;
  EXPECT_NE(notas.find("Cópia de segurança de VENDAS.FDB: " + copias.string() + "/VENDAS_"),
            std::string::npos)
      << notas;
  EXPECT_FALSE(fs::exists(banco.pastaDados() / "copias"));
  EXPECT_NE(notas.find("A linha 4 de fornecedor.XLS está sem CGC"), std::string::npos) << notas;
}

// A failure stops the run with its description: the suppliers before a failed statement stay, or
// none in an all-or-nothing run; a missing workbook or database deletes nothing.
TEST_F(ImportaFornecedoresTest, FalhasParamARodada) {
  BancoDeTeste::executaIsql(dados(),
                            "INSERT INTO FORNECEDOR (IDFORNECEDOR, NOMERAZAO) VALUES (7, 'ANTIGO');");
  Resultado r = importa();
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_NE(r.mensagem.find("fornecedor.XLS"), std::string::npos) << r.mensagem;
  EXPECT_EQ(fornecedores().size(), 1u);

  planilha({fornecedor("CGC", "NOME", "", "", ""), fornecedor("1", "BOM", "", "", ""),
            fornecedor("2", "FAX LONGO", "", std::string(30, '9'), "")});
  r = importa();
  EXPECT_EQ(r.desfecho, Resultado::Desfecho::Falhou);
  EXPECT_NE(r.mensagem.find("Erro na linha 3 de fornecedor.XLS"), std::string::npos) << r.mensagem;
  EXPECT_EQ(fornecedores(), (BancoDeTeste::Linhas{{"1", "BOM", "", "1", "0800", ""}}));

  OpcoesExecucao atomico;
  atomico.atomico = true;
  BancoDeTeste::executaIsql(dados(),
                            "INSERT INTO FORNECEDOR (IDFORNECEDOR, NOMERAZAO) VALUES (7, 'ANTIGO');");
  EXPECT_EQ(importa(atomico).desfecho, Resultado::Desfecho::Falhou);
  EXPECT_EQ(fornecedores().size(), 2u);  // BOM and ANTIGO, as before the run

  // The message names the database opened, which is not the one zuv.ini names.
  fs::remove(dados());
  r = importa();
  EXPECT_TRUE(r.mensagem.starts_with("Erro ao abrir o banco de dados " + dados().string())) << r.mensagem;
}

}  // namespace
}  // namespace zuv::teste
