#pragma once
// Statement builders: an INSERT's column list and values built side by side, and an UPDATE's
// assignments, so that a column and its value cannot drift apart. Every text is taken verbatim
// (blanks included), so the statements come out exactly as written.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/ConverteSQL.h"
#include "common/Valor.h"

namespace zuv {

// One column of a statement's column table (a long INSERT written the same way every time): the name
// as the statement writes it, the type of its value, a fixed value text when the statement always
// writes the same ("''", "Null"), and what follows the name and the value when it is not the
// statement's separator (the system's statements carry irregular blanks: "AtuPrecoCompra, CalcICMS").
struct ColunaSQL {
  const char* nome;
  TipoSQL tipo = TipoSQL::CH;
  const char* literal = nullptr;
  const char* aposColuna = nullptr;
  const char* aposValor = nullptr;
};

// INSERT text = cabeca + col1 + sepCol + col2 ... + meio + val1 + sepVal + val2 ... + cauda.
// Separators default to "," and can be set for the statement or for one entry.
class Insercao {
 public:
  explicit Insercao(std::string cabeca);  // e.g. " INSERT INTO Cliente ("
  // One entry per column of the table, with its fixed value (empty until set when it has none).
  Insercao(std::string cabeca, std::span<const ColunaSQL> colunas);
  // Sets the value of an entry, found by its position (from 0) or by its column name as written.
  // Throws Erro for a column the statement does not have.
  Insercao& valor(size_t posicao, std::string literal);
  Insercao& valor(std::string_view coluna, std::string literal);
  // The value ConverteSQL(v, the column's type).
  Insercao& converte(std::string_view coluna, const Valor& v);
  // The value and what is written after it ("NULL, " carries its own separator: "").
  Insercao& valor(size_t posicao, std::string literal, std::string aposValor);
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
    std::optional<std::string> aposColuna, aposValor;  // none: the statement's
    TipoSQL tipo = TipoSQL::CH;
  };
  size_t posicao(std::string_view coluna) const;
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
