#include "fiscal/VerificaPlanilhaFiscal.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <unordered_map>

#include "common/Erro.h"
#include "common/Regional.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "fiscal/CodigosFiscais.h"
#include "platform/Planilha.h"

namespace zuv {

namespace {

enum class Campo {
  Barra,
  Descricao,
  CodigoInterno,
  Ncm,
  CfopSaida,
  CfopEntrada,
  Csosn,
  CstIcms,
  Cest,
  CstPis,
  CstCofins,
  Preco,
  Estoque,
  Porcentagem
};

// A column as the import reads it: by position, under the heading its export writes.
struct ColunaFixa {
  int posicao;
  const char* titulo;  // "" for the product workbook's column 16, which has none
  Campo campo;
};

constexpr ColunaFixa kProduto[] = {
    {1, "Barra", Campo::Barra},
    {2, "Nome Produto", Campo::Descricao},
    {4, "Preço Custo", Campo::Preco},
    {5, "Preço Venda", Campo::Preco},
    {6, "Estoque Atual", Campo::Estoque},
    {9, "NCM", Campo::Ncm},
    {11, "CFOP VendaSat", Campo::CfopSaida},
    {12, "Trib.Simples Nacional", Campo::Csosn},
    {13, "Cód.Trib.ICMS CST", Campo::CstIcms},
    {14, "Código CEST", Campo::Cest},
    {15, "Preço Atacado", Campo::Preco},
    {16, "", Campo::Preco},
};

constexpr ColunaFixa kTributacao[] = {
    {1, "Cod.Interno", Campo::CodigoInterno},
    {2, "Código Barra", Campo::Barra},
    {5, "NCM", Campo::Ncm},
    {7, "CFOP SAT", Campo::CfopSaida},
    {8, "Trib.Simples Nacional", Campo::Csosn},
    {9, "Cód.Trib.ICMS CST", Campo::CstIcms},
    {10, "Código CEST", Campo::Cest},
    {11, "CFP de Entrada", Campo::CfopEntrada},
    {12, "Código CST PIS", Campo::CstPis},
    {13, "Porcentagem PIS", Campo::Porcentagem},
    {14, "Código CST Cofins", Campo::CstCofins},
    {15, "Porcentagem Cofins", Campo::Porcentagem},
    {16, "Porcentagem ICMS Cadastro Produto", Campo::Porcentagem},
};

// Headings only one of the two workbooks has.
constexpr const char* kSoProduto[] = {"Barra",         "Nome Produto",  "Unidade",    "Preço Custo",
                                      "Preço Venda",   "Estoque Atual", "Nome Grupo", "Sub Grupo",
                                      "CFOP VendaSat", "Preço Atacado"};
constexpr const char* kSoTributacao[] = {
    "Cod.Interno",    "Código Barra",   "Descrição Produto", "Grupo Produto",     "CFOP SAT",
    "CFP de Entrada", "Código CST PIS", "Porcentagem PIS",   "Código CST Cofins", "Porcentagem Cofins"};

// Headings compared without regard to case and to blanks around or doubled.
std::string normaliza(std::string_view s) {
  std::string r;
  for (char c : semBrancos(s)) {
    if (c == ' ' && !r.empty() && r.back() == ' ') continue;
    r += c;
  }
  return maiusculas(r);
}

struct ColunaLida {
  int coluna;
  std::string titulo;
  Campo campo;
};

// An NCM/SH prefix as the tables print it: "1704.90.10", "2202.99", "8481.2", "2402", "33".
std::string codigoImpresso(const std::string& d) {
  if (d.size() <= 4) return d;
  std::string r = d.substr(0, 4) + "." + d.substr(4, 2);
  if (d.size() > 6) r += "." + d.substr(6);
  return r;
}

std::string plural(size_t n, const char* um, const char* varios) {
  return std::to_string(n) + " " + (n == 1 ? um : varios);
}

class Verificacao {
 public:
  Verificacao(const std::string& caminho, const TabelasFiscais* tabelas,
              const OpcoesVerificacaoFiscal& opcoes)
      : leitor_(abrePlanilha(caminho)), tabelas_(tabelas), opcoes_(opcoes) {
    estilo_ = opcoes.estilo;
    if (estilo_ == 0) estilo_ = estiloLembrado();
    if (estilo_ == 0) estilo_ = estiloDosSimbolos(simbolosDoAmbiente());
    if (estilo_ == 0) estilo_ = 1;
    nome_ = std::filesystem::path(caminho).filename().string();
  }

  ResultadoVerificacaoFiscal executa() {
    leTitulos();
    const Campo parada = resultado_.layout == LayoutFiscal::Produto ? Campo::Barra : Campo::CodigoInterno;
    for (int linha = 2;; ++linha) {
      if (terminou(linha)) {
        const int ultima = leitor_->ultimaLinha();
        if (ultima > linha) {
          const ColunaLida* c = coluna(parada);
          const std::string resto =
              ultima == linha + 1 ? "a linha " + std::to_string(ultima)
                                  : "as linhas " + std::to_string(linha + 1) + " a " + std::to_string(ultima);
          achado(linha, c ? c->coluna : 1, c ? c->titulo : "", "",
                 {"Linha vazia: a importação termina aqui e não lê " + resto, {}});
        }
        break;
      }
      ++resultado_.linhasDeDados;
      verificaLinha(linha);
    }
    std::stable_sort(resultado_.achados.begin(), resultado_.achados.end(),
                     [](const AchadoFiscal& a, const AchadoFiscal& b) {
                       return a.linha != b.linha ? a.linha < b.linha : a.coluna < b.coluna;
                     });
    return std::move(resultado_);
  }

 private:
  void leTitulos() {
    const int ultima = std::max(leitor_->ultimaColuna(1), 16);
    std::vector<std::string> titulos(ultima + 1);
    for (int c = 1; c <= ultima; ++c)
      titulos[c] = normaliza(leitor_->celula(1, c));
    auto conta = [&](const auto& lista) {
      return std::count_if(std::begin(lista), std::end(lista), [&](const char* t) {
        return std::find(titulos.begin(), titulos.end(), normaliza(t)) != titulos.end();
      });
    };
    const auto produto = conta(kSoProduto), tributacao = conta(kSoTributacao);
    if (std::max(produto, tributacao) < 2 || produto == tributacao)
      throw Erro(nome_ +
                 ": a linha 1 não tem os títulos da planilha de produtos (produto.xlsx: Barra, Nome Produto, "
                 "...) nem os da planilha de tributação (produtosat.xlsx: Cod.Interno, Código Barra, ...)");
    resultado_.layout = produto > tributacao ? LayoutFiscal::Produto : LayoutFiscal::Tributacao;

    auto mapeia = [&](const auto& fixas) {
      for (const ColunaFixa& f : fixas) {
        const std::string titulo = normaliza(f.titulo);
        int achada = 0;
        if (!titulo.empty())
          for (int c = 1; c <= ultima && achada == 0; ++c)
            if (titulos[c] == titulo) achada = c;
        if (achada == 0) {
          // Without its heading the column is read where the import reads it, unless another
          // heading stands there.
          if (f.posicao <= ultima && !titulos[f.posicao].empty() && !titulo.empty()) continue;
          achada = f.posicao;
        } else if (achada != f.posicao) {
          achado(1, achada, f.titulo, leitor_->celula(1, achada),
                 {std::string("O título \"") + f.titulo + "\" está na coluna " + letraDaColuna(achada) +
                      ", mas a importação lê esta informação da coluna " + letraDaColuna(f.posicao) +
                      " (as colunas são lidas pela posição)",
                  {}});
        }
        colunas_.push_back({achada, f.titulo, f.campo});
      }
    };
    if (resultado_.layout == LayoutFiscal::Produto)
      mapeia(kProduto);
    else
      mapeia(kTributacao);
  }

  const ColunaLida* coluna(Campo campo) const {
    for (const auto& c : colunas_)
      if (c.campo == campo) return &c;
    return nullptr;
  }

  // Each cell the check reads, once per row.
  void leLinha(int linha) {
    valores_.resize(colunas_.size());
    for (size_t i = 0; i < colunas_.size(); ++i)
      valores_[i] = leitor_->celula(linha, colunas_[i].coluna);
  }

  const std::string& valor(Campo campo) const {
    static const std::string vazio;
    for (size_t i = 0; i < colunas_.size(); ++i)
      if (colunas_[i].campo == campo) return valores_[i];
    return vazio;
  }

  // The import stops at the first row without a barcode and a description (products) or
  // without an item code (tax codes).
  bool terminou(int linha) {
    leLinha(linha);
    if (resultado_.layout == LayoutFiscal::Tributacao) return semBrancos(valor(Campo::CodigoInterno)).empty();
    return semBrancos(valor(Campo::Barra)).empty() && semBrancos(valor(Campo::Descricao)).empty();
  }

  void achado(int linha, int coluna, const std::string& titulo, std::string valor, Problema p) {
    resultado_.achados.push_back(
        {linha, coluna, titulo, std::move(valor), std::move(p.motivo), std::move(p.sugestao)});
  }

  void repetido(std::unordered_map<std::string, int>& vistos, int linha, const ColunaLida& c,
                const std::string& v, const char* motivo) {
    const std::string chave(semBrancos(v));
    if (chave.empty()) return;
    const auto [it, novo] = vistos.emplace(chave, linha);
    if (!novo) achado(linha, c.coluna, c.titulo, v, {motivo + std::to_string(it->second), {}});
  }

  void verificaLinha(int linha) {
    std::string ncm;  // the row's 8-digit NCM (as typed or as corrected), for the CEST
    for (size_t i = 0; i < colunas_.size(); ++i) {
      const ColunaLida& c = colunas_[i];
      const std::string& v = valores_[i];
      std::optional<Problema> p;
      switch (c.campo) {
        case Campo::Descricao:
          break;
        case Campo::Barra:
          repetido(barras_, linha, c, v, "Código de barras repetido: já está na linha ");
          break;
        case Campo::CodigoInterno:
          p = verificaCodigoInterno(v);
          if (!p)
            repetido(codigos_, linha, c, v, "Cod.Interno repetido: a linha que já atualiza este item é a ");
          break;
        case Campo::Ncm:
          p = verificaNcm(v);
          ncm = candidato(v, p, 8);
          if (tabelas_ && tabelas_->ncm && !ncm.empty()) junta(p, motivoNcm(ncm), "NCM ");
          break;
        case Campo::Cest: {
          p = verificaCest(v);
          const std::string cest = candidato(v, p, 7);
          if (tabelas_ && tabelas_->cest && !cest.empty()) junta(p, motivoCest(cest, ncm), "CEST ");
          break;
        }
        case Campo::CfopSaida:
          p = verificaCfop(v, true);
          break;
        case Campo::CfopEntrada:
          p = verificaCfop(v, false);
          break;
        case Campo::Csosn:
          p = verificaCsosn(v);
          break;
        case Campo::CstIcms:
          p = verificaCstIcms(v);
          break;
        case Campo::CstPis:
          p = verificaCstPisCofins(v, "CST PIS");
          break;
        case Campo::CstCofins:
          p = verificaCstPisCofins(v, "CST COFINS");
          break;
        case Campo::Preco:
          p = verificaNumero(v, estilo_, "Preço");
          break;
        case Campo::Estoque:
          p = verificaNumero(v, estilo_, "Estoque");
          break;
        case Campo::Porcentagem:
          p = verificaNumero(v, estilo_, "Porcentagem", true);
          break;
      }
      if (p) achado(linha, c.coluna, c.titulo, v, std::move(*p));
    }
  }

  // The code of `casas` digits the cell means: as typed, or the certain correction.
  static std::string candidato(const std::string& v, const std::optional<Problema>& p, size_t casas) {
    if (!p) {
      const std::string_view t = semBrancos(v);
      return t.size() == casas ? std::string(t) : std::string();
    }
    return p->sugestao.size() == casas && soDigitos(p->sugestao) ? p->sugestao : std::string();
  }

  // Adds what the table says about the code (motivo starts with the code) to the cell's problem.
  // A correction the table does not confirm is no longer certain.
  static void junta(std::optional<Problema>& p, std::optional<std::string> motivo, const char* nome) {
    if (!motivo) return;
    if (p) {
      p->motivo += "; " + *motivo;
      p->sugestao.clear();
    } else {
      p = Problema{nome + *motivo, {}};
    }
  }

  std::optional<std::string> motivoNcm(const std::string& ncm) const {
    const auto vigencias = tabelas_->ncm->vigencias(ncm);
    if (vigencias.empty()) return ncm + " não existe na tabela NCM (" + tabelas_->ncm->versao() + ")";
    std::optional<Data> encerrada, futura;
    for (const VigenciaNcm& v : vigencias) {
      if (v.inicio <= opcoes_.dia && opcoes_.dia <= v.fim) return std::nullopt;
      if (v.fim < opcoes_.dia && (!encerrada || v.fim > *encerrada)) encerrada = v.fim;
      if (v.inicio > opcoes_.dia && (!futura || v.inicio < *futura)) futura = v.inicio;
    }
    if (futura) return ncm + " só vigora a partir de " + textoData(*futura);
    return ncm + " deixou de vigorar em " + textoData(*encerrada);
  }

  std::optional<std::string> motivoCest(const std::string& cest, const std::string& ncm) const {
    const ItemCest* item = tabelas_->cest->procura(cest);
    if (!item) return cest + " não existe na tabela CEST (" + tabelas_->cest->versao() + ")";
    if (item->revogado) return cest + " foi revogado";
    if (item->prefixos.empty() || ncm.empty()) return std::nullopt;
    for (const std::string& prefixo : item->prefixos)
      if (ncm.compare(0, prefixo.size(), prefixo) == 0) return std::nullopt;
    std::string lista;
    constexpr size_t kMostrados = 8;
    for (size_t i = 0; i < item->prefixos.size() && i < kMostrados; ++i)
      lista += (i ? ", " : "") + codigoImpresso(item->prefixos[i]);
    if (item->prefixos.size() > kMostrados) lista += ", ...";
    return cest + " não vale para o NCM " + ncm + ": vale para NCM que começa com " + lista;
  }

  std::unique_ptr<LeitorPlanilha> leitor_;
  const TabelasFiscais* tabelas_;
  OpcoesVerificacaoFiscal opcoes_;
  int estilo_ = 1;
  std::string nome_;
  std::vector<ColunaLida> colunas_;
  std::vector<std::string> valores_;  // the current row's cells, by colunas_
  std::unordered_map<std::string, int> barras_, codigos_;
  ResultadoVerificacaoFiscal resultado_;
};

}  // namespace

ResultadoVerificacaoFiscal verificaPlanilha(const std::string& caminho, const TabelasFiscais* tabelas,
                                            const OpcoesVerificacaoFiscal& opcoes) {
  return Verificacao(caminho, tabelas, opcoes).executa();
}

std::vector<AchadoFiscal> verificaPlanilhaFiscal(const std::string& caminho, const TabelasFiscais* tabelas,
                                                 const OpcoesVerificacaoFiscal& opcoes) {
  return verificaPlanilha(caminho, tabelas, opcoes).achados;
}

const char* nomeDoLayout(LayoutFiscal layout) {
  return layout == LayoutFiscal::Produto ? "planilha de produtos (produto.xlsx)"
                                         : "planilha de tributação (produtosat.xlsx)";
}

std::string letraDaColuna(int coluna) {
  std::string r;
  for (; coluna > 0; coluna = (coluna - 1) / 26)
    r.insert(r.begin(), static_cast<char>('A' + (coluna - 1) % 26));
  return r;
}

std::string textoDoAchado(const AchadoFiscal& a) {
  std::string r = "Linha " + std::to_string(a.linha) + ", coluna " + letraDaColuna(a.coluna);
  if (!a.titulo.empty()) r += " (" + a.titulo + ")";
  r += " \"" + a.valor + "\": " + a.motivo;
  if (!a.sugestao.empty()) r += ". Sugestão: " + a.sugestao;
  return r;
}

bool verificaAntesDaImportacao(Tela& tela, const std::string& caminho, bool recusaSeAchar,
                               const std::string& controle) {
  ResultadoVerificacaoFiscal resultado;
  try {
    resultado = verificaPlanilha(caminho, nullptr);
  } catch (const Erro&) {
    return true;
  }
  if (resultado.achados.empty()) return true;
  const std::string nome = std::filesystem::path(caminho).filename().string();
  tela.adicionaItem(controle, "Verificação fiscal de " + nome + ": " +
                                  plural(resultado.achados.size(), "achado", "achados"));
  for (const AchadoFiscal& a : resultado.achados)
    tela.adicionaItem(controle, textoDoAchado(a));
  if (!recusaSeAchar) return true;
  tela.mensagem("A importação não foi iniciada: a verificação fiscal encontrou " +
                    plural(resultado.achados.size(), "problema", "problemas") + " em " + nome + ".",
                Icone::Exclamacao);
  return false;
}

}  // namespace zuv
