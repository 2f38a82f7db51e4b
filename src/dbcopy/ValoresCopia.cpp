#include "dbcopy/ValoresCopia.h"

#include <cmath>

#include "common/Erro.h"

namespace zuv::atualiza {

std::string textoId(const Valor& v) {
  if (v.inteiro()) return std::to_string(v.comoInteiro());
  if (v.decimal() || v.real()) {
    const double d = v.paraDouble();
    if (d == std::floor(d) && std::fabs(d) < 9e15) return std::to_string(static_cast<long long>(d));
  }
  if (v.texto()) {
    const std::string& s = v.comoTexto();
    size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
    bool digitos = i < s.size();
    for (size_t j = i; j < s.size(); ++j)
      digitos = digitos && s[j] >= '0' && s[j] <= '9';
    if (digitos) return s;
  }
  throw Erro("o identificador \"" + (v.texto() ? v.comoTexto() : std::string("?")) +
             "\" não é um número inteiro");
}

}  // namespace zuv::atualiza
