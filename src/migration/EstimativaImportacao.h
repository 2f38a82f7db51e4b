#pragma once
// How long a large product import is likely to take when it runs as the system runs it on a
// database without a descending index on PRODUTOESTOQUE.IDITEMPRODUTO: Firebird answers a MAX from
// a descending index only, so every row reads the whole stock-item table (and, for a new item, the
// product table, and the table again for its barcode when BARRA has no index), and each row is a
// little slower than the one before. Measured on the run's first rows; said once, as a note.
#include <optional>
#include <string>

namespace zuv {

class Conexao;

class EstimativaImportacao {
 public:
  // Runs of more rows than this get the estimate.
  static constexpr int kLinhasMinimas = 3000;
  // The rows measured before the estimate is made.
  static constexpr int kLinhasMedidas = 200;

  // Looks at the database's indexes and the stock items it holds; applies only to a run of more
  // than kLinhasMinimas rows on a database without the descending index.
  EstimativaImportacao(Conexao& conexao, int totalLinhas);

  bool ativa() const { return ativa_; }
  // One row done: its time, the time of its MAX(IDITEMPRODUTO), whether it created an item.
  // After kLinhasMedidas rows, the note's text (once).
  std::optional<std::string> linha(double segundos, double segundosMaximo, bool nova);

  // The run's likely total time, in seconds, by the model: each row costs a fixed part plus the
  // full reads of the tables, which grow with the items the run creates.
  static double estimaSegundos(int totalLinhas, long itensAntes, int medidas, double segundos,
                               double segundosMaximo, int novas, bool barraSemIndice);
  // "cerca de 3 h 20 min", "cerca de 12 min", "menos de 1 min".
  static std::string duracao(double segundos);

 private:
  bool ativa_ = false;
  int total_ = 0;
  long itensAntes_ = 0;
  bool barraSemIndice_ = false;
  int medidas_ = 0, novas_ = 0;
  double segundos_ = 0, segundosMaximo_ = 0;
};

}  // namespace zuv
