#include "common/ConverteSQL.h"

#include <cstdio>

#include "common/Erro.h"
#include "common/Regional.h"
#include "common/Tela.h"
#include "common/Texto.h"

namespace zuv {

namespace {

enum class Tipologia { Invalido, CM, CH, DT, VL };

Tipologia tipologia(const std::string& t) {
  if (t == "CM") return Tipologia::CM;
  if (t == "VC" || t == "CH") return Tipologia::CH;
  if (t == "SD" || t == "DT") return Tipologia::DT;
  if (t == "MO" || t == "SM" || t == "IN" || t == "SI" || t == "TI" || t == "FL" || t == "RE")
    return Tipologia::VL;
  return Tipologia::Invalido;
}

// 'texto' with nothing doubled (appended piece by piece: GCC 12 warns falsely on "'" + string).
std::string aspasSimples(const std::string& texto) {
  std::string saida;
  saida.reserve(texto.size() + 2);
  return saida.append(1, '\'').append(texto).append(1, '\'');
}

Data dataDe(const Valor& v, const std::string& texto, int estilo) {
  if (v.data()) return v.comoData();
  if (v.dataHora()) return v.comoDataHora().data;
  if (v.hora()) return {1899, 12, 30};  // a time alone is a time of day on the zero date
  return lerDataHora(texto, estilo).data;
}

// The invariant number form: decimal point, no grouping, a blank in front unless negative.
std::string numeroInvariante(const Valor& v, const std::string& texto, int estilo) {
  std::string n;
  if (v.inteiro())
    n = std::to_string(v.comoInteiro());
  else if (v.decimal())
    n = v.comoDecimal().texto('.');
  else
    n = formataNumero(v.real() ? v.comoReal() : lerNumero(texto, estilo), 2);
  return n[0] == '-' ? n : " " + n;
}

}  // namespace

std::string aspas(std::string_view texto) {
  std::string saida;
  saida.reserve(texto.size() + 2);
  saida += '\'';
  for (char c : texto) {
    saida += c;
    if (c == '\'') saida += '\'';
  }
  saida += '\'';
  return saida;
}

std::string ConverteSQL(const Valor& valor, const std::string& Tipo) {
  const Tipologia tipo = tipologia(Tipo);
  if (tipo == Tipologia::Invalido) {
    if (Tela* t = telaAtual())
      t->mensagem("O Tipo de Dado informado à função ConverteSQL não é válido!", Icone::Exclamacao);
    return {};
  }
  const int estilo = estiloRegional();
  const std::string texto = apara(valor.textoRegional(estilo));
  if (texto.empty()) return "Null";
  switch (tipo) {
    case Tipologia::CM:
      return aspasSimples(RetiraMascara(texto, "CM"));
    case Tipologia::CH:
      return aspas(texto);
    case Tipologia::DT: {
      const Data d = dataDe(valor, texto, estilo);
      char buf[32];
      std::snprintf(buf, sizeof buf, "'%02d/%02d/%04d'", d.mes, d.dia, d.ano);
      return buf;
    }
    case Tipologia::VL:
      return numeroInvariante(valor, texto, estilo);
    case Tipologia::Invalido:
      break;
  }
  return {};
}

const char* codigoTipoSQL(TipoSQL tipo) {
  static constexpr const char* kCodigos[] = {"CM", "VC", "CH", "SD", "DT", "MO",
                                             "SM", "IN", "SI", "TI", "FL", "RE"};
  return kCodigos[static_cast<int>(tipo)];
}

std::string ConverteSQL(const Valor& valor, TipoSQL tipo) {
  return ConverteSQL(valor, std::string(codigoTipoSQL(tipo)));
}

std::string RetiraMascara(const std::string& Texto, const std::string& Modo) {
  RetornaConfigWin();
  if (Texto.empty()) return {};
  if (Modo != "CM") return Texto;
  std::string digitos;
  for (char c : Texto)
    if (c >= '0' && c <= '9') digitos += c;
  return digitos;
}

int PosicaoTexto(const std::string& Texto, const std::string& Procura) {
  if (Procura.empty()) return 0;
  const size_t pos = Texto.find(Procura);
  return pos == std::string::npos ? 0 : int(pos) + 1;
}

}  // namespace zuv
