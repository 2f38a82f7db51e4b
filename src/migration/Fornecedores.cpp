#include "migration/Fornecedores.h"

#include <cstdlib>

#include "common/Limpeza.h"
#include "common/Texto.h"

namespace zuv {

namespace {

std::string dobraAspas(const std::string& s) {
  std::string r;
  for (char c : s) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r;
}

std::string semCaracteres(const std::string& s, const char* remover) {
  std::string r;
  for (char c : s)
    if (std::string_view(remover).find(c) == std::string_view::npos) r += c;
  return r;
}

bool soDigitos(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

std::string nomeLimpo(const std::string& s) {
  return TrocaAspas(LimpaTexto(esquerda(maiusculas(s), 40), false));
}

}  // namespace

std::string foneFornecedorPadrao() {
  const char* v = std::getenv(kVariavelFoneFornecedor);
  return v != nullptr ? std::string(v) : std::string();
}

CelulasFornecedor limpaFornecedor(const CelulasFornecedor& c) {
  CelulasFornecedor f;
  f.cgc = LimpaTexto(esquerda(semCaracteres(maiusculas(c.cgc), ".-,/"), 18), false);
  if (soDigitos(f.cgc) && (f.cgc.size() == 12 || f.cgc.size() == 13)) f.cgc.insert(0, 14 - f.cgc.size(), '0');
  f.nome = nomeLimpo(c.nome);
  f.contato = nomeLimpo(c.contato);
  f.fax = maiusculas(c.fax);
  return f;
}

std::string insercaoFornecedor(const CelulasFornecedor& f, const std::string& fone, int numero) {
  return std::string(" INSERT INTO FORNECEDOR (") + " NOMERAZAO ," + " CONTATO," + " CGC," + "FONE1," +
         "FAX," + "IDFORNECEDOR) VALUES (" + "'" + dobraAspas(f.nome) + "'," + "'" + dobraAspas(f.contato) +
         "'," + "'" + dobraAspas(f.cgc) + "'," + "'" + dobraAspas(fone) + "'," + "'" + dobraAspas(f.fax) +
         "'," + std::to_string(numero) + ")";
}

std::string bancoFornecedores(const std::string& pastaPrograma) {
  return pastaPrograma + "\\DADOS" + "\\VENDAS.FDB";
}

std::string caminhoBancoFornecedores(const std::string& pastaPrograma) {
  return pastaPrograma + "/DADOS/VENDAS.FDB";
}

}  // namespace zuv
