#pragma once
// A fresh ZUV database and program folder for the product import's tests, produto.xlsx written by
// openpyxl from rows of cells, and the import run on them.
#include "customers/AmbienteClientes.h"
#include "migration/GradeProduto.h"
#include "migration/ImportacaoProduto.h"
#include "platform/Planilha.h"

namespace zuv::teste {

class AmbienteProdutos : public AmbienteClientes {
 protected:
  // Writes produto.xlsx (heading + rows) and runs the import on it.
  Resultado importa(const Tabela& linhas, const OpcoesImportacaoProduto& opcoes = {}) {
    Tabela comCabecalho{kCabecalhoProduto};
    comCabecalho.insert(comCabecalho.end(), linhas.begin(), linhas.end());
    planilha(comCabecalho, pasta / kArquivoProduto);
    return executa(opcoes);
  }
  // Runs the import on what is in the program folder (or on the grid the options carry).
  Resultado executa(const OpcoesImportacaoProduto& opcoes) {
    tela = TelaGravadora{};
    resumo = ResumoImportacaoProduto{};
    copias = perguntas = 0;
    falhas.clear();
    notas.clear();
    AmbienteImportacao ambiente{
        *conexao,
        tela,
        pasta.string(),
        [this] { ++copias; },
        [this](const std::string& onde, const std::string& causa) { falhas.push_back(onde + ": " + causa); },
        [this](const std::string& texto) { notas.push_back(texto); },
        [this] { return ++perguntas > 0 && confirmaLimpeza; }};
    return importaProdutos(ambiente, opcoes, resumo);
  }
  std::vector<std::string> erros() { return tela.itens[kControleProdErro]; }

  ResumoImportacaoProduto resumo;
  int copias = 0, perguntas = 0;  // backups taken, wiping questions asked
  bool confirmaLimpeza = true;    // the answer to the wiping question
  std::vector<std::string> falhas, notas;
};

}  // namespace zuv::teste
