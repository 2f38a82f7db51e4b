#pragma once
// The dialog boxes of the forms replaced for a form test (header-only: only Qt tests include it):
// every message and question recorded in order, each question answered with resposta; the text
// windows, the files opened and the ends of the program recorded too. The real ones come back
// when the object goes.
#include <QThread>
#include <optional>
#include <string>
#include <vector>

#include "gui/Aplicacao.h"
#include "gui/FormularioBase.h"
#include "gui/TelaQt.h"
#include "support/AplicacaoQt.h"

namespace zuv::teste {

struct CaixasGravadas {
  struct Caixa {
    std::string texto, titulo;
    Icone icone;
    std::optional<Padrao> padrao;  // a question's default button; none for a message
    bool operator==(const Caixa&) const = default;
  };
  std::vector<Caixa> todas;
  std::vector<std::string> janelas;  // each text window: its title, a line break, its text
  std::vector<std::string> pastas;   // the folder each text window offers to open
  std::vector<std::string> abertos;  // files opened with the desktop's program
  bool resposta = true;
  bool foraDaTela = false;  // a box was called off the UI thread
  int encerramentos = 0;

  CaixasGravadas() {
    aplicacaoQt();
    caixasDialogo().mensagem = [this](QWidget*, const QString& t, Icone i, const QString& ti) {
      grava({t.toStdString(), ti.toStdString(), i, std::nullopt});
    };
    caixasDialogo().pergunta = [this](QWidget*, const QString& t, Icone i, const QString& ti, Padrao p) {
      grava({t.toStdString(), ti.toStdString(), i, p});
      return resposta;
    };
    caixasDialogo().janelaTexto = [this](QWidget*, const QString& ti, const QString& t, const QString& p) {
      janelas.push_back((ti + "\n" + t).toStdString());
      pastas.push_back(p.toStdString());
    };
    caixasDialogo().abreArquivo = [this](const QString& c) {
      abertos.push_back(c.toStdString());
      return true;
    };
    defineEncerramento([this] { ++encerramentos; });
  }
  ~CaixasGravadas() {
    caixasDialogo() = caixasPadrao();
    defineEncerramento({});
  }
  CaixasGravadas(const CaixasGravadas&) = delete;
  CaixasGravadas& operator=(const CaixasGravadas&) = delete;

  // The texts in order; comTitulo adds " | title" and, to a question, its default " [Sim]" or " [Não]".
  std::vector<std::string> textos(bool comTitulo = false) const {
    std::vector<std::string> r;
    for (const Caixa& c : todas)
      r.push_back(!comTitulo ? c.texto
                             : c.texto + " | " + c.titulo +
                                   (!c.padrao                  ? ""
                                    : *c.padrao == Padrao::Nao ? " [Não]"
                                                               : " [Sim]"));
    return r;
  }

 private:
  void grava(Caixa c) {
    foraDaTela = foraDaTela || QThread::currentThread() != qApp->thread();
    todas.push_back(std::move(c));
  }
};

namespace qt {
// Clicks a form's button by name and waits for the run it started.
inline void clica(FormularioBase& form, const char* botao) {
  controle(form, botao)->click();
  form.aguardaOperacao();
}
}  // namespace qt

}  // namespace zuv::teste
