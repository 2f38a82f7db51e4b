#include "common/ReservaTabelas.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "common/Texto.h"

namespace zuv {

namespace {

struct Dono {
  std::thread::id thread;
  int vezes = 0;
};

struct Reservas {
  std::mutex trava;
  std::condition_variable liberada;
  std::map<std::string, Dono> tomadas;
};

Reservas& reservas() {
  static Reservas r;
  return r;
}

// Taken by another thread (the same thread may reserve a table again: a form's run and the run
// inside it).
bool deOutro(const Reservas& r, const std::vector<std::string>& tabelas) {
  const auto eu = std::this_thread::get_id();
  return std::any_of(tabelas.begin(), tabelas.end(), [&](const std::string& t) {
    const auto it = r.tomadas.find(t);
    return it != r.tomadas.end() && it->second.thread != eu;
  });
}

}  // namespace

ReservaTabelas::ReservaTabelas(std::initializer_list<const char*> tabelas,
                               const std::function<void()>& aoEsperar)
    : ReservaTabelas(std::vector<std::string>(tabelas.begin(), tabelas.end()), aoEsperar) {}

ReservaTabelas::ReservaTabelas(const std::vector<std::string>& tabelas,
                               const std::function<void()>& aoEsperar) {
  for (const std::string& t : tabelas)
    tabelas_.push_back(maiusculas(t));
  Reservas& r = reservas();
  std::unique_lock lock(r.trava);
  if (deOutro(r, tabelas_) && aoEsperar) {
    lock.unlock();
    aoEsperar();
    lock.lock();
  }
  r.liberada.wait(lock, [&] { return !deOutro(r, tabelas_); });
  for (const std::string& t : tabelas_) {
    Dono& d = r.tomadas[t];
    d.thread = std::this_thread::get_id();
    ++d.vezes;
  }
}

ReservaTabelas::~ReservaTabelas() {
  Reservas& r = reservas();
  {
    std::lock_guard lock(r.trava);
    for (const std::string& t : tabelas_) {
      auto it = r.tomadas.find(t);
      if (it != r.tomadas.end() && --it->second.vezes == 0) r.tomadas.erase(it);
    }
  }
  r.liberada.notify_all();
}

bool ReservaTabelas::reservada(const std::string& tabela) {
  Reservas& r = reservas();
  std::lock_guard lock(r.trava);
  return r.tomadas.count(maiusculas(tabela)) > 0;
}

}  // namespace zuv
