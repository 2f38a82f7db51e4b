#pragma once
// Names shared by the standard migration runs and the form FrmMigracaoPadrao: captions, the
// controls the runs show or fill, and the files in the program folder.
namespace zuv {

// The form's designed caption; its load replaces it with kTituloProcessos.
inline constexpr const char* kTituloMigracao = "ZUV ATUALIZAÇÃO DE DADOS";
inline constexpr const char* kTituloProcessos = " Wmi - Exemplo para manipular processos do windows ";

// Controls the runs talk to through Tela.
inline constexpr const char* kControleProgressoMigracao = "Trm";
inline constexpr const char* kControleRegistro = "txtRegistro";
inline constexpr const char* kControleProdErro = "txtProdErro";
inline constexpr const char* kControleNomeBanco = "txtNomeBanco";
inline constexpr const char* kControleProcessos = "List1";

// Files and folders of the program folder.
inline constexpr const char* kArquivoProduto = "produto.xlsx";
inline constexpr const char* kArquivoFornecedor = "fornecedor.XLS";
inline constexpr const char* kPastaBancoOrigem = "BancoOrigem";
// What selecting "SYSPDV" puts into txtNomeBanco: a path relative to the program folder.
inline constexpr const char* kBancoSYSPDV = "BancoOrigem\\syspdv_srv.fdb";

// The system's messages of these runs.
inline constexpr const char* kMsgErroGerarExcel = "Erro ao Gerar o Excel";
inline constexpr const char* kMsgErroMontarPlanilha = "Erro ao Montar Planilha Excel ";
inline constexpr const char* kMsgSemBancoOrigem = "Banco de Dados para Importação Não existe";

}  // namespace zuv
