#pragma once
// The workbook globals of a BIFF stream (legacy .xls), read before any sheet: the sheets and the
// active one, the date system, the code page, the number format of each cell style, and the shared
// string table.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FormatoCelula.h"
#include "platform/Planilha.h"
#include "platform/RegistrosBiff.h"

namespace zuv {

// The shared strings, kept in one buffer.
class TextosXls {
 public:
  size_t tamanho() const { return inicios_.size(); }
  std::string_view operator[](size_t i) const {
    const size_t fim = i + 1 < inicios_.size() ? inicios_[i + 1] : textos_.size();
    return std::string_view(textos_).substr(inicios_[i], fim - inicios_[i]);
  }

 private:
  friend class LeitorSst;
  std::string textos_;
  std::vector<uint32_t> inicios_;
};

struct GlobaisXls {
  int biff = 8;  // 8 (Excel 97-2003) or 5 (Excel 5 and 95)
  bool base1904 = false;
  int abaAtiva = 0;  // WINDOW1
  int paginaDeCodigo = 1252;
  struct Folha {
    uint32_t posicao;  // of its BOF record in the stream (BOUNDSHEET)
    uint8_t tipo;      // 0 worksheet, 1 macro sheet, 2 chart, 6 VB module
  };
  std::vector<Folha> folhas;
  std::vector<FormatoNumero> formatoDoXf;  // by cell style (XF) index
  TextosXls textos;
  uint64_t fim = 0;       // the stream position after the globals
  bool fechados = false;  // they end in an EOF record or a sheet's BOF, not with the stream
};

// Reads the globals from the stream's first BOF record, which f has just read. Sets f's cipher
// when the workbook is encrypted with the default password. Throws ErroPlanilha through
// falhaLeitura(caminho, ...) for a workbook protected by a password of its own or a string table
// over the limits.
GlobaisXls leGlobaisXls(FluxoBiff& f, int biff, const std::string& caminho, const LimitesLeitura& limites);

// The text of an error code of a BOOLERR record or a formula result ("#N/A").
const char* textoErroXls(unsigned codigo);

}  // namespace zuv
