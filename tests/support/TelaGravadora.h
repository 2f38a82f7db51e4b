#pragma once
// A recording interaction for tests: keeps every message, question, progress value and list item,
// and answers questions from a script (Yes when the script is empty, unless told otherwise).
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/Tela.h"

namespace zuv::teste {

class TelaGravadora : public Tela {
 public:
  struct Mensagem {
    std::string texto;
    Icone icone;
    std::string titulo;
    Padrao padrao = Padrao::Sim;
  };
  std::vector<Mensagem> mensagens, perguntas;
  std::deque<bool> respostas;  // answers in order; when empty, respostaPadrao
  bool respostaPadrao = true;
  std::vector<int> progressos;
  std::vector<std::pair<long long, long long>> linhas;  // progressoLinhas: rows done, total
  std::vector<bool> cursores;
  std::map<std::string, bool> visiveis;
  std::map<std::string, std::string> textos;
  std::map<std::string, std::vector<std::string>> itens;
  std::vector<std::string> arquivos;  // files shown to the person
  std::vector<std::string> notas;     // side information (backup, change report)
  // Every call in order, one line each ("mensagem: FIM", "pergunta: ... -> sim", "progresso: 50",
  // "cursor: on", "mostra: Trm", "esconde: Trm", "texto: lbl = x", "item: lst = x", "limpa: lst",
  // "arquivo: /p/x.xlsx"; notes are kept apart in notas, so that a run's own sequence stays as it
  // was), for tests of the order of what a run says.
  std::vector<std::string> eventos;

  void mensagem(const std::string& texto, Icone icone, const std::string& titulo) override {
    mensagens.push_back({texto, icone, titulo});
    eventos.push_back("mensagem: " + texto);
  }
  bool pergunta(const std::string& texto, Icone icone, const std::string& titulo, Padrao padrao) override {
    perguntas.push_back({texto, icone, titulo, padrao});
    const bool r = respostas.empty() ? respostaPadrao : respostas.front();
    if (!respostas.empty()) respostas.pop_front();
    eventos.push_back("pergunta: " + texto + (r ? " -> sim" : " -> nao"));
    return r;
  }
  void progresso(int valor) override {
    progressos.push_back(valor);
    eventos.push_back("progresso: " + std::to_string(valor));
  }
  // Every call in linhas; the bar's value in progressos (and eventos) when it changes, as a form
  // shows it.
  void progressoLinhas(int valor, long long feitas, long long total) override {
    linhas.emplace_back(feitas, total);
    const int v = feitas >= total ? 100 : valor;
    if (progressos.empty() || progressos.back() != v) progresso(v);
  }
  void cursorEspera(bool ligado) override {
    cursores.push_back(ligado);
    eventos.push_back(ligado ? "cursor: on" : "cursor: off");
  }
  void mostraControle(const std::string& controle, bool visivel) override {
    visiveis[controle] = visivel;
    eventos.push_back((visivel ? "mostra: " : "esconde: ") + controle);
  }
  void defineTexto(const std::string& controle, const std::string& texto) override {
    textos[controle] = texto;
    eventos.push_back("texto: " + controle + " = " + texto);
  }
  void adicionaItem(const std::string& controle, const std::string& item) override {
    itens[controle].push_back(item);
    eventos.push_back("item: " + controle + " = " + item);
  }
  void limpaItens(const std::string& controle) override {
    itens[controle].clear();
    eventos.push_back("limpa: " + controle);
  }
  void mostraArquivo(const std::string& caminho) override {
    arquivos.push_back(caminho);
    eventos.push_back("arquivo: " + caminho);
  }
  void nota(const std::string& texto) override { notas.push_back(texto); }
  std::vector<std::string> textosDasMensagens() const {
    std::vector<std::string> r;
    for (const auto& m : mensagens)
      r.push_back(m.texto);
    return r;
  }
};

}  // namespace zuv::teste
