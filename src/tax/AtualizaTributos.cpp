#include "tax/AtualizaTributos.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/Limpeza.h"
#include "common/Operacao.h"
#include "common/ReservaTabelas.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "platform/Recordset.h"
#include "platform/Transacao.h"
#include "schema/Registros.h"
#include "shell/ContextoExecucao.h"
#include "tax/ExcluiCadastroCFOP.h"
#include "tax/Tributos.h"

namespace zuv {

namespace {

std::string CH(const std::string& texto) {
  return ConverteSQL(Valor(texto), "CH");
}
std::string FL(const Valor& v) {
  return ConverteSQL(v, "FL");
}

size_t caracteres(const std::string& s) {
  return paraCodigos(s).size();
}

// A number of at most 18 digits with no sign, as an identifier or CST is typed.
std::string semZerosAEsquerda(const std::string& s) {
  const size_t p = s.find_first_not_of('0');
  return p == std::string::npos ? "0" : s.substr(p);
}

[[noreturn]] void recusa(int linha, const char* coluna, const std::string& texto, const char* problema) {
  throw ErroConversao("Linha " + std::to_string(linha) + ", coluna " + coluna + ": \"" + texto + "\" " +
                      problema);
}

// The first field of the first row as an identifier, or nothing.
std::optional<int32_t> primeiroId(Conexao& conexao, const std::string& sql, const char* campo) {
  Recordset rs = conexao.abre(sql);
  if (rs.eof() || rs.valor(campo).nulo()) return std::nullopt;
  return static_cast<int32_t>(rs.valor(campo).paraDouble());
}

std::string texto(int32_t id) {
  return std::to_string(id);
}

}  // namespace

std::string dobraAspas(const std::string& texto) {
  std::string r;
  r.reserve(texto.size());
  for (char c : texto) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r;
}

LinhaTributos preparaLinha(const CelulasTributos& c, int linha, bool leCol16) {
  LinhaTributos l;
  l.codigo = apara(c[0]);
  if (!l.codigo.empty() && (!soDigitos(l.codigo) || l.codigo.size() > 9))
    recusa(linha, "A (Cod.Interno)", l.codigo, "não é o código interno de um item (um número inteiro).");
  if (l.codigo.empty()) return l;  // the end of the sheet: nothing else of the row is used
  l.descricao = c[2];
  l.ncm = preparaNCM(c[4]);
  l.aliquota = apara(c[5]);
  if (!l.aliquota.empty()) {
    l.aliquotaNumero = numeroTaxa(l.aliquota);
    if (!l.aliquotaNumero) recusa(linha, "F (Aliq. ECF SAT)", l.aliquota, "não é uma alíquota (um número).");
  }
  l.cest = preparaCEST(c[9]);
  l.cfop = preparaCFOP(c[6]);
  l.csosn = apara(c[7]);
  l.cst = apara(c[8]);
  if (caracteres(l.cst) > 3) l.cst.clear();
  l.cfopEntrada = preparaCFOP(c[10]);
  l.pisCST = regraCST(c[11]);
  l.cofinsCST = regraCST(c[13]);
  const auto taxa = [](const std::string& s) {
    const std::optional<Decimal> d = numeroTaxa(s);
    return d ? Valor(*d) : Valor();
  };
  l.pisTaxa = taxa(c[12]);
  l.cofinsTaxa = taxa(c[14]);
  if (leCol16) {
    const std::string aliq = apara(c[15]);
    if (aliq.empty()) {
      l.aliqICMS = Valor(int64_t{0});
    } else if (const std::optional<Decimal> d = numeroTaxa(aliq)) {
      l.aliqICMS = Valor(*d);
    } else {
      recusa(linha, "P (Porcentagem ICMS Cadastro Produto)", aliq, "não é uma porcentagem (um número).");
    }
  }
  return l;
}

std::string descricaoCFOP(const std::string& cfop, const std::string& csosn, const std::string& cst) {
  if (csosn.empty() && cst.empty()) return "CFOP " + cfop;
  if (cst.empty()) return "CFOP " + cfop + " CSOSN " + csosn;
  if (csosn.empty()) return "CFOP " + cfop + " CSTSat " + cst;
  return "CFOP " + cfop + " CSOSN " + csosn + " CST " + cst;
}

std::string consultaCFOPSaida(const std::string& cfop, const std::string& csosn, const std::string& cst) {
  std::string sql = "Select * From TribCFOP Where  CodFiscal =  " + CH(cfop);
  if (!csosn.empty()) sql += " And Coalesce(CSOSN,'')  = '" + dobraAspas(csosn) + "'";
  if (!cst.empty()) {
    // A new record stores the CST as a number ("060" as 60): look it up in both forms.
    const std::string guardado = soDigitos(cst) ? semZerosAEsquerda(cst) : cst;
    if (guardado == cst)
      sql += " And Coalesce(CSTSAT,'') = '" + dobraAspas(cst) + "'";
    else
      sql += " And Coalesce(CSTSAT,'') IN ('" + cst + "','" + guardado + "')";
  }
  return sql;
}

namespace {

constexpr const char* kColunasCFOP1 =
    " INSERT INTO TribCFOP "
    "(idTribCFOP,Tipo,Descricao,CredICMS,CredIPI,GeraDpl,AtuEst,PoderTerc,AtuPrecoCompra,";
constexpr const char* kColunasCFOP2 =
    " CalcICMS,CalcIPI,CodFiscal,RedICMS,RedIPI,DestacaIPI,IPIBase,CalcDifICMS,CalcIPIFrete,CalcIPIDespesa,"
    "CalcISS,"
    "MatConsumo,DespIntCusto,IPIIntCusto,LFiscICMS,LFiscIPI,LFiscISS,NumLivro,ObsFiscal,OrigemProduto,CST,"
    "STF,"
    "CContabil,CredPIS,CredCofins,CalcPIS,CalcCofins,InscEstSubTrib,LetraImpressao,PorcINSS,NaturezaOperacao,"
    "modBC,"
    "CalcSubTrib, CofinsCST,PISCST,CofinsPorcentagem,PISPorcentagem,CredSN,AliqIVASubTribFrete,  "
    "AliqIVASubTrib, "
    "ICMSST ,Regime,PorcReducaoBCICMS,AliquotaICMS,TextoPadraoArt23, PorcAprovICMS, MostrarPorcICMS, "
    "MostrarBaseICMS  ,IPICST,IPIMostraValor,pMVAST,pRedBCST ,VendaDig_ICMS, VendaDig_ST, VendaDig_IPI,Obs , "
    "CSTSat,CSOSN ";
constexpr const char* kValoresCFOP1 = "','','','','','','','','',";
constexpr const char* kValoresCFOP2 =
    ",0,0,'','','','','','','','','','','','','','','0','','','','','','','','','', 0,'";
constexpr const char* kValoresCFOP3 =
    "',Null "
    ",'N','','',Null,Null,Null,Null,Null,Null,2,Null,Null,'N',Null,'','','','N',Null,Null,'','','',Null, ";

}  // namespace

std::string insercaoCFOPSaida(int32_t id, const std::string& descricao, const std::string& cfop,
                              const std::string& cst, const std::string& csosn) {
  const std::string d = dobraAspas(descricao);
  const std::string cstNumero = cst.empty() ? "0" : (soDigitos(cst) ? semZerosAEsquerda(cst) : cst);
  if (!soDigitos(cstNumero)) throw ErroConversao("O CST \"" + cst + "\" não é um número.");
  return std::string(kColunasCFOP1) + kColunasCFOP2 + ",Ativo )" + " VALUES (" + texto(id) + " ,'S','" + d +
         kValoresCFOP1 + CH(cfop) + kValoresCFOP2 + d + kValoresCFOP3 + CH(cstNumero) + "," + CH(csosn) +
         ",'S')";
}

std::string insercaoCFOPEntrada(int32_t id, const std::string& cfop) {
  const std::string c = dobraAspas(cfop);
  return std::string(kColunasCFOP1) + kColunasCFOP2 + " )" + " VALUES (" + texto(id) +
         " ,'S','CFOP Entrada " + c + kValoresCFOP1 + CH(cfop) + kValoresCFOP2 + "NAT " + c + kValoresCFOP3 +
         CH("") + "," + CH("") + ")";
}

std::string atualizacaoItem(const OpcoesAtualizaTributos& o, const IdsTributos& ids, const LinhaTributos& l) {
  std::string partes;
  const auto parte = [&](const std::string& p) { partes += (partes.empty() ? "" : ",") + p; };
  if (o.ncm) parte(" idNCM = " + FL(ids.ncm));
  if (o.aliquotaICMS) parte(" idECFLetra = " + FL(ids.ecf));
  if (o.cfop)
    parte(" idTribCFOP = " + FL(ids.cfopSaida) + "," + " idTribCFOPEntradada = " + FL(ids.cfopEntrada));
  if (o.pis)
    parte(" PisCSTSai           = " + FL(Valor(l.pisCST)) + "," + " PISPorcentagemSai   = " + FL(l.pisTaxa) +
          "," + " CofinsCSTSai        = " + FL(Valor(l.cofinsCST)) + "," +
          " CofinsPorcentagemSai        = " + FL(l.cofinsTaxa));
  if (partes.empty()) return {};
  return "Update ProdutoEstoque Set " + partes + " Where idItemProduto =" + l.codigo;
}

namespace {

class Importacao {
 public:
  // sat: the SAT import (step j); otherwise the NF-e import.
  Importacao(ContextoExecucao& ctx, const OpcoesAtualizaTributos& opcoes, bool sat)
      : ctx_(ctx), tela_(ctx.tela()), o_(opcoes), sat_(sat), passoJ_(sat && opcoes.icmsCadProduto) {}

  Resultado executa() {
    TelaDoEscopo escopo(tela_);
    try {
      // The form's connection (the command line opens it here, before anything else).
      Conexao& conexao = ctx_.zuv();
      conexao_ = &conexao;
      tela_.mostraControle(kProgressoTributos, true);
      std::unique_ptr<LeitorPlanilha> planilha = abrePlanilha(ctx_.pastaPrograma() + "/" + kArquivoSAT);
      planilha_ = planilha.get();
      tela_.cursorEspera(true);
      tela_.progresso(0);
      const bool exclui = o_.excluiCFOP
                              ? *o_.excluiCFOP
                              : tela_.pergunta(kPerguntaExcluiCFOP, Icone::Pergunta, {}, Padrao::Nao);
      ReservaTabelas reserva(kTabelasTributos, [this] {
        tela_.nota(
            "Aguardando outra operação que grava nas mesmas tabelas (NCM, ECFLetra, CST, TribCFOP)...");
      });
      if (exclui) ExcluiCadastroCFOP(ctx_, conexao);

      // A workbook exported without the ProdutoEstoqueAliqICMS flag has no column 16: reading its
      // empty cells as 0 would zero every item's rate.
      if (passoJ_ && apara(planilha_->celula(1, 16)).empty()) passoJ_ = false;

      const int total = contaLinhas();
      int feitos = 0;
      for (int linha = 2;; ++linha) {
        const bool fim = processaLinha(linha);
        // Whole percent, clamped (11 x (100 / 11) is past 100 in floating point). An empty
        // workbook (total 0) shows 100 at the end.
        const int pct = total > 0 ? std::clamp(static_cast<int>(feitos * (100.0 / total)), 0, 100) : 0;
        tela_.progressoLinhas(pct, fim ? total : std::min(feitos + 1, total), total);
        ++feitos;
        if (fim) break;
      }

      tela_.cursorEspera(false);
      tela_.mensagem(kMensagemFim, Icone::Informacao);
      return Resultado::encerrar();
    } catch (const std::exception& e) {
      return informaFalha(tela_, e);
    }
  }

 private:
  std::string celula(int linha, int coluna) { return maiusculas(planilha_->celula(linha, coluna)); }

  int contaLinhas() {
    int total = 0;
    for (int linha = 2; !apara(celula(linha, 1)).empty(); ++linha)
      ++total;
    return total;
  }

  // Steps a to k of one row, in one transaction. True at the end of the sheet (empty code).
  bool processaLinha(int linha) {
    CelulasTributos c;
    for (int coluna = 1; coluna <= 16; ++coluna)
      if (coluna != 2 && coluna != 4 && (coluna != 16 || passoJ_)) c[coluna - 1] = celula(linha, coluna);
    const LinhaTributos l = preparaLinha(c, linha, passoJ_);
    if (l.codigo.empty()) return true;

    Conexao& db = *conexao_;
    // One transaction per row: a failing row leaves nothing of itself, and one commit per row
    // instead of one per statement. In an all-or-nothing run the run's transaction covers it.
    std::optional<Transacao> transacao;
    if (!db.atomica()) transacao.emplace(db);
    IdsTributos ids;
    if (o_.ncm && !l.ncm.empty()) ids.ncm = passoNCM(l);
    if (o_.aliquotaICMS && l.aliquotaNumero) ids.ecf = passoAliquota(l);
    if (o_.cfop) {
      if (!l.cfop.empty() && caracteres(l.csosn) < 4) ids.cfopSaida = passoCFOPSaida(l);
      if (!l.cfopEntrada.empty()) ids.cfopEntrada = passoCFOPEntrada(l);
    }
    const std::string item = atualizacaoItem(o_, ids, l);
    if (!item.empty()) db.executa(item);
    if (passoJ_)
      db.executa("Update ProdutoEstoque Set AliqICMS = " + FL(l.aliqICMS) +
                 " Where idItemProduto =" + l.codigo);
    if (transacao) transacao->confirma();
    return false;
  }

  Valor passoNCM(const LinhaTributos& l) {
    Conexao& db = *conexao_;
    if (const auto id = primeiroId(db, "Select * From NCM Where  CODIGONCM =  '" + l.ncm + "'", "idNCM")) {
      db.executa("Update NCM Set CEST = " + CH(l.cest) + " Where IDNCM = " + texto(*id));
      return Valor(int64_t{*id});
    }
    const int32_t id = ProxCodigo(db, "idNCM", "NCM", "Select max(idNCM) idNCM From NCM");
    db.executa(" Insert Into NCM ( IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO,CEST ) Values (" + texto(id) +
               ",'" + l.ncm + "','" + dobraAspas(descricaoNCM(l.descricao)) + "',1," + CH(l.cest) + ")");
    return Valor(int64_t{id});
  }

  Valor passoAliquota(const LinhaTributos& l) {
    Conexao& db = *conexao_;
    const std::string taxa = FL(Valor(*l.aliquotaNumero));
    if (const auto id =
            primeiroId(db, "Select idECFLetra From ECFLetra Where  PorcICF = " + taxa, "idECFLetra"))
      return Valor(int64_t{*id});
    const int32_t id =
        ProxCodigo(db, "idECFLetra", "ECFLetra", "Select max(idECFLetra) idECFLetra From ECFLetra");
    db.executa(std::string(" INSERT INTO ECFLetra (IDECFLETRA,LETRAIMPRESSAO,PORCICF,DESCRICAO) ") +
               " Values ( " + texto(id) + "," + CH(l.aliquota) + "," + taxa + ", 'ECF  " +
               dobraAspas(l.aliquota) + "')");
    return Valor(int64_t{id});
  }

  Valor passoCFOPSaida(const LinhaTributos& l) {
    Conexao& db = *conexao_;
    if (db.abre("Select * FROM CST Where  CodigoCST =" + CH(l.csosn)).eof() && !l.csosn.empty()) {
      const int32_t id = ProxCodigo(db, "IDCST", "CST");
      db.executa(" INSERT INTO CST (CODIGOCST,IDCST,CST) VALUES (" + CH(l.csosn) + "," + texto(id) +
                 ",'DIVERSOS CODIGO: " + dobraAspas(l.csosn) + "')");
    }
    const std::string descricao = descricaoCFOP(l.cfop, l.csosn, l.cst);
    if (const auto id = primeiroId(db, consultaCFOPSaida(l.cfop, l.csosn, l.cst), "idTribCFOP")) {
      db.executa(std::string("       Update TribCFOP ") + "    Set Descricao         =" + CH(descricao) +
                 "," + "        NaturezaOperacao  = " + CH(descricao) + " Where idTribCFOP = " + texto(*id));
      return Valor(int64_t{*id});
    }
    const int32_t id =
        ProxCodigo(db, "idTribCFOP", "TribCFOP", "Select max(idTribCFOP) idTribCFOP From TribCFOP");
    db.executa(insercaoCFOPSaida(id, descricao, l.cfop, l.cst, l.csosn));
    return Valor(int64_t{id});
  }

  Valor passoCFOPEntrada(const LinhaTributos& l) {
    Conexao& db = *conexao_;
    if (const auto id =
            primeiroId(db, "Select * From TribCFOP Where  CodFiscal =  " + CH(l.cfopEntrada), "idTribCFOP"))
      return Valor(int64_t{*id});
    const int32_t id =
        ProxCodigo(db, "idTribCFOP", "TribCFOP", "Select max(idTribCFOP) idTribCFOP From TribCFOP");
    db.executa(insercaoCFOPEntrada(id, l.cfopEntrada));
    return Valor(int64_t{id});
  }

  // The NF-e import cleans the description of a new NCM record (symbols blanked, quotes to blanks).
  std::string descricaoNCM(const std::string& descricao) const {
    return sat_ ? descricao : LimpaTextoMantendoSeparadores(descricao, false);
  }

  ContextoExecucao& ctx_;
  Tela& tela_;
  OpcoesAtualizaTributos o_;
  bool sat_;
  bool passoJ_;
  LeitorPlanilha* planilha_ = nullptr;
  Conexao* conexao_ = nullptr;
};

}  // namespace

Resultado AtualizaTributosSAT(ContextoExecucao& ctx, const OpcoesAtualizaTributos& opcoes) {
  return Importacao(ctx, opcoes, true).executa();
}

Resultado AtualizaTributosNFE(ContextoExecucao& ctx, const OpcoesAtualizaTributos& opcoes) {
  return Importacao(ctx, opcoes, false).executa();
}

}  // namespace zuv
