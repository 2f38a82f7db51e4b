#pragma once
// A transaction of a connection as an owner: begun on construction, rolled back on destruction
// unless confirma() ran (also when the rollback itself fails: the connection reports that on its
// next statement). Inside an all-or-nothing or dry run the connection turns the begin, commit and
// rollback into a savepoint, its release and a rollback to it, so the same code undoes only its
// own part there.
#include <exception>

#include "platform/Conexao.h"

namespace zuv {

class Transacao {
 public:
  explicit Transacao(Conexao& conexao) : conexao_(conexao) { conexao_.iniciaTransacao(); }
  ~Transacao() {
    if (!confirmada_) try {
        conexao_.desfaz();
      } catch (const std::exception&) {
      }
  }
  Transacao(const Transacao&) = delete;
  Transacao& operator=(const Transacao&) = delete;

  void confirma() {
    conexao_.confirma();
    confirmada_ = true;
  }

 private:
  Conexao& conexao_;
  bool confirmada_ = false;
};

}  // namespace zuv
