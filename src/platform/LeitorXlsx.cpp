#include "platform/LeitorXlsx.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <optional>

#include "platform/PartesXlsx.h"
#include "platform/XmlFluxo.h"

namespace zuv {

namespace {

constexpr size_t kMaxBytesLinha = 64u << 20;
constexpr size_t kJanela = 4;  // recent rows kept, so a look back does not restart the stream

struct CelulaBruta {
  int coluna;
  char tipo;  // 'n' number, 's' shared string, 'i' inline string, 'f' formula string, 'b', 'e', 'd'
  uint32_t estilo;
  uint32_t inicio, tamanho;  // of the stored value in Linha::dados
};

struct Linha {
  int numero = 0;
  std::string dados;
  std::vector<CelulaBruta> celulas;
  std::vector<int32_t> porColuna;  // column - 1 -> index in celulas, -1 when absent

  const CelulaBruta* celula(int coluna) const {
    if (coluna < 1 || static_cast<size_t>(coluna) > porColuna.size()) return nullptr;
    const int32_t i = porColuna[coluna - 1];
    return i < 0 ? nullptr : &celulas[i];
  }
  std::string_view bruto(const CelulaBruta& c) const {
    return std::string_view(dados).substr(c.inicio, c.tamanho);
  }
};

char tipoDaCelula(const char* t) {
  if (!t) return 'n';
  const std::string_view s(t);
  if (s == "s") return 's';
  if (s == "inlineStr") return 'i';
  if (s == "str") return 'f';
  if (s == "b") return 'b';
  if (s == "e") return 'e';
  if (s == "d") return 'd';
  return 'n';
}

// The column of a reference such as "AB12" (28); 0 without letters; saturates far past any limit.
int colunaDaReferencia(const char* r) {
  long long c = 0;
  for (; *r; ++r) {
    char ch = *r;
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if (ch < 'A' || ch > 'Z') break;
    c = c * 26 + (ch - 'A' + 1);
    if (c > INT_MAX / 32) return INT_MAX / 32;
  }
  return static_cast<int>(c);
}

// Parses the sheet's <sheetData>, completing rows one at a time into a small window.
class FluxoFolha : public XmlFluxo {
 public:
  FluxoFolha(std::unique_ptr<ParteZip> p, const std::string& caminho, const LimitesLeitura& limites,
             const TextosCompartilhados& textos)
      : XmlFluxo(std::move(p), caminho), limites_(limites), textos_(textos) {}

  // Parses until the row numbered alvo (or a later one) is complete or the sheet ends.
  void avancaAte(int alvo) {
    alvo_ = alvo;
    while (!fimFolha_ && ultimaCompleta_ < alvo_) {
      if (!continua()) fimFolha_ = true;
    }
  }
  // Rows up to this number may have left the window.
  int esquecida() const { return esquecida_; }
  int ultimaComValor() const { return ultimaComValor_; }
  bool primeiraConhecida() const { return primeiraConhecida_; }
  bool terminou() const { return fimFolha_; }
  const Linha* linha(int numero) const {
    if (numero == 1 && primeiraConhecida_) return primeira_.numero == 1 ? &primeira_ : nullptr;
    for (size_t i = 0; i < ocupadas_; ++i)
      if (janela_[i].numero == numero) return &janela_[i];
    return nullptr;
  }
  bool temValor(const Linha& l, const CelulaBruta& c) const {
    if (c.tamanho == 0) return false;
    if (c.tipo != 's') return true;
    size_t i = 0;
    const auto b = l.bruto(c);
    auto r = std::from_chars(b.data(), b.data() + b.size(), i);
    return r.ec != std::errc() || i >= textos_.tamanho() || !textos_[i].empty();
  }

 protected:
  void inicio(std::string_view nome, const char** a) override {
    if (emCelula_) {
      if (nome == "v") {
        captura_ = true;
      } else if (nome == "is") {
        emIs_ = true;
      } else if (nome == "rPh") {
        ++fonetico_;
      } else if (nome == "t" && emIs_ && fonetico_ == 0) {
        captura_ = true;
      }
    } else if (nome == "c" && emLinha_) {
      iniciaCelula(a);
    } else if (nome == "row" && emDados_) {
      iniciaLinha(a);
    } else if (nome == "sheetData") {
      emDados_ = true;
    }
  }

  void fim(std::string_view nome) override {
    if (emCelula_) {
      if (nome == "v" || nome == "t") {
        captura_ = false;
      } else if (nome == "rPh") {
        if (fonetico_ > 0) --fonetico_;
      } else if (nome == "is") {
        emIs_ = false;
      } else if (nome == "c") {
        celula_.tamanho = static_cast<uint32_t>(atual_.dados.size() - celula_.inicio);
        atual_.celulas.push_back(celula_);
        emCelula_ = captura_ = emIs_ = false;
        fonetico_ = 0;
      }
    } else if (nome == "row" && emLinha_) {
      completaLinha();
    } else if (nome == "sheetData") {
      emDados_ = false;
      fimFolha_ = true;
      pausa();
    }
  }

  void texto(std::string_view s) override {
    if (!captura_) return;
    if (atual_.dados.size() + s.size() > kMaxBytesLinha)
      return aborta("a linha " + std::to_string(atual_.numero) + " passa do limite de texto de uma linha");
    atual_.dados.append(s);
  }

 private:
  void iniciaLinha(const char** a) {
    int numero = ultimaIniciada_ + 1;
    if (const char* r = atributo(a, "r")) {
      const char* f = r + std::char_traits<char>::length(r);
      auto res = std::from_chars(r, f, numero);
      if (res.ec != std::errc() || res.ptr != f || numero < 1 || numero > kMaxLinhas)
        return aborta("número de linha inválido (\"" + std::string(r).substr(0, 20) + "\")");
    }
    if (numero <= ultimaIniciada_)
      return aborta("linhas fora de ordem (linha " + std::to_string(numero) + ")");
    if (numero > kMaxLinhas) return aborta("linhas demais");
    ultimaIniciada_ = numero;
    ultimaColuna_ = 0;
    atual_.numero = numero;
    atual_.dados.clear();
    atual_.celulas.clear();
    emLinha_ = true;
  }

  void iniciaCelula(const char** a) {
    const char* r = atributo(a, "r");
    int coluna = r ? colunaDaReferencia(r) : 0;
    if (coluna == 0) coluna = ultimaColuna_ + 1;
    if (coluna > limites_.colunas)
      return aborta("a célula da linha " + std::to_string(atual_.numero) + ", coluna " +
                    std::to_string(coluna) + " passa do limite de " + std::to_string(limites_.colunas) +
                    " colunas");
    if (++celulasLidas_ > limites_.celulas)
      return aborta("a planilha passa do limite de " + std::to_string(limites_.celulas) + " células");
    ultimaColuna_ = coluna;
    uint32_t estilo = 0;
    if (const char* s = atributo(a, "s")) std::from_chars(s, s + std::char_traits<char>::length(s), estilo);
    celula_ = {coluna, tipoDaCelula(atributo(a, "t")), estilo, static_cast<uint32_t>(atual_.dados.size()), 0};
    emCelula_ = true;
  }

  void completaLinha() {
    emLinha_ = false;
    ultimaCompleta_ = atual_.numero;
    primeiraConhecida_ = true;
    if (!atual_.celulas.empty()) {
      int maior = 0;
      for (const auto& c : atual_.celulas)
        maior = std::max(maior, c.coluna);
      atual_.porColuna.assign(static_cast<size_t>(maior), -1);
      bool valor = false;
      for (size_t i = 0; i < atual_.celulas.size(); ++i) {
        atual_.porColuna[atual_.celulas[i].coluna - 1] = static_cast<int32_t>(i);
        valor = valor || temValor(atual_, atual_.celulas[i]);
      }
      if (valor) ultimaComValor_ = atual_.numero;
      if (atual_.numero == 1) primeira_ = atual_;
      // The oldest row of the window gives its place (and its buffers) to the new one.
      Linha* destino;
      if (ocupadas_ < kJanela) {
        destino = &janela_[ocupadas_++];
      } else {
        destino = &janela_[0];
        for (auto& l : janela_)
          if (l.numero < destino->numero) destino = &l;
        esquecida_ = destino->numero;
      }
      std::swap(*destino, atual_);
    }
    if (ultimaCompleta_ >= alvo_) pausa();
  }

  const LimitesLeitura& limites_;
  const TextosCompartilhados& textos_;
  Linha primeira_;  // the headings' row stays at hand: runs look at it while reading others
  bool primeiraConhecida_ = false;
  std::array<Linha, kJanela> janela_;
  size_t ocupadas_ = 0;
  Linha atual_;
  CelulaBruta celula_{};
  int alvo_ = 0;
  int esquecida_ = 0;
  int ultimaCompleta_ = 0;
  int ultimaIniciada_ = 0;
  int ultimaColuna_ = 0;
  int ultimaComValor_ = 0;
  int64_t celulasLidas_ = 0;
  int fonetico_ = 0;
  bool emDados_ = false, emLinha_ = false, emCelula_ = false, emIs_ = false, captura_ = false;
  bool fimFolha_ = false;
};

class LeitorXlsx : public LeitorPlanilha {
 public:
  LeitorXlsx(const std::string& caminho, const LimitesLeitura& limites, int estilo)
      : zip_(caminho, limites), estilo_(estilo) {
    pasta_ = lePastaDeTrabalho(zip_);
    estilos_ = leEstilos(zip_, pasta_.parteEstilos);
    textos_.le(zip_, pasta_.parteTextos);
    reinicia();
  }

  std::string celula(int linha, int coluna) override {
    const Linha* l = buscaLinha(linha);
    if (!l) return {};
    const CelulaBruta* c = l->celula(coluna);
    return c ? texto(*l, *c) : std::string();
  }

  int ultimaLinha() override {
    if (!ultima_) {
      // The stream always starts at the sheet's beginning, so running it to the end sees every row.
      fluxo_->avancaAte(INT_MAX);
      ultima_ = fluxo_->ultimaComValor();
    }
    return *ultima_;
  }

  int ultimaColuna(int linha) override {
    const Linha* l = buscaLinha(linha);
    int maior = 0;
    if (l) {
      for (const auto& c : l->celulas)
        if (c.coluna > maior && !texto(*l, c).empty()) maior = c.coluna;
    }
    return maior;
  }

 private:
  void reinicia() {
    fluxo_.reset();
    fluxo_ =
        std::make_unique<FluxoFolha>(zip_.abre(pasta_.parteFolha), zip_.caminho(), zip_.limites(), textos_);
  }

  const Linha* buscaLinha(int linha) {
    if (linha < 1 || linha > kMaxLinhas) return nullptr;
    if (linha <= fluxo_->esquecida() && !(linha == 1 && fluxo_->primeiraConhecida())) reinicia();
    fluxo_->avancaAte(linha);
    return fluxo_->linha(linha);
  }

  std::string texto(const Linha& l, const CelulaBruta& c) const {
    const std::string_view b = l.bruto(c);
    switch (c.tipo) {
      case 's': {
        if (b.empty()) return {};
        size_t i = 0;
        auto r = std::from_chars(b.data(), b.data() + b.size(), i);
        if (r.ec != std::errc() || i >= textos_.tamanho())
          falhaLeitura(zip_.caminho(), "a célula da linha " + std::to_string(l.numero) + ", coluna " +
                                           std::to_string(c.coluna) + " aponta um texto que não existe");
        return std::string(textos_[i]);
      }
      case 'i':
      case 'f': {
        std::string s(b);
        decodificaEscapes(s);
        return s;
      }
      case 'e':
        return std::string(b);
      case 'b':
        return textoBooleano(b, estilo_);
      case 'd':
        return textoDataIso(b, estilo_);
      default: {
        if (c.estilo < estilos_.size() && estilos_[c.estilo] != FormatoNumero{}) {
          double v = 0;
          auto r = std::from_chars(b.data(), b.data() + b.size(), v);
          if (r.ec == std::errc() && r.ptr == b.data() + b.size() && std::isfinite(v))
            return textoDoNumero(v, estilos_[c.estilo], pasta_.base1904, estilo_);
        }
        return textoNumero(b, estilo_);
      }
    }
  }

  ArquivoZip zip_;
  int estilo_;
  PastaDeTrabalho pasta_;
  std::vector<FormatoNumero> estilos_;
  TextosCompartilhados textos_;
  std::unique_ptr<FluxoFolha> fluxo_;
  std::optional<int> ultima_;
};

}  // namespace

std::unique_ptr<LeitorPlanilha> abreXlsx(const std::string& caminho, const LimitesLeitura& limites,
                                         int estilo) {
  return std::make_unique<LeitorXlsx>(caminho, limites, estilo);
}

}  // namespace zuv
