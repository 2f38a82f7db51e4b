#include "platform/LeitorXls.h"

#include <algorithm>
#include <chrono>

#include "common/Regional.h"
#include "platform/FormatoCelula.h"
#include "platform/FreeXlIsolada.h"
#include "platform/ZipPlanilha.h"

namespace zuv {

namespace {

std::string dataIso(const std::string& s, int estilo) {
  return textoDataIso(s, estilo);
}

// The cells FreeXL read (in a child process, see FreeXlIsolada.h), with the formula results
// the stream holds beyond them, as text.
class LeitorXls : public LeitorPlanilha {
 public:
  LeitorXls(const std::string& arquivo, const std::string& caminho, InfoBiff info, int estilo,
            const LimitesLeitura& limites)
      : info_(std::move(info)), estilo_(estilo) {
    if (info_.protegida) falhaLeitura(caminho, "planilha protegida por senha");
    LimitesXls l;
    l.bytes = limites.bytesDescomprimidos;
    l.celulas = limites.celulas;
    l.tempo = std::chrono::milliseconds(int64_t{limites.segundosXls} * 1000);
    folha_ = leFolhaXlsIsolada(arquivo, caminho,
                               info_.abaAtiva >= 0 ? static_cast<unsigned>(info_.abaAtiva) : 0, l);
  }
  std::string celula(int linha, int coluna) override {
    if (auto f = info_.formulas.find({linha, coluna}); f != info_.formulas.end()) return formula(f->second);
    if (linha < 1 || coluna < 1 || static_cast<unsigned>(linha) > folha_.linhas || coluna > folha_.colunas)
      return {};
    const auto l = folha_.celulas.find(static_cast<unsigned>(linha));
    if (l == folha_.celulas.end()) return {};
    const auto c = std::lower_bound(l->second.begin(), l->second.end(), coluna,
                                    [](const CelulaXls& x, int col) { return x.coluna < col; });
    if (c == l->second.end() || c->coluna != coluna) return {};
    switch (c->tipo) {
      case CelulaXls::Inteiro:
        return std::to_string(c->inteiro);
      case CelulaXls::Real:
        return formataNumero(c->real, estilo_);
      case CelulaXls::Data:
      case CelulaXls::DataHora:
        return dataIso(folha_.textos[c->texto], estilo_);
      default:
        return folha_.textos[c->texto];
    }
  }

  int ultimaLinha() override {
    for (unsigned l = folha_.linhas; l >= 1; --l)
      if (ultimaColuna(static_cast<int>(l)) > 0) return static_cast<int>(l);
    return 0;
  }

  int ultimaColuna(int linha) override {
    if (linha < 1 || static_cast<unsigned>(linha) > folha_.linhas) return 0;
    // Only the cells of the row FreeXL has and the row's formulas can be non-empty.
    int ultima = 0;
    if (const auto l = folha_.celulas.find(static_cast<unsigned>(linha)); l != folha_.celulas.end())
      for (const CelulaXls& c : l->second)
        if (c.coluna > ultima && !celula(linha, c.coluna).empty()) ultima = c.coluna;
    for (auto f = info_.formulas.lower_bound({linha, 0});
         f != info_.formulas.end() && f->first.first == linha; ++f)
      if (f->first.second > ultima && f->first.second <= folha_.colunas &&
          !celula(linha, f->first.second).empty())
        ultima = f->first.second;
    return ultima;
  }

 private:
  std::string formula(const FormulaXls& f) const {
    switch (f.tipo) {
      case FormulaXls::Texto:
      case FormulaXls::Erro:
        return f.texto;
      case FormulaXls::Booleano:
        return textoBooleano(f.numero != 0 ? "1" : "0", estilo_);
      default: {
        TipoFormato tipo = TipoFormato::Numero;
        if (f.xf < info_.formatoDoXf.size()) {
          const uint16_t id = info_.formatoDoXf[f.xf];
          auto custom = info_.formatos.find(id);
          tipo = custom != info_.formatos.end() ? tipoFormatoCodigo(custom->second) : tipoFormatoEmbutido(id);
        }
        if (tipo != TipoFormato::Numero) {
          std::string d = textoSerial(f.numero, tipo, info_.base1904, estilo_);
          if (!d.empty()) return d;
        }
        return formataNumero(f.numero, estilo_);
      }
    }
  }

  InfoBiff info_;
  int estilo_;
  FolhaXls folha_;
};

}  // namespace

std::unique_ptr<LeitorPlanilha> abreXls(const std::string& arquivo, const std::string& caminho, InfoBiff info,
                                        int estilo, const LimitesLeitura& limites) {
  return std::make_unique<LeitorXls>(arquivo, caminho, std::move(info), estilo, limites);
}

}  // namespace zuv
