// importadorzuv: with no arguments it opens the main menu; "importadorzuv <task> [options]" runs
// a task headless.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
    std::puts("Uso: importadorzuv [tarefa] [opções]\nSem argumentos abre o menu principal.");
    return 0;
  }
  std::fputs("importadorzuv: o menu ainda não está disponível nesta versão\n", stderr);
  return 2;
}
