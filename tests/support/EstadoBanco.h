#pragma once
// The whole visible state of a database, for tests that run the same thing two ways and compare:
// every row of every user table, each value with its exact type, the rows of each table sorted (read
// through one connection: one isql-fb run per table would take seconds).
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/Conexao.h"
#include "support/BancoDeTeste.h"

namespace zuv::teste {

using LinhasValor = std::vector<std::vector<Valor>>;
using EstadoBanco = std::map<std::string, LinhasValor>;

inline LinhasValor consultaValores(Conexao& c, const std::string& sql) {
  LinhasValor linhas;
  for (Recordset rs = c.abre(sql); !rs.eof(); rs.proximo()) {
    linhas.emplace_back();
    for (int i = 0; i < rs.totalCampos(); ++i)
      linhas.back().push_back(rs.valor(i));
  }
  return linhas;
}

inline EstadoBanco estadoDoBanco(const BancoDeTeste& b) {
  Conexao c(b.textoConexao());
  EstadoBanco e;
  for (const auto& t :
       consultaValores(c, "select trim(rdb$relation_name) from rdb$relations where rdb$system_flag = 0")) {
    LinhasValor linhas = consultaValores(c, "select * from " + t[0].comoTexto());
    const auto chave = [](const std::vector<Valor>& linha) {
      std::string k;
      for (const Valor& v : linha)
        k += (v.nulo() ? std::string("\x01") : v.textoRegional(1)) + '\x02';
      return k;
    };
    std::sort(linhas.begin(), linhas.end(),
              [&](const auto& a, const auto& b) { return chave(a) < chave(b); });
    e[t[0].comoTexto()] = std::move(linhas);
  }
  return e;
}

}  // namespace zuv::teste
