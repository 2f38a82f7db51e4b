#include "common/Tela.h"

namespace zuv {

namespace {
thread_local Tela* g_telaAtual = nullptr;
}

Tela* telaAtual() {
  return g_telaAtual;
}

TelaDoEscopo::TelaDoEscopo(Tela& tela) : anterior_(g_telaAtual) {
  g_telaAtual = &tela;
}
TelaDoEscopo::~TelaDoEscopo() {
  g_telaAtual = anterior_;
}

}  // namespace zuv
