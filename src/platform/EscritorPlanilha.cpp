#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "common/Erro.h"
#include "platform/EscritorPlanilha.h"
#include "platform/Planilha.h"

namespace zuv {

namespace {

constexpr int kMaxColunas = 16'384;
constexpr uint32_t kSemTexto = UINT32_MAX;

[[noreturn]] void falhaEscrita(const std::string& caminho, const std::string& problema) {
  throw ErroPlanilha("Não foi possível salvar a planilha \"" + caminho + "\": " + problema + ".");
}

// Removes the half-written file of a failed save.
struct ArquivoTemporario {
  std::string nome;
  ~ArquivoTemporario() {
    if (!nome.empty()) std::remove(nome.c_str());
  }
};

struct PastaDeTrabalhoXlsx {
  lxw_workbook* wb = nullptr;
  ~PastaDeTrabalhoXlsx() {
    if (wb) workbook_close(wb);  // only after a failure: frees it (writing what it can)
  }
};

}  // namespace

struct EscritorPlanilha::Impl {
  struct Celula {
    int32_t linha, coluna;
    uint32_t tamanho;  // kSemTexto: only the alignment was given
    bool direita;
    bool ehNumero;  // a number cell (numero), not a text
    double numero;
    const char* texto;  // NUL-terminated, as libxlsxwriter takes it
  };
  std::vector<Celula> celulas;
  // Texts live in blocks that never move, so growing costs no copies of what is already kept.
  std::vector<std::unique_ptr<char[]>> blocos;
  size_t livreNoBloco = 0;
  char* proximo = nullptr;
  bool ordenadas = true;
  std::map<int, double> larguras;

  const char* guarda(const std::string& texto) {
    const size_t n = texto.size() + 1;
    if (n > livreNoBloco) {
      const size_t tamanho = std::max<size_t>(n, 4u << 20);
      blocos.push_back(std::make_unique<char[]>(tamanho));
      proximo = blocos.back().get();
      livreNoBloco = tamanho;
    }
    char* p = proximo;
    std::memcpy(p, texto.c_str(), n);
    proximo += n;
    livreNoBloco -= n;
    return p;
  }

  void acrescenta(int linha, int coluna, const std::string* texto, bool direita) {
    if (linha < 1 || linha > kMaxLinhas || coluna < 1 || coluna > kMaxColunas)
      throw ErroPlanilha("Célula fora dos limites da planilha (linha " + std::to_string(linha) + ", coluna " +
                         std::to_string(coluna) + ").");
    if (!celulas.empty()) {
      const Celula& u = celulas.back();
      if (linha < u.linha || (linha == u.linha && coluna < u.coluna)) ordenadas = false;
    }
    Celula c{linha, coluna, kSemTexto, direita, false, 0, nullptr};
    if (texto) {
      c.tamanho = static_cast<uint32_t>(std::min<size_t>(texto->size(), kSemTexto - 1));
      c.texto = guarda(*texto);
    }
    celulas.push_back(c);
  }

  // Cells in row order, one entry per cell: the last text written, right alignment if ever asked.
  void consolida() {
    if (!ordenadas)
      std::stable_sort(celulas.begin(), celulas.end(), [](const Celula& a, const Celula& b) {
        return a.linha != b.linha ? a.linha < b.linha : a.coluna < b.coluna;
      });
    size_t d = 0;
    for (size_t i = 0; i < celulas.size(); ++i) {
      if (d > 0 && celulas[d - 1].linha == celulas[i].linha && celulas[d - 1].coluna == celulas[i].coluna) {
        Celula& m = celulas[d - 1];
        m.direita = m.direita || celulas[i].direita;
        if (celulas[i].tamanho != kSemTexto) {
          m.tamanho = celulas[i].tamanho;
          m.texto = celulas[i].texto;
          m.ehNumero = celulas[i].ehNumero;
          m.numero = celulas[i].numero;
        }
      } else {
        celulas[d++] = celulas[i];
      }
    }
    celulas.resize(d);
    ordenadas = true;
  }
};

EscritorPlanilha::EscritorPlanilha() : impl_(std::make_unique<Impl>()) {}
EscritorPlanilha::~EscritorPlanilha() = default;

void EscritorPlanilha::escreve(int linha, int coluna, const std::string& texto) {
  impl_->acrescenta(linha, coluna, &texto, false);
}

void EscritorPlanilha::escreveNumero(int linha, int coluna, double numero) {
  const std::string vazio;
  impl_->acrescenta(linha, coluna, &vazio, false);
  impl_->celulas.back().ehNumero = true;
  impl_->celulas.back().numero = numero;
}

void EscritorPlanilha::alinhaDireita(int linha, int coluna) {
  // Usually right after the cell was written: mark it in place.
  if (!impl_->celulas.empty()) {
    auto& u = impl_->celulas.back();
    if (u.linha == linha && u.coluna == coluna) {
      u.direita = true;
      return;
    }
  }
  impl_->acrescenta(linha, coluna, nullptr, true);
}

void EscritorPlanilha::larguraColuna(int coluna, double largura) {
  if (coluna < 1 || coluna > kMaxColunas)
    throw ErroPlanilha("Coluna fora dos limites da planilha (" + std::to_string(coluna) + ").");
  impl_->larguras[coluna] = largura < 0 ? 0 : std::min(largura, 255.0);
}

void EscritorPlanilha::salva(const std::string& caminho) {
  impl_->consolida();

  // Written beside the target and renamed over it: an old file survives a failed save.
  ArquivoTemporario tmp;
  {
    std::string modelo = caminho + ".XXXXXX";
    const int fd = mkstemp(modelo.data());
    if (fd < 0) falhaEscrita(caminho, std::strerror(errno));
    ::close(fd);
    tmp.nome = modelo;
  }

  lxw_workbook_options opcoes{};
  opcoes.constant_memory = LXW_TRUE;
  opcoes.use_zip64 = impl_->blocos.size() > 256 ? LXW_TRUE : LXW_FALSE;  // over ~1 GB of text
  PastaDeTrabalhoXlsx pasta;
  pasta.wb = workbook_new_opt(tmp.nome.c_str(), &opcoes);
  if (!pasta.wb) falhaEscrita(caminho, "a pasta de trabalho não pôde ser criada");
  lxw_worksheet* ws = workbook_add_worksheet(pasta.wb, "Planilha1");

  // Four styles, all with the text number format: plain, bold (row 1), right, bold and right.
  lxw_format* formatos[4];
  for (int i = 0; i < 4; ++i) {
    formatos[i] = workbook_add_format(pasta.wb);
    format_set_num_format(formatos[i], "@");
    if (i & 1) format_set_bold(formatos[i]);
    if (i & 2) format_set_align(formatos[i], LXW_ALIGN_RIGHT);
  }

  // Every column carries the text format; the ranges must not overlap. Column formats would widen
  // the sheet's used range to column XFD (other readers then pad every row to 16384 cells), so the
  // range is put back to what the cells alone make it.
  const auto dimensoes = std::make_tuple(ws->dim_rowmin, ws->dim_rowmax, ws->dim_colmin, ws->dim_colmax);
  lxw_row_col_options oculta{};
  oculta.hidden = 1;
  int proxima = 1;
  auto intervalo = [&](int ate) {
    if (ate >= proxima)
      worksheet_set_column(ws, static_cast<lxw_col_t>(proxima - 1), static_cast<lxw_col_t>(ate - 1),
                           LXW_DEF_COL_WIDTH, formatos[0]);
  };
  for (const auto& [coluna, largura] : impl_->larguras) {
    intervalo(coluna - 1);
    const auto c = static_cast<lxw_col_t>(coluna - 1);
    worksheet_set_column_opt(ws, c, c, largura, formatos[0], largura == 0 ? &oculta : nullptr);
    proxima = coluna + 1;
  }
  intervalo(kMaxColunas);
  worksheet_set_row(ws, 0, LXW_DEF_ROW_HEIGHT, formatos[1]);
  std::tie(ws->dim_rowmin, ws->dim_rowmax, ws->dim_colmin, ws->dim_colmax) = dimensoes;

  for (const auto& c : impl_->celulas) {
    lxw_format* f = formatos[(c.linha == 1 ? 1 : 0) | (c.direita ? 2 : 0)];
    const auto l = static_cast<lxw_row_t>(c.linha - 1);
    const auto col = static_cast<lxw_col_t>(c.coluna - 1);
    lxw_error e;
    if (c.ehNumero) {
      e = worksheet_write_number(ws, l, col, c.numero, f);
    } else if (c.tamanho == kSemTexto || c.tamanho == 0) {
      e = worksheet_write_blank(ws, l, col, f);
    } else {
      e = worksheet_write_string(ws, l, col, c.texto, f);
    }
    if (e != LXW_NO_ERROR)
      falhaEscrita(caminho, "célula da linha " + std::to_string(c.linha) + ", coluna " +
                                std::to_string(c.coluna) + ": " + lxw_strerror(e));
  }

  const lxw_error e = workbook_close(pasta.wb);
  pasta.wb = nullptr;
  if (e != LXW_NO_ERROR) falhaEscrita(caminho, lxw_strerror(e));
  // mkstemp makes the file private; an export is a normal document of its folder.
  const mode_t mascara = umask(0);
  umask(mascara);
  ::chmod(tmp.nome.c_str(), 0666 & ~mascara);
  if (std::rename(tmp.nome.c_str(), caminho.c_str()) != 0) falhaEscrita(caminho, std::strerror(errno));
  tmp.nome.clear();
}

}  // namespace zuv
