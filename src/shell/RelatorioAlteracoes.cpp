#include "shell/RelatorioAlteracoes.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "common/Erro.h"

namespace zuv {

namespace {

const char* situacao(DestinoAlteracoes destino) {
  switch (destino) {
    case DestinoAlteracoes::Gravadas:
      return "gravadas";
    case DestinoAlteracoes::Desfeitas:
      return "desfeitas";
    case DestinoAlteracoes::Simuladas:
      return "simuladas";
  }
  return "";
}

std::string campoCsv(const std::string& texto) {
  if (texto.find_first_of(";\"\r\n") == std::string::npos) return texto;
  std::string s = "\"";
  for (char c : texto)
    s += c == '"' ? std::string("\"\"") : std::string(1, c);
  return s + "\"";
}

}  // namespace

std::string textoRelatorio(const std::vector<AlteracoesDoBanco>& bancos, DestinoAlteracoes destino) {
  std::string texto;
  for (const AlteracoesDoBanco& b : bancos) {
    if (vazias(b.alteracoes) && destino != DestinoAlteracoes::Simuladas) continue;
    switch (destino) {
      case DestinoAlteracoes::Gravadas:
        texto += "Alterações gravadas em " + b.banco + ":\n";
        break;
      case DestinoAlteracoes::Desfeitas:
        texto +=
            "Tudo ou nada: a operação não terminou e nada foi gravado em " + b.banco + ". Ela tinha feito:\n";
        break;
      case DestinoAlteracoes::Simuladas:
        texto += "Simulação: nada foi gravado em " + b.banco + ". A operação faria:\n";
        break;
    }
    bool alguma = false;
    for (const auto& [tabela, c] : b.alteracoes) {
      if (c.total() == 0) continue;
      alguma = true;
      texto += "  " + tabela + ": " + std::to_string(c.incluidos) + " incluídas, " +
               std::to_string(c.alterados) + " alteradas, " + std::to_string(c.excluidos) + " excluídas\n";
    }
    if (!alguma) texto += "  nenhuma linha alterada\n";
  }
  if (!texto.empty()) texto.pop_back();
  return texto;
}

void gravaRelatorioCsv(const std::string& caminho, const std::vector<AlteracoesDoBanco>& bancos,
                       const std::vector<FalhaRegistrada>& falhas, DestinoAlteracoes destino) {
  std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
  if (!f) throw Erro("Não foi possível gravar o relatório " + caminho + ": " + std::strerror(errno));
  f << "\xEF\xBB\xBF"
    << "Tipo;Banco;Tabela;Incluídas;Alteradas;Excluídas;Situação;Onde;Causa\r\n";
  for (const AlteracoesDoBanco& b : bancos)
    for (const auto& [tabela, c] : b.alteracoes)
      if (c.total() != 0)
        f << "Alteração;" << campoCsv(b.banco) << ';' << campoCsv(tabela) << ';' << c.incluidos << ';'
          << c.alterados << ';' << c.excluidos << ';' << situacao(destino) << ";;\r\n";
  for (const FalhaRegistrada& falha : falhas)
    f << "Falha;;;;;;;" << campoCsv(falha.onde) << ';' << campoCsv(falha.causa) << "\r\n";
  f.close();
  if (!f) throw Erro("Não foi possível gravar o relatório " + caminho + ": " + std::strerror(errno));
}

}  // namespace zuv
