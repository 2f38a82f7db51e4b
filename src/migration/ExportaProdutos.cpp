#include "migration/ExportaProdutos.h"

#include <filesystem>
#include <system_error>

#include "common/Tela.h"

namespace zuv {

std::string SelecionaBancoSYSPDV(const std::string& pastaPrograma, Tela& tela) {
  namespace fs = std::filesystem;
  tela.defineTexto(kControleNomeBanco, "");
  std::error_code erro;
  fs::create_directories(fs::path(pastaPrograma) / kPastaBancoOrigem, erro);
  if (!fs::exists(fs::path(pastaPrograma) / kPastaBancoOrigem / "syspdv_srv.fdb", erro))
    tela.mensagem(kMsgSemBancoOrigem, Icone::Informacao);
  tela.defineTexto(kControleNomeBanco, kBancoSYSPDV);
  return kBancoSYSPDV;
}

}  // namespace zuv
