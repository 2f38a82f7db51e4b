#pragma once
// The program folder: where zuv.ini and the workbooks live. By default the folder of the
// executable; the option --pasta-programa or the environment variable ZUV_PASTA_PROGRAMA chooses
// another (the option wins).
#include <optional>
#include <string>
#include <vector>

namespace zuv {

inline constexpr const char* kOpcaoPastaPrograma = "--pasta-programa";
inline constexpr const char* kVariavelPastaPrograma = "ZUV_PASTA_PROGRAMA";

// The program folder as an absolute path without a trailing '/': the one given to
// definePastaPrograma, else ZUV_PASTA_PROGRAMA when set and not empty, else the executable's.
std::string pastaPrograma();

// Sets the program folder for the rest of the process (made absolute against the current
// directory). An empty text goes back to the environment variable and the executable's folder.
void definePastaPrograma(std::string pasta);

// The folder of the running executable (/proc/self/exe); the current directory if unknown.
std::string pastaDoExecutavel();

// Takes "--pasta-programa DIR" and "--pasta-programa=DIR" out of args and returns the last DIR.
// An option without its value is left in args, for the command line to report.
std::optional<std::string> extraiPastaPrograma(std::vector<std::string>& args);

// "" when pasta is an existing folder, else the message that says what is wrong with it.
std::string problemaPastaPrograma(const std::string& pasta);

}  // namespace zuv
