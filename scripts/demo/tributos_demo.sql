/* Tax data of the demo store beyond the catalogue's (UTF-8; fed to the database as Windows-1252):
   the system flag that adds the item's own ICMS rate to produtosat.xlsx, that rate on every
   item, and an outgoing CFOP record another program wrote with the CST as the text 060, which
   the tax import must find again when the workbook says 060 or 60. */
UPDATE CLIDONO3 SET PRODUTOESTOQUEALIQICMS = 'S';
UPDATE PRODUTOESTOQUE T SET ALIQICMS = (SELECT L.PORCICF FROM ECFLETRA L WHERE L.IDECFLETRA = T.IDECFLETRA);
INSERT INTO TRIBCFOP (IDTRIBCFOP, TIPO, DESCRICAO, CODFISCAL, CSOSN, CSTSAT, NATUREZAOPERACAO, ORIGEMPRODUTO,
  REGIME, ATIVO, REDICMS, REDIPI, PORCINSS, CALCSUBTRIB, TEXTOPADRAOART23, IPIMOSTRAVALOR, CST)
  VALUES (5, 'S', 'CFOP 5405 CSTSat 060', '5405', NULL, '060', 'VENDA MERCADORIA COM ST', '0', 2, 'S', 0, 0, 0,
  'N', 'N', 'N', '060');
UPDATE PRODUTOESTOQUE SET IDTRIBCFOP = 5 WHERE IDTRIBCFOP = 2 AND MOD(IDITEMPRODUTO, 4) = 0;
