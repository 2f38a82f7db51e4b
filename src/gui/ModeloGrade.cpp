#include "gui/ModeloGrade.h"

namespace zuv {

ModeloGrade::ModeloGrade(QObject* pai) : QAbstractTableModel(pai) {}

int ModeloGrade::rowCount(const QModelIndex& pai) const {
  return pai.isValid() ? 0 : GradeProduto::kLinhas;
}

int ModeloGrade::columnCount(const QModelIndex& pai) const {
  return pai.isValid() ? 0 : GradeProduto::kColunas;
}

QVariant ModeloGrade::data(const QModelIndex& indice, int papel) const {
  if (!indice.isValid() || (papel != Qt::DisplayRole && papel != Qt::EditRole)) return {};
  return QString::fromStdString(grade_.texto(indice.row() + 1, indice.column() + 1));
}

bool ModeloGrade::setData(const QModelIndex& indice, const QVariant& valor, int papel) {
  if (!indice.isValid() || papel != Qt::EditRole) return false;
  grade_.defineTexto(indice.row() + 1, indice.column() + 1, valor.toString().toStdString());
  emit dataChanged(indice, indice, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

Qt::ItemFlags ModeloGrade::flags(const QModelIndex& indice) const {
  if (!indice.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant ModeloGrade::headerData(int secao, Qt::Orientation orientacao, int papel) const {
  if (papel != Qt::DisplayRole) return {};
  if (orientacao == Qt::Vertical) return secao + 1;
  return QString(QChar('A' + secao));
}

void ModeloGrade::colaTexto(int linha, int coluna, const std::string& texto) {
  const GradeProduto::Area area = grade_.colaTexto(linha, coluna, texto);
  if (area.linhas == 0) return;
  emit dataChanged(index(linha - 1, coluna - 1), index(linha - 2 + area.linhas, coluna - 2 + area.colunas),
                   {Qt::DisplayRole, Qt::EditRole});
}

void ModeloGrade::limpaCelulas(const QModelIndexList& indices) {
  for (const QModelIndex& i : indices) {
    grade_.defineTexto(i.row() + 1, i.column() + 1, {});
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
  }
}

}  // namespace zuv
