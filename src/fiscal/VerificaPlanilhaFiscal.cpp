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
#include "shell/ContextoExecucao.h"

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
  AliquotaEcf,
  TaxaPisCofins,
  TaxaIcmsProduto
};

// A column as the import reads it: by position, under the heading its export writes. Columns the
// import does not read (the product workbook's CST, the tax workbook's barcode) are not checked.
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
    {10, "Aliq. ECF SAT", Campo::AliquotaEcf},
    {11, "CFOP VendaSat", Campo::CfopSaida},
    {12, "Trib.Simples Nacional", Campo::Csosn},
    {14, "Código CEST", Campo::Cest},
    {15, "Preço Atacado", Campo::Preco},
    {16, "", Campo::Preco},
};

constexpr ColunaFixa kTributacao[] = {
    {1, "Cod.Interno", Campo::CodigoInterno},
    {5, "NCM", Campo::Ncm},
    {6, "Aliq. ECF SAT", Campo::AliquotaEcf},
    {7, "CFOP SAT", Campo::CfopSaida},
    {8, "Trib.Simples Nacional", Campo::Csosn},
    {9, "Cód.Trib.ICMS CST", Campo::CstIcms},
    {10, "Código CEST", Campo::Cest},
    {11, "CFP de Entrada", Campo::CfopEntrada},
    {12, "Código CST PIS", Campo::CstPis},
    {13, "Porcentagem PIS", Campo::TaxaPisCofins},
    {14, "Código CST Cofins", Campo::CstCofins},
    {15, "Porcentagem Cofins", Campo::TaxaPisCofins},
    {16, "Porcentagem ICMS Cadastro Produto", Campo::TaxaIcmsProduto},
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

// "2, 7 e 9", at most kMostradas rows.
std::string listaDeLinhas(const std::vector<int>& linhas) {
  constexpr size_t kMostradas = 10;
  std::string r;
  const size_t n = std::min(linhas.size(), kMostradas);
  for (size_t i = 0; i < n; ++i)
    r += (i == 0 ? "" : i + 1 == linhas.size() ? " e " : ", ") + std::to_string(linhas[i]);
  if (linhas.size() > n) r += " e mais " + std::to_string(linhas.size() - n);
  return r;
}

// Rows that the import takes as one item: the same barcode, or the same item code.
struct Repeticao {
  int coluna;
  std::string titulo, valor;
  std::vector<int> linhas;
};

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
    const Campo parada = produto() ? Campo::Barra : Campo::CodigoInterno;
    for (int linha = 2;; ++linha) {
      if (terminou(linha)) {
        const int ultima = leitor_->ultimaLinha();
        if (ultima > linha) {
          const ColunaLida* c = coluna(parada);
          const std::string resto =
              ultima == linha + 1 ? "a linha " + std::to_string(ultima)
                                  : "as linhas " + std::to_string(linha + 1) + " a " + std::to_string(ultima);
          achado(
              linha, c ? c->coluna : 1, c ? c->titulo : "", "",
              {"Linha vazia antes do fim", "Linha vazia: a importação termina aqui e não lê " + resto, {}});
        }
        break;
      }
      ++resultado_.linhasDeDados;
      verificaLinha(linha);
    }
    for (const Repeticao& r : repeticoes_) {
      if (r.linhas.size() < 2) continue;
      const std::string onde =
          "em " + std::to_string(r.linhas.size()) + " linhas (" + listaDeLinhas(r.linhas) + ")";
      Problema p = produto() ? Problema{"Código de barras repetido",
                                        onde +
                                            ": a importação as trata como um item só; as linhas seguintes "
                                            "atualizam o item da primeira",
                                        {}}
                             : Problema{"Cod.Interno repetido",
                                        onde + ": todas atualizam o mesmo item e fica o que a última grava",
                                        {}};
      achado(r.linhas.front(), r.coluna, r.titulo, r.valor, std::move(p));
      resultado_.achados.back().vezes = static_cast<int>(r.linhas.size());
    }
    std::stable_sort(resultado_.achados.begin(), resultado_.achados.end(),
                     [](const AchadoFiscal& a, const AchadoFiscal& b) {
                       return a.linha != b.linha ? a.linha < b.linha : a.coluna < b.coluna;
                     });
    return std::move(resultado_);
  }

 private:
  bool produto() const { return resultado_.layout == LayoutFiscal::Produto; }

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
                 {"Coluna fora do lugar",
                  std::string("O título \"") + f.titulo + "\" está na coluna " + letraDaColuna(achada) +
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
    resultado_.achados.push_back({linha, coluna, titulo, std::move(valor), std::move(p.tipo),
                                  std::move(p.motivo), std::move(p.sugestao)});
  }

  // Remembers the row under the key the import finds its item by.
  void repete(const std::string& chave, int linha, const ColunaLida& c, const std::string& v) {
    if (chave.empty()) return;
    const auto [it, nova] = indiceRepeticao_.emplace(chave, repeticoes_.size());
    if (nova) repeticoes_.push_back({c.coluna, c.titulo, v, {}});
    repeticoes_[it->second].linhas.push_back(linha);
  }

  void verificaLinha(int linha) {
    const LayoutFiscal layout = resultado_.layout;
    std::string ncm;  // the row's NCM as the import stores it, when it has 8 digits: for the CEST
    for (size_t i = 0; i < colunas_.size(); ++i) {
      const ColunaLida& c = colunas_[i];
      const std::string& v = valores_[i];
      std::optional<Problema> p;
      switch (c.campo) {
        case Campo::Descricao:
          break;
        case Campo::Barra:
          p = verificaBarra(v);
          repete(barraGravada(v), linha, c, v);
          break;
        case Campo::CodigoInterno:
          p = verificaCodigoInterno(v);
          repete(codigoInternoGravado(v), linha, c, v);
          break;
        case Campo::Ncm:
          p = verificaNcm(v, layout);
          ncm = codigoValido(ncmGravado(v, layout), 8);
          if (tabelas_ && tabelas_->ncm && !ncm.empty()) junta(p, problemaNcm(ncm));
          break;
        case Campo::Cest: {
          p = verificaCest(v, layout);
          const std::string cest = codigoValido(cestGravado(v, layout), 7);
          if (tabelas_ && tabelas_->cest && !cest.empty()) junta(p, problemaCest(cest, ncm));
          break;
        }
        case Campo::CfopSaida:
          p = verificaCfop(v, true, layout);
          break;
        case Campo::CfopEntrada:
          p = verificaCfop(v, false, layout);
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
          p = verificaNumero(v, estilo_, NumeroProduto::Preco);
          break;
        case Campo::Estoque:
          p = verificaNumero(v, estilo_, NumeroProduto::Estoque);
          break;
        case Campo::AliquotaEcf:
          p = produto() ? verificaNumero(v, estilo_, NumeroProduto::Aliquota)
                        : verificaTaxa(v, TaxaTributos::Aliquota);
          break;
        case Campo::TaxaPisCofins:
          p = verificaTaxa(v, TaxaTributos::PisCofins);
          break;
        case Campo::TaxaIcmsProduto:
          p = verificaTaxa(v, TaxaTributos::IcmsProduto);
          break;
      }
      if (p) achado(linha, c.coluna, c.titulo, v, std::move(*p));
    }
  }

  // The stored code when it has `casas` digits, else "".
  static std::string codigoValido(const std::string& gravado, size_t casas) {
    return gravado.size() == casas && soDigitos(gravado) ? gravado : std::string();
  }

  // Adds what the table says about the code to the cell's problem. A correction the table does
  // not confirm is no longer certain.
  static void junta(std::optional<Problema>& p, std::optional<Problema> tabela) {
    if (!tabela) return;
    if (p) {
      p->motivo += "; " + tabela->motivo;
      p->sugestao.clear();
    } else {
      p = std::move(tabela);
    }
  }

  std::optional<Problema> problemaNcm(const std::string& ncm) const {
    const auto vigencias = tabelas_->ncm->vigencias(ncm);
    if (vigencias.empty())
      return Problema{"NCM fora da tabela",
                      "NCM " + ncm + " não existe na tabela NCM (" + tabelas_->ncm->versao() + ")",
                      {}};
    std::optional<Data> encerrada, futura;
    for (const VigenciaNcm& v : vigencias) {
      if (v.inicio <= opcoes_.dia && opcoes_.dia <= v.fim) return std::nullopt;
      if (v.fim < opcoes_.dia && (!encerrada || v.fim > *encerrada)) encerrada = v.fim;
      if (v.inicio > opcoes_.dia && (!futura || v.inicio < *futura)) futura = v.inicio;
    }
    if (futura)
      return Problema{
          "NCM fora de vigência", "NCM " + ncm + " só vigora a partir de " + textoData(*futura), {}};
    return Problema{
        "NCM fora de vigência", "NCM " + ncm + " deixou de vigorar em " + textoData(*encerrada), {}};
  }

  std::optional<Problema> problemaCest(const std::string& cest, const std::string& ncm) const {
    const ItemCest* item = tabelas_->cest->procura(cest);
    if (!item)
      return Problema{"CEST fora da tabela",
                      "CEST " + cest + " não existe na tabela CEST (" + tabelas_->cest->versao() + ")",
                      {}};
    if (item->revogado) return Problema{"CEST revogado", "CEST " + cest + " foi revogado", {}};
    if (item->prefixos.empty() || ncm.empty()) return std::nullopt;
    for (const std::string& prefixo : item->prefixos)
      if (ncm.compare(0, prefixo.size(), prefixo) == 0) return std::nullopt;
    std::string lista;
    constexpr size_t kMostrados = 8;
    for (size_t i = 0; i < item->prefixos.size() && i < kMostrados; ++i)
      lista += (i ? ", " : "") + codigoImpresso(item->prefixos[i]);
    if (item->prefixos.size() > kMostrados) lista += ", ...";
    return Problema{
        "CEST de outro NCM",
        "CEST " + cest + " não vale para o NCM " + ncm + ": vale para NCM que começa com " + lista,
        {}};
  }

  std::unique_ptr<LeitorPlanilha> leitor_;
  const TabelasFiscais* tabelas_;
  OpcoesVerificacaoFiscal opcoes_;
  int estilo_ = 1;
  std::string nome_;
  std::vector<ColunaLida> colunas_;
  std::vector<std::string> valores_;  // the current row's cells, by colunas_
  std::vector<Repeticao> repeticoes_;
  std::unordered_map<std::string, size_t> indiceRepeticao_;
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

std::vector<GrupoDeAchados> agrupaAchados(const std::vector<AchadoFiscal>& achados) {
  std::vector<GrupoDeAchados> grupos;
  std::unordered_map<std::string, size_t> indice;
  for (size_t i = 0; i < achados.size(); ++i) {
    const auto [it, novo] = indice.emplace(achados[i].tipo, grupos.size());
    if (novo) grupos.push_back({achados[i].tipo, {}});
    grupos[it->second].indices.push_back(i);
  }
  return grupos;
}

std::string textoDoGrupo(const GrupoDeAchados& grupo, const std::vector<AchadoFiscal>& achados) {
  constexpr size_t kExemplos = 3;
  std::string r = grupo.tipo + ": " + std::to_string(grupo.indices.size()) + " (";
  for (size_t i = 0; i < grupo.indices.size() && i < kExemplos; ++i) {
    const AchadoFiscal& a = achados[grupo.indices[i]];
    r += (i ? "; " : "") + std::string("linha ") + std::to_string(a.linha) + ", coluna " +
         letraDaColuna(a.coluna) + " \"" + a.valor + "\"";
    if (a.vezes > 1) r += " em " + std::to_string(a.vezes) + " linhas";
  }
  if (grupo.indices.size() > kExemplos) r += "; ...";
  return r + ")";
}

std::vector<FalhaRegistrada> achadosNoRelatorio(const std::vector<AchadoFiscal>& achados,
                                                const std::string& planilha) {
  std::vector<FalhaRegistrada> r;
  r.reserve(achados.size());
  for (const AchadoFiscal& a : achados) {
    std::string onde = "Linha " + std::to_string(a.linha) + ", coluna " + letraDaColuna(a.coluna);
    if (!a.titulo.empty()) onde += " (" + a.titulo + ")";
    std::string causa = "Verificação fiscal (" + a.tipo + "): \"" + a.valor + "\": " + a.motivo;
    if (!a.sugestao.empty()) causa += ". Sugestão: " + a.sugestao;
    r.push_back({onde + " de " + planilha, causa});
  }
  return r;
}

bool verificaAntesDaImportacao(ContextoExecucao& ctx, const std::string& caminho, bool recusaSeAchar) {
  ResultadoVerificacaoFiscal resultado;
  try {
    resultado = verificaPlanilha(caminho, nullptr);
  } catch (const Erro&) {
    return true;
  }
  if (resultado.achados.empty()) return true;
  Tela& tela = ctx.tela();
  const std::string nome = std::filesystem::path(caminho).filename().string();
  tela.nota("Verificação fiscal de " + nome + ": " + plural(resultado.achados.size(), "achado", "achados") +
            " (todos no relatório da operação; a lista: importadorzuv fiscal verificar " + nome +
            " --detalhes)");
  for (const GrupoDeAchados& g : agrupaAchados(resultado.achados))
    tela.nota(textoDoGrupo(g, resultado.achados));
  for (const FalhaRegistrada& f : achadosNoRelatorio(resultado.achados, nome))
    ctx.registraAchado(f.onde, f.causa);
  if (!recusaSeAchar) return true;
  tela.mensagem("A importação não foi iniciada: a verificação fiscal encontrou " +
                    plural(resultado.achados.size(), "problema", "problemas") + " em " + nome + ".",
                Icone::Exclamacao);
  return false;
}

}  // namespace zuv
