#include "platform/GlobaisXls.h"

#include <map>

namespace zuv {

namespace {

enum : uint16_t {
  kEof = 0x000A,
  kFilepass = 0x002F,
  kDatemode = 0x0022,
  kCodepage = 0x0042,
  kWindow1 = 0x003D,
  kBoundsheet = 0x0085,
  kFormat = 0x041E,
  kFormat2 = 0x001E,  // BIFF2 and 3
  kXf = 0x00E0,
  kXf4 = 0x0443,
  kXf3 = 0x0243,
  kSst = 0x00FC,
  kBof = 0x0809,
};

}  // namespace

// Reads the SST record and its CONTINUE records into the table.
class LeitorSst {
 public:
  static void le(FluxoBiff& f, TextosXls& t, const std::string& caminho, const LimitesLeitura& limites) {
    // The table's size bounds what it can hold; reserving that much (untouched, so it costs no
    // memory until used) spares the copies of a growing buffer, which would double the peak.
    // UTF-8 takes at most twice the bytes.
    const uint64_t inicio = f.posicao();
    const uint64_t bytes = f.tamanho() + f.bytesDasContinuacoes();
    f.posiciona(inicio);
    if (!f.proximo()) return;
    if (bytes * 2 >= UINT32_MAX) falhaLeitura(caminho, "a tabela de textos passa do limite de 4 GiB");
    CursorBiff c(f);
    uint32_t total = 0, unicos = 0;
    if (!c.u32(total) || !c.u32(unicos)) return;
    t.textos_.reserve(static_cast<size_t>(bytes * 2));
    t.inicios_.reserve(std::min<uint64_t>(unicos, bytes / 3 + 1));
    for (uint32_t i = 0; i < unicos; ++i) {
      uint16_t caracteres = 0;
      if (!c.u16(caracteres)) break;
      if (static_cast<int64_t>(t.inicios_.size()) >= limites.celulas)
        falhaLeitura(caminho,
                     "a tabela de textos passa do limite de " + std::to_string(limites.celulas) + " textos");
      t.inicios_.push_back(static_cast<uint32_t>(t.textos_.size()));
      if (!c.texto8(caracteres, t.textos_)) break;
    }
  }
};

const char* textoErroXls(unsigned codigo) {
  switch (codigo) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return "#N/A";
  }
}

GlobaisXls leGlobaisXls(FluxoBiff& f, int biff, const std::string& caminho, const LimitesLeitura& limites) {
  GlobaisXls g;
  g.biff = biff;
  std::vector<uint16_t> formatoDoXf;
  std::map<uint16_t, std::string> codigos;
  uint16_t proximoFormato = 0;
  // Up to the globals' EOF; a BOF instead means the EOF is missing and a sheet has begun.
  while (f.proximo()) {
    const unsigned char* d = f.dados();
    const size_t n = f.tamanho();
    const uint16_t tipo = f.tipo();
    if (tipo == kEof || tipo == kBof) {
      g.fim = tipo == kEof ? f.seguinte() : f.posicao();
      g.fechados = true;
      break;
    }
    switch (tipo) {
      case kFilepass: {
        if (f.cifrado()) break;
        auto cifra = cifraComSenhaPadrao(d, n, biff == 8);
        if (!cifra) falhaLeitura(caminho, "planilha protegida por senha");
        f.defineCifra(std::move(cifra), f.seguinte());
        break;
      }
      case kDatemode:
        if (n >= 2) g.base1904 = le16(d) == 1;
        break;
      case kCodepage:
        if (n >= 2) g.paginaDeCodigo = le16(d);
        break;
      case kWindow1:
        if (n >= 12) g.abaAtiva = le16(d + 10);
        break;
      case kBoundsheet:
        if (n >= 6 && g.folhas.size() < 65536) g.folhas.push_back({le32(d), d[5]});
        break;
      // A style's number format: its id (BIFF5 and 8) or its place in the format list (BIFF3, 4).
      case kXf:
        if (biff >= 5 && n >= 4 && formatoDoXf.size() < 65536) formatoDoXf.push_back(le16(d + 2));
        break;
      case kXf4:
      case kXf3:
        if (biff <= 4 && n >= 2 && formatoDoXf.size() < 65536) formatoDoXf.push_back(d[1]);
        break;
      // Format codes: with their id (BIFF5 and 8), in order of appearance before.
      case kFormat:
      case kFormat2: {
        std::string codigo;
        CursorBiff c(f, tipo == kFormat ? 2 : 0);
        if (biff == 8) {
          uint16_t caracteres = 0;
          if (c.u16(caracteres)) c.texto8(caracteres, codigo);
        } else {
          PaginaDeCodigo pagina(g.paginaDeCodigo);
          uint8_t caracteres = 0;
          if (c.u8(caracteres)) c.bytes(std::min<size_t>(caracteres, c.restam()), pagina, codigo);
        }
        const uint16_t id = biff >= 5 && n >= 2 ? le16(d) : proximoFormato;
        ++proximoFormato;
        codigos[id] = std::move(codigo);
        break;
      }
      case kSst:
        if (biff == 8 && g.textos.tamanho() == 0) LeitorSst::le(f, g.textos, caminho, limites);
        break;
      default:
        break;
    }
  }
  if (!g.fechados) g.fim = f.seguinte();
  // A format record may follow the styles that use it: the styles are resolved at the end.
  std::map<uint16_t, FormatoNumero> formatos;
  for (const auto& [id, codigo] : codigos)
    formatos[id] = formatoDoCodigo(codigo);
  // BIFF2 cells name their format themselves: the list of formats stands for the styles.
  if (biff == 2) {
    formatoDoXf.clear();
    for (uint16_t i = 0; i < proximoFormato; ++i)
      formatoDoXf.push_back(i);
  }
  g.formatoDoXf.reserve(formatoDoXf.size());
  for (uint16_t id : formatoDoXf) {
    const auto c = formatos.find(id);
    // Before BIFF5 every format a workbook uses is written out: an id without a code is General.
    g.formatoDoXf.push_back(c != formatos.end() ? c->second
                            : biff >= 5         ? formatoEmbutido(id)
                                                : FormatoNumero{});
  }
  return g;
}

}  // namespace zuv
