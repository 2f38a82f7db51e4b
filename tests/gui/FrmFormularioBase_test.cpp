// The form base: runs on a worker thread with calls carried to the UI thread, one run at a time
// with the buttons disabled, errors that escape a run, closing during a run, the end of the program;
// and every window of the program fits a small laptop screen.
#include "gui/FormularioBase.h"

#include <gtest/gtest.h>

#include <QtWidgets>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "common/Erro.h"
#include "customers/FrmClientes.h"
#include "dbcopy/FrmZUVdeZUVProduto.h"
#include "fiscal/FrmVerificacaoFiscal.h"
#include "gui/JanelaTexto.h"
#include "migration/FrmMigracaoPadrao.h"
#include "shell/FrmMenu.h"
#include "shell/PastaPrograma.h"
#include "support/BancoDeTeste.h"
#include "support/CaixasGravadas.h"
#include "tax/FrmAtuProdutoNCMCFOP.h"
#include "tax/FrmAtuProdutoNFE.h"

namespace zuv {
namespace {

class FormTeste : public FormularioBase {
 public:
  QPushButton* cmdProd = new QPushButton("Iniciar", this);
  QCheckBox* chkDesligado = new QCheckBox("desligado", this);
  std::vector<Resultado> concluidas;
  void operacaoConcluida(const Resultado& r) override { concluidas.push_back(r); }
};

const Operacao nada = [](Tela&) { return Resultado::concluido(); };

// A run that waits until liberada is set.
Operacao esperaLiberar(std::atomic<bool>& liberada) {
  return [&liberada](Tela&) {
    while (!liberada)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return Resultado::concluido();
  };
}

class FormularioBaseTest : public ::testing::Test {
 protected:
  using Caixa = teste::CaixasGravadas::Caixa;
  void TearDown() override { teste::processaExclusoes(); }
  teste::CaixasGravadas caixas;
};

TEST_F(FormularioBaseTest, RodaForaDaTelaUmaPorVezEErrosViramMensagemEFalha) {
  FormTeste form;
  form.chkDesligado->setEnabled(false);
  std::atomic<bool> liberada{false};
  std::atomic<int> respondeu{-1};
  ASSERT_TRUE(form.iniciaOperacao([&](Tela& tela) {
    EXPECT_NE(QThread::currentThread(), qApp->thread());
    respondeu = tela.pergunta("Atualizar o Cadastro", Icone::Pergunta, "ZUV");
    tela.mensagem("FIM", Icone::Nenhum, {});
    return esperaLiberar(liberada)(tela);
  }));
  EXPECT_FALSE(form.iniciaOperacao(nada));
  EXPECT_FALSE(form.cmdProd->isEnabled());
  liberada = true;
  form.aguardaOperacao();
  EXPECT_EQ(respondeu, 1) << "the run waits for the answer";
  EXPECT_FALSE(caixas.foraDaTela);
  EXPECT_EQ(caixas.todas, (std::vector<Caixa>{{"Atualizar o Cadastro", "ZUV", Icone::Pergunta, Padrao::Sim},
                                              {"FIM", "ImportadorZUV", Icone::Nenhum, {}}}));  // no title
  EXPECT_FALSE(form.chkDesligado->isEnabled()) << "a control disabled before the run stays so";
  EXPECT_EQ(form.concluidas, std::vector<Resultado>{Resultado::concluido()});

  // Errors that escape a run become a message and a failure.
  caixas.todas.clear();
  ASSERT_TRUE(form.iniciaOperacao([](Tela&) -> Resultado { throw ErroPlanilha("arquivo corrompido"); }));
  form.aguardaOperacao();
  ASSERT_TRUE(form.iniciaOperacao([](Tela&) -> Resultado { throw 42; }));
  form.aguardaOperacao();
  ASSERT_EQ(caixas.todas.size(), 2u);
  EXPECT_EQ(caixas.todas[0], (Caixa{"arquivo corrompido", "ImportadorZUV", Icone::Exclamacao, {}}));
  EXPECT_EQ(form.concluidas.at(1), Resultado::falhou("arquivo corrompido"));
  EXPECT_EQ(form.concluidas.at(2).desfecho, Resultado::Desfecho::Falhou);
  EXPECT_TRUE(form.cmdProd->isEnabled()) << "buttons back after a failed run";
}

// A run through rows: the bar follows the run's own value and is full once every row is done.
TEST_F(FormularioBaseTest, ABarraTerminaCheiaQuandoTodasAsLinhasForamFeitas) {
  FormTeste form;
  auto* barra = new QProgressBar(&form);
  barra->setObjectName("Trm");
  std::vector<int> valores;
  ASSERT_TRUE(form.iniciaOperacao([&](Tela& tela) {
    for (long long feitas = 1; feitas <= 3; ++feitas) {
      tela.progressoLinhas(static_cast<int>((feitas - 1) * (100.0 / 3)), feitas, 3);  // one row behind
      QMetaObject::invokeMethod(
          barra, [&] { valores.push_back(barra->value()); }, Qt::BlockingQueuedConnection);
    }
    return Resultado::concluido();
  }));
  form.aguardaOperacao();
  EXPECT_EQ(valores, (std::vector<int>{0, 33, 100}));
}

TEST_F(FormularioBaseTest, FimDoProgramaEsperaAsOperacoesDosOutrosFormularios) {
  FormTeste longo, curto;
  std::atomic<bool> liberada{false};
  ASSERT_TRUE(longo.iniciaOperacao(esperaLiberar(liberada)));
  ASSERT_TRUE(curto.iniciaOperacao([](Tela&) -> Resultado { throw FimDoPrograma{}; }));
  curto.aguardaOperacao();
  EXPECT_EQ(caixas.encerramentos, 0) << "another form is still writing";
  EXPECT_FALSE(curto.iniciaOperacao(nada)) << "no new run while ending";
  liberada = true;
  longo.aguardaOperacao();
  EXPECT_EQ(caixas.encerramentos, 1);
}

TEST_F(FormularioBaseTest, FecharDuranteAOperacaoPerguntaEFechaSoQuandoElaTermina) {
  auto* form = new FormTeste;
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->show();
  QPointer<FormTeste> vivo = form;
  std::atomic<bool> liberada{false};
  ASSERT_TRUE(form->iniciaOperacao(esperaLiberar(liberada)));
  for (bool r : {false, true}) {
    caixas.resposta = r;
    form->close();
    teste::processaExclusoes();
    ASSERT_FALSE(vivo.isNull()) << "the run is still going";
    EXPECT_TRUE(form->isVisible());
  }
  form->close();  // asked already: not asked again
  const Caixa fechar{kPerguntaFecharEmOperacao, "ImportadorZUV", Icone::Pergunta, Padrao::Sim};
  EXPECT_EQ(caixas.todas, std::vector<Caixa>(2, fechar));
  liberada = true;
  form->aguardaOperacao();
  teste::processaExclusoes();
  EXPECT_TRUE(vivo.isNull()) << "closed once the run ended";
}

TEST_F(FormularioBaseTest, FormularioDestruidoDuranteAOperacaoNaoTravaERespondeNao) {
  auto* form = new FormTeste;
  std::atomic<int> respondeu{-1};
  ASSERT_TRUE(form->iniciaOperacao([&](Tela& tela) {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    respondeu = tela.pergunta("Continuar?", Icone::Pergunta, {});
    tela.mensagem("depois", Icone::Nenhum, {});
    return Resultado::concluido();
  }));
  delete form;
  EXPECT_EQ(respondeu, 0);
  EXPECT_TRUE(caixas.todas.empty());
}

// The window of long texts shows its text and opens its folder.
TEST_F(FormularioBaseTest, AJanelaDeTextoMostraOTextoEAbreAPasta) {
  JanelaTexto janela("Resumo da execução: produtos importar", "produtos importar: concluída",
                     "/tmp/relatorios");
  janela.show();
  EXPECT_EQ(janela.findChild<QPlainTextEdit*>("txtTexto")->toPlainText(), "produtos importar: concluída");
  janela.findChild<QPushButton*>("cmdAbrirPasta")->click();
  EXPECT_EQ(caixas.abertos, std::vector<std::string>{"/tmp/relatorios"});
  EXPECT_TRUE(janela.findChild<QPushButton*>("cmdFechar")->isDefault());
  EXPECT_EQ(JanelaTexto("Histórico", "nada", "").findChild<QPushButton*>("cmdAbrirPasta"), nullptr);
}

// A 1366x768 screen less a title bar and a panel: what a window may take of it.
constexpr int kLarguraUtil = 1366, kAlturaUtil = 768 - 70;

// Shows w and lets it lay out; with ZUV_CAPTURAS=<folder> also saves <folder>/<name>.png, the
// whole screen under xcb (scripts/capturas.sh).
void mostraECaptura(QWidget& w) {
  w.move(0, 0);
  w.show();
  QElapsedTimer relogio;
  relogio.start();
  while (relogio.elapsed() < 300)
    QCoreApplication::processEvents();
  const char* pasta = std::getenv("ZUV_CAPTURAS");
  if (pasta == nullptr) return;
  const QString arquivo = QString::fromLocal8Bit(pasta) + "/" + w.objectName() + ".png";
  const QPixmap imagem = QGuiApplication::platformName() == "xcb" ? w.screen()->grabWindow(0) : w.grab();
  EXPECT_TRUE(imagem.save(arquivo)) << arquivo.toStdString();
}

TEST_F(FormularioBaseTest, EveryWindowFitsA1366x768ScreenWithItsButtonsVisible) {
  teste::BancoDeTeste banco;
  definePastaPrograma(banco.pastaPrograma().string());
  const std::vector<std::pair<const char*, std::function<QWidget*()>>> janelas = {
      {"FrmMenu", [] { return new FrmMenu; }},
      {"JanelaTexto", [] { return new JanelaTexto("Histórico", QString(4000, 'x'), "/tmp"); }},
      {"FrmClientes", [] { return new FrmClientes; }},
      {"FrmAtuProdutoNCMCFOP", [] { return new FrmAtuProdutoNCMCFOP; }},
      {"FrmAtuProdutoNFE", [] { return new FrmAtuProdutoNFE; }},
      {"FrmMigracaoPadrao", [] { return new FrmMigracaoPadrao; }},
      {"FrmZUVdeZUVProduto", [] { return new FrmZUVdeZUVProduto; }},
      {"FrmVerificacaoFiscal",
       [&] { return new FrmVerificacaoFiscal(nullptr, (banco.pastaPrograma() / "produto.xlsx").string()); }},
  };
  for (const auto& [nome, cria] : janelas) {
    std::unique_ptr<QWidget> w(cria());
    w->setObjectName(nome);
    // The size it opens at on a large screen, and the least its layout needs.
    EXPECT_LE(w->width(), kLarguraUtil) << nome;
    EXPECT_LE(w->height(), kAlturaUtil) << nome;
    EXPECT_LE(w->minimumSizeHint().width(), kLarguraUtil) << nome;
    EXPECT_LE(w->minimumSizeHint().height(), kAlturaUtil) << nome;
    mostraECaptura(*w);
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
      if (!b->isVisibleTo(w.get())) continue;
      const QRect onde(b->mapTo(w.get(), QPoint(0, 0)), b->size());
      EXPECT_TRUE(w->rect().contains(onde)) << nome << ": " << b->objectName().toStdString();
    }
  }
  EXPECT_EQ(caixas.textos(), std::vector<std::string>{}) << "e.g. a failed connection";
  definePastaPrograma({});
}

TEST_F(FormularioBaseTest, QtsOwnButtonsAndFileDialogSpeakPortuguese) {
  ASSERT_TRUE(instalaTraducaoQt(*qApp)) << "qtbase_pt_BR.qm (Debian's qt6-translations-l10n)";
  // A question whose Yes deletes data has "Não" as its default button; the others keep "Sim".
  for (const auto& [padrao, botao] :
       {std::pair{Padrao::Sim, QMessageBox::Yes}, {Padrao::Nao, QMessageBox::No}}) {
    const auto caixa =
        caixaDePergunta(nullptr, "Atualizar o Cadastro de Cliente", Icone::Pergunta, "ImportadorZUV", padrao);
    EXPECT_EQ(caixa->defaultButton(), caixa->button(botao));
    EXPECT_EQ(caixa->button(botao)->text().remove('&'),
              QString::fromUtf8(botao == QMessageBox::Yes ? "Sim" : "Não"));
    caixa->setObjectName("CaixaPergunta");
    mostraECaptura(*caixa);
  }
  QFileDialog dialogo(nullptr, "Banco de Dados Destino");
  dialogo.setOption(QFileDialog::DontUseNativeDialog);
  dialogo.setObjectName("DialogoArquivo");
  mostraECaptura(dialogo);
  dialogo.close();

  // A system message with the project's hint: the text exactly the system's, the hint under it.
  caixasDialogo() = caixasPadrao();
  QWidget form;
  TelaQt tela(&form);
  QString texto, dica;
  QTimer::singleShot(100, [&] {
    auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(caixa, nullptr);
    caixa->setObjectName("CaixaZuvIni");
    texto = caixa->text();
    dica = caixa->informativeText();
    mostraECaptura(*caixa);
    caixa->accept();
  });
  tela.mensagemComDica("Arquivo zuv.INI não encontrado ", "Procurado em /opt/zuv/zuv.ini.", Icone::Informacao,
                       {});
  EXPECT_EQ(texto, QString::fromUtf8("Arquivo zuv.INI não encontrado "));
  EXPECT_EQ(dica, "Procurado em /opt/zuv/zuv.ini.");
}

}  // namespace
}  // namespace zuv
