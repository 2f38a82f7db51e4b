#pragma once
// The stock items (PRODUTOESTOQUE) and products (PRODUTO) as the product import finds and writes
// them: by barcode, with the system's statements. In kept mode (an all-or-nothing run that holds
// the tables against other writers) the barcode -> item map is read once and kept current, and the
// inserts and updates are prepared once and executed with each row's values; what they write is
// what the system's statements write.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "migration/EstoqueProduto.h"

namespace zuv {

class Conexao;

class ItensProduto {
 public:
  ItensProduto(Conexao& conexao, bool mantidos);

  // Every stock item whose barcode is the row's, exactly, or when none is and the barcode has
  // letters, ignoring case; none for an empty barcode (always a new item).
  std::vector<ItemGravado> daBarra(const std::string& barra);
  // The digits after the point of the stored numbers, for comparing a row with them.
  const EscalasItem& escalas() const { return escalas_; }

  // The next IDITEMPRODUTO and IDPRODUTO, by the system's statements (ProxCodigo).
  int32_t proximoItem();
  int32_t proximoProduto();
  // The PRODUTO and PRODUTOESTOQUE inserts of a new item.
  void insere(const ItemProduto& item, const std::string& descricao);
  // Rewrites every stock item whose barcode is `barra` (as an item holds it).
  void atualiza(const AlteracaoEstoque& alteracao, const std::string& barra);
  // The description rewrite of the product of the first item with the barcode (or of idNovo, the
  // row's new product, when the barcode is empty). Whether an existing product's description
  // changed.
  bool reescreveDescricao(const std::string& descricao, const std::string& barra, int32_t idNovo);

  // Kept mode: what the map has learnt since marca(), undone by desfazAte(marca) when the row is
  // rolled back.
  size_t marca() const { return desfazer_.size(); }
  void desfazAte(size_t marca);
  // The row went in: what it taught stays, and nothing of it is kept for undoing.
  void fixa() { desfazer_.clear(); }

 private:
  void carrega();
  void guarda(ItemGravado item, bool desfazivel);
  void indexaMaiusculas(int32_t indice);
  void executa(const Insercao& insercao);
  void executa(const Atualizacao& atualizacao);

  Conexao& conexao_;
  bool mantidos_;
  bool carregados_ = false;
  EscalasItem escalas_;
  // The items in the order the database gives them, then the new ones (a deque: no copy of the
  // whole map as it grows); per barcode the first item and, per item, the next one with the same
  // barcode (-1: none).
  struct Guardado {
    ItemGravado item;
    int32_t seguinte = -1;
  };
  std::deque<Guardado> itens_;
  std::unordered_map<std::string, int32_t> porBarra_;
  // By barcode in upper case, built at the first lookup that needs it.
  std::unordered_map<std::string, std::vector<int32_t>> porMaiusculas_;
  bool maiusculasProntas_ = false;
  std::vector<std::function<void()>> desfazer_;
};

}  // namespace zuv
