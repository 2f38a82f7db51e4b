#pragma once
// The table model of the grid fpSpread1 of FrmMigracaoPadrao: a view of a GradeProduto (945 025
// rows, only filled cells kept). Cells are edited in place; colaTexto pastes tab-separated text
// as spreadsheets copy it. Headers are the column letters and the row numbers, as in a sheet.
#include <QAbstractTableModel>
#include <string>

#include "migration/GradeProduto.h"

namespace zuv {

class ModeloGrade : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ModeloGrade(QObject* pai = nullptr);

  int rowCount(const QModelIndex& pai = {}) const override;
  int columnCount(const QModelIndex& pai = {}) const override;
  QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& indice, const QVariant& valor, int papel = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;
  QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;

  // The text of a cell, rows and columns from 1 ("" when empty).
  std::string texto(int linha, int coluna) const { return grade_.texto(linha, coluna); }
  // Pastes with its first cell at (linha, coluna), from 1.
  void colaTexto(int linha, int coluna, const std::string& texto);
  // Empties the cells of the given model indexes.
  void limpaCelulas(const QModelIndexList& indices);

  const GradeProduto& grade() const { return grade_; }

 private:
  GradeProduto grade_;
};

}  // namespace zuv
