#include "migration/PlanilhaProduto.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "common/Erro.h"
#include "common/Regional.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "migration/MigracaoPadrao.h"
#include "platform/Planilha.h"
#include "platform/Recordset.h"

namespace zuv {

namespace {

struct ColunaProduto {
  const char* cabecalho;
  double largura;
};

// Workbook columns 1 to 15; a 16th field and later ones repeat the last.
constexpr ColunaProduto kColunasProduto[] = {
    {"Barra", 15},
    {"Nome Produto", 35},
    {"Unidade", 5},
    {"Preço Custo", 14},
    {"Preço Venda", 14},
    {"Estoque Atual", 14},
    {"Nome Grupo", 35},
    {"Sub Grupo", 30},
    {"NCM", 9},
    {"Aliq. ECF SAT", 14},
    {"CFOP VendaSat", 9},
    {"Trib.Simples Nacional", 22},
    {"Cód.Trib.ICMS CST", 17},
    {"Código CEST", 17},
    {"Preço Atacado", 14},
};
constexpr int kTotalColunas = sizeof kColunasProduto / sizeof kColunasProduto[0];

const ColunaProduto& colunaProduto(int posicao) {
  return kColunasProduto[posicao < 0 ? 0 : (posicao < kTotalColunas ? posicao : kTotalColunas - 1)];
}

// How a field's value reaches its cell, chosen by the field's name.
enum class Regra { Preco, Estoque, Ignora, Comum };

Regra regraDoCampo(const std::string& nome) {
  const std::string n = maiusculas(nome);
  if (n == "VENDAATUAL" || n == "CUSTOLIQUIDO" || n == "VENDAATACADO") return Regra::Preco;
  if (n == "ESTOQUEATUAL") return Regra::Estoque;
  if (n == "IDITEMPRODUTO" || n == "QTDECIMAL") return Regra::Ignora;
  return Regra::Comum;
}

// Hundredths of the value, rounded half away from zero. False when it does not fit.
bool centesimos(const Valor& v, int64_t& c) {
  if (v.inteiro()) {
    if (std::llabs(v.comoInteiro()) > INT64_MAX / 100) return false;
    c = v.comoInteiro() * 100;
    return true;
  }
  if (v.decimal()) {
    const Decimal& d = v.comoDecimal();
    if (d.scale <= 2) {
      int64_t f = 1;
      for (int i = d.scale; i < 2; ++i)
        f *= 10;
      if (std::llabs(d.unscaled) > INT64_MAX / f) return false;
      c = d.unscaled * f;
      return true;
    }
    int64_t f = 1;
    for (int i = 2; i < d.scale; ++i)
      f *= 10;
    const int64_t q = d.unscaled / f, r = d.unscaled % f;
    c = q + (std::llabs(r) * 2 >= f ? (d.unscaled < 0 ? -1 : 1) : 0);
    return true;
  }
  const double x = v.paraDouble() * 100;
  if (!std::isfinite(x) || std::fabs(x) >= 9e18) return false;
  c = static_cast<int64_t>(std::llround(x));
  return true;
}

std::string agrupa(std::string digitos, char separador) {
  for (int i = static_cast<int>(digitos.size()) - 3; i > 0; i -= 3)
    digitos.insert(static_cast<size_t>(i), 1, separador);
  return digitos;
}

}  // namespace

const char* cabecalhoProduto(int posicao) {
  return colunaProduto(posicao).cabecalho;
}

double larguraProduto(int posicao) {
  return colunaProduto(posicao).largura;
}

std::string formataPreco(const Valor& valor, int estilo) {
  if (valor.nulo()) return {};
  Valor numero = valor;
  if (valor.texto()) {
    try {
      numero = Valor(lerNumero(valor.comoTexto(), estilo));
    } catch (const ErroConversao&) {
      return valor.comoTexto();
    }
  } else if (!valor.numero()) {
    return valor.textoRegional(estilo);
  }
  int64_t c = 0;
  if (!centesimos(numero, c)) return numero.textoRegional(estilo);
  const bool negativo = c < 0;
  const uint64_t a = negativo ? 0 - static_cast<uint64_t>(c) : static_cast<uint64_t>(c);
  const char decimal = estilo == 2 ? '.' : ',', grupo = estilo == 2 ? ',' : '.';
  const std::string fracao = std::to_string(a % 100);
  return (negativo ? "-" : "") + agrupa(std::to_string(a / 100), grupo) + decimal +
         (fracao.size() < 2 ? "0" : "") + fracao;
}

std::string consultaProdutosZUV(bool somenteAtivos) {
  std::string sql =
      "Select  Coalesce(T.Barra,'') as Codigo_Barra, P.Descricao as Nome_Produto,"
      "        (Select U.Descricao From Unidade U Where U.idunidade = T.idUnidade) Unidade ,"
      " T.CUSTOLIQUIDO         ,"
      " T.VENDAATUAL           , "
      " T.EstoqueAtual , "
      " Coalesce(g.Descricao,'') as Grupo_Produto,"
      "         ( Select D.Descricao From SubGrupo D Where D.idSubGrupo = T.idSubGrupo)AS DescricaoSub   ,  "
      " Coalesce(N.CodigoNCM,'') as Codigo_NCM, "
      " Coalesce(L.PorcICF,'') as AliquotaICMS,"
      " Coalesce(O.CodFiscal,'') as Codigo_CFOP_SAT, "
      " Coalesce(O.CSOSN,'') as Tributacao_Simples_Nacional, "
      " Coalesce(O.CSTSAT,'') as Cod_Trib_ICMS_CST,  "
      " Coalesce(N.CEST,'') as Codigo_CEST, "
      " (T.VendaAtacado) as VendaAtacado "
      " From ProdutoEstoque T Inner Join Produto  P ON T.idProduto   = P.idProduto  "
      "                       Left Join TRIBCFOP  O on O.IDTRIBCFOP  = T.idTribCFOP "
      "                       Left Join ECFLetra  L on L.idECFLetra  = T.idECFLetra "
      "                       Left Join ProdutoGrupo G on G.idProdGrupo = T.idProdGrupo"
      "                       Left Join NCM          N on N.idNCM = t.idNCM    ";
  if (somenteAtivos) sql += "  where  T.Ativo   = 'S'";
  return sql + "   Order by T.idProdGrupo, P.Descricao";
}

std::string consultaProdutosSYSPDV() {
  // The rate and the CFOP of the SYSPDV tax code TRBID: seven nested cases each.
  auto caso = [](const char* const(&valores)[7], const char* fim) {
    static const char* const codigos[7] = {"F00", "I00", "N00", "T12", "T18", "T25", "T30"};
    std::string s;
    for (int i = 0; i < 7; ++i)
      s += std::string(i == 0 ? "   Case When" : "     Else  Case When") + " TRBID = '" + codigos[i] +
           "' Then '" + valores[i] + "'";
    for (int i = 0; i < 6; ++i)
      s += "     End";
    return s + fim;
  };
  static const char* const aliquotas[7] = {"00", "0,00", "0,00", "12,00", "18,00", "25,00", "30,00"};
  static const char* const cfops[7] = {"5405", "5102", "5102", "5102", "5102", "5102", "5102"};
  return " Select Coalesce((Select First 1 ProcoDaux From PRODUTOAUX  Where Produto.ProCod = "
         "PRODUTOAUX.ProCod),ProCod) Barra,"
         "         Prodes Nome_Produto,"
         "         ProUnid Unidade,"
         "         ProPRCCST    CUSTOLIQUIDO,"
         "         ProPRC1      VENDAATUAL,"
         "         ''             EstoqueAtual,"
         "        (Select GrPDes From Grupo Where  Produto.GrpCod = Grupo.GrpCod And Produto.SecCod = "
         "Grupo.SecCod)       Grupo_Produto,"
         "         ''             SubGrupo,"
         "         ProNCM       NCM," +
         caso(aliquotas, "     End AliquotaICMS , ") + caso(cfops, "     End  Codigo_CFOP_SAT,") +
         "     '' Tributacao_Simples_Nacional,"
         "     '' Cod_Trib_ICMS_CST,"
         "     ProCest CodigoCEST "
         "  From pRODUTO";
}

long GeraPlanilhaProduto(Recordset& rs, const std::string& caminho, const OpcoesEscritaProduto& opcoes,
                         Tela& tela) {
  EscritorPlanilha planilha;
  const int campos = rs.totalCampos();
  std::vector<Regra> regras;
  for (int p = 0; p < campos; ++p) {
    planilha.escreve(1, p + 1, cabecalhoProduto(p));
    planilha.larguraColuna(p + 1, larguraProduto(p));
    regras.push_back(regraDoCampo(rs.campo(p).nome));
  }

  tela.progresso(0);
  const long total = rs.totalRegistros();
  int linha = 2;
  int ultimoProgresso = 0;
  for (long contador = 1; !rs.eof(); ++contador, rs.proximo()) {
    for (int p = 0; p < campos; ++p) {
      const Valor& v = rs.valor(p);
      switch (regras[p]) {
        case Regra::Ignora:
          continue;
        case Regra::Preco:
          planilha.escreve(linha, p + 1, formataPreco(v, opcoes.estilo));
          planilha.alinhaDireita(linha, p + 1);
          break;
        case Regra::Estoque:
          planilha.escreve(linha, p + 1, v.textoRegional(opcoes.estilo));
          planilha.alinhaDireita(linha, p + 1);
          break;
        case Regra::Comum:
          planilha.escreve(linha, p + 1,
                           p == 0 && opcoes.aparaBarra ? apara(v.textoRegional(opcoes.estilo))
                                                       : v.textoRegional(opcoes.estilo));
          break;
      }
    }
    ++linha;
    // The bar and the row box follow every row; on a big sheet only their visible changes are sent.
    const int progresso = static_cast<int>(contador * 100 / total);
    const bool ultima = contador == total;
    if (progresso != ultimoProgresso || ultima || contador % 500 == 0) {
      tela.progressoLinhas(progresso, contador, total);
      ultimoProgresso = progresso;
      tela.defineTexto(kControleRegistro, std::to_string(linha));
    }
  }
  rs.fecha();
  if (opcoes.grava) planilha.salva(caminho);
  return total;
}

}  // namespace zuv
