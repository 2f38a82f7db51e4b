#pragma once
// A recording interaction for tests: keeps every message, question, progress value and list item,
// and answers questions from a script (Yes when the script is empty, unless told otherwise).
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "common/Tela.h"

namespace zuv::teste {

class TelaGravadora : public Tela {
 public:
  struct Mensagem {
    std::string texto;
    Icone icone;
    std::string titulo;
  };
  std::vector<Mensagem> mensagens;
  std::vector<Mensagem> perguntas;
  std::deque<bool> respostas;  // answers in order; when empty, respostaPadrao
  bool respostaPadrao = true;
  std::vector<int> progressos;
  std::vector<bool> cursores;
  std::map<std::string, bool> visiveis;
  std::map<std::string, std::string> textos;
  std::map<std::string, std::vector<std::string>> itens;

  void mensagem(const std::string& texto, Icone icone, const std::string& titulo) override {
    mensagens.push_back({texto, icone, titulo});
  }
  bool pergunta(const std::string& texto, Icone icone, const std::string& titulo) override {
    perguntas.push_back({texto, icone, titulo});
    if (respostas.empty()) return respostaPadrao;
    bool r = respostas.front();
    respostas.pop_front();
    return r;
  }
  void progresso(int valor) override { progressos.push_back(valor); }
  void cursorEspera(bool ligado) override { cursores.push_back(ligado); }
  void mostraControle(const std::string& controle, bool visivel) override { visiveis[controle] = visivel; }
  void defineTexto(const std::string& controle, const std::string& texto) override {
    textos[controle] = texto;
  }
  void adicionaItem(const std::string& controle, const std::string& item) override {
    itens[controle].push_back(item);
  }
  std::vector<std::string> textosDasMensagens() const {
    std::vector<std::string> r;
    for (const auto& m : mensagens)
      r.push_back(m.texto);
    return r;
  }
};

}  // namespace zuv::teste
