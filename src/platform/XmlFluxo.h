#pragma once
// Streaming XML over a zip part with expat. Handlers see local names (a "x:c" element is "c").
// Parsing can pause inside a handler and resume later, so a caller pulls a sheet row by row.
#include <expat.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/ZipPlanilha.h"

namespace zuv {

class XmlFluxo {
 public:
  XmlFluxo(std::unique_ptr<ParteZip> parte, const std::string& caminho);
  virtual ~XmlFluxo();
  XmlFluxo(const XmlFluxo&) = delete;
  XmlFluxo& operator=(const XmlFluxo&) = delete;

  // Parses until a handler pauses or the part ends; false once the part has ended.
  // Throws ErroPlanilha on bad XML or on an error raised by a handler.
  bool continua();
  // Parses the whole part.
  void leTudo() {
    while (continua()) {
    }
  }

 protected:
  virtual void inicio(std::string_view nome, const char** atributos) = 0;
  virtual void fim(std::string_view nome) = 0;
  virtual void texto(std::string_view) {}

  // From a handler: stop after it returns; continua() picks up from there.
  void pausa();
  // From a handler: stop for good with this problem (thrown by continua()).
  void aborta(std::string problema);
  const std::string& caminho() const { return caminho_; }
  const std::string& nomeParte() const { return parte_->nome(); }

  // The value of a local attribute name, or nullptr.
  static const char* atributo(const char** atributos, std::string_view nome);

 private:
  static void XMLCALL aoIniciar(void* dados, const XML_Char* nome, const XML_Char** atributos);
  static void XMLCALL aoTerminar(void* dados, const XML_Char* nome);
  static void XMLCALL aoTexto(void* dados, const XML_Char* s, int n);
  static void XMLCALL aoDoctype(void* dados, const XML_Char*, const XML_Char*, const XML_Char*, int);

  std::unique_ptr<ParteZip> parte_;
  const std::string& caminho_;
  XML_Parser parser_;
  bool suspenso_ = false;
  bool entradaAcabou_ = false;
  bool acabou_ = false;
  std::string erro_;
};

// The local part of a qualified name.
inline std::string_view nomeLocal(const char* nome) {
  std::string_view s(nome);
  const size_t p = s.rfind(':');
  return p == std::string_view::npos ? s : s.substr(p + 1);
}

}  // namespace zuv
