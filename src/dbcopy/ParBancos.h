#pragma once
// The two databases of a database-to-database copy: the origin, read only, and the destination,
// where every statement is written. Both are opened through the run's context from the paths of
// the form, origin first; the same database as both is refused before any statement runs.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zuv {

class Conexao;
class ContextoExecucao;

// " provider=LCPI.IBProvider.1;data source=" + caminho as typed + " ;" + the ZUV tail.
std::string textoConexaoCopia(const std::string& caminho);

// Shown, with the information icon, when either database cannot be opened; the program ends.
inline constexpr const char* kMensagemErroAbrir =
    "Erro ao abrir os dados, verifique o caminho do banco de dados ";

// Shown when origin and destination are one database; nothing is opened for writing.
std::string mensagemMesmoBanco(const std::string& caminho);

// A data source as a place: a local file (servidor empty) or a file on a Firebird server. A server
// named localhost, 127.0.0.1, ::1 or this machine's name counts as local, as it sees the same files.
struct LugarBanco {
  std::string servidor;  // lower case, without port
  std::string caminho;   // absolute, with symbolic links and "." / ".." resolved as far as the file exists
  bool operator==(const LugarBanco&) const = default;
};
LugarBanco lugarDoBanco(const std::string& fonteDados);

// True when the two data sources name one file: the same place, or two local names of one file
// (hard links included).
bool mesmoArquivo(const std::string& fonteA, const std::string& fonteB);

struct ParBancos {
  Conexao& origem;
  Conexao& destino;
};

// AbreBancos: refuses one database as both (by name before opening, then by the engine's own
// file name of each attachment), then opens origin and destination through ctx.abreOutra.
// A failed open shows kMensagemErroAbrir and throws FimDoPrograma (motive Configuracao); the same
// database shows mensagemMesmoBanco (information icon) and gives nullopt.
// reservadasDestino: the destination tables an all-or-nothing or dry run holds for protected write
// (the origin is only read: none of its tables is held).
std::optional<ParBancos> AbreBancos(ContextoExecucao& ctx, const std::string& origem,
                                    const std::string& destino,
                                    const std::vector<std::string>& reservadasDestino = {});

// The number of characters a CHAR/VARCHAR column holds, 0 when the table or column is unknown.
int tamanhoColuna(Conexao& conexao, const std::string& tabela, const std::string& coluna);

// A run-wide identifier counter of one destination table: the first identifier asked for is
// ProxCodigo's with the given SELECT of the column's maximum (1 for an empty table), later ones count
// on from memory without reading the table again.
class ContadorId {
 public:
  ContadorId(std::string coluna, std::string tabela, std::string selectMaximo)
      : coluna_(std::move(coluna)), tabela_(std::move(tabela)), select_(std::move(selectMaximo)) {}
  int32_t proximo(Conexao& destino);
  // Takes back the identifier proximo gave last (it was not used).
  void devolve();
  int32_t atual() const { return atual_; }

 private:
  std::string coluna_, tabela_, select_;
  bool lido_ = false;
  int32_t atual_ = 0;
};

}  // namespace zuv
