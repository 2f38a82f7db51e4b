#pragma once
// How a run ended: normally, with a failure already shown to the person, or asking the front end
// to end the whole program.
#include <string>
#include <utility>

namespace zuv {

// Why a run ends the program: after its normal end ("FIM"), after a failure it has shown, or
// because the configuration is missing or wrong (zuv.ini, regional settings). The GUI quits in
// every case; the command line turns it into its exit status.
enum class MotivoFim { Normal, Falha, Configuracao };

struct Resultado {
  enum class Desfecho { Concluido, Falhou, EncerrarPrograma };
  Desfecho desfecho = Desfecho::Concluido;
  std::string mensagem;                  // for Falhou: the text that was shown
  MotivoFim motivo = MotivoFim::Normal;  // for EncerrarPrograma

  static Resultado concluido() { return {}; }
  static Resultado falhou(std::string msg) { return {Desfecho::Falhou, std::move(msg), MotivoFim::Normal}; }
  static Resultado encerrar(MotivoFim motivo = MotivoFim::Normal) {
    return {Desfecho::EncerrarPrograma, {}, motivo};
  }
  bool operator==(const Resultado&) const = default;
};

}  // namespace zuv
