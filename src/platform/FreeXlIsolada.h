#pragma once
// FreeXL run in a child process. FreeXL has memory faults on damaged files (double frees, reads
// past its buffers); in a child of its own a fault, an endless loop or a runaway allocation ends
// the child, never the program. The child reads the whole active sheet and sends its cells back
// over a pipe; the parent takes at most a given number of bytes within a given time and checks
// every record it gets.
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zuv {

struct CelulaXls {
  enum Tipo : uint8_t { Inteiro, Real, Texto, Data, DataHora, Hora };
  uint16_t coluna = 0;  // from 1
  Tipo tipo = Inteiro;
  int64_t inteiro = 0;  // Inteiro
  double real = 0;      // Real
  uint32_t texto = 0;   // the others: index into FolhaXls::textos (FreeXL's own text)
};

// What FreeXL read of one sheet.
struct FolhaXls {
  unsigned linhas = 0;  // the sheet's dimensions as FreeXL sees them
  unsigned short colunas = 0;
  std::vector<std::string> textos;                     // each shared string once
  std::map<unsigned, std::vector<CelulaXls>> celulas;  // non-empty cells by row from 1, by column
};

struct LimitesXls {
  uint64_t bytes = 2ull << 30;  // of the child's answer
  int64_t celulas = 50'000'000;
  std::chrono::milliseconds tempo{120'000};
};

// Reads sheet `folha` (from 0; the first when there is no such sheet) of the .xls file arquivo.
// Throws ErroPlanilha through falhaLeitura(caminho, ...): damaged (the child failed, ran out of
// time, or answered something inconsistent), not supported, protected by a password, no sheet.
FolhaXls leFolhaXlsIsolada(const std::string& arquivo, const std::string& caminho, unsigned folha,
                           const LimitesXls& limites);

}  // namespace zuv
