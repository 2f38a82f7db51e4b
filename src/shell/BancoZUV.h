#pragma once
// zuv.ini, the ZUV connection string and AbreBancoDados, and the program-wide connection slot
// that FrmClientes and FrmAtuProdutoNCMCFOP share.
#include <memory>
#include <string>
#include <vector>

#include "platform/Conexao.h"

namespace zuv {

class Tela;

// The standard tail of every ZUV connection string.
inline constexpr const char* kCaudaConexao =
    " user id=sysdba;password=quartzine; ctype=none;auto_commit=true;Persist Security Info=True";

// " provider=LCPI.IBProvider.1;data source=" + pasta + "\VENDAS.FDB;" + tail.
std::string textoConexaoZUV(const std::string& pastaDados);

// The first line of <pastaPrograma>/zuv.ini, trimmed. Throws ErroConfiguracao when the file is
// missing and Erro when it cannot be read.
std::string lePastaDados(const std::string& pastaPrograma);

// Reads zuv.ini and opens VENDAS.FDB. On a missing zuv.ini shows "Arquivo zuv.INI não encontrado "
// (avisaSemIni) and on a failed open "Erro ao abrir o banco de dados verifique o caminho. " + the
// description, with the path it tried as a hint, both as information messages, then throws
// FimDoPrograma (motive Configuracao for the missing file, Falha for the failed open).
std::unique_ptr<Conexao> AbreBancoDados(const std::string& pastaPrograma, Tela& tela);

// "Arquivo zuv.INI não encontrado " as the system says it (information icon), with the hint
// dicaSemIni under it. The caller ends the program.
void avisaSemIni(Tela& tela, const std::string& pastaPrograma);
// Where zuv.ini was looked for and how to choose another program folder.
std::string dicaSemIni(const std::string& pastaPrograma);

// The one program-wide slot. Loading a form that uses it replaces the connection held there (the
// previous one is closed); "Sair" of either form closes it, so the other form's next operation
// fails with the layer's "connection closed" error.
class SlotConexao {
 public:
  static SlotConexao& programa();  // the process-wide instance

  void substitui(std::unique_ptr<Conexao> conexao);
  // The connection in the slot; throws ErroBanco when the slot is empty or closed.
  Conexao& conexao();
  void fecha();
  bool aberta() const;

 private:
  std::unique_ptr<Conexao> conexao_;
  std::vector<std::unique_ptr<Conexao>> antigas_;  // replaced connections, kept closed
};

}  // namespace zuv
