#include "migration/RegistrosProduto.h"

#include <algorithm>
#include <vector>

#include "common/ConverteSQL.h"
#include "common/Limpeza.h"
#include "common/Texto.h"
#include "migration/LinhaProduto.h"
#include "platform/Conexao.h"
#include "schema/Registros.h"

namespace zuv {

namespace {

std::string ch(const std::string& texto) {
  return ConverteSQL(Valor(texto), "CH");
}

// The text between the quotes of 'CFOP ...', 'CSN:...': quotes doubled.
std::string dentroDeAspas(const std::string& texto) {
  const std::string a = aspas(texto);
  return a.substr(1, a.size() - 2);
}

std::optional<int32_t> primeiro(Conexao& conexao, const std::string& sql, const char* campo) {
  Recordset rs = conexao.abre(sql);
  if (rs.eof() || rs.valor(campo).nulo()) return std::nullopt;
  return static_cast<int32_t>(rs.valor(campo).paraDouble());
}

}  // namespace

// The identifier of the first text found by the query, trying each distinct non-empty text once.
std::optional<int32_t> procura(Conexao& conexao, const std::string& consulta, const char* campo,
                               std::initializer_list<std::string> textos) {
  std::vector<std::string> vistos;
  for (const std::string& t : textos) {
    if (std::find(vistos.begin(), vistos.end(), t) != vistos.end()) continue;
    if (t.empty() && !vistos.empty()) continue;
    vistos.push_back(t);
    if (auto id = primeiro(conexao, consulta + aspas(t), campo)) return id;
  }
  return std::nullopt;
}

int32_t unidadeDoProduto(Conexao& conexao, const std::string& unidade, const std::string& escrito) {
  const std::string gravada = LimpaTexto(esquerda(maiusculas(unidade), 2), false);
  if (auto id = procura(conexao, "Select IdUnidade, Descricao,MedidaFracao From Unidade Where  Descricao = ",
                        "IdUnidade", {unidade, gravada, esquerda(escrito, 6)}))
    return *id;
  const int32_t id =
      ProxCodigo(conexao, "IdUnidade", "Unidade", "Select Max(IdUnidade) as IdUnidade  From Unidade ");
  conexao.executa("  INSERT INTO Unidade (IdUnidade,Descricao,MedidaFracao) VALUES (" + std::to_string(id) +
                  "," + aspas(gravada) + ",'N')");
  return id;
}

int32_t grupoDoProduto(Conexao& conexao, const std::string& grupo, const std::string& escrito) {
  std::string texto = esquerda(LimpaTexto(grupo, false), 50);
  if (texto.empty()) texto = "DIVERSOS";
  if (auto id = procura(conexao, "Select * From ProdutoGrupo Where  Descricao =  ", "IdProdGrupo",
                        {texto, esquerda(escrito, 50)}))
    return *id;
  const int32_t id = ProxCodigo(conexao, "idProdGrupo", "ProdutoGrupo");
  conexao.executa("  INSERT INTO ProdutoGrupo  (idProdGrupo, Descricao,PorCAuto ) VALUES (" +
                  std::to_string(id) + "," + aspas(texto) + ",'N')");
  return id;
}

std::optional<int32_t> subGrupoDoProduto(Conexao& conexao, const std::string& subGrupo,
                                         const std::string& escrito) {
  const std::string texto = esquerda(subGrupo, 30);
  if (texto.empty()) return std::nullopt;
  if (auto id = procura(conexao, "Select * From SubGrupo Where  Descricao =  ", "IdSubGrupo",
                        {texto, esquerda(escrito, 30)}))
    return id;
  const int32_t id = ProxCodigo(conexao, "idSubGrupo", "SubGrupo");
  conexao.executa("  INSERT INTO SubGrupo  (idSubGrupo, Descricao ) VALUES (" + std::to_string(id) + "," +
                  aspas(texto) + ")");
  return id;
}

int32_t ncmDoProduto(Conexao& conexao, const std::string& ncm, const std::string& cest,
                     const std::string& descricao) {
  if (auto id = primeiro(conexao, "Select * From NCM Where  CODIGONCM =  " + aspas(ncm), "idNCM")) {
    // The CEST belongs to every item of the NCM: an empty cell leaves it as it is.
    if (!cest.empty())
      conexao.executa("Update NCM Set CEST = " + ch(cest) + " Where IDNCM = " + std::to_string(*id));
    return *id;
  }
  const int32_t id = ProxCodigo(conexao, "idNCM", "NCM", "Select max(idNCM) idNCM From NCM");
  const std::string nome = esquerda(descricao, 20);
  std::optional<int32_t> grupo = primeiro(
      conexao, "Select IDNCMGRUPO From NCMGRUPO Where DESCRICAOGRUPO = " + aspas(nome), "IDNCMGRUPO");
  if (!grupo) {
    grupo = ProxCodigo(conexao, "IDNCMGRUPO", "NCMGRUPO");
    const std::string g = std::to_string(*grupo);
    conexao.executa(std::string(" Insert Into  NCMGRUPO (IDNCMGRUPO,CODIGONCMGRUPO, DESCRICAOGRUPO) ") +
                    " Values ( " + g + ",'" + g + "'," + aspas(nome) + ")");
  }
  // The NCM record is named after the product, in the group 1.
  conexao.executa(" Insert Into NCM ( IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO,  CEST ) Values (" +
                  std::to_string(id) + "," + aspas(ncm) + "," + ch(nome) + ",1," + ch(cest) + ")");
  return id;
}

std::optional<int32_t> aliquotaDoProduto(Conexao& conexao, const std::string& aliquota, int estilo) {
  if (aliquota.empty()) return std::nullopt;
  const Decimal taxa = leNumero(aliquota, estilo, 2);
  if (taxa.unscaled > 9900) return std::nullopt;
  const std::string fl = ConverteSQL(Valor(taxa), "FL");
  if (auto id = primeiro(conexao, "Select * From ECFLetra Where  PorcICF =  " + fl, "idECFLetra")) return id;
  const int32_t id =
      ProxCodigo(conexao, "idECFLetra", "ECFLetra", "Select max(idECFLetra) idECFLetra From ECFLetra");
  const std::string texto = formataPreco(taxa, estilo);
  conexao.executa(" Insert Into ECFLetra ( idECFLetra, Descricao , LetraImpressao, PorcICF ) Values (" +
                  std::to_string(id) + ",'Porcentagem: " + texto + "','" + texto + "'," + fl + ")");
  return id;
}

std::string insercaoTribCfop(int32_t id, const std::string& cfop, const std::string& codigoCst) {
  const std::string c = dentroDeAspas(cfop);
  return std::string(
             " INSERT INTO TribCFOP (idTribCFOP,Tipo,Descricao,CredICMS,CredIPI,GeraDpl,AtuEst,PoderTerc,"
             "AtuPrecoCompra,") +
         " CalcICMS,CalcIPI,CodFiscal,RedICMS,RedIPI,DestacaIPI,IPIBase,CalcDifICMS,CalcIPIFrete,"
         "CalcIPIDespesa,"
         "CalcISS,MatConsumo,DespIntCusto,IPIIntCusto,LFiscICMS,LFiscIPI,LFiscISS,NumLivro,ObsFiscal,"
         "OrigemProduto,"
         "CST,STF,CContabil,CredPIS,CredCofins,CalcPIS,CalcCofins,InscEstSubTrib,LetraImpressao,PorcINSS,"
         "NaturezaOperacao,modBC,CalcSubTrib, CofinsCST,PISCST,CofinsPorcentagem,PISPorcentagem,CredSN,"
         "AliqIVASubTribFrete,  AliqIVASubTrib, ICMSST "
         ",Regime,PorcReducaoBCICMS,AliquotaICMS,TextoPadraoArt23, "
         "PorcAprovICMS, MostrarPorcICMS, MostrarBaseICMS  ,IPICST,IPIMostraValor,pMVAST,pRedBCST "
         ",VendaDig_ICMS, "
         "VendaDig_ST, VendaDig_IPI,Obs , CSTSat,CSOSN    )" +
         " VALUES (" + std::to_string(id) + " ,'S','CFOP " + c + "','','','','','','','',''," + ch(cfop) +
         ",0,0,'','','','','',''  ,'','','','','','','','',''," + ch(codigoCst) +
         ",'101','','','','','','','', 0,'NAT " + c +
         "',Null "
         ",'N','','',Null,Null,Null,Null,Null,Null,2,Null,Null,'N',Null,'','','','N',Null,Null,'','','',Null,"
         " " +
         ch("") + "," + ch(codigoCst) + ")";
}

int32_t tribCfopDoProduto(Conexao& conexao, const std::string& cfop, const std::string& codigoCst) {
  if (auto id = primeiro(conexao, "Select * From TribCFOP Where  CodFiscal =  " + ch(cfop), "idTribCFOP"))
    return *id;
  const int32_t id =
      ProxCodigo(conexao, "idTribCFOP", "TribCFOP", "Select max(idTribCFOP) idTribCFOP From TribCFOP");
  conexao.executa(insercaoTribCfop(id, cfop, codigoCst));
  return id;
}

std::string cstDoProduto(Conexao& conexao, const std::string& csosn) {
  if (csosn.empty()) return {};
  Recordset rs = conexao.abre("Select * From CST Where  CodigoCST =  " + ch(csosn));
  if (!rs.eof()) return rs.valor("CodigoCST").textoRegional(estiloRegional());
  const int32_t id = ProxCodigo(conexao, "idCST", "CST");
  conexao.executa(" Insert Into CST (idCST,CodigoCST, CST) Values ( " + std::to_string(id) + "," + ch(csosn) +
                  "," + "'CSN:" + dentroDeAspas(csosn) + "')");
  return csosn;
}

}  // namespace zuv
