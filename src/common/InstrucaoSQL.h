#pragma once
// Statement builders: an INSERT's column list and values built side by side, and an UPDATE's
// assignments, so that a column and its value cannot drift apart. Every text is taken verbatim
// (blanks included), so the statements come out exactly as written.
#include <string>
#include <vector>

#include "common/ConverteSQL.h"
#include "common/Valor.h"

namespace zuv {

// INSERT text = cabeca + col1 + sepCol + col2 ... + meio + val1 + sepVal + val2 ... + cauda.
// Separators default to "," and can be set for the statement or for one entry.
class Insercao {
 public:
  explicit Insercao(std::string cabeca);  // e.g. " INSERT INTO Cliente ("
  // A value text as is: "'S'", "Null".
  Insercao& campo(std::string coluna, std::string literal);
  // The value ConverteSQL(v, tipo).
  Insercao& campo(std::string coluna, const Valor& v, TipoSQL tipo);
  // The separators after the last entry's column and value (default: the statement's).
  Insercao& separadoresDoUltimo(std::string aposColuna, std::string aposValor);
  // The statement's separators, for the entries that have none of their own.
  Insercao& separadores(std::string entreColunas, std::string entreValores);
  std::string sql(const std::string& meio = ") VALUES (", const std::string& cauda = ")") const;
  bool vazia() const { return entradas_.empty(); }

 private:
  struct Entrada {
    std::string coluna, valor;
    bool separadoresProprios = false;
    std::string aposColuna, aposValor;
  };
  std::string cabeca_;
  std::string entreColunas_ = ",", entreValores_ = ",";
  std::vector<Entrada> entradas_;
};

// UPDATE text = cabeca + a1 + sep + a2 ... + cauda, each assignment verbatim: "NCM = '01012100'".
class Atualizacao {
 public:
  explicit Atualizacao(std::string cabeca);  // e.g. "Update ProdutoEstoque Set "
  Atualizacao& campo(std::string atribuicao);
  // prefixo + ConverteSQL(v, tipo), e.g. campo("NCM = ", v, TipoSQL::CH).
  Atualizacao& campo(const std::string& prefixo, const Valor& v, TipoSQL tipo);
  Atualizacao& separador(std::string entre);           // default ","
  std::string sql(const std::string& cauda) const;     // e.g. " Where idProdutoEstoque = 12"
  bool vazia() const { return atribuicoes_.empty(); }  // no assignment: skip the statement

 private:
  std::string cabeca_;
  std::string separador_ = ",";
  std::vector<std::string> atribuicoes_;
};

}  // namespace zuv
