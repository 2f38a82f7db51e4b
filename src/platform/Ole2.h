#pragma once
// A reader of OLE2 compound files (the container of legacy .xls workbooks and of
// password-protected .xlsx files): the names of its streams and the bytes of one stream. The file
// is read as needed; only its allocation tables and directory stay in memory, a small fraction of
// its size, never a stream's contents.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zuv {

class ArquivoOle2;

// One stream of a compound file, read at any position. Valid while its file is open.
class FluxoOle2 {
 public:
  // A stream held in memory (a legacy workbook file that is a bare BIFF stream).
  static FluxoOle2 naMemoria(std::vector<unsigned char> bytes);

  uint64_t tamanho() const { return tamanho_; }
  // Copies up to n bytes from position pos; fewer only at the end of the stream.
  size_t le(uint64_t pos, unsigned char* destino, size_t n) const;

 private:
  friend class ArquivoOle2;
  const ArquivoOle2* arquivo_ = nullptr;
  std::vector<uint32_t> setores_;     // a stream in the file's sectors: its sectors in order
  std::vector<unsigned char> bytes_;  // a small stream (kept in the mini stream): its bytes
  uint64_t tamanho_ = 0;
};

class ArquivoOle2 {
 public:
  // Opens the file and reads its tables. Throws std::runtime_error when it is not a compound
  // file or its tables cannot be read. A stream whose sectors break off (a chain that ends early,
  // leaves the file or loops) is cut there, as spreadsheet programs read such files.
  explicit ArquivoOle2(const std::string& caminho);
  ~ArquivoOle2();
  ArquivoOle2(const ArquivoOle2&) = delete;
  ArquivoOle2& operator=(const ArquivoOle2&) = delete;

  bool temFluxo(const std::string& nome) const;
  // A stream by name (case-insensitive ASCII), if present.
  std::optional<FluxoOle2> fluxo(const std::string& nome) const;

 private:
  friend class FluxoOle2;
  struct Entrada {
    std::string nome;
    int tipo;
    uint32_t inicio;
    uint64_t tamanho;
  };
  const Entrada* procura(const std::string& nome) const;
  // The sectors of a chain, at most the ones that hold `tamanho` bytes.
  std::vector<uint32_t> cadeia(uint32_t inicio, uint64_t tamanho) const;
  FluxoOle2 fluxoDosSetores(uint32_t inicio, uint64_t tamanho) const;
  // Reads up to n bytes of sector s from offset `desde`; returns how many the file has.
  size_t leSetor(uint32_t s, uint32_t desde, unsigned char* destino, size_t n) const;

  int fd_ = -1;
  uint64_t tamanhoArquivo_ = 0;
  uint32_t tamanhoSetor_ = 512;
  uint32_t corteMini_ = 4096;
  uint32_t inicioMiniFat_ = 0;
  std::vector<uint32_t> fat_;
  std::vector<Entrada> entradas_;
};

}  // namespace zuv
