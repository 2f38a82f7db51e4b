#pragma once
// What the fiscal check says of one cell. The cell is read with the import's own reader
// (common/LeituraDeCelulas.h); reported are what the import would refuse, what it would store
// changed (cut, ignored, read as thousands, 99 for a CST), and a stored code that breaks the
// rules of its list. What the import corrects by itself (dots in a code, the one leading zero a
// number lost) is not a finding.
#include <optional>
#include <string>
#include <string_view>

namespace zuv {

// Which workbook, hence which import reads the cell: produto.xlsx (the product import) or
// produtosat.xlsx (the tax import).
enum class LayoutFiscal { Produto, Tributacao };

// What is wrong with a value.
struct Problema {
  std::string tipo;      // the kind of finding, the same text for every cell it applies to
  std::string motivo;    // what is wrong with this value and what the import does with it
  std::string sugestao;  // the value to type instead, when only one is possible
  bool operator==(const Problema&) const = default;
};

// The cell's text without blanks around.
std::string_view semBrancos(std::string_view s);

// The NCM and the CEST the layout's import stores from the cell ("" for an empty one).
std::string ncmGravado(std::string_view valor, LayoutFiscal layout);
std::string cestGravado(std::string_view valor, LayoutFiscal layout);
// The barcode the product import finds an item by: cleaned and cut to 20 characters.
std::string barraGravada(std::string_view valor);
// The item code the tax import finds an item by, without leading zeros; "" when it is none.
std::string codigoInternoGravado(std::string_view valor);

// NCM: 8 digits as stored. Empty is the finding "NCM vazio".
std::optional<Problema> verificaNcm(std::string_view valor, LayoutFiscal layout);
// CEST: 7 digits as stored; empty is allowed.
std::optional<Problema> verificaCest(std::string_view valor, LayoutFiscal layout);
// CFOP: 4 digits as stored, not a group heading (ending in 00); outgoing operations begin with 5,
// 6 or 7, incoming ones with 1, 2 or 3. Empty is allowed.
std::optional<Problema> verificaCfop(std::string_view valor, bool saida, LayoutFiscal layout);
// CSOSN: 101 102 103 201 202 203 300 400 500 900. Empty is allowed.
std::optional<Problema> verificaCsosn(std::string_view valor);
// CST of ICMS in the tax workbook: 00 02 10 15 20 30 40 41 50 51 53 60 61 70 90, typed as a
// number ("0", "60") or after the origin digit 0 to 8 ("060"); more than 3 characters are ignored
// by the import. Empty is allowed.
std::optional<Problema> verificaCstIcms(std::string_view valor);
// CST of PIS or COFINS as the tax import keeps it (regraCST): a code outside the list is stored as
// 99. nome: "CST PIS" or "CST COFINS". Empty is allowed.
std::optional<Problema> verificaCstPisCofins(std::string_view valor, std::string_view nome);
// The product import's barcode: longer than 20 characters is cut.
std::optional<Problema> verificaBarra(std::string_view valor);
// The tax workbook's item code: a whole number, else the import stops at its row. Empty is
// allowed (the import ends there).
std::optional<Problema> verificaCodigoInterno(std::string_view valor);

// The numbers of the product workbook, read by leNumero under the regional style (1 Brazilian,
// 2 English): a text that is not a number, and one read as thousands ("1.234").
enum class NumeroProduto { Preco, Estoque, Aliquota };
std::optional<Problema> verificaNumero(std::string_view valor, int estilo, NumeroProduto numero);

// The rates of the tax workbook, read by numeroTaxa: a text that is not a number, a value outside
// 0 to 100.
enum class TaxaTributos { Aliquota, PisCofins, IcmsProduto };
std::optional<Problema> verificaTaxa(std::string_view valor, TaxaTributos taxa);

}  // namespace zuv
