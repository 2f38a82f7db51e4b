#include "platform/LeitorXls.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>

#include "platform/FormatoCelula.h"
#include "platform/GlobaisXls.h"
#include "platform/Ole2.h"
#include "platform/RegistrosBiff.h"

namespace zuv {

namespace {

enum : uint16_t {
  kBof8 = 0x0809,  // BIFF5 and 8
  kBof4 = 0x0409,
  kBof3 = 0x0209,
  kBof2 = 0x0009,
  kEof = 0x000A,
  kLabelSst = 0x00FD,
  kLabel = 0x0204,
  kRstring = 0x00D6,
  kNumber = 0x0203,
  kRk = 0x027E,
  kMulRk = 0x00BD,
  kBoolErr = 0x0205,
  kFormula = 0x0006,  // BIFF2, 5 and 8
  kFormula3 = 0x0206,
  kFormula4 = 0x0406,
  kString = 0x0207,
  kShrfmla = 0x04BC,
  kArray = 0x0221,
  kTable = 0x0236,
  // BIFF2 forms
  kInteger2 = 0x0002,
  kNumber2 = 0x0003,
  kLabel2 = 0x0004,
  kBoolErr2 = 0x0005,
  kString2 = 0x0007,
  kArray2 = 0x0021,
  kTable2 = 0x0036,
};

// The kinds of substream a BOF record opens (its second field).
enum : uint16_t {
  kGlobais = 0x0005,
  kModulo = 0x0006,
  kFolhaDeCalculo = 0x0010,
  kGrafico = 0x0020,
  kPastaBiff4 = 0x0100
};

double f64(const unsigned char* p) {
  double v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

bool ehBof(uint16_t t) {
  return t == kBof8 || t == kBof4 || t == kBof3 || t == kBof2;
}

bool ehCelula(uint16_t t) {
  switch (t) {
    case kLabelSst:
    case kLabel:
    case kRstring:
    case kNumber:
    case kRk:
    case kMulRk:
    case kBoolErr:
    case kFormula:
    case kFormula3:
    case kFormula4:
    case kInteger2:
    case kNumber2:
    case kLabel2:
    case kBoolErr2:
      return true;
    default:
      return false;
  }
}

// An RK number: 30 bits of an integer or of a double's high part, maybe to be divided by 100.
double rk(uint32_t v) {
  double r;
  if (v & 2) {
    r = static_cast<double>(static_cast<int32_t>(v) >> 2);
  } else {
    const uint64_t bits = static_cast<uint64_t>(v & 0xFFFFFFFCu) << 32;
    std::memcpy(&r, &bits, sizeof r);
  }
  return (v & 1) ? r / 100 : r;
}

// The BIFF version a stream's first record says, as spreadsheet programs detect it; 0 when the
// stream does not begin with a BOF record.
int versaoBiff(const FluxoOle2& fluxo) {
  unsigned char h[6];
  const size_t n = fluxo.le(0, h, sizeof h);
  if (n < 4 || le16(h + 2) < 4 || le16(h + 2) > 16) return 0;
  switch (le16(h)) {
    case kBof2:
      return 2;
    case kBof3:
      return 3;
    case kBof4:
      return 4;
    case kBof8:
      if (n < 6) return 0;
      switch (le16(h + 4) & 0xFF00) {
        case 0x0000:
        case 0x0500:
          return 5;
        case 0x0200:
          return 2;
        case 0x0300:
          return 3;
        case 0x0400:
          return 4;
        case 0x0600:
          return 8;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

const char* kSemBof = "o arquivo está danificado (a pasta de trabalho não começa com um registro BOF)";

class LeitorXls : public LeitorPlanilha {
 public:
  LeitorXls(const std::string& caminho, const LimitesLeitura& limites, int estilo)
      : caminho_(caminho), limites_(limites), estilo_(estilo) {
    abreFluxo();
    f_ = std::make_unique<FluxoBiff>(*fluxo_);
    if (!f_->proximo()) falhaLeitura(caminho_, kSemBof);
    const uint16_t tipo = f_->tamanho() >= 4 ? le16(f_->dados() + 2) : 0;
    if (biff_ <= 4 && tipo == kPastaBiff4)
      falhaLeitura(caminho_,
                   "a pasta de trabalho é do Excel 4, que o programa não lê; salve-a de novo como .xlsx");
    if (biff_ >= 5 && tipo == kGlobais) {
      g_ = leGlobaisXls(*f_, biff_, caminho_, limites_);
      // Globals that run to the end of the stream leave no sheet to read: a record's length is
      // wrong or the stream is cut.
      if (!g_.fechados)
        falhaLeitura(caminho_, "o arquivo está danificado (a pasta de trabalho acaba antes das planilhas)");
      localizaFolha();
    } else {
      // A single sheet (Excel 2 to 4, or a sheet saved without workbook globals): its formats and
      // styles are among its own records.
      inicioFolha_ = f_->seguinte();
      temFolha_ = temCelulas();
      g_ = leGlobaisXls(*f_, biff_, caminho_, limites_);
    }
    pagina_ = std::make_unique<PaginaDeCodigo>(g_.paginaDeCodigo);
    if (temFolha_) indexa();
  }

  std::string celula(int linha, int coluna) override {
    const Linha& l = buscaLinha(linha);
    const auto c = std::lower_bound(l.celulas.begin(), l.celulas.end(), coluna,
                                    [](const Celula& x, int col) { return x.coluna + 1 < col; });
    return c != l.celulas.end() && c->coluna + 1 == coluna ? c->texto : std::string();
  }

  int ultimaLinha() override { return ultima_; }

  int ultimaColuna(int linha) override {
    const Linha& l = buscaLinha(linha);
    return l.celulas.empty() ? 0 : l.celulas.back().coluna + 1;
  }

 private:
  struct Celula {
    uint16_t coluna;  // from 0
    std::string texto;
  };
  struct Linha {
    int numero = 0;               // from 1; 0 for a free place
    std::vector<Celula> celulas;  // non-empty, by column
  };

  // The workbook stream: "Workbook" (BIFF8) or "Book" (BIFF5) of an OLE2 file, the higher version
  // when it has both, or the file itself when it is a bare BIFF stream (Excel 2 to 4).
  void abreFluxo() {
    unsigned char assinatura[8] = {};
    {
      std::ifstream arquivo(caminho_, std::ios::binary);
      arquivo.read(reinterpret_cast<char*>(assinatura), sizeof assinatura);
    }
    static const unsigned char kOle2[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (std::memcmp(assinatura, kOle2, 8) != 0) {
      std::ifstream arquivo(caminho_, std::ios::binary);
      std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(arquivo), {}};
      fluxo_ = FluxoOle2::naMemoria(std::move(bytes));
      biff_ = versaoBiff(*fluxo_);
      if (biff_ == 0) falhaLeitura(caminho_, "o arquivo não é uma planilha do Excel (.xlsx ou .xls)");
      return;
    }
    try {
      ole_ = std::make_unique<ArquivoOle2>(caminho_);
    } catch (const std::runtime_error& e) {
      falhaLeitura(caminho_, std::string("o arquivo está danificado (") + e.what() + ")");
    }
    // An .xlsx saved with a password is an OLE2 file holding the encrypted package.
    if (ole_->temFluxo("EncryptionInfo") || ole_->temFluxo("EncryptedPackage"))
      falhaLeitura(caminho_, "planilha protegida por senha");
    auto livro = ole_->fluxo("Workbook");
    auto livro5 = ole_->fluxo("Book");
    if (!livro && !livro5)
      falhaLeitura(caminho_, "o arquivo não é uma planilha do Excel (documento OLE2 sem pasta de trabalho)");
    const int v8 = livro ? versaoBiff(*livro) : 0;
    const int v5 = livro5 ? versaoBiff(*livro5) : 0;
    if (v8 == 0 && v5 == 0) falhaLeitura(caminho_, kSemBof);
    biff_ = std::max(v8, v5);
    fluxo_ = v8 >= v5 ? std::move(livro) : std::move(livro5);
    if (fluxo_->tamanho() >= UINT32_MAX) falhaLeitura(caminho_, "o arquivo passa do limite de 4 GiB");
  }

  // Whether the BOF record just read opens a sheet of cells. Excel takes a kind it does not know
  // for a worksheet; charts and modules have none.
  bool temCelulas() const {
    const uint16_t tipo = f_->tamanho() >= 4 ? le16(f_->dados() + 2) : uint16_t{kFolhaDeCalculo};
    return tipo != kGrafico && tipo != kModulo && tipo != kGlobais && tipo != kPastaBiff4;
  }

  // Reads the BOF record of the n-th substream after the globals (from 0), or with n SIZE_MAX
  // of the first one that has cells.
  bool subfluxo(size_t n) {
    f_->posiciona(g_.fim);
    for (int nivel = 0; f_->proximo();) {
      if (ehBof(f_->tipo()) && nivel++ == 0 && (n == SIZE_MAX ? temCelulas() : n-- == 0)) return true;
      if (f_->tipo() == kEof && nivel > 0) --nivel;
    }
    return false;
  }

  // The active sheet, at the position its BOUNDSHEET record gives or, when no BOF record is there,
  // in the order of the substreams. When it has no cells (a chart or a module), the first sheet of
  // cells stands in for it.
  void localizaFolha() {
    const size_t ativa = static_cast<size_t>(g_.abaAtiva) < g_.folhas.size() ? g_.abaAtiva : 0;
    bool achou = false;
    if (ativa < g_.folhas.size()) {
      f_->posiciona(g_.folhas[ativa].posicao);
      achou = f_->proximo() && f_->tipo() == kBof8;
    }
    if (!achou) achou = subfluxo(ativa);
    if (achou && !temCelulas()) achou = subfluxo(SIZE_MAX);
    temFolha_ = achou;
    inicioFolha_ = f_->seguinte();
  }

  // One pass over the sheet: the last row with a value and where each row's records lie. Rows in
  // increasing order (as spreadsheet programs write them) need the position of their first record;
  // a sheet whose rows come out of order gets an index of its cell records by row instead.
  void indexa() {
    int anterior = -1;
    int64_t celulas = 0;
    percorreFolha(inicioFolha_, [&](uint64_t pos, uint16_t linha) {
      bool valor = false;
      celulasDoRegistro(false, [&](uint16_t l, uint16_t c, std::string_view t) {
        if (c >= limites_.colunas)
          falhaLeitura(caminho_, "a célula da linha " + std::to_string(l + 1) + ", coluna " +
                                     std::to_string(c + 1) + " passa do limite de " +
                                     std::to_string(limites_.colunas) + " colunas");
        if (++celulas > limites_.celulas)
          falhaLeitura(caminho_,
                       "a planilha passa do limite de " + std::to_string(limites_.celulas) + " células");
        valor = valor || !t.empty();
      });
      if (valor) ultima_ = std::max(ultima_, linha + 1);
      if (linha < anterior) ordenada_ = false;
      anterior = linha;
      if (!ordenada_) return true;
      if (linha >= inicio_.size()) inicio_.resize(static_cast<size_t>(linha) + 1, UINT32_MAX);
      if (inicio_[linha] == UINT32_MAX) inicio_[linha] = static_cast<uint32_t>(pos);
      return true;
    });
    if (ordenada_) return;
    inicio_ = {};
    percorreFolha(inicioFolha_, [&](uint64_t pos, uint16_t linha) {
      registros_.push_back(uint64_t{linha} << 32 | pos);
      return true;
    });
    std::sort(registros_.begin(), registros_.end());
  }

  // Calls visita(position, row) for each cell record of the sheet from position desde, outside the
  // substreams (charts) nested in it, with the record read, while visita returns true.
  template <class F>
  void percorreFolha(uint64_t desde, F&& visita) {
    f_->posiciona(desde);
    for (int nivel = 0; f_->proximo();) {
      const uint16_t tipo = f_->tipo();
      if (ehBof(tipo)) {
        ++nivel;
      } else if (tipo == kEof) {
        if (nivel-- == 0) break;
      } else if (nivel == 0 && ehCelula(tipo) && f_->tamanho() >= 2) {
        if (!visita(f_->posicao(), le16(f_->dados()))) break;
      }
    }
  }

  const Linha& buscaLinha(int numero) {
    for (const Linha& l : cache_)
      if (l.numero == numero) return l;
    Linha& l = cache_[proxima_];
    proxima_ = (proxima_ + 1) % cache_.size();
    l.numero = numero;
    l.celulas.clear();
    if (!temFolha_ || numero < 1 || numero > 65536) return l;
    const uint16_t r = static_cast<uint16_t>(numero - 1);
    auto guarda = [&](uint16_t linha, uint16_t coluna, std::string_view t) {
      if (linha == r) l.celulas.push_back({coluna, std::string(t)});
    };
    if (ordenada_) {
      // The row's records run from its first one to the first cell record of another row.
      if (r < inicio_.size() && inicio_[r] != UINT32_MAX)
        percorreFolha(inicio_[r], [&](uint64_t, uint16_t linha) {
          if (linha != r) return false;
          celulasDoRegistro(true, guarda);
          return true;
        });
    } else {
      for (auto i = std::lower_bound(registros_.begin(), registros_.end(), static_cast<uint64_t>(r) << 32);
           i != registros_.end() && (*i >> 32) == r; ++i) {
        f_->posiciona(*i & 0xFFFFFFFFu);
        if (f_->proximo()) celulasDoRegistro(true, guarda);
      }
    }
    // A cell written twice keeps its last value; empty cells go.
    std::stable_sort(l.celulas.begin(), l.celulas.end(),
                     [](const Celula& a, const Celula& b) { return a.coluna < b.coluna; });
    size_t k = 0;
    for (size_t i = 0; i < l.celulas.size(); ++i) {
      if (i + 1 < l.celulas.size() && l.celulas[i + 1].coluna == l.celulas[i].coluna) continue;
      if (l.celulas[i].texto.empty()) continue;
      if (k != i) l.celulas[k] = std::move(l.celulas[i]);
      ++k;
    }
    l.celulas.resize(k);
    return l;
  }

  std::string textoDoValor(double v, uint16_t xf) const {
    if (std::isnan(v)) return "NaN";
    const FormatoNumero f = xf < g_.formatoDoXf.size() ? g_.formatoDoXf[xf] : FormatoNumero{};
    return textoDoNumero(v, f, g_.base1904, estilo_);
  }

  // The text of a string record that follows a formula with a text result (after the records of
  // its shared or array formula); "" when there is none.
  std::string resultadoTexto() {
    for (uint16_t t = f_->tipoSeguinte();
         t == kShrfmla || t == kArray || t == kTable || t == kArray2 || t == kTable2; t = f_->tipoSeguinte())
      if (!f_->proximo()) return {};
    std::string s;
    if (f_->tipoSeguinte() != (biff_ == 2 ? kString2 : kString) || !f_->proximo()) return s;
    CursorBiff c(*f_);
    if (biff_ == 2) {
      uint8_t n = 0;
      if (c.u8(n)) c.bytes(n, *pagina_, s);
    } else {
      uint16_t n = 0;
      if (!c.u16(n)) return s;
      if (biff_ == 8)
        c.texto8(n, s);
      else
        c.bytes(n, *pagina_, s);
    }
    return s;
  }

  // The cells of the cell record just read, each given to emite(row, column, text) from 0. With
  // textos false a number's text is not made (a placeholder stands for it): the pass that only
  // counts needs to know which cells are empty.
  template <class F>
  void celulasDoRegistro(bool textos, F&& emite) {
    const unsigned char* d = f_->dados();
    const size_t n = f_->tamanho();
    auto numero = [&](uint16_t l, uint16_t c, uint16_t xf, double v) {
      if (!textos) return emite(l, c, std::string_view("0"));
      emite(l, c, textoDoValor(v, xf));
    };
    auto booleanoOuErro = [&](uint16_t l, uint16_t c, uint8_t valor, bool erro) {
      emite(l, c, erro ? std::string(textoErroXls(valor)) : textoBooleano(valor ? "1" : "0", estilo_));
    };
    auto texto = [&](uint16_t l, uint16_t c, size_t desde, size_t caracteres) {
      std::string s;
      CursorBiff cursor(*f_, desde);
      if (biff_ == 8)
        cursor.texto8(caracteres, s);
      else
        cursor.bytes(std::min(caracteres, cursor.restam()), *pagina_, s);
      emite(l, c, s);
    };
    // The cached result of a formula: a number, or a text, boolean, error or empty text marked by
    // 0xFFFF in its last two bytes.
    auto formula = [&](uint16_t l, uint16_t c, uint16_t xf, const unsigned char* r) {
      if (le16(r + 6) != 0xFFFF) return numero(l, c, xf, f64(r));
      switch (r[0]) {
        case 0: {
          const std::string s = resultadoTexto();
          return emite(l, c, s);
        }
        case 1:
        case 2:
          return booleanoOuErro(l, c, r[2], r[0] == 2);
        default:
          return emite(l, c, std::string_view());
      }
    };
    // The Excel 2 records (row, column, three bytes of attributes, the value) are read in any
    // version, as Excel does. Their style: the format's place in the list in Excel 2, the style
    // (XF) after.
    const uint16_t atributo = n >= 7 ? (biff_ == 2 ? d[5] & 0x3F : d[4] & 0x3F) : 0;
    switch (f_->tipo()) {
      case kInteger2:
        if (n >= 9) numero(le16(d), le16(d + 2), atributo, le16(d + 7));
        return;
      case kNumber2:
        if (n >= 15) numero(le16(d), le16(d + 2), atributo, f64(d + 7));
        return;
      case kLabel2:
        if (biff_ == 8 && n >= 9)
          texto(le16(d), le16(d + 2), 9, le16(d + 7));
        else if (n >= 8)
          texto(le16(d), le16(d + 2), 8, d[7]);
        return;
      case kBoolErr2:
        if (n >= 9) booleanoOuErro(le16(d), le16(d + 2), d[7], d[8] != 0);
        return;
      case kFormula:
        if (biff_ == 2) {
          if (n >= 15) formula(le16(d), le16(d + 2), atributo, d + 7);
          return;
        }
        break;
      default:
        break;
    }
    // Row, column, style (XF), the value.
    switch (f_->tipo()) {
      case kLabelSst:
        if (n >= 10 && biff_ == 8) {
          const uint32_t i = le32(d + 6);
          emite(le16(d), le16(d + 2), i < g_.textos.tamanho() ? g_.textos[i] : std::string_view());
        }
        return;
      case kLabel:
      case kRstring:
        if (n >= 8) texto(le16(d), le16(d + 2), 8, le16(d + 6));
        return;
      case kNumber:
        if (n >= 14) numero(le16(d), le16(d + 2), le16(d + 4), f64(d + 6));
        return;
      case kRk:
        if (n >= 10) numero(le16(d), le16(d + 2), le16(d + 4), rk(le32(d + 6)));
        return;
      case kMulRk: {
        if (n < 6) return;
        const uint16_t l = le16(d), primeira = le16(d + 2);
        for (size_t i = 0; 4 + 6 * i + 6 <= n - 2; ++i)
          numero(l, static_cast<uint16_t>(primeira + i), le16(d + 4 + 6 * i), rk(le32(d + 6 + 6 * i)));
        return;
      }
      case kBoolErr:
        if (n >= 8) booleanoOuErro(le16(d), le16(d + 2), d[6], d[7] != 0);
        return;
      case kFormula:
      case kFormula3:
      case kFormula4:
        if (n >= 14) {
          unsigned char r[8];
          std::memcpy(r, d + 6, sizeof r);  // the stream moves on when the result is a text
          formula(le16(d), le16(d + 2), le16(d + 4), r);
        }
        return;
      default:
        return;
    }
  }

  std::string caminho_;
  LimitesLeitura limites_;
  int estilo_;
  std::unique_ptr<ArquivoOle2> ole_;
  std::optional<FluxoOle2> fluxo_;
  std::unique_ptr<FluxoBiff> f_;
  int biff_ = 8;
  GlobaisXls g_;
  std::unique_ptr<PaginaDeCodigo> pagina_;
  bool temFolha_ = false;
  uint64_t inicioFolha_ = 0;
  int ultima_ = 0;
  bool ordenada_ = true;
  std::vector<uint32_t> inicio_;     // rows in order: each row's first cell record
  std::vector<uint64_t> registros_;  // rows out of order: row << 32 | record position
  std::array<Linha, 4> cache_;
  size_t proxima_ = 0;
};

}  // namespace

std::unique_ptr<LeitorPlanilha> abreXls(const std::string& caminho, const LimitesLeitura& limites,
                                        int estilo) {
  return std::make_unique<LeitorXls>(caminho, limites, estilo);
}

}  // namespace zuv
