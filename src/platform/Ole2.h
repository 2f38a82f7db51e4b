#pragma once
// A minimal reader of OLE2 compound files (the container of legacy .xls workbooks and of
// password-protected .xlsx files): the names of its streams and the bytes of one stream.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zuv {

class ArquivoOle2 {
 public:
  // Takes the file's bytes; throws std::runtime_error when the structure is broken.
  explicit ArquivoOle2(std::vector<unsigned char> bytes);

  bool temFluxo(const std::string& nome) const;
  // The bytes of a stream by name (case-insensitive ASCII), if present.
  std::optional<std::vector<unsigned char>> fluxo(const std::string& nome) const;

 private:
  struct Entrada {
    std::string nome;
    int tipo;
    uint32_t inicio;
    uint64_t tamanho;
  };
  const Entrada* procura(const std::string& nome) const;
  std::vector<unsigned char> cadeia(uint32_t inicio, uint64_t tamanho) const;
  std::vector<unsigned char> cadeiaMini(uint32_t inicio, uint64_t tamanho) const;
  const unsigned char* setor(uint32_t n) const;

  std::vector<unsigned char> b_;
  uint32_t tamanhoSetor_ = 512;
  uint32_t corteMini_ = 4096;
  std::vector<uint32_t> fat_, miniFat_;
  std::vector<unsigned char> miniFluxo_;
  std::vector<Entrada> entradas_;
};

// What the globals of a BIFF workbook stream say before FreeXL reads it.
struct InfoBiff {
  bool protegida = false;   // a FILEPASS record: the workbook is encrypted
  int abaAtiva = 0;         // WINDOW1 itabCur
  uint64_t maiorFolha = 0;  // the largest rows x columns any sheet's DIMENSIONS record claims
};
InfoBiff leInfoBiff(const std::vector<unsigned char>& livro);

}  // namespace zuv
