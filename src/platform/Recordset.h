#pragma once
// A static snapshot of a SELECT: every row is fetched when it opens, like a client-side cursor.
// Fields are found by name without regard to case (as the statement spells the column or its
// alias) or by position from 0.
#include <memory>
#include <string>
#include <vector>

#include "common/Valor.h"

namespace zuv {

// What a column holds, as a copy from one database into another needs to know it: numbers (every
// integer, NUMERIC and floating point type), BOOLEAN, texts (CHAR, VARCHAR, text BLOB), dates and
// times (DATE, TIME, TIMESTAMP), binary BLOBs, and anything else (arrays, ...).
enum class ClasseTipo { Numero, Logico, Texto, DataHora, Binario, Outro };

struct Campo {
  std::string nome;  // alias or column name as the engine reports it
  ClasseTipo classe = ClasseTipo::Outro;
  int tipoSql = 0;  // the engine's SQL type code (SQL_VARYING, ...), for finer needs
  int escala = 0;   // digits after the point of NUMERIC/DECIMAL
  int tamanho = 0;  // length in bytes of CHAR/VARCHAR
};

class Recordset {
 public:
  Recordset() = default;
  Recordset(std::vector<Campo> campos, std::vector<std::vector<Valor>> linhas);
  // The rows one after the other in one vector (campos.size() values per row).
  Recordset(std::vector<Campo> campos, std::vector<Valor> celulas);

  bool eof() const;
  void proximo();               // MoveNext
  void primeiro();              // MoveFirst
  long totalRegistros() const;  // RecordCount
  int totalCampos() const;
  const Campo& campo(int posicao) const;
  const Valor& valor(int posicao) const;              // current row; throws Erro at EOF
  const Valor& valor(const std::string& nome) const;  // throws ErroBanco for an unknown name
  Recordset clone() const;  // an independent cursor over the same rows, at the first row
  void fecha();
  bool aberto() const;
  int posicaoCampo(const std::string& nome) const;  // -1 when the name is unknown

 private:
  struct Dados;
  std::shared_ptr<const Dados> dados_;
  size_t posicao_ = 0;
};

}  // namespace zuv
