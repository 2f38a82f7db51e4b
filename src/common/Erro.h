#pragma once
// The one small hierarchy of errors raised inside the core. Each carries a readable description;
// the run's own handler turns it into the message the person sees.
#include <stdexcept>
#include <string>

#include "common/Resultado.h"

namespace zuv {

class Erro : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text that is not a number or a date under the regional style.
class ErroConversao : public Erro {
 public:
  using Erro::Erro;
};

// The database engine refused something; what() is the engine's own formatted message.
class ErroBanco : public Erro {
 public:
  ErroBanco(const std::string& descricao, long codigoSql = 0, long codigoGds = 0)
      : Erro(descricao), codigoSql_(codigoSql), codigoGds_(codigoGds) {}
  long codigoSql() const { return codigoSql_; }
  long codigoGds() const { return codigoGds_; }

 private:
  long codigoSql_;
  long codigoGds_;
};

// A workbook could not be opened, read or written.
class ErroPlanilha : public Erro {
 public:
  using Erro::Erro;
};

// Missing or wrong configuration (zuv.ini, program folder, options).
class ErroConfiguracao : public Erro {
 public:
  using Erro::Erro;
};

// "End the program": thrown after the person has been told why. Deliberately not a
// std::exception, so that a run's handler for failures does not swallow it; the run
// framework turns it into the EncerrarPrograma outcome with the same motive.
struct FimDoPrograma {
  MotivoFim motivo = MotivoFim::Normal;
};

}  // namespace zuv
