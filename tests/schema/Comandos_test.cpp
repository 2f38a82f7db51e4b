// Statements of the importers, written as the program builds them, run against the schema
// fixture: every table and column they name exists and takes the values they write.
#include <gtest/gtest.h>

#include <string>

#include "support/BancoDeTeste.h"

namespace zuv::teste {
namespace {

const std::string kColunasTribCFOP =
    " INSERT INTO TribCFOP "
    "(idTribCFOP,Tipo,Descricao,CredICMS,CredIPI,GeraDpl,AtuEst,PoderTerc,AtuPrecoCompra,"
    " CalcICMS,CalcIPI,CodFiscal,RedICMS,RedIPI,DestacaIPI,IPIBase,CalcDifICMS,CalcIPIFrete,CalcIPIDespesa,"
    "CalcISS,MatConsumo,DespIntCusto,IPIIntCusto,LFiscICMS,LFiscIPI,LFiscISS,NumLivro,ObsFiscal,"
    "OrigemProduto,"
    "CST,STF,CContabil,CredPIS,CredCofins,CalcPIS,CalcCofins,InscEstSubTrib,LetraImpressao,PorcINSS,"
    "NaturezaOperacao,modBC,CalcSubTrib, CofinsCST,PISCST,CofinsPorcentagem,PISPorcentagem,CredSN,"
    "AliqIVASubTribFrete,  AliqIVASubTrib, ICMSST ,Regime,PorcReducaoBCICMS,AliquotaICMS,TextoPadraoArt23, "
    "PorcAprovICMS, MostrarPorcICMS, MostrarBaseICMS  ,IPICST,IPIMostraValor,pMVAST,pRedBCST ,VendaDig_ICMS, "
    "VendaDig_ST, VendaDig_IPI,Obs , CSTSat,CSOSN ";

class Comandos : public ::testing::Test {
 protected:
  void SetUp() override { banco.carregaFixture("zuv_populado.sql"); }
  BancoDeTeste banco;
};

TEST_F(Comandos, ConsultasDeExportacao) {
  const std::string sat =
      "Select T.idItemProduto Codigo_Interno, Coalesce(T.Barra,'') as Codigo_Barra, P.Descricao as "
      "Nome_Produto,"
      " Coalesce(g.Descricao,'') as Grupo_Produto, Coalesce(N.CodigoNCM,'') as Codigo_NCM, "
      " Coalesce(L.PorcICF,'') as AliquotaICMS, Coalesce(O.CodFiscal,'') as Codigo_CFOP_SAT, "
      " Coalesce(O.CSOSN,'') as Tributacao_Simples_Nacional,  Coalesce(O.CSTSAT,'') as Cod_Trib_ICMS_CST , "
      " Coalesce(N.CEST,'') as Codigo_CEST,  ( Select CODFISCAL from   TRIBCFOP  Where IDTRIBCFOP  = "
      "T.idTribCFOP) CodFiscalEntrada, T.PisCSTSai   Codigo_CST_PIS, T.PISPorcentagemSai Porcentagem_PIS,"
      " T.CofinsCSTSai      Codigo_CST_Cofins, T.CofinsPorcentagemSai Porcentagem_Cofins, T.AliqICMS"
      " From ProdutoEstoque T Inner Join Produto  P ON T.idProduto   = P.idProduto  "
      "                       Left Join TRIBCFOP  O on O.IDTRIBCFOP  = T.idTribCFOP "
      "                       Left Join ECFLetra  L on L.idECFLetra  = T.idECFLetra "
      "                       Left Join ProdutoGrupo G on G.idProdGrupo = T.idProdGrupo"
      "                       Left Join NCM          N on N.idNCM = t.idNCM    "
      "  where  T.Ativo   = 'S'   Order by T.idProdGrupo, P.Descricao";
  auto linhas = banco.consulta(sat);
  ASSERT_EQ(linhas.size(), 2u);
  EXPECT_EQ(linhas[0][1], "7891234567895");
  EXPECT_EQ(linhas[0][2], "CAFÉ TORRADO 500G");
  EXPECT_EQ(linhas[0][5], "18.00");
  EXPECT_EQ(linhas[1][8], "60");

  const std::string nfe =
      " Select Coalesce(T.Barra,'') as Codigo_Barra,  T.idItemProduto Codigo_Interno, "
      " Coalesce(O.idTribCFOP,'') as Codigo_CFOPInterno,  P.Descricao as Nome_Produto,"
      " Coalesce(g.Descricao,'') as Grupo_Produto, Coalesce(N.CodigoNCM,'') as Codigo_NCM, "
      " Coalesce(N.CEST,'') as Codigo_CEST , Coalesce(O.CodFiscal,'') as Codigo_CFOP, "
      " Coalesce(O.CST,'') as Trib_ICMS_CST,  Coalesce(O.NaturezaOperacao,'') as NaturezaOperacao "
      " From ProdutoEstoque T Inner Join Produto  P ON T.idProduto   = P.idProduto  "
      "                       Left Join TRIBCFOP  O on O.IDTRIBCFOP  = T.idTribCFOP "
      "                       Left Join ProdutoGrupo G on G.idProdGrupo = T.idProdGrupo"
      "                       Left Join NCM          N on N.idNCM = t.idNCM    "
      "  where  T.Ativo   = 'S'   Order by T.idProdGrupo, P.Descricao";
  EXPECT_EQ(banco.consulta(nfe).size(), 2u);

  const std::string produto =
      "Select  Coalesce(T.Barra,'') as Codigo_Barra, P.Descricao as Nome_Produto,"
      "        (Select U.Descricao From Unidade U Where U.idunidade = T.idUnidade) Unidade ,"
      " T.CUSTOLIQUIDO         , T.VENDAATUAL           ,  T.EstoqueAtual ,  Coalesce(g.Descricao,'') as "
      "Grupo_Produto,         ( Select D.Descricao From SubGrupo D Where D.idSubGrupo = T.idSubGrupo)AS "
      "DescricaoSub   ,   Coalesce(N.CodigoNCM,'') as Codigo_NCM,  Coalesce(L.PorcICF,'') as AliquotaICMS,"
      " Coalesce(O.CodFiscal,'') as Codigo_CFOP_SAT,  Coalesce(O.CSOSN,'') as Tributacao_Simples_Nacional, "
      " Coalesce(O.CSTSAT,'') as Cod_Trib_ICMS_CST,   Coalesce(N.CEST,'') as Codigo_CEST, "
      " (T.VendaAtacado) as VendaAtacado  From ProdutoEstoque T Inner Join Produto  P ON T.idProduto   = "
      "P.idProduto                         Left Join TRIBCFOP  O on O.IDTRIBCFOP  = T.idTribCFOP "
      "                       Left Join ECFLetra  L on L.idECFLetra  = T.idECFLetra "
      "                       Left Join ProdutoGrupo G on G.idProdGrupo = T.idProdGrupo"
      "                       Left Join NCM          N on N.idNCM = t.idNCM       Order by T.idProdGrupo, "
      "P.Descricao";
  linhas = banco.consulta(produto);
  ASSERT_EQ(linhas.size(), 2u);
  EXPECT_EQ(linhas[0][2], "UN");
  EXPECT_EQ(linhas[0][7], "MATINAIS");

  EXPECT_EQ(
      banco.consulta(" Select PRODUTOESTOQUEALIQICMS from CliDono3 where PRODUTOESTOQUEALIQICMS  = 'S' "),
      BancoDeTeste::Linhas{});
}

TEST_F(Comandos, CadastrosDaImportacaoDePlanilhas) {
  banco.executaIsql(
      "  INSERT INTO Unidade (IdUnidade,Descricao,MedidaFracao) VALUES (3,'CX','N');\n"
      "  INSERT INTO ProdutoGrupo  (idProdGrupo, Descricao,PorCAuto ) VALUES (3,'DIVERSOS','N');\n"
      "  INSERT INTO SubGrupo  (idSubGrupo, Descricao ) VALUES (2,'LATICINIOS');\n"
      " Insert Into  NCMGRUPO (IDNCMGRUPO,CODIGONCMGRUPO, DESCRICAOGRUPO)  Values ( 2,'2','LEITE INTEGRAL "
      "1L')"
      ";\n"
      " Insert Into NCM ( IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO,  CEST ) Values "
      "(3,'04012010',2,1,'1701600')"
      ";\n"
      "Update NCM Set CEST = Null Where IDNCM = 3;\n"
      " Insert Into ECFLetra ( idECFLetra, Descricao , LetraImpressao, PorcICF ) Values (2,'Porcentagem: "
      "7,50','7,50',7.5);\n"
      " INSERT INTO ECFLetra (IDECFLETRA,LETRAIMPRESSAO,PORCICF,DESCRICAO)  Values ( 3,'12',12, 'ECF  12');\n"
      " Insert Into CST (idCST,CodigoCST, CST) Values ( 2,'500','CSN:500');\n" +
      kColunasTribCFOP + "   ) VALUES (3 ,'S','CFOP 5102','','','','','','','',''," +
      "'5102',0,0,'','','','','',''  ,'','','','','','','','',''," +
      "'500','101','','','','','','','', 0,'NAT 5102',Null ,'N','','',Null,Null,Null,Null,Null,Null,2,Null,"
      "Null,'N',Null,'','','','N',Null,Null,'','','',Null, Null,'500');\n" +
      kColunasTribCFOP + ",Ativo ) VALUES (4 ,'S','CFOP 5405 CSTSat 60','','','','','','','',''," +
      "'5405',0,0,'','','','','','','','','','','','','','','0','','','','','','','','','', 0,'CFOP 5405 "
      "CSTSat "
      "60',Null "
      ",'N','','',Null,Null,Null,Null,Null,Null,2,Null,Null,'N',Null,'','','','N',Null,Null,'','','',"
      "Null, '60',Null,'S');\n"
      " Insert Into PRODUTOESTOQUE (        CapEmbalagem  ,        idTribCFOP ,         IdECFLetra ,         "
      "idNCM ,         idGrade  ,        idItemProduto  ,        idProduto  ,        idProdGrupo      ,"
      "        CustoLiquido     ,        Custobruto     ,        VENDAATACADO   ,        VendaAtual       ,"
      "        VendaAtual2   ,        VENDAATACADO2       ,        VendacDesconto   ,        IdUnidade       "
      " ,"
      "        Balanca          ,        Barra      ,        BarraExterno      ,        MargemVenda      ,"
      "        MargemVendaPorc  ,        UNIDEMBALAGEM    ,        TIPOESTOQUE      ,        GERARETIQUETA   "
      " ,"
      "        ATIVO            ,        DATACADASTRO     ,        AliqICMS            ,        VALORICMS    "
      "   "
      "     ,        IPIPorcentagem            ,        PorcAtacado            ,        IPIValor            ,"
      "        MargemAtacado,        EstoqueAtual,        EstoqueMinimo      ,        IDLOCAL      ,        "
      "IDSUBGRUPO   ,PorcDescMaximo   ) Values (1,3,2,3,Null,3,1,3,4.00,4.00,0,10.00,0,0,0,3,'N',"
      "'7896543210987','7896543210987',6.00,150,1,1,'N','S','03/15/2024',0,0,0,0,0,0,12.5,0,Null,2,0);\n"
      "Update ProdutoEstoque Estoque SEt  VENDAATACADO    = 9.5 ,CustoLiquido    = 4.10, Custobruto      = "
      "4.10 "
      ",VendaAtual      = 10.50 ,MargemVenda     = 6.40 ,MargemVendaPorc = 156.097560975610 , EstoqueAtual   "
      " = "
      "13 ,idTribCFOP      = Null  ,IdECFLetra      = 3 ,idNCM           = Null     ,   idProdGrupo      = 3"
      "     ,   IDSUBGRUPO      = 2 Where Barra = '7896543210987';\n"
      "update produto set descricao = 'LEITE' , DescricaoImp  = 'LEITE' where idproduto = 1;\n"
      "Update ProdutoEstoque Set  idNCM = 3, idECFLetra = 2, idTribCFOP = 3, idTribCFOPEntradada = 4, "
      "PisCSTSai           = 49, PISPorcentagemSai   = 0.65, CofinsCSTSai        = 49, "
      "CofinsPorcentagemSai        = 3 Where idItemProduto =3;\n"
      "Update ProdutoEstoque Set AliqICMS = 18 Where idItemProduto =3;\n"
      " INSERT INTO Cliente (PF,Ativo,CLIENTE,ENDERECO,NRO,COMPLEMENTO,BAIRRO,CIDADE,ESTADO,CEP,FONE,FONE2,"
      "CELULAR,CPF,RG,CGC,IE,EMAIL,IDCLIENTE) VALUES ('J','S',Null,Null,Null,Null,Null,Null,Null,Null,Null,"
      "Null,Null,Null,Null,Null,Null,Null,4);\n"
      "delete from fornecedor;\n"
      " INSERT INTO FORNECEDOR ( NOMERAZAO , CONTATO, CGC,FONE1,FAX,IDFORNECEDOR) VALUES ('ATACADO "
      "SUL','ANA',"
      "'11222333000181','(11) 0000-0000','',1)");
  EXPECT_EQ(
      banco.consulta("select IDNCM, AliqICMS, VENDAATUAL, CUSTOLIQUIDO, MARGEMVENDAPORC, IDTRIBCFOPENTRADADA "
                     "from PRODUTOESTOQUE where IDITEMPRODUTO = 3"),
      (BancoDeTeste::Linhas{{"3", "18.0000", "10.50", "4.1000", "156.0976", "4"}}));
  EXPECT_EQ(banco.valor("select DESCRICAO from NCM where IDNCM = 3"), "2");
}

TEST_F(Comandos, CopiaEntreBancosDeZUV) {
  banco.executaIsql(
      " Insert Into TRIBCFOP ( IDTRIBCFOP, TIPO, DESCRICAO, CREDICMS, CREDIPI, GERADPL, ATUEST, PODERTERC, "
      "ATUPRECOCOMPRA, CALCICMS, CALCIPI, CODFISCAL, DESTACAIPI, IPIBASE, CALCDIFICMS, CALCIPIFRETE, "
      "CALCISS, "
      "MATCONSUMO, DESPINTCUSTO, IPIINTCUSTO, LFISCICMS, LFISCIPI, LFISCISS, NUMLIVRO, LOCKED, "
      "CALCIPIDESPESA, "
      "ORIGEMPRODUTO, MENSAGEMNF, OBSFISCAL, TRIBUTAICMS, STF, CCONTABIL, CREDPIS, CREDCOFINS, CALCPIS, "
      "CALCCOFINS, INSCESTSUBTRIB, LETRAIMPRESSAO, PORCINSS, REDICMS, REDIPI) Values "
      "(9,'S','VENDA',Null,Null,"
      "Null,Null,Null,Null,Null,Null,'5102',Null,Null,Null,Null,Null,Null,Null,Null,Null,Null,Null,Null,'N',"
      "Null,'0',Null,Null,'S',Null,Null,Null,Null,Null,Null,Null,Null,0,0,0);\n"
      " Update  TRIBCFOP Set TIPO       = 'S',DESCRICAO      = 'VENDA 2',LOCKED             = 'N',"
      "MENSAGEMNF     = Null,TRIBUTAICMS    = 'S',REDIPI             = 0 Where IDTRIBCFOP = 9;\n"
      " Insert Into FABRICANTE ( IDFABRICANTE ,APELIDO ,NOMERAZAO ,CONTATO ,ENDERECO ,ENDERECO2 ,BAIRRO "
      ",CIDADE "
      ",ESTADO ,DDI1 ,DDD1 ,FONE1 ,DDI2 ,DDD2 ,FONE2 ,DDICEL ,DDDCEL ,CELCONTATO ,CEP ,CGC ,INSCEST ,EMAIL ,"
      "SITE) Values ( '2','NESTLE','NESTLE BRASIL "
      "LTDA',Null,Null,Null,Null,Null,'SP',Null,Null,Null,Null,Null,"
      "Null,Null,Null,Null,Null,Null,Null,Null,Null);\n"
      " Update FABRICANTE  Set  APELIDO   = 'NESTLE', CELCONTATO= Null, SITE      = Null where IDFABRICANTE "
      "=2;\n"
      " Insert Into UNIDADE ( IDUNIDADE,DESCRICAO,                 MEDIDAFRACAO,METRAGEM, QTDECIMAL ) Values "
      "( 5,'LT','N','N',0);\n"
      " Update  UNIDADE  Set DESCRICAO = 'LT',MEDIDAFRACAO = 'S',METRAGEM = 'N',QTDECIMAL = 3 Where "
      "IDUNIDADE = "
      "5;\n"
      " Insert Into PRODUTOGRUPO ( IDPRODGRUPO, DESCRICAO, PORCMARGEMVENDA, PORCMARGEMATACADO, PORCAUTO, "
      "PORCMARGEMVENDEDOR, PORCMARGEMVENDAATA, DEPARTAMENTOBALANCA )  Values ( "
      "5,'BEBIDAS',30,10,'N',0,0,0);\n"
      " Insert Into SUBGRUPO ( IDSUBGRUPO,DESCRICAO)  Values ( 5,'REFRIGERANTES');\n"
      " Insert Into LOCALPRODUTO ( IDLOCAL,LOCALIZACAO)  Values ( 5,'DEPOSITO');\n"
      " Insert Into NCM ( IDNCM, CODIGONCM, DESCRICAO, IDNCMGRUPO ) Values (5,'22021000','REFRIGERANTES DE "
      "COLA "
      "EM LATA - REFRIGERANTES ',1);\n"
      " Insert Into Produto (IDPRODUTO, DESCRICAO,DESCRICAOIMP) Values (5,'REFRIGERANTE COLA 350ML',Null);\n"
      " Insert Into ProdutoEstoque (         IDITEMPRODUTO , IDPRODUTO , IDPRODGRUPO , IDSUBGRUPO , "
      "IDFABRICANTE "
      ", IDLOCAL , CUSTOBRUTO , DESCONTOVALOR , DESCONTOPORC , IPIPORCENTAGEM , IPIVALOR , CUSTOLIQUIDO , "
      "MARGEMVENDAPORC , MARGEMVENDA , VENDAATUAL , VENDACDESCONTO , UNIDEMBALAGEM , CAPEMBALAGEM , PESOGR , "
      "IDUNIDADE , TIPOESTOQUE , ESTOQUEATUAL , ESTOQUEMINIMO , COMISSAOVEND , PORCATACADO , MARGEMATACADO , "
      "VENDAATACADO , IDTIPOPROMO , QTDIAVALIDO , ALIQICMS , VALORICMS , IDGRADE , IDTRIBCFOP , IDFIG , "
      "ESTOQUECOMPRADO , CLASSEABC , GERARETIQUETA , ATIVO , BARRA , MEIO , CONSERTO , BALANCA , "
      "CHECKOUTATUALIZADO , GRADE , IMPRIMECONSERTO , CALCBALANCA , VALIDADEPRECO , DATACADASTRO , "
      "DATAALTERADO , VAIDADEPRODUTO , idNCM, ProdutoMaster, TamanhoGrade, CorGrade, DescricaoGrade, "
      "IDGRADESIMILAR, VENDAPORPLANNEGOCIO )  Values ( 5 , 5 , 5 , NULL, NULL, NULL, 2.1 , 0 , 0 , 0 , 0 , "
      "2.1 "
      ", 100 , 2.1 , 4.2 , 0 , 1 , 1 , 350 , 5 , 1 , 48 , 6 , 0 , 0 , 0 , 3.99 , Null , Null , 18 , 0 , Null "
      ", 9 , Null , 0 , 'A' , 'N' , 'S' , '1' , Null , 'N' , 'N' , 'N' , 'N' , 'N' , 'N' , '12/31/2024' , "
      "'03/01/2024' , '03/02/2024' , Null ,Null,Null,Null,Null,Null,Null,'N');\n"
      " Update  ProdutoEstoque Set  IDPRODUTO            = 5 , IDPRODGRUPO              = 5 , ATIVO = 'S' , "
      "VAIDADEPRODUTO = '01/31/2025' WHERE IDITEMPRODUTO = 5;\n"
      "Update ProdutoEstoque Estoque SEt ProdutoMaster = 'M1', CorGrade = 'AZUL', DescricaoGrade = 'LATA', "
      "TamanhoGrade = '350', IDGRADESIMILAR = 1 Where IDITEMPRODUTO = 5;\n"
      "set GENERATOR GEN_ID_ComandaMovimentoDia TO 31;\n"
      "alter table CLIENTE ADD OBSERVACAO Varchar(50)");
  // The customer-table copy takes the first column as key and sees numbers, texts and timestamps.
  EXPECT_EQ(
      banco.consulta("select first 1 trim(rdb$field_name) from rdb$relation_fields where rdb$relation_name = "
                     "'CLIENTE' order by rdb$field_position"),
      (BancoDeTeste::Linhas{{"IDCLIENTE"}}));
  EXPECT_EQ(banco.consulta("select (IDCLIENTE)as IDCAMPO, (LIMITECREDITO)as L, (DATACADASTRO)as D, "
                           "(CLIENTE)as C from CLIENTE where IDCLIENTE = 2"),
            (BancoDeTeste::Linhas{{"2", "2000.00", "2024-01-11 09:00:00.0000", "PADARIA CORAÇÃO LTDA"}}));
  EXPECT_EQ(banco.valor("select VAIDADEPRODUTO from PRODUTOESTOQUE where IDITEMPRODUTO = 5"), "2025-01-31");
}

TEST(ComandosSyspdv, ConsultaDeProdutosDoSyspdv) {
  BancoDeTeste banco(kFixtureSYSPDV);
  banco.executaIsql(
      "insert into GRUPO (GRPCOD, SECCOD, GRPDES) values ('01', '01', 'BEBIDAS');\n"
      "insert into PRODUTO (PROCOD, PRODES, PROUNID, PROPRCCST, PROPRC1, GRPCOD, SECCOD, PRONCM, TRBID, "
      "PROCEST) "
      "values ('000123', 'REFRIGERANTE 2L', 'UN', 4.5, 8.99, '01', '01', '22021000', 'F00', '0300700');\n"
      "insert into PRODUTO (PROCOD, PRODES, PROUNID, PROPRCCST, PROPRC1, TRBID) "
      "values ('000124', 'SABÃO EM PÓ', 'UN', 7, 12.5, 'X99');\n"
      "insert into PRODUTOAUX (PROCODAUX, PROCOD) values ('7894900011517', '000123')");
  std::string sql =
      " Select Coalesce((Select First 1 ProcoDaux From PRODUTOAUX  Where Produto.ProCod = PRODUTOAUX.ProCod),"
      "ProCod) Barra,         Prodes Nome_Produto,         ProUnid Unidade,         ProPRCCST    "
      "CUSTOLIQUIDO,"
      "         ProPRC1      VENDAATUAL,         ''             EstoqueAtual,        (Select GrPDes From "
      "Grupo "
      "Where  Produto.GrpCod = Grupo.GrpCod And Produto.SecCod = Grupo.SecCod)       Grupo_Produto,         "
      "'' "
      "            SubGrupo,         ProNCM       NCM,";
  const char* taxas[][2] = {{"F00", "00"},    {"I00", "0,00"},  {"N00", "0,00"}, {"T12", "12,00"},
                            {"T18", "18,00"}, {"T25", "25,00"}, {"T30", "30,00"}};
  for (int i = 0; i < 7; ++i)
    sql += std::string(i ? "     Else  Case When TRBID = '" : "   Case When TRBID = '") + taxas[i][0] +
           "' Then '" + taxas[i][1] + "'";
  for (int i = 0; i < 6; ++i)
    sql += "     End";
  sql += "     End AliquotaICMS , ";
  for (int i = 0; i < 7; ++i)
    sql += std::string(i ? "     Else  Case When TRBID = '" : "   Case When TRBID = '") + taxas[i][0] +
           "' Then '" + (i ? "5102" : "5405") + "'";
  for (int i = 0; i < 6; ++i)
    sql += "     End";
  sql +=
      "     End  Codigo_CFOP_SAT,     '' Tributacao_Simples_Nacional,     '' Cod_Trib_ICMS_CST,     ProCest "
      "CodigoCEST   From pRODUTO";
  auto linhas = banco.consulta(sql + " order by 1");
  ASSERT_EQ(linhas.size(), 2u);
  EXPECT_EQ(linhas[0],
            (std::vector<std::string>{"000124", "SABÃO EM PÓ", "UN", "7.0000", "12.50", "", "<null>", "",
                                      "<null>", "<null>", "<null>", "", "", "<null>"}));
  EXPECT_EQ(linhas[1][0], "7894900011517");
  EXPECT_EQ(linhas[1][6], "BEBIDAS");
  // The CASE takes the type of its longest branch: the rate comes back blank-padded to 5.
  EXPECT_EQ(linhas[1][9], "00   ");
  EXPECT_EQ(linhas[1][10], "5405");
}

}  // namespace
}  // namespace zuv::teste
