#pragma once
// A savepoint of a connection's open transaction as an owner: created on construction, rolled back
// to on destruction unless libera() ran (also when the rollback itself fails: the connection then
// reports on its next statement). Undoes one part of a transaction alone, e.g. a failed row of an
// import, with the change counts and the identifiers counted in memory since it began.
#include <exception>
#include <string>
#include <utility>

#include "platform/Conexao.h"

namespace zuv {

class PontoDeSalvamento {
 public:
  PontoDeSalvamento(Conexao& conexao, std::string nome) : conexao_(conexao), nome_(std::move(nome)) {
    conexao_.criaPonto(nome_);
  }
  ~PontoDeSalvamento() {
    if (!terminado_) try {
        conexao_.desfazPonto(nome_);
      } catch (const std::exception&) {
      }
  }
  PontoDeSalvamento(const PontoDeSalvamento&) = delete;
  PontoDeSalvamento& operator=(const PontoDeSalvamento&) = delete;

  void libera() {
    terminado_ = true;
    conexao_.liberaPonto(nome_);
  }
  void desfaz() {
    terminado_ = true;
    conexao_.desfazPonto(nome_);
  }

 private:
  Conexao& conexao_;
  std::string nome_;
  bool terminado_ = false;
};

}  // namespace zuv
