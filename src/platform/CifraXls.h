#pragma once
// The encryption of legacy .xls workbooks (the FILEPASS record): XOR obfuscation, RC4 and RC4
// CryptoAPI, as Excel writes them. Only the default password is tried: Excel encrypts with it the
// workbooks that are protected against changes but open without a password, and spreadsheet
// programs open those as any other. A workbook with a password of its own stays closed.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace zuv {

class CifraXls {
 public:
  virtual ~CifraXls() = default;
  // Decrypts in place the bytes [desde, tamanho) of the data of one record, whose first byte
  // lies at stream position pos (the record's header is never encrypted).
  virtual void decifra(uint64_t pos, unsigned char* dados, size_t tamanho, size_t desde) = 0;
};

// The cipher of a FILEPASS record's data (BIFF8, or the 4-byte BIFF5 form when biff8 is false)
// with the default password; nullptr when the workbook needs another password or uses a method
// this reader does not know.
std::unique_ptr<CifraXls> cifraComSenhaPadrao(const unsigned char* filepass, size_t tamanho, bool biff8);

// Whether a record of this type is stored in clear in an encrypted workbook stream.
bool registroSemCifra(uint16_t tipo);

}  // namespace zuv
