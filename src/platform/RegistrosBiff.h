#pragma once
// The records of a BIFF workbook stream (legacy .xls), read in order from any position through a
// window of the stream, decrypted when the workbook is; and the reading of values and texts that
// run on into the CONTINUE records after a record.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/CifraXls.h"
#include "platform/Ole2.h"

namespace zuv {

// Little-endian integers of record data.
inline uint16_t le16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

class FluxoBiff {
 public:
  explicit FluxoBiff(const FluxoOle2& fluxo);

  // From now on the records after stream position `desde` are decrypted.
  void defineCifra(std::unique_ptr<CifraXls> cifra, uint64_t desde);
  bool cifrado() const { return cifra_ != nullptr; }

  // The next proximo() reads the record whose header is at pos.
  void posiciona(uint64_t pos) { seguinte_ = pos; }
  // Reads the next record; false at the end of the stream or when the stream ends inside it.
  bool proximo();
  // The type of the record after the current one, without reading it (0 when there is none).
  uint16_t tipoSeguinte();
  // The data bytes of the CONTINUE records right after the current record, headers only read.
  uint64_t bytesDasContinuacoes();

  uint16_t tipo() const { return tipo_; }
  size_t tamanho() const { return tamanho_; }
  const unsigned char* dados() const { return dados_; }
  uint64_t posicao() const { return posicao_; }  // of the current record's header
  uint64_t seguinte() const { return seguinte_; }
  uint64_t tamanhoFluxo() const { return fluxo_.tamanho(); }

 private:
  // Makes the stream bytes [pos, pos + n) available in the window; false past the stream's end.
  bool garante(uint64_t pos, size_t n);

  const FluxoOle2& fluxo_;
  std::vector<unsigned char> janela_;
  uint64_t inicioJanela_ = 0;
  size_t bytesJanela_ = 0;
  std::unique_ptr<CifraXls> cifra_;
  uint64_t cifradoDesde_ = 0;
  std::vector<unsigned char> claro_;  // the current record decrypted
  uint16_t tipo_ = 0;
  size_t tamanho_ = 0;
  const unsigned char* dados_ = nullptr;
  uint64_t posicao_ = 0, seguinte_ = 0;
};

// Turns the 8-bit texts of BIFF5 and older workbooks into UTF-8 under the workbook's code page
// (the CODEPAGE record; Windows-1252 when absent or unknown).
class PaginaDeCodigo {
 public:
  explicit PaginaDeCodigo(int codigo = 1252);
  ~PaginaDeCodigo();
  PaginaDeCodigo(const PaginaDeCodigo&) = delete;
  PaginaDeCodigo& operator=(const PaginaDeCodigo&) = delete;
  void acrescenta(const unsigned char* p, size_t n, std::string& destino);

 private:
  void* iconv_ = nullptr;  // iconv_t for code pages other than Windows-1252 and Latin-1
  bool latin1_ = false;
};

// Reads the data of the current record of a FluxoBiff and of the CONTINUE records after it as one
// sequence, from offset `desde` of the current record. Every read returns false past the last
// CONTINUE record, leaving the stream on the record that follows.
class CursorBiff {
 public:
  CursorBiff(FluxoBiff& fluxo, size_t desde = 0) : f_(fluxo), p_(desde) {}

  bool u8(uint8_t& v);
  bool u16(uint16_t& v);
  bool u32(uint32_t& v);
  bool pula(uint64_t n);
  // The characters of a BIFF8 string whose flags byte was just read: 8-bit (Latin-1) or UTF-16LE
  // as the flags say, and each CONTINUE record the characters run on into starts with flags of
  // its own. Appended to destino as UTF-8.
  bool caracteres(size_t n, uint8_t flags, std::string& destino);
  // A BIFF8 string after its character count: flags, the optional rich-text and phonetic headers,
  // the characters; the runs and phonetic data after them are skipped.
  bool texto8(size_t n, std::string& destino);
  // n 8-bit characters of a BIFF5 string, under the code page.
  bool bytes(size_t n, PaginaDeCodigo& pagina, std::string& destino);
  // Bytes left in the current record.
  size_t restam() const { return p_ < f_.tamanho() ? f_.tamanho() - p_ : 0; }

 private:
  // Moves to the next CONTINUE record when the current one is used up; false when there is none.
  bool avanca();

  FluxoBiff& f_;
  size_t p_;
  std::u32string unidades_;  // the characters of the string being read
};

}  // namespace zuv
