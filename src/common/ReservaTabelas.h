#pragma once
// Process-wide reservation of tables whose new identifiers are their maximum plus one. Two runs
// that read the same maximum before either inserts would take the same identifier; with GUI runs
// on worker threads (several forms open) that can happen, and under an all-or-nothing run the
// inserted rows stay invisible to other connections until the run commits. So a run that creates
// rows in such tables reserves them for its whole length: a second run that needs one of them
// waits until the first has ended (committed or rolled back).
//
// All tables of a reservation are taken at once, so two reservations never wait on each other in
// a circle; a thread may reserve a table it holds again (a form reserves around the whole run,
// commit included, and the run reserves for itself). Names are compared without regard to case.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace zuv {

// Not a table: the program-wide connection that FrmClientes and FrmAtuProdutoNCMCFOP share. Their
// runs reserve it so that one run's transaction never takes in the other's statements.
inline constexpr const char* kConexaoDoPrograma = "<conexao do programa>";

class ReservaTabelas {
 public:
  // Blocks until none of the tables is reserved by another run; aoEsperar (if given) is called
  // once, before waiting, so the run can say why it is not moving.
  explicit ReservaTabelas(std::initializer_list<const char*> tabelas,
                          const std::function<void()>& aoEsperar = {});
  explicit ReservaTabelas(const std::vector<std::string>& tabelas,
                          const std::function<void()>& aoEsperar = {});
  ~ReservaTabelas();
  ReservaTabelas(const ReservaTabelas&) = delete;
  ReservaTabelas& operator=(const ReservaTabelas&) = delete;

  // True when one of the tables is reserved right now (for tests and messages).
  static bool reservada(const std::string& tabela);

 private:
  std::vector<std::string> tabelas_;
};

}  // namespace zuv
