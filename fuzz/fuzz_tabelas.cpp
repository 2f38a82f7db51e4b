// Feeds arbitrary bytes to the loaders of the official tables, as a Siscomex JSON and as a CONFAZ
// page: any input must end in a table or an ErroTabelaFiscal, never a crash or a hang.
#include <cstdint>
#include <string_view>

#include "fiscal/TabelasFiscais.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
  const std::string_view bytes(reinterpret_cast<const char*>(dados), tamanho);
  try {
    const zuv::TabelaNcm ncm = zuv::TabelaNcm::deJson(bytes);
    (void)ncm.vigencias("01012100");
  } catch (const zuv::ErroTabelaFiscal&) {
  }
  try {
    const zuv::TabelaCest cest = zuv::TabelaCest::deHtml(bytes);
    (void)cest.procura("0100100");
  } catch (const zuv::ErroTabelaFiscal&) {
  }
  return 0;
}
