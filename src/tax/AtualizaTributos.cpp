#include "tax/AtualizaTributos.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <iterator>
#include <memory>
#include <span>

#include "common/ConverteSQL.h"
#include "common/Erro.h"
#include "common/InstrucaoSQL.h"
#include "common/Limpeza.h"
#include "common/Operacao.h"
#include "common/ReservaTabelas.h"
#include "common/Tela.h"
#include "common/Texto.h"
#include "platform/Conexao.h"
#include "platform/Planilha.h"
#include "platform/Recordset.h"
#include "platform/Transacao.h"
#include "schema/ConsultasGuardadas.h"
#include "schema/Registros.h"
#include "shell/ContextoExecucao.h"
#include "tax/ExcluiCadastroCFOP.h"
#include "tax/Tributos.h"

namespace zuv {

namespace {

std::string CH(const std::string& texto) {
  return ConverteSQL(Valor(texto), TipoSQL::CH);
}
std::string FL(const Valor& v) {
  return ConverteSQL(v, TipoSQL::FL);
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

// The field of the first row as an identifier, or nothing.
std::optional<int32_t> primeiroId(const Recordset& rs, const char* campo) {
  if (rs.eof() || rs.valor(campo).nulo()) return std::nullopt;
  return static_cast<int32_t>(rs.valor(campo).paraDouble());
}

std::string texto(int32_t id) {
  return std::to_string(id);
}

}  // namespace

std::string preparaCST(const std::string& texto) {
  const std::string cst = apara(texto);
  if (caracteres(cst) > 3) return {};
  if (!cst.empty() && soDigitos(cst)) return std::string(3 - cst.size(), '0') + cst;
  return cst;
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
  l.cst = preparaCST(c[8]);
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
  // An empty CSOSN is a record without one, not any record: otherwise a row of a store under the
  // normal regime would take the CSOSN of a record made for another row.
  std::string sql =
      "Select * From TribCFOP Where  CodFiscal =  " + CH(cfop) + " And Coalesce(CSOSN,'')  = " + aspas(csosn);
  if (!cst.empty()) {
    // A new record stores the CST as a number ("060" as 60), other programs as typed: every form of
    // the same code is the same CST.
    std::vector<std::string> formas = {cst};
    if (soDigitos(cst)) {
      if (cst.size() == 3 && cst[0] == '0') formas.push_back(cst.substr(1));
      if (const std::string numero = semZerosAEsquerda(cst); numero != formas.back())
        formas.push_back(numero);
    }
    if (formas.size() == 1) {
      sql += " And Coalesce(CSTSAT,'') = " + aspas(cst);
    } else {
      sql += " And Coalesce(CSTSAT,'') IN (";
      for (size_t i = 0; i < formas.size(); ++i)
        sql.append(i ? "," : "").append(aspas(formas[i]));
      sql += ")";
    }
  }
  return sql;
}

namespace {

constexpr TipoSQL kFL = TipoSQL::FL;

// The record of a fiscal operation as the import writes it: the columns with the blanks the system's
// statement has between them, and the value each one always gets. The run sets idTribCFOP, Descricao,
// CodFiscal, NaturezaOperacao, CSTSat and CSOSN. The incoming record has no Ativo (the first 67).
constexpr ColunaSQL kColunasCFOP[] = {
    {"idTribCFOP", kFL, nullptr, nullptr, " ,"},
    {"Tipo", TipoSQL::CH, "'S'"},
    {"Descricao"},
    {"CredICMS", TipoSQL::CH, "''"},
    {"CredIPI", TipoSQL::CH, "''"},
    {"GeraDpl", TipoSQL::CH, "''"},
    {"AtuEst", TipoSQL::CH, "''"},
    {"PoderTerc", TipoSQL::CH, "''"},
    {"AtuPrecoCompra", TipoSQL::CH, "''", ", "},
    {"CalcICMS", TipoSQL::CH, "''"},
    {"CalcIPI", TipoSQL::CH, "''"},
    {"CodFiscal"},
    {"RedICMS", kFL, "0"},
    {"RedIPI", kFL, "0"},
    {"DestacaIPI", TipoSQL::CH, "''"},
    {"IPIBase", TipoSQL::CH, "''"},
    {"CalcDifICMS", TipoSQL::CH, "''"},
    {"CalcIPIFrete", TipoSQL::CH, "''"},
    {"CalcIPIDespesa", TipoSQL::CH, "''"},
    {"CalcISS", TipoSQL::CH, "''"},
    {"MatConsumo", TipoSQL::CH, "''"},
    {"DespIntCusto", TipoSQL::CH, "''"},
    {"IPIIntCusto", TipoSQL::CH, "''"},
    {"LFiscICMS", TipoSQL::CH, "''"},
    {"LFiscIPI", TipoSQL::CH, "''"},
    {"LFiscISS", TipoSQL::CH, "''"},
    {"NumLivro", TipoSQL::CH, "''"},
    {"ObsFiscal", TipoSQL::CH, "''"},
    {"OrigemProduto", TipoSQL::CH, "'0'"},
    {"CST", TipoSQL::CH, "''"},
    {"STF", TipoSQL::CH, "''"},
    {"CContabil", TipoSQL::CH, "''"},
    {"CredPIS", TipoSQL::CH, "''"},
    {"CredCofins", TipoSQL::CH, "''"},
    {"CalcPIS", TipoSQL::CH, "''"},
    {"CalcCofins", TipoSQL::CH, "''"},
    {"InscEstSubTrib", TipoSQL::CH, "''"},
    {"LetraImpressao", TipoSQL::CH, "''"},
    {"PorcINSS", kFL, " 0"},
    {"NaturezaOperacao"},
    {"modBC", kFL, "Null", nullptr, " ,"},
    {"CalcSubTrib", TipoSQL::CH, "'N'", ", "},
    {"CofinsCST", TipoSQL::CH, "''"},
    {"PISCST", TipoSQL::CH, "''"},
    {"CofinsPorcentagem", kFL, "Null"},
    {"PISPorcentagem", kFL, "Null"},
    {"CredSN", kFL, "Null"},
    {"AliqIVASubTribFrete", kFL, "Null", ",  "},
    {"AliqIVASubTrib", kFL, "Null", ", "},
    {"ICMSST", kFL, "Null", " ,"},
    {"Regime", kFL, "2"},
    {"PorcReducaoBCICMS", kFL, "Null"},
    {"AliquotaICMS", kFL, "Null"},
    {"TextoPadraoArt23", TipoSQL::CH, "'N'", ", "},
    {"PorcAprovICMS", kFL, "Null", ", "},
    {"MostrarPorcICMS", TipoSQL::CH, "''", ", "},
    {"MostrarBaseICMS", TipoSQL::CH, "''", "  ,"},
    {"IPICST", TipoSQL::CH, "''"},
    {"IPIMostraValor", TipoSQL::CH, "'N'"},
    {"pMVAST", kFL, "Null"},
    {"pRedBCST", kFL, "Null", " ,"},
    {"VendaDig_ICMS", TipoSQL::CH, "''", ", "},
    {"VendaDig_ST", TipoSQL::CH, "''", ", "},
    {"VendaDig_IPI", TipoSQL::CH, "''"},
    {"Obs", TipoSQL::CH, "Null", " , ", ", "},
    {"CSTSat"},
    {"CSOSN", TipoSQL::CH, nullptr, " ,"},
    {"Ativo", TipoSQL::CH, "'S'"},
};
constexpr size_t kColunasCFOPEntrada = std::size(kColunasCFOP) - 1;

Insercao insercaoCFOP(size_t colunas, int32_t id, const std::string& descricao, const std::string& cfop,
                      const std::string& natureza) {
  Insercao insercao(" INSERT INTO TribCFOP (", std::span(kColunasCFOP, colunas));
  insercao.valor(0, texto(id))
      .valor("Descricao", aspas(descricao))
      .converte("CodFiscal", Valor(cfop))
      .valor("NaturezaOperacao", aspas(natureza));
  return insercao;
}

}  // namespace

std::string insercaoCFOPSaida(int32_t id, const std::string& descricao, const std::string& cfop,
                              const std::string& cst, const std::string& csosn) {
  const std::string cstNumero = cst.empty() ? "0" : (soDigitos(cst) ? semZerosAEsquerda(cst) : cst);
  if (!soDigitos(cstNumero)) throw ErroConversao("O CST \"" + cst + "\" não é um número.");
  return insercaoCFOP(std::size(kColunasCFOP), id, descricao, cfop, descricao)
      .converte("CSTSat", Valor(cstNumero))
      .converte("CSOSN", Valor(csosn))
      .sql(" ) VALUES (");
}

std::string insercaoCFOPEntrada(int32_t id, const std::string& cfop) {
  return insercaoCFOP(kColunasCFOPEntrada, id, "CFOP Entrada " + cfop, cfop, "NAT " + cfop)
      .converte("CSTSat", Valor())
      .converte("CSOSN", Valor())
      .sql("  ) VALUES (");
}

std::string atualizacaoItem(const OpcoesAtualizaTributos& o, const IdsTributos& ids, const LinhaTributos& l) {
  Atualizacao item("Update ProdutoEstoque Set ");
  if (o.ncm) item.campo(" idNCM = ", ids.ncm, kFL);
  if (o.aliquotaICMS) item.campo(" idECFLetra = ", ids.ecf, kFL);
  if (o.cfop)
    item.campo(" idTribCFOP = ", ids.cfopSaida, kFL).campo(" idTribCFOPEntradada = ", ids.cfopEntrada, kFL);
  if (o.pis)
    item.campo(" PisCSTSai           = ", Valor(l.pisCST), kFL)
        .campo(" PISPorcentagemSai   = ", l.pisTaxa, kFL)
        .campo(" CofinsCSTSai        = ", Valor(l.cofinsCST), kFL)
        .campo(" CofinsPorcentagemSai        = ", l.cofinsTaxa, kFL);
  if (item.vazia()) return {};
  return item.sql(" Where idItemProduto =" + l.codigo);
}

namespace {

// The cells of the rows read, each row's texts one after the other with their lengths in front:
// a fraction of the memory of as many separate strings.
class LinhasLidas {
 public:
  void guarda(const CelulasTributos& c) {
    std::string linha;
    for (const std::string& t : c) {
      const auto n = static_cast<uint32_t>(t.size());
      linha.append(reinterpret_cast<const char*>(&n), sizeof n).append(t);
    }
    linhas_.push_back(std::move(linha));
  }
  CelulasTributos linha(size_t i) const {
    CelulasTributos c;
    const std::string& linha = linhas_.at(i);
    size_t p = 0;
    for (std::string& t : c) {
      uint32_t n;
      std::memcpy(&n, linha.data() + p, sizeof n);
      t.assign(linha, p + sizeof n, n);
      p += sizeof n + n;
    }
    return c;
  }
  size_t total() const { return linhas_.size(); }

 private:
  std::vector<std::string> linhas_;
};

class Importacao {
 public:
  // sat: the SAT import (step j); otherwise the NF-e import.
  Importacao(ContextoExecucao& ctx, const OpcoesAtualizaTributos& opcoes, bool sat)
      : ctx_(ctx), tela_(ctx.tela()), o_(opcoes), sat_(sat), passoJ_(sat && opcoes.icmsCadProduto) {}

  Resultado executa() {
    TelaDoEscopo escopo(tela_);
    try {
      // The form's connection (the command line opens it here, before anything else). An
      // all-or-nothing or dry run holds the tables it creates records in, and then reads each of
      // their records once.
      ctx_.reservaTabelas(kTabelasTributos);
      Conexao& conexao = ctx_.zuv();
      conexao_ = &conexao;
      consultas_.emplace(conexao);
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
      const bool resetRecusado = exclui && !ExcluiCadastroCFOP(ctx_, conexao);

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
      if (resetRecusado) return parteFalhou();
      return Resultado::encerrar();
    } catch (const std::exception& e) {
      return informaFalha(tela_, e);
    }
  }

 private:
  std::string celula(int linha, int coluna) { return maiusculas(planilha_->celula(linha, coluna)); }

  // The CFOP reset was refused (its message was shown) and the rows were imported over the records
  // that stayed: the run did not do all it was asked, which its last word and its outcome say.
  Resultado parteFalhou() {
    const std::string texto =
        std::string("A importação terminou, mas parte dela falhou: o cadastro de CFOP não foi excluído (\"") +
        kMensagemErroExcluiCFOP + "...\"); " +
        (ctx_.opcoes().atomico ? "nada desta operação foi gravado."
                               : "as linhas foram gravadas com os registros de CFOP que já existiam.");
    tela_.nota(texto);
    // A dry run keeps the program open, with its report on the screen.
    return ctx_.simulacao() ? Resultado::falhou(texto) : Resultado::encerrar(MotivoFim::Falha);
  }

  // The count pass: the rows up to the first whose column A is empty. It keeps the cells the main
  // pass reads, so that the sheet is read once instead of twice (the same cells of an unchanged file).
  int contaLinhas() {
    for (int linha = 2;; ++linha) {
      CelulasTributos c;
      for (int coluna = 1; coluna <= 16; ++coluna)
        if (coluna != 2 && coluna != 4 && (coluna != 16 || passoJ_)) c[coluna - 1] = celula(linha, coluna);
      linhas_.guarda(c);
      if (apara(c[0]).empty()) break;
    }
    return static_cast<int>(linhas_.total()) - 1;
  }

  // Steps a to k of one row, in one transaction. True at the end of the sheet (empty code).
  bool processaLinha(int linha) {
    const LinhaTributos l = preparaLinha(linhas_.linha(static_cast<size_t>(linha - 2)), linha, passoJ_);
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
      db.executa(Atualizacao("Update ProdutoEstoque Set ")
                     .campo("AliqICMS = ", l.aliqICMS, kFL)
                     .sql(" Where idItemProduto =" + l.codigo));
    if (transacao) transacao->confirma();
    return false;
  }

  Valor passoNCM(const LinhaTributos& l) {
    Conexao& db = *conexao_;
    const std::string busca = "Select * From NCM Where  CODIGONCM =  " + aspas(l.ncm);
    if (const auto id = primeiroId(consultas_->abre("NCM", busca), "idNCM")) {
      db.executa(Atualizacao("Update NCM Set ")
                     .campo("CEST = ", Valor(l.cest), TipoSQL::CH)
                     .sql(" Where IDNCM = " + texto(*id)));
      return Valor(int64_t{*id});
    }
    const int32_t id = ProxCodigo(db, "idNCM", "NCM", "Select max(idNCM) idNCM From NCM");
    db.executa(Insercao(" Insert Into NCM ( ")
                   .separadores(", ", ",")
                   .campo("IDNCM", texto(id))
                   .campo("CODIGONCM", aspas(l.ncm))
                   .campo("DESCRICAO", aspas(descricaoNCM(l.descricao)))
                   .campo("IDNCMGRUPO", "1")
                   .separadoresDoUltimo(",", ",")
                   .campo("CEST", CH(l.cest))
                   .sql(" ) Values ("));
    consultas_->esquece("NCM", busca);  // codes are digits: only this lookup finds the new record
    return Valor(int64_t{id});
  }

  Valor passoAliquota(const LinhaTributos& l) {
    Conexao& db = *conexao_;
    const std::string taxa = FL(Valor(*l.aliquotaNumero));
    const std::string busca = "Select idECFLetra From ECFLetra Where  PorcICF = " + taxa;
    Recordset letras = consultas_->abre("ECFLetra", busca);
    if (!letras.eof()) {
      const Valor primeira = letras.valor(0);
      letras.proximo();
      if (letras.eof()) return primeira;
      // Several letters share the rate (a store keeps exempt, substitution and not taxed at 0 %):
      // the item keeps its own letter when it is one of them, so a round trip moves nobody.
      const Recordset atual =
          db.abre("Select idECFLetra From ProdutoEstoque Where idItemProduto = " + l.codigo);
      if (!atual.eof() && atual.valor(0).numero())
        for (letras.primeiro(); !letras.eof(); letras.proximo())
          if (letras.valor(0).numero() && letras.valor(0).paraDouble() == atual.valor(0).paraDouble())
            return letras.valor(0);
      return primeira;
    }
    const int32_t id =
        ProxCodigo(db, "idECFLetra", "ECFLetra", "Select max(idECFLetra) idECFLetra From ECFLetra");
    db.executa(Insercao(" INSERT INTO ECFLetra (")
                   .campo("IDECFLETRA", texto(id))
                   .campo("LETRAIMPRESSAO", CH(l.aliquota))
                   .campo("PORCICF", taxa)
                   .separadoresDoUltimo(",", ", ")
                   .campo("DESCRICAO", aspas("ECF  " + l.aliquota))
                   .sql(") " + std::string(" Values ( ")));
    consultas_->esquece("ECFLetra", busca);  // rates are compared as numbers: only this one
    return Valor(int64_t{id});
  }

  Valor passoCFOPSaida(const LinhaTributos& l) {
    Conexao& db = *conexao_;
    const std::string buscaCST = "Select * FROM CST Where  CodigoCST =" + CH(l.csosn);
    if (consultas_->abre("CST", buscaCST).eof() && !l.csosn.empty()) {
      const int32_t id = ProxCodigo(db, "IDCST", "CST");
      db.executa(Insercao(" INSERT INTO CST (")
                     .campo("CODIGOCST", CH(l.csosn))
                     .campo("IDCST", texto(id))
                     .campo("CST", aspas("DIVERSOS CODIGO: " + l.csosn))
                     .sql(") VALUES ("));
      consultas_->esquece("CST", buscaCST);
    }
    const std::string descricao = descricaoCFOP(l.cfop, l.csosn, l.cst);
    if (const auto id = primeiroId(consultas_->abre("TribCFOP", consultaCFOPSaida(l.cfop, l.csosn, l.cst)),
                                   "idTribCFOP")) {
      db.executa(Atualizacao("       Update TribCFOP     Set ")
                     .campo("Descricao         =", Valor(descricao), TipoSQL::CH)
                     .campo("        NaturezaOperacao  = ", Valor(descricao), TipoSQL::CH)
                     .sql(" Where idTribCFOP = " + texto(*id)));
      return Valor(int64_t{*id});
    }
    const int32_t id =
        ProxCodigo(db, "idTribCFOP", "TribCFOP", "Select max(idTribCFOP) idTribCFOP From TribCFOP");
    db.executa(insercaoCFOPSaida(id, descricao, l.cfop, l.cst, l.csosn));
    consultas_->esquece("TribCFOP");  // the lookups by code alone may find it too
    return Valor(int64_t{id});
  }

  Valor passoCFOPEntrada(const LinhaTributos& l) {
    Conexao& db = *conexao_;
    const std::string busca = "Select * From TribCFOP Where  CodFiscal =  " + CH(l.cfopEntrada);
    if (const auto id = primeiroId(consultas_->abre("TribCFOP", busca), "idTribCFOP"))
      return Valor(int64_t{*id});
    const int32_t id =
        ProxCodigo(db, "idTribCFOP", "TribCFOP", "Select max(idTribCFOP) idTribCFOP From TribCFOP");
    db.executa(insercaoCFOPEntrada(id, l.cfopEntrada));
    consultas_->esquece("TribCFOP");
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
  LinhasLidas linhas_;
  Conexao* conexao_ = nullptr;
  std::optional<ConsultasGuardadas> consultas_;
};

}  // namespace

Resultado AtualizaTributosSAT(ContextoExecucao& ctx, const OpcoesAtualizaTributos& opcoes) {
  return Importacao(ctx, opcoes, true).executa();
}

Resultado AtualizaTributosNFE(ContextoExecucao& ctx, const OpcoesAtualizaTributos& opcoes) {
  return Importacao(ctx, opcoes, false).executa();
}

}  // namespace zuv
