#pragma once
// Small owners over the Firebird client library's OO API, shared by the connection, its cursor
// reading and the services (backup): the master interface, a checked status, a parameter block,
// and Posse, the owner of an interface pointer that releases it.
#include <firebird/Interface.h>

#include <string>
#include <utility>

#include "common/Erro.h"
#include "common/Texto.h"
#include "platform/Windows1252.h"

namespace zuv {

using namespace Firebird;

inline Firebird::IMaster* mestre() {
  static Firebird::IMaster* m = fb_get_master_interface();
  return m;
}

// The engine's formatted status vector. Identifiers of a database with character set NONE may
// come back as Windows-1252 bytes; they are shown as the person typed them.
inline ErroBanco erroDoStatus(const IStatus* status) {
  char texto[4096];
  mestre()->getUtilInterface()->formatStatus(texto, sizeof texto, const_cast<IStatus*>(status));
  std::string msg = aparaBrancos(texto);
  if (!utf8Valido(msg)) msg = de1252(msg);
  const intptr_t* v = status->getErrors();
  const long gds = (v[0] == isc_arg_gds) ? static_cast<long>(v[1]) : 0;
  return ErroBanco(msg, isc_sqlcode(v), gds);
}

// RAII owner of a status of the client library, checked after every call.
class Status {
 public:
  Status() : s_(mestre()->getStatus()), w_(s_) {}
  ~Status() { s_->dispose(); }
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;
  CheckStatusWrapper* operator&() { return &w_; }
  bool falhou() const { return w_.getState() & IStatus::STATE_ERRORS; }
  // Whether the engine's error chain carries the code.
  bool tem(intptr_t codigo) {
    const intptr_t* v = w_.getErrors();
    while (*v != isc_arg_end) {
      if (v[0] == isc_arg_gds && v[1] == codigo) return true;
      v += v[0] == isc_arg_cstring ? 3 : 2;
    }
    return false;
  }
  void verifica() {
    if (falhou()) {
      ErroBanco e = erroDoStatus(&w_);
      w_.init();
      throw e;
    }
  }

 private:
  IStatus* s_;
  CheckStatusWrapper w_;
};

// A parameter block built by the client library's own builder.
class Bloco {
 public:
  explicit Bloco(unsigned tipo) {
    Status st;
    b_ = mestre()->getUtilInterface()->getXpbBuilder(&st, tipo, nullptr, 0);
    st.verifica();
  }
  ~Bloco() { b_->dispose(); }
  Bloco(const Bloco&) = delete;
  Bloco& operator=(const Bloco&) = delete;
  Bloco& tag(unsigned char t) {
    return faz([&](CheckStatusWrapper* s) { b_->insertTag(s, t); });
  }
  Bloco& inteiro(unsigned char t, int v) {
    return faz([&](CheckStatusWrapper* s) { b_->insertInt(s, t, v); });
  }
  Bloco& texto(unsigned char t, const std::string& v) {
    return faz([&](CheckStatusWrapper* s) { b_->insertString(s, t, v.c_str()); });
  }
  const unsigned char* dados() {
    Status st;
    auto p = b_->getBuffer(&st);
    st.verifica();
    return p;
  }
  unsigned tamanho() {
    Status st;
    auto n = b_->getBufferLength(&st);
    st.verifica();
    return n;
  }

 private:
  template <class F>
  Bloco& faz(F f) {
    Status st;
    f(&st);
    st.verifica();
    return *this;
  }
  IXpbBuilder* b_;
};

// Owns an interface pointer of the client library and releases it (release() for reference-counted
// interfaces; Libera picks another call, e.g. free, close or detach through a Status).
template <class T>
struct LiberaPorRelease {
  void operator()(T* p) const noexcept { p->release(); }
};

template <class T, class Libera = LiberaPorRelease<T>>
class Posse {
 public:
  Posse() = default;
  explicit Posse(T* p) : p_(p) {}
  ~Posse() { solta(); }
  Posse(Posse&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Posse& operator=(Posse&& o) noexcept {
    if (this != &o) {
      solta();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  Posse(const Posse&) = delete;
  Posse& operator=(const Posse&) = delete;

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Gives the pointer up without releasing it (a call that already ended it, e.g. a successful close).
  T* entrega() { return std::exchange(p_, nullptr); }
  void solta() noexcept {
    if (p_) Libera{}(std::exchange(p_, nullptr));
  }

 private:
  T* p_ = nullptr;
};

// How the statement, cursor and service handles of the library end: free, close or detach, and a
// release when that call fails (the handle is then lost with the link).
struct LiberaInstrucao {
  void operator()(IStatement* s) const noexcept {
    Status st;
    s->free(&st);
    if (st.falhou()) s->release();
  }
};
struct FechaCursor {
  void operator()(IResultSet* r) const noexcept {
    Status st;
    r->close(&st);
    if (st.falhou()) r->release();
  }
};
using Instrucao = Posse<IStatement, LiberaInstrucao>;
using Cursor = Posse<IResultSet, FechaCursor>;

}  // namespace zuv
