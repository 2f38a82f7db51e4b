#pragma once
// The parts of an .xlsx read before the sheet: relationships, workbook, styles and shared strings.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FormatoCelula.h"
#include "platform/ZipPlanilha.h"

namespace zuv {

struct Relacao {
  std::string id, tipo, alvo;  // alvo resolved to a part name
};

// The relationships of a part (its _rels/<name>.rels), empty when it has none.
std::vector<Relacao> leRelacoes(const ArquivoZip& zip, const std::string& parte);

// The sheet part shown when the workbook opens, and whether dates count from 1904.
struct PastaDeTrabalho {
  std::string parteFolha;
  std::string parteTextos;   // empty when the workbook has no shared strings
  std::string parteEstilos;  // empty when it has no styles
  bool base1904 = false;
};
PastaDeTrabalho lePastaDeTrabalho(const ArquivoZip& zip);

// The number format of each cell style (index = the cell's "s" attribute).
std::vector<FormatoNumero> leEstilos(const ArquivoZip& zip, const std::string& parte);

// The shared strings, kept in one buffer.
class TextosCompartilhados {
 public:
  void le(const ArquivoZip& zip, const std::string& parte);
  size_t tamanho() const { return inicios_.size(); }
  std::string_view operator[](size_t i) const {
    return std::string_view(textos_).substr(inicios_[i], fim(i) - inicios_[i]);
  }

 private:
  friend class LeitorTextos;
  size_t fim(size_t i) const { return i + 1 < inicios_.size() ? inicios_[i + 1] : textos_.size(); }
  std::string textos_;
  std::vector<uint32_t> inicios_;  // the table's text is kept under 4 GiB
};

}  // namespace zuv
