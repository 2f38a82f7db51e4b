#include "shell/FrmMenu.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

#include "gui/Aplicacao.h"
#include "shell/Menu.h"

namespace zuv {

namespace {

QString q(const char* texto) {
  return QString::fromUtf8(texto);
}

std::map<std::string, FabricaFormulario>& fabricas() {
  static std::map<std::string, FabricaFormulario> f;
  return f;
}

std::map<std::string, QPointer<QWidget>>& instancias() {
  static std::map<std::string, QPointer<QWidget>> i;
  return i;
}

const OpcaoMenu* opcaoDoBotao(const std::string& botao) {
  for (const OpcaoMenu& o : opcoesMenu())
    if (botao == o.botao) return &o;
  return nullptr;
}

// Stands in for a task form that this version does not have yet.
QWidget* criaSubstituto(const std::string& botao) {
  const OpcaoMenu* opcao = opcaoDoBotao(botao);
  auto* janela = new QWidget;
  janela->setObjectName(opcao != nullptr ? q(opcao->formulario) : QString::fromStdString(botao));
  janela->setWindowTitle(opcao != nullptr ? q(opcao->legenda) : QString::fromStdString(botao));
  auto* layout = new QVBoxLayout(janela);
  auto* aviso = new QLabel(q("Esta tarefa ainda não está disponível nesta versão."), janela);
  aviso->setObjectName("lblAviso");
  layout->addWidget(aviso);
  auto* sair = new QPushButton(q("Sair"), janela);
  sair->setObjectName("cmdSair");
  QObject::connect(sair, &QPushButton::clicked, janela, &QWidget::close);
  layout->addWidget(sair, 0, Qt::AlignRight);
  return janela;
}

}  // namespace

bool FrmMenu::registraFormulario(const std::string& botao, FabricaFormulario fabrica) {
  if (fabrica)
    fabricas()[botao] = std::move(fabrica);
  else
    fabricas().erase(botao);
  return true;
}

QWidget* FrmMenu::formularioAberto(const std::string& botao) {
  auto it = instancias().find(botao);
  return it == instancias().end() ? nullptr : it->second.data();
}

QWidget* FrmMenu::abreFormulario(const std::string& botao) {
  if (programaEncerrando()) return nullptr;
  QPointer<QWidget>& instancia = instancias()[botao];
  if (instancia.isNull()) {
    auto fabrica = fabricas().find(botao);
    // The form's constructor is its load step: it may connect, and may end the program.
    QWidget* novo = fabrica != fabricas().end() ? fabrica->second() : criaSubstituto(botao);
    novo->setParent(nullptr);
    novo->setAttribute(Qt::WA_DeleteOnClose);
    novo->setWindowModality(Qt::NonModal);
    instancia = novo;
    if (programaEncerrando()) return instancia.data();
  }
  QWidget* janela = instancia.data();
  if (janela == nullptr) return nullptr;
  janela->setWindowState(janela->windowState() & ~Qt::WindowMinimized);
  janela->show();
  janela->raise();
  janela->activateWindow();
  return janela;
}

FrmMenu::FrmMenu(QWidget* pai) : QWidget(pai) {
  setObjectName("FrmMenu");
  setWindowTitle(QString::fromStdString(tituloMenuComData(Data::hoje(), separadorDataDoAmbiente())));

  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(10);
  layout->setContentsMargins(14, 14, 14, 14);
  std::vector<QPushButton*> botoes;
  int moldura = 0;
  for (const OpcaoMenu& opcao : opcoesMenu()) {
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QString("Frame%1").arg(++moldura));
    auto* linha = new QHBoxLayout(frame);
    linha->setSpacing(14);
    auto* botao = new QPushButton(q(opcao.legenda), frame);
    botao->setObjectName(q(opcao.botao));
    botao->setMinimumHeight(40);
    auto* rotulo = new QLabel(q(opcao.rotulo), frame);
    rotulo->setObjectName(QString("Label%1").arg(moldura));
    rotulo->setWordWrap(true);
    rotulo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    linha->addWidget(botao);
    linha->addWidget(rotulo, 1);
    layout->addWidget(frame);
    const std::string chave = opcao.botao;
    connect(botao, &QPushButton::clicked, this, [chave] { abreFormulario(chave); });
    botoes.push_back(botao);
  }
  // All buttons as wide as the widest caption, so that the labels line up.
  int largura = 0;
  for (QPushButton* b : botoes)
    largura = std::max(largura, b->sizeHint().width() + 24);
  for (QPushButton* b : botoes)
    b->setFixedWidth(largura);
  resize(largura + 540, sizeHint().height());
}

}  // namespace zuv
