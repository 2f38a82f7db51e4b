#include "migration/RegistrosProduto.h"

#include <algorithm>
#include <cmath>

#include "common/ConverteSQL.h"
#include "common/Limpeza.h"
#include "common/Texto.h"
#include "migration/LinhaProduto.h"
#include "platform/Conexao.h"
#include "schema/Registros.h"

namespace zuv {

namespace {

std::string ch(const std::string& texto) {
  return ConverteSQL(Valor(texto), TipoSQL::CH);
}

std::string id(int32_t v) {
  return std::to_string(v);
}

// A text as the database compares it: blanks at the end do not count.
std::string chave(std::string texto) {
  while (!texto.empty() && texto.back() == ' ')
    texto.pop_back();
  return texto;
}

// A rate as a key: the value in ten-thousandths.
int64_t chaveTaxa(double v) {
  return std::llround(v * 10000);
}

std::optional<int32_t> primeiro(Conexao& conexao, const std::string& sql, const char* campo) {
  Recordset rs = conexao.abre(sql);
  if (rs.eof() || rs.valor(campo).nulo()) return std::nullopt;
  return static_cast<int32_t>(rs.valor(campo).paraDouble());
}

// The columns of the TribCFOP insert, as the system writes them, with the fixed values verbatim
// (blanks included); nullptr marks the row's values.
struct ColunaTribCfop {
  const char* coluna;
  const char* valor;
};
constexpr ColunaTribCfop kColunasTribCfop[] = {
    {"idTribCFOP", nullptr},
    {"Tipo", "'S'"},
    {"Descricao", nullptr},
    {"CredICMS", "''"},
    {"CredIPI", "''"},
    {"GeraDpl", "''"},
    {"AtuEst", "''"},
    {"PoderTerc", "''"},
    {"AtuPrecoCompra", "''"},
    {" CalcICMS", "''"},
    {"CalcIPI", "''"},
    {"CodFiscal", nullptr},
    {"RedICMS", "0"},
    {"RedIPI", "0"},
    {"DestacaIPI", "''"},
    {"IPIBase", "''"},
    {"CalcDifICMS", "''"},
    {"CalcIPIFrete", "''"},
    {"CalcIPIDespesa", "''"},
    {"CalcISS", "''  "},
    {"MatConsumo", "''"},
    {"DespIntCusto", "''"},
    {"IPIIntCusto", "''"},
    {"LFiscICMS", "''"},
    {"LFiscIPI", "''"},
    {"LFiscISS", "''"},
    {"NumLivro", "''"},
    {"ObsFiscal", "''"},
    {"OrigemProduto", "''"},
    {"CST", nullptr},
    {"STF", "'101'"},
    {"CContabil", "''"},
    {"CredPIS", "''"},
    {"CredCofins", "''"},
    {"CalcPIS", "''"},
    {"CalcCofins", "''"},
    {"InscEstSubTrib", "''"},
    {"LetraImpressao", "''"},
    {"PorcINSS", " 0"},
    {"NaturezaOperacao", nullptr},
    {"modBC", "Null "},
    {"CalcSubTrib", "'N'"},
    {" CofinsCST", "''"},
    {"PISCST", "''"},
    {"CofinsPorcentagem", "Null"},
    {"PISPorcentagem", "Null"},
    {"CredSN", "Null"},
    {"AliqIVASubTribFrete", "Null"},
    {"  AliqIVASubTrib", "Null"},
    {" ICMSST ", "Null"},
    {"Regime", "2"},
    {"PorcReducaoBCICMS", "Null"},
    {"AliquotaICMS", "Null"},
    {"TextoPadraoArt23", "'N'"},
    {" PorcAprovICMS", "Null"},
    {" MostrarPorcICMS", "''"},
    {" MostrarBaseICMS  ", "''"},
    {"IPICST", "''"},
    {"IPIMostraValor", "'N'"},
    {"pMVAST", "Null"},
    {"pRedBCST ", "Null"},
    {"VendaDig_ICMS", "''"},
    {" VendaDig_ST", "''"},
    {" VendaDig_IPI", "''"},
    {"Obs ", "Null"},
    {" CSTSat", " Null"},
    {"CSOSN    ", nullptr},
};

}  // namespace

Insercao insercaoTribCfop(int32_t idTribCfop, const std::string& cfop, const std::string& codigoCst) {
  Insercao i(" INSERT INTO TribCFOP (");
  i.fim(std::string(")") + " VALUES (", ")");
  for (const ColunaTribCfop& c : kColunasTribCfop) {
    if (c.valor) {
      i.campo(c.coluna, c.valor);
      continue;
    }
    const std::string coluna = c.coluna;
    if (coluna == "idTribCFOP") {
      i.variavel(coluna, id(idTribCfop)).separadoresDoUltimo(",", " ,");
    } else if (coluna == "Descricao") {
      i.variavel(coluna, aspas("CFOP " + cfop));
    } else if (coluna == "NaturezaOperacao") {
      i.variavel(coluna, aspas("NAT " + cfop));
    } else if (coluna == "CodFiscal") {
      i.variavel(coluna, ch(cfop));
    } else {  // CST and CSOSN
      i.variavel(coluna, ch(codigoCst));
    }
  }
  return i;
}

RegistrosProduto::RegistrosProduto(Conexao& conexao, bool mantidos)
    : conexao_(conexao), mantidos_(mantidos) {}

// Each table once, in the order the database gives its rows: the first record of a text is the
// one a lookup would find.
void RegistrosProduto::carrega() {
  if (!mantidos_ || carregados_) return;
  auto tabela = [&](const std::string& sql, Tabela& t) {
    conexao_.percorre(sql, [&](const std::vector<Valor>& l) {
      if (!l[0].nulo() && !l[1].nulo()) t.emplace(chave(l[1].textoRegional(1)), int32_t(l[0].paraDouble()));
    });
  };
  tabela("Select IdUnidade, Descricao From Unidade", unidades_);
  tabela("Select IdProdGrupo, Descricao From ProdutoGrupo", grupos_);
  tabela("Select IdSubGrupo, Descricao From SubGrupo", subGrupos_);
  tabela("Select IdNCMGrupo, DescricaoGrupo From NCMGrupo", ncmGrupos_);
  tabela("Select IdTribCFOP, CodFiscal From TribCFOP", tribCfops_);
  conexao_.percorre("Select IdNCM, CodigoNCM, CEST From NCM", [&](const std::vector<Valor>& l) {
    if (!l[0].nulo() && !l[1].nulo())
      ncms_.emplace(
          chave(l[1].textoRegional(1)),
          std::make_pair(int32_t(l[0].paraDouble()), l[2].nulo() ? "<null>" : l[2].textoRegional(1)));
  });
  conexao_.percorre("Select IdECFLetra, PorcICF From ECFLetra", [&](const std::vector<Valor>& l) {
    if (!l[0].nulo() && !l[1].nulo())
      aliquotas_.emplace(chaveTaxa(l[1].paraDouble()), int32_t(l[0].paraDouble()));
  });
  conexao_.percorre("Select CodigoCST From CST", [&](const std::vector<Valor>& l) {
    if (!l[0].nulo()) csts_.emplace(chave(l[0].textoRegional(1)), l[0].textoRegional(1));
  });
  carregados_ = true;
}

void RegistrosProduto::guarda(Tabela& tabela, const std::string& texto, int32_t idNovo) {
  if (!mantidos_) return;
  const std::string k = chave(texto);
  if (tabela.emplace(k, idNovo).second) desfazer_.push_back([&tabela, k] { tabela.erase(k); });
}

void RegistrosProduto::desfazAte(size_t marca) {
  while (desfazer_.size() > marca) {
    desfazer_.back()();
    desfazer_.pop_back();
  }
}

// The identifier of the first text found, trying each distinct non-empty text once: in the kept
// table, or with the query (which ends with the text's literal).
std::optional<int32_t> RegistrosProduto::procura(Tabela& tabela, const std::string& consulta,
                                                 const char* campo,
                                                 std::initializer_list<std::string> textos) {
  carrega();
  std::vector<std::string> vistos;
  for (const std::string& t : textos) {
    if (std::find(vistos.begin(), vistos.end(), t) != vistos.end()) continue;
    if (t.empty() && !vistos.empty()) continue;
    vistos.push_back(t);
    if (mantidos_) {
      if (auto it = tabela.find(chave(t)); it != tabela.end()) return it->second;
    } else if (auto id = primeiro(conexao_, consulta + aspas(t), campo)) {
      return id;
    }
  }
  return std::nullopt;
}

int32_t RegistrosProduto::unidade(const std::string& unidade, const std::string& escrito) {
  const std::string gravada = LimpaTexto(esquerda(maiusculas(unidade), 2), false);
  if (auto id = procura(
          unidades_, "Select IdUnidade, Descricao,MedidaFracao From Unidade Where  Descricao = ", "IdUnidade",
          {unidade, gravada, esquerda(escrito, 6)}))
    return *id;
  const int32_t novo =
      ProxCodigo(conexao_, "IdUnidade", "Unidade", "Select Max(IdUnidade) as IdUnidade  From Unidade ");
  Insercao i("  INSERT INTO Unidade (");
  i.variavel("IdUnidade", id(novo)).variavel("Descricao", aspas(gravada)).campo("MedidaFracao", "'N'");
  conexao_.executa(i.sql());
  guarda(unidades_, gravada, novo);
  return novo;
}

int32_t RegistrosProduto::grupo(const std::string& grupo, const std::string& escrito) {
  std::string texto = esquerda(LimpaTexto(grupo, false), 50);
  if (texto.empty()) texto = "DIVERSOS";
  if (auto id = procura(grupos_, "Select * From ProdutoGrupo Where  Descricao =  ", "IdProdGrupo",
                        {texto, esquerda(escrito, 50)}))
    return *id;
  const int32_t novo = ProxCodigo(conexao_, "idProdGrupo", "ProdutoGrupo");
  Insercao i("  INSERT INTO ProdutoGrupo  (");
  i.variavel("idProdGrupo", id(novo)).variavel(" Descricao", aspas(texto)).campo("PorCAuto ", "'N'");
  conexao_.executa(i.sql());
  guarda(grupos_, texto, novo);
  return novo;
}

std::optional<int32_t> RegistrosProduto::subGrupo(const std::string& subGrupo, const std::string& escrito) {
  const std::string texto = esquerda(subGrupo, 30);
  if (texto.empty()) return std::nullopt;
  if (auto id = procura(subGrupos_, "Select * From SubGrupo Where  Descricao =  ", "IdSubGrupo",
                        {texto, esquerda(escrito, 30)}))
    return id;
  const int32_t novo = ProxCodigo(conexao_, "idSubGrupo", "SubGrupo");
  Insercao i("  INSERT INTO SubGrupo  (");
  i.variavel("idSubGrupo", id(novo)).variavel(" Descricao ", aspas(texto));
  conexao_.executa(i.sql());
  guarda(subGrupos_, texto, novo);
  return novo;
}

int32_t RegistrosProduto::ncm(const std::string& ncm, const std::string& cest, const std::string& descricao) {
  carrega();
  std::optional<int32_t> achado;
  if (mantidos_) {
    if (auto it = ncms_.find(chave(ncm)); it != ncms_.end()) achado = it->second.first;
  } else {
    achado = primeiro(conexao_, "Select * From NCM Where  CODIGONCM =  " + aspas(ncm), "idNCM");
  }
  if (achado) {
    // The CEST belongs to every item of the NCM: an empty cell leaves it as it is. A kept NCM that
    // already holds it is not rewritten with the same text.
    if (cest.empty()) return *achado;
    std::string* guardado = nullptr;
    if (mantidos_) {
      guardado = &ncms_.find(chave(ncm))->second.second;
      if (*guardado == cest) return *achado;
    }
    Atualizacao u("Update NCM Set ");
    u.campo("CEST = ", Valor(cest), TipoSQL::CH).condicao(" Where IDNCM = ", id(*achado));
    conexao_.executa(u.sql());
    if (guardado) {
      desfazer_.push_back([guardado, antes = *guardado] { *guardado = antes; });
      *guardado = cest;
    }
    return *achado;
  }
  const int32_t novo = ProxCodigo(conexao_, "idNCM", "NCM", "Select max(idNCM) idNCM From NCM");
  const std::string nome = esquerda(descricao, 20);
  std::optional<int32_t> grupo;
  if (mantidos_) {
    if (auto it = ncmGrupos_.find(chave(nome)); it != ncmGrupos_.end()) grupo = it->second;
  } else {
    grupo = primeiro(conexao_, "Select IDNCMGRUPO From NCMGRUPO Where DESCRICAOGRUPO = " + aspas(nome),
                     "IDNCMGRUPO");
  }
  if (!grupo) {
    grupo = ProxCodigo(conexao_, "IDNCMGRUPO", "NCMGRUPO");
    Insercao g(" Insert Into  NCMGRUPO (");
    g.variavel("IDNCMGRUPO", id(*grupo))
        .variavel("CODIGONCMGRUPO", aspas(id(*grupo)))
        .variavel(" DESCRICAOGRUPO", aspas(nome))
        .fim(") " + std::string(" Values ( "), ")");
    conexao_.executa(g.sql());
    guarda(ncmGrupos_, nome, *grupo);
  }
  // The NCM record is named after the product, in the group 1.
  Insercao n(" Insert Into NCM ( ");
  n.variavel("IDNCM", id(novo))
      .variavel(" CODIGONCM", aspas(ncm))
      .campo(" DESCRICAO", Valor(nome), TipoSQL::CH)
      .campo(" IDNCMGRUPO", "1")
      .campo("  CEST ", Valor(cest), TipoSQL::CH)
      .fim(") Values (", ")");
  conexao_.executa(n.sql());
  if (mantidos_) {
    const std::string k = chave(ncm);
    if (ncms_.emplace(k, std::make_pair(novo, cest.empty() ? std::string("<null>") : cest)).second)
      desfazer_.push_back([this, k] { ncms_.erase(k); });
  }
  return novo;
}

std::optional<int32_t> RegistrosProduto::aliquota(const std::string& aliquota, int estilo) {
  if (aliquota.empty()) return std::nullopt;
  const Decimal taxa = leNumero(aliquota, estilo, 2);
  if (taxa.unscaled > 9900) return std::nullopt;
  carrega();
  const std::string fl = ConverteSQL(Valor(taxa), TipoSQL::FL);
  if (mantidos_) {
    if (auto it = aliquotas_.find(chaveTaxa(taxa.paraDouble())); it != aliquotas_.end()) return it->second;
  } else if (auto id = primeiro(conexao_, "Select * From ECFLetra Where  PorcICF =  " + fl, "idECFLetra")) {
    return id;
  }
  const int32_t novo =
      ProxCodigo(conexao_, "idECFLetra", "ECFLetra", "Select max(idECFLetra) idECFLetra From ECFLetra");
  const std::string texto = formataPreco(taxa, estilo);
  Insercao i(" Insert Into ECFLetra ( ");
  i.variavel("idECFLetra", id(novo))
      .variavel(" Descricao ", aspas("Porcentagem: " + texto))
      .variavel(" LetraImpressao", aspas(texto))
      .variavel(" PorcICF ", fl)
      .fim(") Values (", ")");
  conexao_.executa(i.sql());
  if (mantidos_) {
    const int64_t k = chaveTaxa(taxa.paraDouble());
    if (aliquotas_.emplace(k, novo).second) desfazer_.push_back([this, k] { aliquotas_.erase(k); });
  }
  return novo;
}

int32_t RegistrosProduto::tribCfop(const std::string& cfop, const std::string& codigoCst) {
  const std::string literal = ch(cfop);
  carrega();
  if (mantidos_) {
    if (auto it = tribCfops_.find(chave(apara(cfop))); it != tribCfops_.end()) return it->second;
  } else if (auto id =
                 primeiro(conexao_, "Select * From TribCFOP Where  CodFiscal =  " + literal, "idTribCFOP")) {
    return *id;
  }
  const int32_t novo =
      ProxCodigo(conexao_, "idTribCFOP", "TribCFOP", "Select max(idTribCFOP) idTribCFOP From TribCFOP");
  conexao_.executa(insercaoTribCfop(novo, cfop, codigoCst).sql());
  guarda(tribCfops_, apara(cfop), novo);
  return novo;
}

std::string RegistrosProduto::cst(const std::string& csosn) {
  if (csosn.empty()) return {};
  carrega();
  if (mantidos_) {
    if (auto it = csts_.find(chave(apara(csosn))); it != csts_.end()) return it->second;
  } else {
    Recordset rs = conexao_.abre("Select * From CST Where  CodigoCST =  " + ch(csosn));
    if (!rs.eof()) return rs.valor("CodigoCST").textoRegional(estiloRegional());
  }
  const int32_t novo = ProxCodigo(conexao_, "idCST", "CST");
  Insercao i(" Insert Into CST (");
  i.variavel("idCST", id(novo))
      .variavel("CodigoCST", ch(csosn))
      .variavel(" CST", aspas("CSN:" + csosn))
      .fim(") Values ( ", ")");
  conexao_.executa(i.sql());
  if (mantidos_) {
    const std::string k = chave(apara(csosn));
    if (csts_.emplace(k, apara(csosn)).second) desfazer_.push_back([this, k] { csts_.erase(k); });
  }
  return csosn;
}

}  // namespace zuv
