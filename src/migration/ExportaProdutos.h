#pragma once
// The two product workbook exports of FrmMigracaoPadrao: "Gerar Planilha Excel Origem" (the ZUV
// database's own catalogue) and "Importar" (another system's database, SYSPDV). Both write
// produto.xlsx in the program folder and leave it on screen; the form stays open.
#include <string>

#include "common/Resultado.h"
#include "migration/MigracaoPadrao.h"

namespace zuv {

class ContextoExecucao;
class Tela;

struct OpcoesPlanilhaProduto {
  bool todos = false;  // "Todos" rather than "Ativo": inactive stock items too
};

// cmdGeraExcel: the database of zuv.ini (a missing zuv.ini is told and ends the program).
Resultado GeraExcelOrigem(ContextoExecucao& ctx, const OpcoesPlanilhaProduto& opcoes);

struct OpcoesOutroBanco {
  std::string nomeBanco = kBancoSYSPDV;  // txtNomeBanco: the source database, relative to the program folder
  bool syspdv = true;                    // optBanco "SYSPDV" selected: barcodes trimmed
};

// cmdImportarOutroBanco: the database pastaPrograma + "\" + nomeBanco, through the SYSPDV query.
Resultado ImportaOutroBanco(ContextoExecucao& ctx, const OpcoesOutroBanco& opcoes);

// Selecting "SYSPDV" (optBanco): empties txtNomeBanco, creates the folder BancoOrigem when it is
// missing, tells "Banco de Dados para Importação Não existe" when the SYSPDV file is not there,
// and fills txtNomeBanco with kBancoSYSPDV in either case. Returns that text.
std::string SelecionaBancoSYSPDV(const std::string& pastaPrograma, Tela& tela);

}  // namespace zuv
