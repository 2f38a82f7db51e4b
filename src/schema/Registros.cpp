#include "schema/Registros.h"

#include <cmath>
#include <limits>

#include "common/Erro.h"
#include "common/Regional.h"
#include "common/Texto.h"
#include "platform/Conexao.h"

namespace zuv {

namespace {

// The maximum plus one as a 32-bit integer, the way the system adds 1 to whatever number the
// column holds; a key that does not fit is an overflow, not a wrapped-around number.
int32_t maisUm(const Valor& maximo, const std::string& coluna, const std::string& tabela) {
  if (maximo.nulo()) return 1;
  double proximo;
  if (maximo.inteiro()) {
    proximo = static_cast<double>(maximo.comoInteiro()) + 1;
  } else if (maximo.texto()) {
    proximo = lerNumero(maximo.comoTexto(), 1) + 1;
  } else if (maximo.numero()) {
    proximo = std::nearbyint(maximo.paraDouble() + 1);  // rounds half to even, like CLng
  } else {
    throw ErroConversao("O maior valor de " + coluna + " em " + tabela + " não é um número.");
  }
  if (proximo > std::numeric_limits<int32_t>::max() || proximo < std::numeric_limits<int32_t>::min())
    throw ErroConversao("O próximo código de " + coluna + " em " + tabela +
                        " passa do limite de um inteiro de 32 bits.");
  return static_cast<int32_t>(proximo);
}

int32_t consultaProximo(Conexao& conexao, const std::string& NomCol, const std::string& Tabela,
                        const std::string& instrucao) {
  Recordset rs = conexao.abre(instrucao);
  const int32_t r = maisUm(rs.eof() ? Valor() : rs.valor(0), NomCol, Tabela);
  rs.fecha();
  return r;
}

}  // namespace

int32_t ProxCodigo(Conexao& conexao, const std::string& NomCol, const std::string& Tabela) {
  return ProxCodigo(conexao, NomCol, Tabela, "Select Max(" + NomCol + ") From " + Tabela);
}

int32_t ProxCodigo(Conexao& conexao, const std::string& NomCol, const std::string& Tabela,
                   const std::string& instrucao) {
  // A table the run holds for protected write gets no rows from anyone else: after the first
  // Max + 1 the next identifiers are counted here.
  const bool guarda = conexao.atomica() && conexao.reservada(Tabela);
  const std::string chave = maiusculas(Tabela) + "." + maiusculas(NomCol);
  if (guarda)
    if (std::optional<int32_t> r = conexao.proximoGuardado(chave)) return *r;
  const int32_t r = consultaProximo(conexao, NomCol, Tabela, instrucao);
  if (guarda && r < std::numeric_limits<int32_t>::max()) conexao.guardaProximo(chave, r + 1);
  return r;
}

int32_t proxCodigoDaTabela(Conexao& conexao, const std::string& NomCol, const std::string& Tabela) {
  return consultaProximo(conexao, NomCol, Tabela, "Select Max(" + NomCol + ") From " + Tabela);
}

std::string ConsultaParametro(Conexao& conexao, const std::string& coluna) {
  Recordset rs = conexao.abre(" Select " + coluna + " from CliDono3 where " + coluna + "  = 'S' ");
  const bool achou = !rs.eof();
  rs.fecha();
  return achou ? "S" : "N";
}

}  // namespace zuv
