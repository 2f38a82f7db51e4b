#include "platform/EncerramentoPorSinal.h"

#include <ibase.h>

#include <atomic>

namespace zuv {

namespace {

std::atomic<void (*)()> g_aoSinal{nullptr};

// Asked by the library before it ends the connections; non-zero refuses.
int confirmaEncerramento(const int motivo, const int, void*) {
  void (*aoSinal)() = g_aoSinal.load();
  if (motivo != fb_shutrsn_signal || aoSinal == nullptr) return 0;
  aoSinal();
  return 1;
}

}  // namespace

void desviaEncerramentoPorSinal(void (*aoSinal)()) {
  static const bool registrado = [] {
    ISC_STATUS_ARRAY status{};
    fb_shutdown_callback(status, confirmaEncerramento, fb_shut_confirmation, nullptr);
    return true;
  }();
  (void)registrado;
  g_aoSinal = aoSinal;
}

}  // namespace zuv
