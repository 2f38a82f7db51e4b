#include "shell/RelatorioAlteracoes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "common/Erro.h"
#include "common/Texto.h"

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
  // A database without changes is left out; a dry run that would change nothing still says so,
  // once, for the last database opened (a copy opens its origin, which it only reads, first).
  const bool algumaAlteracao = std::any_of(bancos.begin(), bancos.end(),
                                           [](const AlteracoesDoBanco& b) { return !vazias(b.alteracoes); });
  for (const AlteracoesDoBanco& b : bancos) {
    if (vazias(b.alteracoes) &&
        (destino != DestinoAlteracoes::Simuladas || algumaAlteracao || &b != &bancos.back()))
      continue;
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

namespace {

void escreveRelatorio(std::ostream& f, const std::vector<AlteracoesDoBanco>& bancos,
                      const std::vector<FalhaRegistrada>& falhas, DestinoAlteracoes destino) {
  f << "Tipo;Banco;Tabela;Incluídas;Alteradas;Excluídas;Situação;Onde;Causa\r\n";
  for (const AlteracoesDoBanco& b : bancos)
    for (const auto& [tabela, c] : b.alteracoes)
      if (c.total() != 0)
        f << "Alteração;" << campoCsv(b.banco) << ';' << campoCsv(tabela) << ';' << c.incluidos << ';'
          << c.alterados << ';' << c.excluidos << ';' << situacao(destino) << ";;\r\n";
  for (const FalhaRegistrada& falha : falhas)
    f << "Falha;;;;;;;" << campoCsv(falha.onde) << ';' << campoCsv(falha.causa) << "\r\n";
}

template <class Escreve>
void gravaCsv(const std::string& caminho, Escreve escreve) {
  std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
  if (!f) throw Erro("Não foi possível gravar o relatório " + caminho + ": " + std::strerror(errno));
  f << "\xEF\xBB\xBF";
  escreve(f);
  f.close();
  if (!f) throw Erro("Não foi possível gravar o relatório " + caminho + ": " + std::strerror(errno));
}

std::string segundos(double s) {
  char texto[32];
  std::snprintf(texto, sizeof texto, "%.1f s", s);
  std::string r = texto;
  std::replace(r.begin(), r.end(), '.', ',');
  return r;
}

}  // namespace

void gravaRelatorioCsv(const std::string& caminho, const std::vector<AlteracoesDoBanco>& bancos,
                       const std::vector<FalhaRegistrada>& falhas, DestinoAlteracoes destino) {
  gravaCsv(caminho, [&](std::ostream& f) { escreveRelatorio(f, bancos, falhas, destino); });
}

std::string dataHora(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char texto[32];
  std::strftime(texto, sizeof texto, "%d/%m/%Y %H:%M:%S", &tm);
  return texto;
}

std::string textoContagens(const ResumoExecucao& r) {
  if (r.linhas)
    return milhares(r.linhas->importadas) + " importadas, " + milhares(r.linhas->atualizadas) +
           " atualizadas, " +
           (r.linhas->excluidas > 0 ? milhares(r.linhas->excluidas) + " excluídas, " : "") +
           milhares(r.linhas->comErro) + " com erro";
  ContagemTabela total;
  for (const AlteracoesDoBanco& b : r.bancos)
    for (const auto& [tabela, c] : b.alteracoes) {
      total.incluidos += c.incluidos;
      total.alterados += c.alterados;
      total.excluidos += c.excluidos;
    }
  if (total.total() == 0 && r.falhas.empty()) return {};  // a run that counts no rows (a restore)
  return milhares(total.incluidos) + " incluídas, " + milhares(total.alterados) + " alteradas, " +
         milhares(total.excluidos) + " excluídas, " + milhares(static_cast<long long>(r.falhas.size())) +
         " com erro";
}

std::string textoFimDeExecucao(const ResumoExecucao& r) {
  std::string t = r.tarefa + ": " + r.desfecho + "\n";
  t += "Banco: " + r.banco + "\n";
  if (!r.origem.empty()) t += "Origem: " + r.origem + "\n";
  if (!r.opcoes.empty()) t += "Opções: " + r.opcoes + "\n";
  t += "Início " + dataHora(r.inicio) + ", fim " + dataHora(r.fim) + " (" + segundos(r.segundos) + ")\n";
  if (const std::string contagens = textoContagens(r); !contagens.empty()) t += "Linhas: " + contagens + "\n";
  if (const std::string alteracoes = textoRelatorio(r.bancos, r.destino); !alteracoes.empty())
    t += "\n" + alteracoes + "\n";
  if (!r.falhas.empty()) {
    t += "\nLinhas com erro (" + milhares(static_cast<long long>(r.falhas.size())) + "):\n";
    for (const FalhaRegistrada& f : r.falhas)
      t += "  " + f.onde + ": " + f.causa + "\n";
  }
  for (size_t i = 0; i < r.copias.size(); ++i) {
    t += "\nCópia de segurança: " + r.copias[i] + "\n";
    if (i < r.restauracoes.size()) t += "Para restaurá-la: " + r.restauracoes[i] + "\n";
  }
  if (!r.relatorio.empty()) t += "\nRelatório desta execução: " + r.relatorio + "\n";
  t.pop_back();
  return t;
}

void gravaRelatorioExecucao(const std::string& caminho, const ResumoExecucao& r) {
  gravaCsv(caminho, [&](std::ostream& f) {
    auto campo = [&](const char* nome, const std::string& valor) {
      f << nome << ';' << campoCsv(valor) << "\r\n";
    };
    campo("Tarefa", r.tarefa);
    campo("Opções", r.opcoes);
    campo("Origem", r.origem);
    campo("Banco", r.banco);
    campo("Início", dataHora(r.inicio));
    campo("Fim", dataHora(r.fim));
    campo("Duração", segundos(r.segundos));
    campo("Resultado", r.desfecho);
    campo("Linhas", textoContagens(r));
    for (size_t i = 0; i < r.copias.size(); ++i) {
      campo("Cópia de segurança", r.copias[i]);
      if (i < r.restauracoes.size()) campo("Restauração", r.restauracoes[i]);
    }
    f << "\r\n";
    escreveRelatorio(f, r.bancos, r.falhas, r.destino);
  });
}

}  // namespace zuv
