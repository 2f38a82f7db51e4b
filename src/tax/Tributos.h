#pragma once
// Names shared by the tax runs and their two forms, FrmAtuProdutoNCMCFOP (SAT codes) and
// FrmAtuProdutoNFE (NF-e codes).
namespace zuv {

// Caption of both forms.
inline constexpr const char* kTituloTributos = "ZUV ATUALIZAÇÃO DE DADOS";
// The progress bar of both forms.
inline constexpr const char* kProgressoTributos = "Trm";

// Workbooks in the program folder. Both update imports read the SAT workbook.
inline constexpr const char* kArquivoSAT = "produtosat.xlsx";
inline constexpr const char* kArquivoNFE = "produtoNfe.xlsx";

inline constexpr const char* kMensagemFim = "FIM";

}  // namespace zuv
