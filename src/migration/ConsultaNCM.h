#pragma once
// The online NCM lookup of the product import: a GET of
// <endereço>:8080/xmlProduto945MIL.php?barra=<barcode> answered by an XML document whose first
// element CODIGONCM holds the product's NCM. The address is a setting (ZUV_NCM_ENDERECO or
// --ncm-endereco); an address that names its own port ("http://10.0.0.5:9000") keeps it. Without an
// address nothing is asked.
#include <string>

namespace zuv {

inline constexpr const char* kVariavelEnderecoNCM = "ZUV_NCM_ENDERECO";

// Time limits of one request, in milliseconds.
struct LimitesConsultaNCM {
  long conexao = 2000;
  long total = 5000;
};

class ConsultaNCM {
 public:
  using Limites = LimitesConsultaNCM;
  // Consecutive failures after which the lookup is switched off for the rest of the run.
  static constexpr int kFalhasSeguidas = 3;
  // The biggest reply read; a longer one is a failure.
  static constexpr size_t kTamanhoMaximo = 64 * 1024;

  explicit ConsultaNCM(std::string endereco, Limites limites = {});

  // The address of the setting, "" when not set.
  static std::string enderecoConfigurado();

  // The request text for a barcode: the address, the port unless the address has one, the path and
  // the barcode percent-encoded.
  std::string url(const std::string& barra) const;

  // The NCM for the barcode: 8 digits, or "" when the service does not know it, is switched off,
  // not configured, or the barcode is empty. A failure (no reply, time-out, an HTTP error, a reply
  // that is not XML) is counted; after kFalhasSeguidas in a row the lookup stops asking, and
  // `aviso` is set once to say so.
  std::string consulta(const std::string& barra, std::string& aviso);

  bool ativa() const { return !endereco_.empty() && !desligada_; }

  // The CODIGONCM of a reply: its text without blanks and dots when that is 8 digits, else "".
  // Throws Erro when the reply is not well-formed XML.
  static std::string ncmDaResposta(const std::string& xml);

 private:
  std::string endereco_;
  Limites limites_;
  int falhas_ = 0;
  bool desligada_ = false;
};

}  // namespace zuv
