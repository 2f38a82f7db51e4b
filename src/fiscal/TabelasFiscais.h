#pragma once
// The official tables the fiscal check compares a workbook with, read in the form the government
// publishes them:
//   NCM: the Siscomex "Tabela NCM Vigente" JSON {Data_Ultima_Atualizacao_NCM, Ato,
//        Nomenclaturas: [{Codigo "0101.21.00", Data_Inicio, Data_Fim "dd/mm/aaaa"}]}
//   CEST: the CONFAZ page of Convênio ICMS 142/18, whose annexes hold ITEM / CEST / NCM/SH /
//        DESCRIÇÃO tables; rows of earlier wordings (shown in green on the page) are left out.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Erro.h"
#include "common/Valor.h"

namespace zuv {

// A table file that is missing or not in the published form.
class ErroTabelaFiscal : public Erro {
 public:
  using Erro::Erro;
};

struct VigenciaNcm {
  Data inicio;
  Data fim;  // 31/12/9999 when open-ended
};

class TabelaNcm {
 public:
  // Throws ErroTabelaFiscal naming the file and the problem.
  static TabelaNcm carrega(const std::string& caminho);
  // The same from the file's content; origem names it in messages.
  static TabelaNcm deJson(std::string_view json, const std::string& origem = "tabela NCM");

  const std::string& versao() const { return versao_; }  // "Vigente em 13/08/2026"
  const std::string& ato() const { return ato_; }        // "Resolução Gecex nº 926/2026"
  // "Vigente em 13/08/2026 (Resolução Gecex nº 926/2026), 10515 códigos de 8 dígitos"
  std::string descricao() const;
  size_t codigos() const { return codigos_; }

  // The periods of an 8-digit code (digits only), in the order of the file; empty when the
  // table does not have it.
  std::span<const VigenciaNcm> vigencias(std::string_view codigo) const;

 private:
  std::string versao_, ato_;
  // 8-digit codes only, sorted by code; vigencias_[i] is the period of codigos_[i].
  std::vector<uint32_t> numeros_;
  std::vector<VigenciaNcm> vigencias_;
  size_t codigos_ = 0;
};

struct ItemCest {
  std::vector<std::string> prefixos;  // NCM/SH prefixes (digits) of its current rows; empty: any NCM
  bool revogado = false;              // every current row of the code says REVOGADO
};

class TabelaCest {
 public:
  static TabelaCest carrega(const std::string& caminho);
  static TabelaCest deHtml(std::string_view html, const std::string& origem = "tabela CEST");

  // "CONVÊNIO ICMS 142/18, alterações com efeitos até 01/02/2025"
  const std::string& versao() const { return versao_; }
  // The version with the number of codes ("…, 1050 códigos, 22 revogados").
  std::string descricao() const;
  size_t codigos() const { return itens_.size(); }

  // The item of a 7-digit code, or null.
  const ItemCest* procura(std::string_view codigo) const;

 private:
  std::string versao_;
  std::unordered_map<uint32_t, ItemCest> itens_;  // by the code's number
};

// Both tables, either of them absent.
struct TabelasFiscais {
  const TabelaNcm* ncm = nullptr;
  const TabelaCest* cest = nullptr;
};

// "01/02/2025"
std::string textoData(const Data& d);

}  // namespace zuv
