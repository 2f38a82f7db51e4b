#include "shell/DiarioExecucoes.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/Texto.h"
#include "shell/LocalDoBanco.h"

namespace zuv {

namespace fs = std::filesystem;

namespace {

struct Tarefa {
  const char* nome;
  const char* origem;  // in the program folder
  const char* tabela;
};

constexpr Tarefa kTarefas[] = {
    {"clientes importar", "clientes.xlsx", "CLIENTE"},
    {"clientes excluir", "", "CLIENTE"},
    {"produtos importar", "produto.xlsx", "PRODUTOESTOQUE"},
    {"fornecedores importar", "fornecedor.XLS", "FORNECEDOR"},
    {"sat importar", "produtosat.xlsx", "PRODUTOESTOQUE"},
    {"nfe importar", "produtosat.xlsx", "PRODUTOESTOQUE"},
    {"zuv copiar", "", "PRODUTOESTOQUE"},
    {"copiar", "", "PRODUTOESTOQUE"},
    {"restaurar", "", ""},
};

const Tarefa* tarefa(const std::string& nome) {
  for (const Tarefa& t : kTarefas)
    if (nome == t.nome) return &t;
  return nullptr;
}

// The records of a CSV (';', '"' quotes, fields may span lines) up to the first empty record.
std::vector<std::vector<std::string>> primeiroBloco(const std::string& texto) {
  std::vector<std::vector<std::string>> registros;
  std::vector<std::string> registro;
  std::string campo;
  bool aspas = false, vazio = true;
  for (size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (aspas) {
      if (c != '"')
        campo += c;
      else if (i + 1 < texto.size() && texto[i + 1] == '"')
        campo += texto[++i];
      else
        aspas = false;
    } else if (c == '"') {
      aspas = true;
      vazio = false;
    } else if (c == ';') {
      registro.push_back(std::move(campo));
      campo.clear();
      vazio = false;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
      if (vazio) break;
      registro.push_back(std::move(campo));
      registros.push_back(std::move(registro));
      campo.clear();
      registro.clear();
      vazio = true;
    } else {
      campo += c;
      vazio = false;
    }
  }
  return registros;
}

// The first line of a text, at most n characters.
std::string resumido(const std::string& texto, size_t n) {
  std::string linha = texto.substr(0, texto.find('\n'));
  if (paraCodigos(linha).size() > n) linha = esquerda(linha, n - 3) + "...";
  return linha;
}

}  // namespace

std::string parteDeArquivo(const std::string& tarefa) {
  std::string s;
  for (char c : tarefa)
    s += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '-';
  return s.empty() ? std::string("execucao") : s;
}

std::string arquivoDoDiario(const LocalDoBanco& local, std::time_t inicio, const std::string& tarefa) {
  std::tm t{};
  localtime_r(&inicio, &t);
  char carimbo[32];
  std::strftime(carimbo, sizeof carimbo, "%Y%m%d_%H%M%S", &t);
  const fs::path pasta = local.subpasta(kPastaRelatorios);
  const std::string base = std::string(carimbo) + "_" + parteDeArquivo(tarefa);
  fs::path arquivo = pasta / (base + ".csv");
  for (int n = 2; fs::exists(arquivo); ++n)
    arquivo = pasta / (base + "_" + std::to_string(n) + ".csv");
  return arquivo.string();
}

std::string origemDaTarefa(const std::string& nome, const std::string& pastaPrograma) {
  const Tarefa* t = tarefa(nome);
  if (t == nullptr || *t->origem == '\0') return {};
  return (fs::path(pastaPrograma) / t->origem).string();
}

std::string tabelaDaTarefa(const std::string& nome) {
  const Tarefa* t = tarefa(nome);
  return t == nullptr ? std::string() : std::string(t->tabela);
}

bool tarefaGrava(const std::string& nome) {
  return tarefa(nome) != nullptr;
}

std::string EntradaDiario::campo(const std::string& nome) const {
  auto it = campos.find(nome);
  return it == campos.end() ? std::string() : it->second;
}

std::vector<EntradaDiario> leDiario(const std::string& pasta, size_t maximo) {
  struct Arquivo {
    fs::path caminho;
    std::string carimbo;  // the name's AAAAMMDD_HHMMSS
    fs::file_time_type hora;
  };
  std::vector<Arquivo> arquivos;
  std::error_code erro;
  for (fs::directory_iterator it(pasta, erro), fim; !erro && it != fim; it.increment(erro))
    if (it->path().extension() == ".csv" && it->is_regular_file())
      arquivos.push_back({it->path(), it->path().filename().string().substr(0, 15), it->last_write_time()});
  // Newest first: by the start in the name, then (runs of the same second) by when each was written.
  std::sort(arquivos.begin(), arquivos.end(), [](const Arquivo& a, const Arquivo& b) {
    return a.carimbo != b.carimbo ? a.carimbo > b.carimbo : a.hora > b.hora;
  });
  std::vector<EntradaDiario> entradas;
  for (const Arquivo& a : arquivos) {
    const fs::path& arquivo = a.caminho;
    if (entradas.size() >= maximo) break;
    std::ifstream f(arquivo, std::ios::binary);
    std::string texto((std::istreambuf_iterator<char>(f)), {});
    if (texto.rfind("\xEF\xBB\xBF", 0) == 0) texto.erase(0, 3);
    EntradaDiario e{arquivo.string(), {}};
    for (const auto& registro : primeiroBloco(texto))
      if (registro.size() >= 2) e.campos[registro[0]] = registro[1];
    if (e.campos.count("Tarefa") == 0) continue;  // another CSV (a --relatorio put here)
    entradas.push_back(std::move(e));
  }
  return entradas;
}

std::string textoHistorico(const std::vector<EntradaDiario>& entradas) {
  std::string texto;
  for (const EntradaDiario& e : entradas) {
    texto += e.campo("Início") + "  " + e.campo("Tarefa") + "  " + resumido(e.campo("Resultado"), 70) + "\n";
    // A run that counts no rows (a restore) shows what it read instead.
    if (const std::string linhas = e.campo("Linhas"); !linhas.empty())
      texto += "    Linhas: " + linhas + "\n";
    else if (!e.campo("Origem").empty())
      texto += "    De " + fs::path(e.campo("Origem")).filename().string() + "\n";
    texto += "    " + e.arquivo + "\n";
  }
  if (!texto.empty()) texto.pop_back();
  return texto;
}

std::string historicoDoBanco(const LocalDoBanco& local, size_t maximo) {
  const std::string pasta = local.subpasta(kPastaRelatorios);
  const std::vector<EntradaDiario> entradas = leDiario(pasta, maximo);
  if (entradas.empty()) return "Nenhuma execução registrada para " + local.banco + " em " + pasta + ".";
  return "Execuções registradas para " + local.banco + " em " + pasta + " (as mais recentes primeiro):\n\n" +
         textoHistorico(entradas);
}

}  // namespace zuv
