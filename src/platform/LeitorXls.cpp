#include "platform/LeitorXls.h"

#include <freexl.h>

#include "common/Regional.h"
#include "platform/FormatoCelula.h"
#include "platform/ZipPlanilha.h"

namespace zuv {

namespace {

// Closes the FreeXL handle even when the constructor throws after opening it.
struct AlcaFreeXl {
  const void* h = nullptr;
  AlcaFreeXl() = default;
  AlcaFreeXl(const AlcaFreeXl&) = delete;
  AlcaFreeXl& operator=(const AlcaFreeXl&) = delete;
  ~AlcaFreeXl() {
    if (h) freexl_close(h);
  }
};

std::string dataIso(const char* s, int estilo) {
  return s ? textoDataIso(s, estilo) : std::string();
}

class LeitorXls : public LeitorPlanilha {
 public:
  LeitorXls(const std::string& caminho, const InfoBiff& info, int estilo)
      : caminho_(caminho), estilo_(estilo) {
    if (info.protegida) falhaLeitura(caminho, "planilha protegida por senha");
    const int r = freexl_open(caminho.c_str(), &alca_.h);
    h_ = alca_.h;
    if (r != FREEXL_OK) {
      falhaLeitura(caminho,
                   "o arquivo .xls está danificado ou não é suportado (FreeXL " + std::to_string(r) + ")");
    }
    unsigned int senha = 0, folhas = 0;
    if (freexl_get_info(h_, FREEXL_BIFF_PASSWORD, &senha) == FREEXL_OK && senha) {
      falhaLeitura(caminho, "planilha protegida por senha");
    }
    freexl_get_info(h_, FREEXL_BIFF_SHEET_COUNT, &folhas);
    if (folhas == 0) falhaLeitura(caminho, "a pasta de trabalho não tem nenhuma planilha");
    const unsigned short ativa = info.abaAtiva >= 0 && static_cast<unsigned>(info.abaAtiva) < folhas
                                     ? static_cast<unsigned short>(info.abaAtiva)
                                     : 0;
    if (freexl_select_active_worksheet(h_, ativa) != FREEXL_OK ||
        freexl_worksheet_dimensions(h_, &linhas_, &colunas_) != FREEXL_OK)
      falhaLeitura(caminho, "a planilha ativa não pôde ser lida");
  }
  std::string celula(int linha, int coluna) override {
    if (linha < 1 || coluna < 1 || static_cast<unsigned>(linha) > linhas_ || coluna > colunas_) return {};
    FreeXL_CellValue v;
    if (freexl_get_cell_value(h_, static_cast<unsigned>(linha - 1), static_cast<unsigned short>(coluna - 1),
                              &v) != FREEXL_OK)
      falhaLeitura(caminho_, "a célula da linha " + std::to_string(linha) + ", coluna " +
                                 std::to_string(coluna) + " não pôde ser lida");
    switch (v.type) {
      case FREEXL_CELL_INT:
        return std::to_string(v.value.int_value);
      case FREEXL_CELL_DOUBLE:
        return formataNumero(v.value.double_value, estilo_);
      case FREEXL_CELL_TEXT:
      case FREEXL_CELL_SST_TEXT:
        return v.value.text_value ? v.value.text_value : "";
      case FREEXL_CELL_DATE:
      case FREEXL_CELL_DATETIME:
        return dataIso(v.value.text_value, estilo_);
      case FREEXL_CELL_TIME:
        return v.value.text_value ? v.value.text_value : "";
      default:
        return {};
    }
  }

  int ultimaLinha() override {
    for (unsigned l = linhas_; l >= 1; --l)
      if (ultimaColuna(static_cast<int>(l)) > 0) return static_cast<int>(l);
    return 0;
  }

  int ultimaColuna(int linha) override {
    for (int c = colunas_; c >= 1; --c)
      if (!celula(linha, c).empty()) return c;
    return 0;
  }

 private:
  AlcaFreeXl alca_;
  std::string caminho_;
  int estilo_;
  const void* h_ = nullptr;
  unsigned int linhas_ = 0;
  unsigned short colunas_ = 0;
};

}  // namespace

std::unique_ptr<LeitorPlanilha> abreXls(const std::string& caminho, const InfoBiff& info, int estilo) {
  return std::make_unique<LeitorXls>(caminho, info, estilo);
}

}  // namespace zuv
