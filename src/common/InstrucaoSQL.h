#pragma once
// Statement builders: an INSERT's column list and values built side by side, and an UPDATE's
// assignments, so that a column and its value cannot drift apart. Every text is taken verbatim
// (blanks included), so the statements come out exactly as written.
//
// Each value is either fixed (the same in every statement of its kind: "'S'", "Null") or variable
// (a row's value). sql() writes every value as its literal; sqlComParametros() writes a "?" for
// each variable value and parametros() gives those values, in order, each the value its literal
// stands for (valorDoLiteral): the same statement prepared once and executed with the row's values
// (Conexao::executa with parameters) writes what the literal text writes.
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

// The value an SQL literal stands for: Null -> null; 'text' -> the text (doubled quotes undone); a
// number with an optional leading blank or minus -> an integer, or an exact decimal when it has a
// point (a double when it is written with an exponent). Throws ErroConversao for anything else.
Valor valorDoLiteral(std::string_view literal);

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
  // A fixed value, written as is: "'S'", "Null".
  Insercao& campo(std::string coluna, std::string literal);
  // A variable value, ConverteSQL(v, tipo).
  Insercao& campo(std::string coluna, const Valor& v, TipoSQL tipo);
  // A variable value given as its literal ("12", "4.50", "'789'").
  Insercao& variavel(std::string coluna, std::string literal);
  // The separators after the last entry's column and value (default: the statement's).
  Insercao& separadoresDoUltimo(std::string aposColuna, std::string aposValor);
  // The statement's separators, for the entries that have none of their own.
  Insercao& separadores(std::string entreColunas, std::string entreValores);
  // What comes between the columns and the values, and after the values (default ") VALUES (" and
  // ")"), for sql() and sqlComParametros() without arguments.
  Insercao& fim(std::string meio, std::string cauda);
  std::string sql() const { return sql(meio_, cauda_); }
  std::string sql(const std::string& meio) const { return sql(meio, cauda_); }
  std::string sql(const std::string& meio, const std::string& cauda) const;
  std::string sqlComParametros() const { return sqlComParametros(meio_, cauda_); }
  std::string sqlComParametros(const std::string& meio, const std::string& cauda) const;
  std::vector<Valor> parametros() const;
  bool vazia() const { return entradas_.empty(); }

 private:
  struct Entrada {
    std::string coluna, valor;
    bool variavel = false;
    std::optional<std::string> aposColuna, aposValor;  // none: the statement's
    TipoSQL tipo = TipoSQL::CH;
  };
  size_t posicao(std::string_view coluna) const;
  std::string monta(const std::string& meio, const std::string& cauda, bool comParametros) const;
  std::string cabeca_;
  std::string meio_ = ") VALUES (", cauda_ = ")";
  std::string entreColunas_ = ",", entreValores_ = ",";
  std::vector<Entrada> entradas_;
};

// UPDATE text = cabeca + a1 + sep + a2 ... + cauda, each assignment a verbatim text before its
// value ("NCM = ") and the value. A condition (condicao) ends the statement with a variable value.
class Atualizacao {
 public:
  explicit Atualizacao(std::string cabeca);  // e.g. "Update ProdutoEstoque Set "
  // A fixed assignment, verbatim: "NCM = '01012100'".
  Atualizacao& campo(std::string atribuicao);
  // prefixo + ConverteSQL(v, tipo), a variable value, e.g. campo("NCM = ", v, TipoSQL::CH).
  Atualizacao& campo(const std::string& prefixo, const Valor& v, TipoSQL tipo);
  // prefixo + a variable value given as its literal.
  Atualizacao& variavel(std::string prefixo, std::string literal);
  // The end of the statement: prefixo + a variable value (" Where Barra = " + "'789'").
  Atualizacao& condicao(std::string prefixo, std::string literal);
  Atualizacao& separador(std::string entre);             // default ","
  std::string sql(const std::string& cauda = {}) const;  // e.g. " Where idProdutoEstoque = 12"
  std::string sqlComParametros(const std::string& cauda = {}) const;
  std::vector<Valor> parametros() const;
  bool vazia() const { return atribuicoes_.empty(); }  // no assignment: skip the statement

 private:
  struct Atribuicao {
    std::string prefixo, valor;
    bool variavel = false;
  };
  std::string monta(const std::string& cauda, bool comParametros) const;
  std::string cabeca_;
  std::string separador_ = ",";
  std::vector<Atribuicao> atribuicoes_;
  Atribuicao condicao_;
  bool temCondicao_ = false;
};

}  // namespace zuv
