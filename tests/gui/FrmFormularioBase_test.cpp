// The form base and TelaQt: runs on a worker thread, calls carried to the UI thread, one run at a
// time, buttons disabled while it runs, closing during a run, and the end of the program.
#include "gui/FormularioBase.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <chrono>
#include <deque>
#include <thread>

#include "common/Erro.h"
#include "support/AplicacaoQt.h"

namespace zuv {
namespace {

using teste::aplicacaoQt;
using teste::processaExclusoes;

class FormTeste : public FormularioBase {
 public:
  FormTeste() {
    setWindowTitle("ZUV ATUALIZAÇÃO DE DADOS");
    auto* layout = new QVBoxLayout(this);
    cmdProd = new QPushButton("Iniciar", this);
    cmdProd->setObjectName("cmdProd");
    cmdSair = new QPushButton("Sair", this);
    cmdSair->setObjectName("cmdSair");
    chkDesligado = new QCheckBox("desligado", this);
    chkDesligado->setEnabled(false);
    Trm = new QProgressBar(this);
    Trm->setObjectName("Trm");
    Trm->setRange(0, 100);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    lstCliente = new QListWidget(this);
    lstCliente->setObjectName("lstCliente");
    for (QWidget* w :
         std::initializer_list<QWidget*>{cmdProd, cmdSair, chkDesligado, Trm, Label1, lstCliente})
      layout->addWidget(w);
  }
  QPushButton* cmdProd;
  QPushButton* cmdSair;
  QCheckBox* chkDesligado;
  QProgressBar* Trm;
  QLabel* Label1;
  QListWidget* lstCliente;
  std::vector<Resultado> concluidas;

 protected:
  void operacaoConcluida(const Resultado& r) override { concluidas.push_back(r); }
};

// Replaces the dialog boxes: records each call with the thread it ran on, answers from a script.
class FormularioBaseTest : public ::testing::Test {
 protected:
  struct Caixa {
    QString texto;
    Icone icone;
    QString titulo;
    bool naThreadDaTela;
  };
  std::vector<Caixa> mensagens, perguntas;
  std::deque<bool> respostas;
  std::vector<QString> abertos;
  bool abreArquivo = true;
  std::function<void()> aoMostrar;  // runs inside a message box (UI thread)
  int encerramentos = 0;

  void SetUp() override {
    aplicacaoQt();
    auto& c = caixasDialogo();
    c.mensagem = [this](QWidget*, const QString& t, Icone i, const QString& ti) {
      mensagens.push_back({t, i, ti, QThread::currentThread() == qApp->thread()});
      if (aoMostrar) aoMostrar();
    };
    c.pergunta = [this](QWidget*, const QString& t, Icone i, const QString& ti) {
      perguntas.push_back({t, i, ti, QThread::currentThread() == qApp->thread()});
      bool r = respostas.empty() ? false : respostas.front();
      if (!respostas.empty()) respostas.pop_front();
      return r;
    };
    c.abreArquivo = [this](const QString& caminho) {
      abertos.push_back(caminho);
      return abreArquivo;
    };
    defineEncerramento([this] { ++encerramentos; });
  }
  void TearDown() override {
    caixasDialogo() = caixasPadrao();
    defineEncerramento([] {});
    processaExclusoes();
  }
};

TEST_F(FormularioBaseTest, OperacaoRodaForaDaTelaEAsChamadasNaTelaAPerguntaEsperaAResposta) {
  FormTeste form;
  form.show();
  respostas = {true};
  std::atomic<bool> naThreadDaTela{true};
  std::atomic<int> resposta{-1};
  ASSERT_TRUE(form.iniciaOperacao([&](Tela& tela) {
    naThreadDaTela = QThread::currentThread() == qApp->thread();
    resposta = tela.pergunta("Atualizar o Cadastro de Cliente", Icone::Pergunta, "ZUV ATUALIZAÇÃO DE DADOS");
    tela.mensagem("FIM", Icone::Nenhum, {});
    return Resultado::concluido();
  }));
  form.aguardaOperacao();
  EXPECT_FALSE(naThreadDaTela);
  EXPECT_EQ(resposta, 1);
  ASSERT_EQ(perguntas.size(), 1u);
  EXPECT_TRUE(perguntas[0].naThreadDaTela);
  EXPECT_EQ(perguntas[0].titulo, QString::fromUtf8("ZUV ATUALIZAÇÃO DE DADOS"));
  ASSERT_EQ(mensagens.size(), 1u);
  EXPECT_TRUE(mensagens[0].naThreadDaTela);
  EXPECT_EQ(mensagens[0].titulo, "ImportadorZUV");  // empty title
  EXPECT_EQ(form.concluidas, std::vector<Resultado>{Resultado::concluido()});
}

TEST_F(FormularioBaseTest, UmaOperacaoPorVezComOsBotoesDesabilitados) {
  FormTeste form;
  std::atomic<bool> liberada{false};
  bool habilitadosDurante = true;
  aoMostrar = [&] { habilitadosDurante = form.cmdProd->isEnabled() || form.cmdSair->isEnabled(); };
  ASSERT_TRUE(form.iniciaOperacao([&](Tela& tela) {
    tela.mensagem("rodando", Icone::Nenhum, {});
    while (!liberada)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return Resultado::concluido();
  }));
  EXPECT_FALSE(form.iniciaOperacao([](Tela&) { return Resultado::concluido(); }));
  EXPECT_FALSE(form.cmdProd->isEnabled());
  liberada = true;
  form.aguardaOperacao();
  EXPECT_FALSE(habilitadosDurante);
  EXPECT_TRUE(form.cmdProd->isEnabled());
  EXPECT_TRUE(form.cmdSair->isEnabled());
  EXPECT_FALSE(form.chkDesligado->isEnabled()) << "a control disabled before the run stays so";
  EXPECT_TRUE(form.iniciaOperacao([](Tela&) { return Resultado::concluido(); }));
  form.aguardaOperacao();
}

TEST_F(FormularioBaseTest, ControlesDoFormularioPeloNome) {
  FormTeste form;
  form.Trm->setVisible(false);
  form.show();
  ASSERT_TRUE(form.iniciaOperacao([](Tela& tela) {
    tela.mostraControle("Trm", true);
    tela.progresso(40);
    tela.progresso(250);  // kept within the bar
    tela.defineTexto("Label1", "Gerar Planilha <b>");
    tela.adicionaItem("lstCliente", "7 - JOSE");
    tela.adicionaItem("lstCliente", "9 - MARIA");
    tela.cursorEspera(true);
    tela.cursorEspera(true);  // not stacked
    tela.mensagem("esperando", Icone::Nenhum, {});
    tela.mostraArquivo("/pasta/produtosat.xlsx");
    return Resultado::concluido();
  }));
  bool cursorDeEspera = false;
  aoMostrar = [&] {
    cursorDeEspera = QApplication::overrideCursor() != nullptr &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor;
  };
  form.aguardaOperacao();
  EXPECT_TRUE(cursorDeEspera);
  EXPECT_TRUE(form.Trm->isVisible());
  EXPECT_EQ(form.Trm->value(), 100);
  EXPECT_EQ(form.Label1->text(), "Gerar Planilha <b>");
  ASSERT_EQ(form.lstCliente->count(), 2);
  EXPECT_EQ(form.lstCliente->item(1)->text(), "9 - MARIA");
  EXPECT_EQ(abertos, std::vector<QString>{"/pasta/produtosat.xlsx"});
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor ends with the run";

  ASSERT_TRUE(form.iniciaOperacao([](Tela& tela) {
    tela.limpaItens("lstCliente");
    return Resultado::concluido();
  }));
  form.aguardaOperacao();
  EXPECT_EQ(form.lstCliente->count(), 0);
}

TEST_F(FormularioBaseTest, ArquivoQueNaoAbreDizOndeFoiSalvo) {
  FormTeste form;
  abreArquivo = false;
  form.executaOperacaoAgora([](Tela& tela) {
    tela.mostraArquivo("/pasta/produto.xlsx");
    return Resultado::concluido();
  });
  ASSERT_EQ(mensagens.size(), 1u);
  EXPECT_TRUE(mensagens[0].texto.contains("/pasta/produto.xlsx"));
}

TEST_F(FormularioBaseTest, ErrosQueEscapamDaOperacaoViramMensagemEFalha) {
  FormTeste form;
  ASSERT_TRUE(form.iniciaOperacao([](Tela&) -> Resultado { throw ErroPlanilha("arquivo corrompido"); }));
  form.aguardaOperacao();
  ASSERT_TRUE(form.iniciaOperacao([](Tela&) -> Resultado { throw 42; }));
  form.aguardaOperacao();
  ASSERT_EQ(mensagens.size(), 2u);
  EXPECT_EQ(mensagens[0].texto, "arquivo corrompido");
  EXPECT_EQ(mensagens[0].icone, Icone::Exclamacao);
  ASSERT_EQ(form.concluidas.size(), 2u);
  EXPECT_EQ(form.concluidas[0], Resultado::falhou("arquivo corrompido"));
  EXPECT_EQ(form.concluidas[1].desfecho, Resultado::Desfecho::Falhou);
  EXPECT_TRUE(form.cmdProd->isEnabled());
}

TEST_F(FormularioBaseTest, FimDoProgramaEsperaAsOperacoesDosOutrosFormularios) {
  FormTeste longo, curto;
  std::atomic<bool> liberada{false};
  ASSERT_TRUE(longo.iniciaOperacao([&](Tela&) {
    while (!liberada)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return Resultado::concluido();
  }));
  ASSERT_TRUE(curto.iniciaOperacao([](Tela&) -> Resultado { throw FimDoPrograma{}; }));
  curto.aguardaOperacao();
  EXPECT_EQ(encerramentos, 0) << "another form is still writing";
  EXPECT_TRUE(programaEncerrando());
  EXPECT_FALSE(curto.iniciaOperacao([](Tela&) { return Resultado::concluido(); }))
      << "no new run while ending";
  liberada = true;
  longo.aguardaOperacao();
  EXPECT_EQ(encerramentos, 1);
}

TEST_F(FormularioBaseTest, FecharDuranteAOperacaoPerguntaEFechaSoQuandoElaTermina) {
  auto* form = new FormTeste;
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->show();
  QPointer<FormTeste> vivo = form;
  std::atomic<bool> liberada{false};
  std::atomic<int> linhasGravadas{0};
  ASSERT_TRUE(form->iniciaOperacao([&](Tela&) {
    while (!liberada)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    for (int i = 0; i < 5; ++i)
      ++linhasGravadas;
    return Resultado::concluido();
  }));

  respostas = {false};
  form->close();
  processaExclusoes();
  ASSERT_FALSE(vivo.isNull());
  EXPECT_TRUE(form->isVisible());
  ASSERT_EQ(perguntas.size(), 1u);
  EXPECT_EQ(perguntas[0].texto, QString::fromUtf8(kPerguntaFecharEmOperacao));

  respostas = {true};
  form->close();
  processaExclusoes();
  ASSERT_FALSE(vivo.isNull()) << "the run is still going";
  EXPECT_TRUE(form->isVisible());
  form->close();  // asked already: not asked again
  EXPECT_EQ(perguntas.size(), 2u);

  liberada = true;
  form->aguardaOperacao();
  processaExclusoes();
  EXPECT_TRUE(vivo.isNull());
  EXPECT_EQ(linhasGravadas, 5) << "the run completed";
}

TEST_F(FormularioBaseTest, FormularioDestruidoDuranteAOperacaoNaoTravaERespondeNao) {
  auto* form = new FormTeste;
  std::atomic<int> resposta{-1};
  ASSERT_TRUE(form->iniciaOperacao([&](Tela& tela) {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    resposta = tela.pergunta("Continuar?", Icone::Pergunta, {});
    tela.mensagem("depois", Icone::Nenhum, {});
    return Resultado::concluido();
  }));
  delete form;
  EXPECT_EQ(resposta, 0);
  EXPECT_TRUE(perguntas.empty());
  EXPECT_TRUE(mensagens.empty());
}

TEST(TelaQtCaixas, PerguntaComACaixaDeVerdade) {
  aplicacaoQt();
  caixasDialogo() = caixasPadrao();
  FormTeste form;
  form.show();
  QString titulo, texto;
  QMessageBox::Icon icone = QMessageBox::NoIcon;
  std::function<void()> responde = [&] {
    auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (caixa == nullptr) {
      QTimer::singleShot(10, responde);
      return;
    }
    titulo = caixa->windowTitle();
    texto = caixa->text();
    icone = caixa->icon();
    caixa->button(QMessageBox::No)->click();
  };
  QTimer::singleShot(10, responde);
  std::atomic<int> resposta{-1};
  ASSERT_TRUE(form.iniciaOperacao([&](Tela& tela) {
    resposta = tela.pergunta("Excluir Base de dados de Cliente do ZUV", Icone::Pergunta, {});
    return Resultado::concluido();
  }));
  form.aguardaOperacao();
  EXPECT_EQ(resposta, 0);
  EXPECT_EQ(titulo, "ImportadorZUV");
  EXPECT_EQ(texto, "Excluir Base de dados de Cliente do ZUV");
  EXPECT_EQ(icone, QMessageBox::Question);
}

}  // namespace
}  // namespace zuv
