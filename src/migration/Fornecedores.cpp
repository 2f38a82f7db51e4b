#include "migration/Fornecedores.h"

#include <cstdlib>

#include "common/ConverteSQL.h"
#include "common/InstrucaoSQL.h"
#include "common/Limpeza.h"
#include "common/Texto.h"

namespace zuv {

namespace {

std::string semCaracteres(const std::string& s, const char* remover) {
  std::string r;
  for (char c : s)
    if (std::string_view(remover).find(c) == std::string_view::npos) r += c;
  return r;
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
  Insercao i(" INSERT INTO FORNECEDOR (");
  i.variavel(" NOMERAZAO ", aspas(f.nome))
      .variavel(" CONTATO", aspas(f.contato))
      .variavel(" CGC", aspas(f.cgc))
      .variavel("FONE1", aspas(fone))
      .variavel("FAX", aspas(f.fax))
      .variavel("IDFORNECEDOR", std::to_string(numero));
  return i.sql();
}

std::string bancoFornecedores(const std::string& pastaPrograma) {
  return pastaPrograma + "\\DADOS" + "\\VENDAS.FDB";
}

std::string caminhoBancoFornecedores(const std::string& pastaPrograma) {
  return pastaPrograma + "/DADOS/VENDAS.FDB";
}

}  // namespace zuv
