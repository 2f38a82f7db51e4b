#include "migration/EstimativaImportacao.h"

#include <algorithm>
#include <cmath>

#include "platform/Conexao.h"

namespace zuv {

namespace {

// Whether PRODUTOESTOQUE has an index whose first column is `coluna` (descending ones only, or any).
bool temIndice(Conexao& conexao, const std::string& coluna, bool descendente) {
  return !conexao
              .abre(
                  "Select First 1 1 From RDB$INDICES I Join RDB$INDEX_SEGMENTS S On S.RDB$INDEX_NAME = "
                  "I.RDB$INDEX_NAME Where I.RDB$RELATION_NAME = 'PRODUTOESTOQUE' And S.RDB$FIELD_NAME = '" +
                  coluna + "' And S.RDB$FIELD_POSITION = 0" +
                  (descendente ? " And I.RDB$INDEX_TYPE = 1" : ""))
              .eof();
}

}  // namespace

EstimativaImportacao::EstimativaImportacao(Conexao& conexao, int totalLinhas) : total_(totalLinhas) {
  if (totalLinhas <= kLinhasMinimas || temIndice(conexao, "IDITEMPRODUTO", true)) return;
  barraSemIndice_ = !temIndice(conexao, "BARRA", false);
  itensAntes_ = static_cast<long>(conexao.abre("Select Count(*) From ProdutoEstoque").valor(0).paraDouble());
  ativa_ = true;
}

std::optional<std::string> EstimativaImportacao::linha(double segundos, double segundosMaximo, bool nova) {
  if (!ativa_ || medidas_ >= kLinhasMedidas) return std::nullopt;
  ++medidas_;
  segundos_ += segundos;
  segundosMaximo_ += segundosMaximo;
  novas_ += nova;
  if (medidas_ < kLinhasMedidas) return std::nullopt;
  const double estimados =
      estimaSegundos(total_, itensAntes_, medidas_, segundos_, segundosMaximo_, novas_, barraSemIndice_);
  return "Estimativa: as " + std::to_string(total_) + " linhas devem levar " + duracao(estimados) +
         " neste banco. Ele não tem índice descendente em PRODUTOESTOQUE.IDITEMPRODUTO: cada linha lê o "
         "cadastro inteiro, e cada linha demora mais que a anterior à medida que o cadastro cresce. Com "
         "--atomico (Tudo ou nada) a mesma importação leva uma fração desse tempo.";
}

double EstimativaImportacao::estimaSegundos(int totalLinhas, long itensAntes, int medidas, double segundos,
                                            double segundosMaximo, int novas, bool barraSemIndice) {
  const double n = totalLinhas, m = std::max(medidas, 1);
  const double fracaoNovas = novas / m;
  // The full reads of a row: MAX(IDITEMPRODUTO), MAX(IDPRODUTO) for a new item, the barcode's.
  const double leituras = 1 + fracaoNovas + (barraSemIndice ? 1 : 0);
  const double porLinha = segundos / m;
  const double varredura = std::min(porLinha, leituras * segundosMaximo / m);
  const double fixo = porLinha - varredura;
  // The reads cost in proportion to the items: per item read, from the sample's mean size.
  const double tamanhoMedio = std::max(1.0, itensAntes + fracaoNovas * m / 2);
  const double porItem = varredura / tamanhoMedio;
  return fixo * n + porItem * (itensAntes * n + fracaoNovas * n * n / 2);
}

std::string EstimativaImportacao::duracao(double segundos) {
  const long minutos = std::lround(segundos / 60);
  if (minutos < 1) return "menos de 1 min";
  if (minutos < 60) return "cerca de " + std::to_string(minutos) + " min";
  const long h = minutos / 60, min = minutos % 60;
  return "cerca de " + std::to_string(h) + " h" + (min ? " " + std::to_string(min) + " min" : "");
}

}  // namespace zuv
