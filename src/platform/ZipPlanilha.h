#pragma once
// The zip container of an .xlsx: finding parts by name and reading them as a stream of inflated
// bytes, within the limits of the reading (size per part, compression ratio).
#include <zip.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Planilha.h"

namespace zuv {

class ParteZip {
 public:
  ParteZip(zip_file_t* arquivo, std::string nome, uint64_t comprimidos, const std::string& caminho,
           const LimitesLeitura& limites);
  ~ParteZip();
  ParteZip(const ParteZip&) = delete;
  ParteZip& operator=(const ParteZip&) = delete;

  // Up to n inflated bytes into destino; 0 at the end of the part. Throws ErroPlanilha.
  size_t le(char* destino, size_t n);
  const std::string& nome() const { return nome_; }

 private:
  zip_file_t* arquivo_;
  std::string nome_;
  uint64_t comprimidos_;
  uint64_t lidos_ = 0;
  const std::string& caminho_;
  const LimitesLeitura& limites_;
};

class ArquivoZip {
 public:
  ArquivoZip(const std::string& caminho, const LimitesLeitura& limites);
  ~ArquivoZip();
  ArquivoZip(const ArquivoZip&) = delete;
  ArquivoZip& operator=(const ArquivoZip&) = delete;

  // The index of a part by its name (case-insensitive, as package part names are), if present.
  std::optional<zip_uint64_t> procura(const std::string& nome) const;
  std::unique_ptr<ParteZip> abre(zip_uint64_t indice) const;
  std::unique_ptr<ParteZip> abre(const std::string& nome) const;  // throws when missing
  const std::string& caminho() const { return caminho_; }
  const LimitesLeitura& limites() const { return limites_; }

 private:
  std::string caminho_;
  LimitesLeitura limites_;
  zip_t* zip_ = nullptr;
};

// The part a relationship points to: target relative to the folder of the source part (or
// absolute from the package root), with "." and ".." resolved and %XX escapes decoded.
std::string resolveAlvo(const std::string& partOrigem, const std::string& alvo);

}  // namespace zuv
