#pragma once
// How a run ended: normally, with a failure already shown to the person, or asking the front end
// to end the whole program.
#include <string>

namespace zuv {

struct Resultado {
  enum class Desfecho { Concluido, Falhou, EncerrarPrograma };
  Desfecho desfecho = Desfecho::Concluido;
  std::string mensagem;  // for Falhou: the text that was shown

  static Resultado concluido() { return {}; }
  static Resultado falhou(std::string msg) { return {Desfecho::Falhou, std::move(msg)}; }
  static Resultado encerrar() { return {Desfecho::EncerrarPrograma, {}}; }
  bool operator==(const Resultado&) const = default;
};

}  // namespace zuv
