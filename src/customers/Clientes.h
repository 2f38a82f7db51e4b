#pragma once
// Names shared by the customer runs and the form FrmClientes.
namespace zuv {

// The form's caption, which also titles its questions.
inline constexpr const char* kTituloClientes = "ZUV ATUALIZAÇÃO DE DADOS";
// Controls of the form the runs show or fill.
inline constexpr const char* kControleProgresso = "Trm";
inline constexpr const char* kControleLista = "lstCliente";

}  // namespace zuv
