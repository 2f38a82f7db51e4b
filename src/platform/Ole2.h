#pragma once
// A minimal reader of OLE2 compound files (the container of legacy .xls workbooks and of
// password-protected .xlsx files): the names of its streams and the bytes of one stream.
#include <cstdint>
#include <map>
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

// A fresh compound file (4096-byte sectors) holding only the given stream, laid out plainly. FreeXL
// reads this instead of the original, so a damaged container never reaches it. Throws
// std::runtime_error when the stream is too big for one FAT without extension sectors (~450 MB).
std::vector<unsigned char> ole2ComUmFluxo(const std::string& nome, const std::vector<unsigned char>& fluxo);

// The cached result of a formula cell of an .xls (FreeXL leaves formula cells empty).
struct FormulaXls {
  enum Tipo : unsigned char { Numero, Texto, Booleano, Erro } tipo = Numero;
  double numero = 0;
  std::string texto;  // Texto: the string (UTF-8); Erro: "#N/A" and the like
  uint16_t xf = 0;    // cell style, to tell dates from numbers
};

// What a BIFF workbook stream says beyond what FreeXL reads.
struct InfoBiff {
  bool protegida = false;             // a FILEPASS record: the workbook is encrypted
  int abaAtiva = 0;                   // WINDOW1 itabCur
  bool base1904 = false;              // DATEMODE
  uint64_t maiorFolha = 0;            // the largest rows x columns any sheet's DIMENSIONS record claims
  std::vector<uint16_t> formatoDoXf;  // XF index -> number format id
  std::map<uint16_t, std::string> formatos;            // custom number formats by id
  std::map<std::pair<int, int>, FormulaXls> formulas;  // (row, column) from 1, of the active sheet
};
// Every record of the stream fits in it and within the format's record size (8224 bytes in BIFF8,
// 2080 before). FreeXL reads past its buffers on streams that break this, so they never reach it.
bool estruturaBiffValida(const std::vector<unsigned char>& livro, size_t maiorRegistro);
// Whether the globals, up to their EOF, hold a FILEPASS record (an encrypted workbook). Only the
// record headers are read, so it holds on a stream whose records are ciphertext.
bool biffProtegido(const std::vector<unsigned char>& livro);
// limiteFormulas bounds the formula results kept.
InfoBiff leInfoBiff(const std::vector<unsigned char>& livro, int64_t limiteFormulas);

}  // namespace zuv
