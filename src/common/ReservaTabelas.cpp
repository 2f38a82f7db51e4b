#include "common/ReservaTabelas.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <set>

#include "common/Texto.h"

namespace zuv {

namespace {

struct Reservas {
  std::mutex trava;
  std::condition_variable liberada;
  std::set<std::string> tomadas;
};

Reservas& reservas() {
  static Reservas r;
  return r;
}

bool algumaTomada(const Reservas& r, const std::vector<std::string>& tabelas) {
  return std::any_of(tabelas.begin(), tabelas.end(),
                     [&](const std::string& t) { return r.tomadas.count(t); });
}

}  // namespace

ReservaTabelas::ReservaTabelas(std::initializer_list<const char*> tabelas,
                               const std::function<void()>& aoEsperar) {
  for (const char* t : tabelas)
    tabelas_.push_back(maiusculas(t));
  Reservas& r = reservas();
  std::unique_lock lock(r.trava);
  if (algumaTomada(r, tabelas_) && aoEsperar) {
    lock.unlock();
    aoEsperar();
    lock.lock();
  }
  r.liberada.wait(lock, [&] { return !algumaTomada(r, tabelas_); });
  r.tomadas.insert(tabelas_.begin(), tabelas_.end());
}

ReservaTabelas::~ReservaTabelas() {
  Reservas& r = reservas();
  {
    std::lock_guard lock(r.trava);
    for (const std::string& t : tabelas_)
      r.tomadas.erase(t);
  }
  r.liberada.notify_all();
}

bool ReservaTabelas::reservada(const std::string& tabela) {
  Reservas& r = reservas();
  std::lock_guard lock(r.trava);
  return r.tomadas.count(maiusculas(tabela)) > 0;
}

}  // namespace zuv
