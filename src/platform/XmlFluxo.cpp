#include "platform/XmlFluxo.h"

namespace zuv {

namespace {
constexpr int kBloco = 64 * 1024;
}

XmlFluxo::XmlFluxo(std::unique_ptr<ParteZip> parte, const std::string& caminho)
    : parte_(std::move(parte)), caminho_(caminho), parser_(XML_ParserCreate(nullptr)) {
  if (!parser_) throw std::bad_alloc();
  XML_SetUserData(parser_, this);
  XML_SetElementHandler(parser_, aoIniciar, aoTerminar);
  XML_SetCharacterDataHandler(parser_, aoTexto);
  XML_SetStartDoctypeDeclHandler(parser_, aoDoctype);
}

XmlFluxo::~XmlFluxo() {
  XML_ParserFree(parser_);
}

bool XmlFluxo::continua() {
  while (!acabou_) {
    XML_Status st;
    if (suspenso_) {
      suspenso_ = false;
      st = XML_ResumeParser(parser_);
    } else if (entradaAcabou_) {
      acabou_ = true;
      break;
    } else {
      void* buf = XML_GetBuffer(parser_, kBloco);
      if (!buf) throw std::bad_alloc();
      const size_t n = parte_->le(static_cast<char*>(buf), kBloco);
      entradaAcabou_ = n == 0;
      st = XML_ParseBuffer(parser_, static_cast<int>(n), entradaAcabou_);
    }
    if (st == XML_STATUS_ERROR) {
      acabou_ = true;
      if (!erro_.empty()) falhaLeitura(caminho_, erro_);
      falhaLeitura(caminho_, "XML inválido na parte " + parte_->nome() + ", linha " +
                                 std::to_string(XML_GetCurrentLineNumber(parser_)) + " (" +
                                 XML_ErrorString(XML_GetErrorCode(parser_)) + ")");
    }
    if (st == XML_STATUS_SUSPENDED) {
      suspenso_ = true;
      return true;
    }
  }
  return false;
}

void XmlFluxo::pausa() {
  XML_StopParser(parser_, XML_TRUE);
}

void XmlFluxo::aborta(std::string problema) {
  if (erro_.empty()) erro_ = std::move(problema);
  XML_StopParser(parser_, XML_FALSE);
}

const char* XmlFluxo::atributo(const char** atributos, std::string_view nome) {
  for (; *atributos; atributos += 2) {
    if (nomeLocal(atributos[0]) == nome) return atributos[1];
  }
  return nullptr;
}

void XmlFluxo::aoIniciar(void* dados, const XML_Char* nome, const XML_Char** atributos) {
  auto* self = static_cast<XmlFluxo*>(dados);
  if (self->erro_.empty()) self->inicio(nomeLocal(nome), atributos);
}

void XmlFluxo::aoTerminar(void* dados, const XML_Char* nome) {
  auto* self = static_cast<XmlFluxo*>(dados);
  if (self->erro_.empty()) self->fim(nomeLocal(nome));
}

void XmlFluxo::aoTexto(void* dados, const XML_Char* s, int n) {
  auto* self = static_cast<XmlFluxo*>(dados);
  if (self->erro_.empty()) self->texto(std::string_view(s, static_cast<size_t>(n)));
}

void XmlFluxo::aoDoctype(void* dados, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  // Workbook parts never carry a DTD; refusing it rules out entity expansion tricks.
  static_cast<XmlFluxo*>(dados)->aborta("a parte " + static_cast<XmlFluxo*>(dados)->parte_->nome() +
                                        " traz uma DTD, o que uma planilha não tem");
}

}  // namespace zuv
