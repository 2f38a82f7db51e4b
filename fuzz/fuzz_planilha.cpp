// Feeds arbitrary bytes to the workbook readers as a file: any input must end in cells or in an
// ErroPlanilha, never in a crash, a hang or unbounded memory.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "common/Erro.h"
#include "platform/Planilha.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
  static const std::string arquivo = [] {
    const char* pasta = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(pasta) + "/fuzz_planilha_" + std::to_string(getpid());
  }();
  FILE* f = std::fopen(arquivo.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(dados, 1, tamanho, f);
  std::fclose(f);

  zuv::LimitesLeitura limites;
  limites.bytesDescomprimidos = 64u << 20;
  limites.celulas = 1'000'000;
  limites.bytesSemSuspeita = 4u << 20;
  try {
    auto p = zuv::abrePlanilha(arquivo, limites);
    const int ultima = p->ultimaLinha();
    for (int l = 1; l <= ultima && l <= 64; ++l) {
      const int colunas = p->ultimaColuna(l);
      for (int c = 1; c <= colunas && c <= 64; ++c)
        p->celula(l, c);
    }
    p->celula(1, 1);  // back to the start: the stream restarts
    p->celula(3, 2);
  } catch (const zuv::ErroPlanilha&) {
  }
  return 0;
}
