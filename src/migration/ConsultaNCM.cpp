#include "migration/ConsultaNCM.h"

#include <curl/curl.h>
#include <expat.h>

#include <cstdlib>
#include <memory>

#include "common/Erro.h"

namespace zuv {

namespace {

struct Resposta {
  std::string corpo;
  bool grandeDemais = false;
};

size_t recebe(char* dados, size_t tamanho, size_t n, void* usuario) {
  auto& r = *static_cast<Resposta*>(usuario);
  const size_t bytes = tamanho * n;
  if (r.corpo.size() + bytes > ConsultaNCM::kTamanhoMaximo) {
    r.grandeDemais = true;
    return 0;  // curl stops the transfer
  }
  r.corpo.append(dados, bytes);
  return bytes;
}

// The first CODIGONCM element's text.
struct LeitorNCM {
  XML_Parser parser = nullptr;
  int profundidade = 0;  // > 0 while inside the first CODIGONCM
  bool achou = false;
  std::string texto;

  static std::string_view local(const XML_Char* nome) {
    std::string_view n(nome);
    const size_t p = n.rfind(':');
    return p == std::string_view::npos ? n : n.substr(p + 1);
  }
  static void XMLCALL inicio(void* u, const XML_Char* nome, const XML_Char**) {
    auto& l = *static_cast<LeitorNCM*>(u);
    if (l.profundidade > 0) {
      ++l.profundidade;
    } else if (!l.achou && local(nome) == "CODIGONCM") {
      l.achou = true;
      l.profundidade = 1;
    }
  }
  static void XMLCALL fim(void* u, const XML_Char*) {
    auto& l = *static_cast<LeitorNCM*>(u);
    if (l.profundidade > 0) --l.profundidade;
  }
  static void XMLCALL caracteres(void* u, const XML_Char* s, int n) {
    auto& l = *static_cast<LeitorNCM*>(u);
    if (l.profundidade > 0) l.texto.append(s, size_t(n));
  }
  // No document type declarations: no entities to expand.
  static void XMLCALL doctype(void* u, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    XML_StopParser(static_cast<LeitorNCM*>(u)->parser, XML_FALSE);
  }
};

bool temPorta(const std::string& endereco) {
  size_t inicio = endereco.find("://");
  inicio = inicio == std::string::npos ? 0 : inicio + 3;
  const size_t barra = endereco.find('/', inicio);
  const std::string servidor = endereco.substr(inicio, barra == std::string::npos ? barra : barra - inicio);
  const size_t doisPontos = servidor.rfind(':');
  return doisPontos != std::string::npos && servidor.find(']', doisPontos) == std::string::npos;
}

std::string percentual(const std::string& s) {
  static const char* hex = "0123456789ABCDEF";
  std::string r;
  for (unsigned char c : s) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '.' ||
        c == '_' || c == '~') {
      r += char(c);
    } else {
      r += '%';
      r += hex[c >> 4];
      r += hex[c & 15];
    }
  }
  return r;
}

}  // namespace

ConsultaNCM::ConsultaNCM(std::string endereco, Limites limites)
    : endereco_(std::move(endereco)), limites_(limites) {
  while (!endereco_.empty() && (endereco_.back() == '/' || endereco_.back() == ' '))
    endereco_.pop_back();
  static const bool iniciado = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)iniciado;
}

std::string ConsultaNCM::enderecoConfigurado() {
  const char* v = std::getenv(kVariavelEnderecoNCM);
  return v ? v : "";
}

std::string ConsultaNCM::url(const std::string& barra) const {
  return endereco_ + (temPorta(endereco_) ? "" : ":8080") +
         "/xmlProduto945MIL.php?barra=" + percentual(barra);
}

std::string ConsultaNCM::ncmDaResposta(const std::string& xml) {
  LeitorNCM leitor;
  std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                      XML_ParserFree);
  if (!parser) throw Erro("Sem memória para ler a resposta da consulta de NCM.");
  leitor.parser = parser.get();
  XML_SetUserData(parser.get(), &leitor);
  XML_SetElementHandler(parser.get(), LeitorNCM::inicio, LeitorNCM::fim);
  XML_SetCharacterDataHandler(parser.get(), LeitorNCM::caracteres);
  XML_SetStartDoctypeDeclHandler(parser.get(), LeitorNCM::doctype);
  if (XML_Parse(parser.get(), xml.data(), int(xml.size()), XML_TRUE) != XML_STATUS_OK)
    throw Erro(std::string("resposta que não é XML (") + XML_ErrorString(XML_GetErrorCode(parser.get())) +
               ")");
  std::string ncm;
  for (char c : leitor.texto)
    if (c != ' ' && c != '.' && c != '\n' && c != '\r' && c != '\t') ncm += c;
  if (ncm.size() != 8) return {};
  for (char c : ncm)
    if (c < '0' || c > '9') return {};
  return ncm;
}

std::string ConsultaNCM::consulta(const std::string& barra, std::string& aviso) {
  if (!ativa() || barra.empty()) return {};
  std::string falha;
  std::string ncm;
  try {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) throw Erro("não foi possível iniciar a consulta");
    Resposta resposta;
    const std::string endereco = url(barra);
    char erro[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(curl.get(), CURLOPT_URL, endereco.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT_MS, limites_.conexao);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, limites_.total);
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, recebe);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &resposta);
    curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, erro);
    const CURLcode r = curl_easy_perform(curl.get());
    if (resposta.grandeDemais) throw Erro("resposta maior que " + std::to_string(kTamanhoMaximo) + " bytes");
    if (r != CURLE_OK) throw Erro(*erro ? erro : curl_easy_strerror(r));
    ncm = ncmDaResposta(resposta.corpo);
  } catch (const Erro& e) {
    falha = e.what();
  }
  if (falha.empty()) {
    falhas_ = 0;
    return ncm;
  }
  if (++falhas_ >= kFalhasSeguidas) {
    desligada_ = true;
    aviso = "Consulta de NCM pela internet desligada depois de " + std::to_string(kFalhasSeguidas) +
            " falhas seguidas (" + endereco_ + "): " + falha;
  }
  return {};
}

}  // namespace zuv
