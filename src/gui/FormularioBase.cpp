#include "gui/FormularioBase.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "common/ReservaTabelas.h"
#include "shell/DiarioExecucoes.h"
#include "shell/LocalDoBanco.h"
#include "shell/PastaPrograma.h"

namespace zuv {

namespace fs = std::filesystem;

namespace {

// What a window manager adds around a window (title bar and borders), at most.
constexpr int kMolduraJanela = 40;

int g_operacoesAtivas = 0;  // UI thread only
bool g_encerrando = false;

void saiDoLaco() {
  QCoreApplication::exit(0);
}

std::function<void()>& encerramento() {
  static std::function<void()> f = saiDoLaco;
  return f;
}

void encerraSeLivre() {
  if (g_encerrando && g_operacoesAtivas == 0) encerramento()();
}

}  // namespace

void encerraPrograma() {
  g_encerrando = true;
  encerraSeLivre();
}

bool programaEncerrando() {
  return g_encerrando;
}

void defineEncerramento(std::function<void()> f) {
  encerramento() = f ? std::move(f) : saiDoLaco;
  g_encerrando = false;
}

FormularioBase::FormularioBase(QWidget* pai) : QWidget(pai), tela_(this) {}

FormularioBase::~FormularioBase() {
  destruindo_ = true;
  tela_.desliga();
  if (trabalhador_.joinable()) {
    // Normally unreachable (closing waits for the run); at the application's end the run is let
    // finish: its calls to the form return at once and its questions are answered No.
    while (!trabalhadorTerminou_) {
      QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    trabalhador_.join();
  }
  if (ativa_) --g_operacoesAtivas;
}

bool FormularioBase::iniciaOperacao(Operacao op) {
  if (ativa_ || g_encerrando) return false;
  if (trabalhador_.joinable()) trabalhador_.join();
  ativa_ = true;
  ++g_operacoesAtivas;
  desabilitados_.clear();
  for (QAbstractButton* botao : findChildren<QAbstractButton*>()) {
    if (!botao->isEnabled()) continue;
    botao->setEnabled(false);
    desabilitados_.emplace_back(botao);
  }
  trabalhadorTerminou_ = false;
  trabalhador_ = std::thread([this, op = std::move(op)] {
    const Resultado resultado = executaProtegida(op);
    QMetaObject::invokeMethod(
        this,
        [this, resultado] {
          if (!destruindo_) terminaOperacao(resultado);
        },
        Qt::QueuedConnection);
    trabalhadorTerminou_ = true;
  });
  return true;
}

QWidget* FormularioBase::opcoesExecucao() {
  if (seguranca_ != nullptr) return seguranca_;
  seguranca_ = new QGroupBox(QString::fromUtf8("Segurança"), this);
  seguranca_->setObjectName("fraSeguranca");
  tudoOuNada_ = new QCheckBox(QString::fromUtf8("Tudo ou nada"), seguranca_);
  tudoOuNada_->setObjectName("chkTudoOuNada");
  tudoOuNada_->setToolTip(
      QString::fromUtf8("A operação inteira numa transação: gravada só se terminar bem, senão nada muda"));
  simular_ = new QCheckBox(QString::fromUtf8("Simular"), seguranca_);
  simular_->setObjectName("chkSimular");
  simular_->setToolTip(QString::fromUtf8("Executa, mostra o que mudaria e desfaz tudo no fim"));
  semCopia_ = new QCheckBox(QString::fromUtf8("Sem cópia de segurança"), seguranca_);
  semCopia_->setObjectName("chkSemCopia");
  semCopia_->setToolTip(QString::fromUtf8("Não copia o banco antes de uma operação que apaga dados"));
  auto* notas = new QPlainTextEdit(seguranca_);
  notas->setObjectName(kControleNotas);
  notas->setReadOnly(true);
  notas->setMaximumHeight(notas->fontMetrics().lineSpacing() * 7);
  notas->setVisible(false);
  auto* historico = new QPushButton(QString::fromUtf8("Histórico"), seguranca_);
  historico->setObjectName("cmdHistorico");
  historico->setToolTip(
      QString::fromUtf8("As últimas execuções que gravaram neste banco e os seus relatórios"));
  connect(historico, &QPushButton::clicked, this, &FormularioBase::mostraHistorico);
  auto* linha = new QHBoxLayout;
  linha->addWidget(tudoOuNada_);
  linha->addWidget(simular_);
  linha->addWidget(semCopia_);
  linha->addStretch(1);
  linha->addWidget(historico);
  auto* coluna = new QVBoxLayout(seguranca_);
  coluna->setContentsMargins(6, 2, 6, 2);
  coluna->addLayout(linha);
  coluna->addWidget(notas);
  // As tall as its contents: the room a form has to spare goes to its own lists, not here.
  seguranca_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  return seguranca_;
}

OpcoesExecucao FormularioBase::opcoesEscolhidas() const {
  OpcoesExecucao o;
  if (seguranca_ == nullptr) return o;
  o.atomico = tudoOuNada_->isChecked();
  o.simular = simular_->isChecked();
  o.semCopia = semCopia_->isChecked();
  return o;
}

std::string FormularioBase::opcoesMarcadas() const {
  std::string texto;
  for (const QAbstractButton* b : findChildren<QAbstractButton*>())
    if (b->isCheckable() && b->isChecked() && !b->text().isEmpty())
      texto += (texto.empty() ? "" : ", ") + b->text().toStdString();
  return "formulário " + objectName().toStdString() + (texto.empty() ? "" : ": " + texto);
}

bool FormularioBase::iniciaExecucao(std::string tarefa, Execucao execucao, std::function<Conexao*()> conexao,
                                    std::vector<std::string> reservadas) {
  if (ativa_ || programaEncerrando()) return false;
  if (auto* notas = findChild<QPlainTextEdit*>(kControleNotas)) {
    notas->clear();
    notas->setVisible(false);
  }
  auto resumo = std::make_shared<std::optional<ResumoExecucao>>();
  const bool iniciada =
      iniciaOperacao([opcoes = opcoesEscolhidas(), pasta = pastaPrograma(), tarefa = std::move(tarefa),
                      dadas = opcoesMarcadas(), execucao = std::move(execucao), conexao = std::move(conexao),
                      reservadas = std::move(reservadas), resumo](Tela& tela) {
        ReservaTabelas reserva(
            reservadas, [&] { tela.nota("Aguardando outra operação que grava nas mesmas tabelas..."); });
        Conexao* zuv = conexao ? conexao() : nullptr;
        ContextoExecucao ctx(tela, pasta, opcoes);
        if (zuv != nullptr) ctx.usaConexao(*zuv);
        ctx.descreve(tarefa, dadas);
        ctx.aoTerminar([resumo](const ResumoExecucao& r) { *resumo = r; });
        return executaNoContexto(ctx, execucao);
      });
  if (iniciada) resumo_ = std::move(resumo);
  return iniciada;
}

// executaOperacao turns the errors it knows into outcomes; anything else is told here so that it
// never escapes a worker thread.
Resultado FormularioBase::executaProtegida(const Operacao& op) {
  try {
    return executaOperacao(tela_, op);
  } catch (...) {
    const char* texto = "A operação terminou com um erro inesperado.";
    tela_.mensagem(texto, Icone::Exclamacao, {});
    return Resultado::falhou(texto);
  }
}

void FormularioBase::terminaOperacao(const Resultado& resultado) {
  trabalhador_.join();
  ativa_ = false;
  --g_operacoesAtivas;
  tela_.restauraCursor();
  for (const auto& botao : desabilitados_)
    if (botao) botao->setEnabled(true);
  desabilitados_.clear();
  emit operacaoTerminada();
  trataResultado(resultado);
  // The window may be gone after this (close with WA_DeleteOnClose deletes it later).
  if (fecharAoTerminar_) close();
  encerraSeLivre();
}

void FormularioBase::trataResultado(const Resultado& resultado) {
  operacaoConcluida(resultado);
  if (resultado.desfecho != Resultado::Desfecho::EncerrarPrograma) return;
  // What the run did stays in front of the person until they close it; then the program ends.
  if (resumo_ && *resumo_) {
    const ResumoExecucao& r = **resumo_;
    const std::string pasta =
        r.relatorio.empty() ? std::string() : fs::path(r.relatorio).parent_path().string();
    caixasDialogo().janelaTexto(this, QString::fromStdString("Resumo da execução: " + r.tarefa),
                                QString::fromStdString(textoFimDeExecucao(r)), QString::fromStdString(pasta));
  }
  encerraPrograma();
}

void FormularioBase::mostraHistorico() {
  std::string texto, pasta;
  try {
    const std::string banco = bancoDoHistorico();
    const LocalDoBanco local =
        banco.empty() ? localDoBancoZUV(pastaPrograma()) : localDoBanco(banco, pastaPrograma());
    pasta = local.subpasta(kPastaRelatorios);
    texto = historicoDoBanco(local, 50);
  } catch (const std::exception& e) {
    texto = e.what();
  }
  if (!fs::is_directory(pasta)) pasta.clear();
  caixasDialogo().janelaTexto(this, QString::fromUtf8("Histórico"), QString::fromStdString(texto),
                              QString::fromStdString(pasta));
}

Resultado FormularioBase::executaOperacaoAgora(const Operacao& op) {
  const Resultado resultado = executaProtegida(op);
  tela_.restauraCursor();
  trataResultado(resultado);
  return resultado;
}

void FormularioBase::aguardaOperacao() {
  if (!ativa_) return;
  QEventLoop laco;
  connect(this, &FormularioBase::operacaoTerminada, &laco, &QEventLoop::quit);
  laco.exec();
}

void FormularioBase::showEvent(QShowEvent* evento) {
  QWidget::showEvent(evento);
  if (ajustadoATela_ || screen() == nullptr) return;
  ajustadoATela_ = true;
  // A form sized for a large screen still fits a small one (a 1366x768 laptop with its panel):
  // never taller or wider than the screen's free area less the window's title bar and borders.
  const QRect livre = screen()->availableGeometry();
  const int largura = std::min(width(), livre.width() - kMolduraJanela);
  const int altura = std::min(height(), livre.height() - kMolduraJanela);
  if (largura != width() || altura != height()) resize(largura, altura);
}

void FormularioBase::closeEvent(QCloseEvent* evento) {
  if (!ativa_) {
    evento->accept();
    return;
  }
  evento->ignore();
  if (fecharAoTerminar_) return;  // already asked; the window closes when the run ends
  fecharAoTerminar_ =
      caixasDialogo().pergunta(this, QString::fromUtf8(kPerguntaFecharEmOperacao), Icone::Pergunta,
                               tituloDaCaixa(windowTitle().toStdString()), Padrao::Sim);
}

}  // namespace zuv
