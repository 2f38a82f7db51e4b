#include "platform/PartesXlsx.h"

#include <charconv>
#include <map>

#include "platform/XmlFluxo.h"

namespace zuv {

namespace {

bool terminaCom(std::string_view s, std::string_view fim) {
  return s.size() >= fim.size() && s.substr(s.size() - fim.size()) == fim;
}

int inteiro(const char* s, int padrao) {
  if (!s) return padrao;
  int v = padrao;
  const char* f = s + std::char_traits<char>::length(s);
  auto r = std::from_chars(s, f, v);
  return r.ec == std::errc() && r.ptr == f ? v : padrao;
}

bool verdade(const char* s) {
  return s && (std::string_view(s) == "1" || std::string_view(s) == "true");
}

class LeitorRelacoes : public XmlFluxo {
 public:
  LeitorRelacoes(std::unique_ptr<ParteZip> p, const std::string& caminho, std::string origem)
      : XmlFluxo(std::move(p), caminho), origem_(std::move(origem)) {}
  std::vector<Relacao> relacoes;

 protected:
  void inicio(std::string_view nome, const char** a) override {
    if (nome != "Relationship") return;
    const char* modo = atributo(a, "TargetMode");
    if (modo && std::string_view(modo) == "External") return;
    const char* id = atributo(a, "Id");
    const char* tipo = atributo(a, "Type");
    const char* alvo = atributo(a, "Target");
    if (id && tipo && alvo && relacoes.size() < 100000)
      relacoes.push_back({id, tipo, resolveAlvo(origem_, alvo)});
  }
  void fim(std::string_view) override {}

 private:
  std::string origem_;
};

class LeitorPastaXml : public XmlFluxo {
 public:
  using XmlFluxo::XmlFluxo;
  std::vector<std::string> folhas;  // relationship ids in tab order
  int abaAtiva = 0;
  bool base1904 = false;

 protected:
  void inicio(std::string_view nome, const char** a) override {
    if (nome == "workbookPr") {
      base1904 = verdade(atributo(a, "date1904"));
    } else if (nome == "workbookView" && !viuVista_) {
      viuVista_ = true;
      abaAtiva = inteiro(atributo(a, "activeTab"), 0);
    } else if (nome == "sheet" && folhas.size() < 100000) {
      const char* id = atributo(a, "id");
      folhas.push_back(id ? id : "");
    }
  }
  void fim(std::string_view) override {}

 private:
  bool viuVista_ = false;
};

class LeitorEstilos : public XmlFluxo {
 public:
  using XmlFluxo::XmlFluxo;
  std::vector<FormatoNumero> tipos;

 protected:
  void inicio(std::string_view nome, const char** a) override {
    if (nome == "numFmt") {
      const char* codigo = atributo(a, "formatCode");
      formatos_[inteiro(atributo(a, "numFmtId"), -1)] = formatoDoCodigo(codigo ? codigo : "");
    } else if (nome == "cellXfs") {
      emXfs_ = true;
    } else if (nome == "xf" && emXfs_) {
      if (tipos.size() >= 1'000'000) return aborta("estilos demais na parte " + nomeParte());
      const int id = inteiro(atributo(a, "numFmtId"), 0);
      auto f = formatos_.find(id);
      tipos.push_back(f != formatos_.end() ? f->second : formatoEmbutido(id));
    }
  }
  void fim(std::string_view nome) override {
    if (nome == "cellXfs") emXfs_ = false;
  }

 private:
  std::map<int, FormatoNumero> formatos_;
  bool emXfs_ = false;
};

}  // namespace

// Reads <si> entries: the <t> texts of an entry joined (rich text runs), phonetic runs skipped.
class LeitorTextos : public XmlFluxo {
 public:
  // contando: only measures the table (entries and bytes), so that the second pass can reserve
  // exactly what it keeps instead of growing by doubling.
  LeitorTextos(std::unique_ptr<ParteZip> p, const std::string& caminho, TextosCompartilhados& destino,
               int64_t limite, bool contando)
      : XmlFluxo(std::move(p), caminho), d_(destino), limite_(limite), contando_(contando) {}
  size_t entradas = 0, bytes = 0;

 protected:
  void inicio(std::string_view nome, const char**) override {
    if (nome == "si") {
      if (static_cast<int64_t>(++entradas) > limite_)
        return aborta("a tabela de textos passa do limite de " + std::to_string(limite_) + " textos");
      emSi_ = true;
      escapes_ = false;
      if (!contando_) d_.inicios_.push_back(static_cast<uint32_t>(d_.textos_.size()));
    } else if (nome == "rPh") {
      ++fonetico_;
    } else if (nome == "t" && emSi_ && fonetico_ == 0) {
      emT_ = true;
    }
  }
  void fim(std::string_view nome) override {
    if (nome == "t") {
      emT_ = false;
    } else if (nome == "rPh") {
      if (fonetico_ > 0) --fonetico_;
    } else if (nome == "si" && emSi_) {
      emSi_ = false;
      if (contando_) return;
      if (escapes_) {
        const size_t inicio = d_.inicios_.back();
        std::string s = d_.textos_.substr(inicio);
        decodificaEscapes(s);
        d_.textos_.resize(inicio);
        d_.textos_ += s;
      }
    }
  }
  void texto(std::string_view s) override {
    if (!emT_) return;
    bytes += s.size();
    if (bytes >= UINT32_MAX) return aborta("a tabela de textos passa do limite de 4 GiB");
    if (contando_) return;
    if (s.find('_') != std::string_view::npos) escapes_ = true;
    d_.textos_.append(s);
  }

 private:
  TextosCompartilhados& d_;
  int64_t limite_;
  bool contando_;
  bool emSi_ = false, emT_ = false, escapes_ = false;
  int fonetico_ = 0;
};

std::vector<Relacao> leRelacoes(const ArquivoZip& zip, const std::string& parte) {
  const size_t barra = parte.rfind('/');
  const std::string pasta = barra == std::string::npos ? "" : parte.substr(0, barra + 1);
  const std::string arquivo = barra == std::string::npos ? parte : parte.substr(barra + 1);
  auto i = zip.procura(pasta + "_rels/" + arquivo + ".rels");
  if (!i) return {};
  LeitorRelacoes l(zip.abre(*i), zip.caminho(), parte);
  l.leTudo();
  return std::move(l.relacoes);
}

PastaDeTrabalho lePastaDeTrabalho(const ArquivoZip& zip) {
  PastaDeTrabalho p;
  std::string parteLivro;
  for (const auto& r : leRelacoes(zip, ""))
    if (terminaCom(r.tipo, "/officeDocument")) parteLivro = r.alvo;
  if (parteLivro.empty() || !zip.procura(parteLivro)) parteLivro = "xl/workbook.xml";
  if (!zip.procura(parteLivro))
    falhaLeitura(zip.caminho(), "o arquivo é um zip, mas não uma planilha do Excel (falta xl/workbook.xml)");

  LeitorPastaXml livro(zip.abre(parteLivro), zip.caminho());
  livro.leTudo();
  p.base1904 = livro.base1904;

  std::map<std::string, Relacao> porId;
  for (auto& r : leRelacoes(zip, parteLivro)) {
    if (terminaCom(r.tipo, "/sharedStrings")) p.parteTextos = r.alvo;
    if (terminaCom(r.tipo, "/styles")) p.parteEstilos = r.alvo;
    porId[r.id] = r;
  }
  if (livro.folhas.empty()) falhaLeitura(zip.caminho(), "a pasta de trabalho não tem nenhuma planilha");
  auto planilhaDe = [&](const std::string& id) -> const Relacao* {
    auto r = porId.find(id);
    if (r == porId.end() || !terminaCom(r->second.tipo, "/worksheet") || !zip.procura(r->second.alvo))
      return nullptr;
    return &r->second;
  };
  const size_t ativa =
      livro.abaAtiva >= 0 && static_cast<size_t>(livro.abaAtiva) < livro.folhas.size() ? livro.abaAtiva : 0;
  const Relacao* folha = planilhaDe(livro.folhas[ativa]);
  // An active chart sheet has no cells: the first sheet of cells stands in for it.
  for (size_t i = 0; !folha && i < livro.folhas.size(); ++i)
    folha = planilhaDe(livro.folhas[i]);
  if (!folha) falhaLeitura(zip.caminho(), "a pasta de trabalho não tem nenhuma planilha de células");
  p.parteFolha = folha->alvo;
  if (!p.parteTextos.empty() && !zip.procura(p.parteTextos)) p.parteTextos.clear();
  if (!p.parteEstilos.empty() && !zip.procura(p.parteEstilos)) p.parteEstilos.clear();
  return p;
}

std::vector<FormatoNumero> leEstilos(const ArquivoZip& zip, const std::string& parte) {
  if (parte.empty()) return {};
  LeitorEstilos l(zip.abre(parte), zip.caminho());
  l.leTudo();
  return std::move(l.tipos);
}

void TextosCompartilhados::le(const ArquivoZip& zip, const std::string& parte) {
  textos_.clear();
  inicios_.clear();
  if (parte.empty()) return;
  LeitorTextos medida(zip.abre(parte), zip.caminho(), *this, zip.limites().celulas, true);
  medida.leTudo();
  textos_.reserve(medida.bytes);
  inicios_.reserve(medida.entradas);
  LeitorTextos l(zip.abre(parte), zip.caminho(), *this, zip.limites().celulas, false);
  l.leTudo();
}

}  // namespace zuv
