#pragma once
// The running processes of the machine, read from /proc, and stopping the spreadsheet
// application's copies. A process's name is its executable's file name ("soffice.bin"); names
// are compared without regard to case, as the system compares them, but always whole.
#include <sys/types.h>

#include <string>
#include <vector>

namespace zuv {

// The process name "Encerrar Processo" stops, unless the environment variable
// ZUV_PROCESSO_PLANILHA names another. The system's own default matches nothing on Linux, so
// by default the button stops nothing: set the variable (e.g. "soffice.bin") to use it.
inline constexpr const char* kProcessoPlanilhaPadrao = "EXCEL.EXE";
inline constexpr const char* kVariavelProcessoPlanilha = "ZUV_PROCESSO_PLANILHA";
std::string processoPlanilha();

struct Processo {
  pid_t pid = 0;
  uid_t dono = 0;
  std::string nome;
};

// Every process /proc shows, in pid order. Processes that end while the list is read are left out.
std::vector<Processo> processosDoSistema();

// The names of the running processes in lower case, in pid order (ListaProcessos).
std::vector<std::string> ListaProcessos();

// The current user's processes whose name equals nome (case-insensitive), other than this one.
std::vector<Processo> processosDoUsuario(const std::string& nome);

// Stops the current user's processes named nome (EncerraProcesso): SIGTERM, then SIGKILL for any
// still running after a short wait. Other users' processes are never touched. True when one was
// found. Throws Erro with the system's description when a signal cannot be sent.
bool EncerraProcesso(const std::string& nome);

}  // namespace zuv
