"""Writes the demo data of a ZUV store: demo_data.sql (UTF-8 INSERTs for a database made from
tests/fixtures/zuv_schema.sql) and clientes.xlsx (new customers in the customer workbook layout).

    /usr/bin/python3 scripts/demo/demo_data.py <output folder>

The data are generated from a fixed seed, so every run gives the same files."""
import random
import sys
from datetime import date, timedelta
from pathlib import Path

rnd = random.Random(1965)
sql = []


def q(v):
    if v is None:
        return "NULL"
    if isinstance(v, (int, float)):
        return repr(round(v, 4)) if isinstance(v, float) else str(v)
    if isinstance(v, date):
        return "'%02d/%02d/%04d'" % (v.month, v.day, v.year)
    return "'" + str(v).replace("'", "''") + "'"


def ins(tabela, **cols):
    sql.append("INSERT INTO %s (%s) VALUES (%s);" % (
        tabela, ", ".join(cols), ", ".join(q(v) for v in cols.values())))


def ean13(corpo12):
    s = sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(corpo12))
    return corpo12 + str((10 - s % 10) % 10)


# ---- units, groups, sub-groups, locations, manufacturers ----
UNIDADES = [("UN", "N", 0), ("KG", "S", 3), ("CX", "N", 0), ("LT", "S", 3), ("PC", "N", 0),
            ("FD", "N", 0), ("DZ", "N", 0), ("GR", "S", 3), ("ML", "S", 0), ("PT", "N", 0)]
for i, (d, fr, casas) in enumerate(UNIDADES, 1):
    ins("UNIDADE", IDUNIDADE=i, DESCRICAO=d, MEDIDAFRACAO=fr, METRAGEM="N", QTDECIMAL=casas)
UN = {d: i for i, (d, _, _) in enumerate(UNIDADES, 1)}

GRUPOS = ["MERCEARIA", "BEBIDAS", "LATICÍNIOS", "AÇOUGUE", "HORTIFRÚTI", "PADARIA", "LIMPEZA",
          "HIGIENE PESSOAL", "FRIOS E EMBUTIDOS", "CONGELADOS"]
for i, g in enumerate(GRUPOS, 1):
    ins("PRODUTOGRUPO", IDPRODGRUPO=i, DESCRICAO=g, PORCAUTO="N", PORCMARGEMVENDA=30.0,
        PORCMARGEMATACADO=15.0, PORCMARGEMVENDEDOR=0, PORCMARGEMVENDAATA=0,
        DEPARTAMENTOBALANCA=(1 if g in ("AÇOUGUE", "HORTIFRÚTI", "FRIOS E EMBUTIDOS") else 0))
SUBGRUPOS = ["GRÃOS", "MATINAIS", "REFRIGERANTES", "ÁGUAS", "CERVEJAS", "SUCOS", "LEITES", "QUEIJOS",
             "BOVINOS", "SUÍNOS", "AVES", "FRUTAS", "VERDURAS", "PÃES", "BOLOS", "DETERGENTES",
             "SABÕES", "HIGIENE BUCAL", "CABELOS", "EMBUTIDOS", "SORVETES", "MASSAS", "ÓLEOS",
             "BISCOITOS", "TEMPEROS"]
for i, s in enumerate(SUBGRUPOS, 1):
    ins("SUBGRUPO", IDSUBGRUPO=i, DESCRICAO=s)
SUB = {s: i for i, s in enumerate(SUBGRUPOS, 1)}
for i, l in enumerate(["CORREDOR 1", "CORREDOR 2", "CORREDOR 3", "CÂMARA FRIA", "DEPÓSITO"], 1):
    ins("LOCALPRODUTO", IDLOCAL=i, LOCALIZACAO=l)
FABRICANTES = [("SERRA AZUL", "LATICÍNIOS SERRA AZUL LTDA", "MG"),
               ("BOA MESA", "ALIMENTOS BOA MESA S.A.", "SP"),
               ("CRISTAL", "BEBIDAS CRISTAL DO SUL LTDA", "RS"),
               ("LIMPOLAR", "LIMPOLAR INDÚSTRIA QUÍMICA LTDA", "PR"),
               ("FRIGOVALE", "FRIGORÍFICO VALE VERDE LTDA", "GO")]
for i, (ap, razao, uf) in enumerate(FABRICANTES, 1):
    ins("FABRICANTE", IDFABRICANTE=i, APELIDO=ap, NOMERAZAO=razao, ESTADO=uf, DDI1="55",
        DDD1="11", FONE1="3%03d-%04d" % (rnd.randint(100, 999), rnd.randint(0, 9999)),
        CGC="%02d.%03d.%03d/0001-%02d" % (rnd.randint(10, 99), rnd.randint(0, 999),
                                         rnd.randint(0, 999), rnd.randint(0, 99)),
        EMAIL="contato@%s.com.br" % ap.lower().replace(" ", ""))

# ---- tax tables: NCM with CEST, ECF rates, CST, CFOP ----
NCMS = {  # key: (NCM, CEST or None, description)
    "arroz": ("10063021", None, "ARROZ SEMIBRANQUEADO"),
    "feijao": ("07133319", None, "FEIJÃO COMUM"),
    "cafe": ("09012100", "1709600", "CAFÉ TORRADO NÃO DESCAFEINADO"),
    "acucar": ("17019900", None, "AÇÚCAR REFINADO"),
    "oleo": ("15079011", None, "ÓLEO DE SOJA REFINADO"),
    "massa": ("19021900", "1704900", "MASSAS ALIMENTÍCIAS"),
    "biscoito": ("19053100", "1705700", "BISCOITOS E BOLACHAS"),
    "refri": ("22021000", "0300700", "REFRIGERANTES"),
    "agua": ("22011000", "0300400", "ÁGUA MINERAL"),
    "cerveja": ("22030000", "0302100", "CERVEJA DE MALTE"),
    "suco": ("20098990", "1701000", "SUCOS DE FRUTAS"),
    "leite": ("04012010", "1701600", "LEITE UHT"),
    "queijo": ("04069090", "1702400", "QUEIJOS"),
    "bovino": ("02013000", None, "CARNE BOVINA DESOSSADA"),
    "suino": ("02032900", None, "CARNE SUÍNA CONGELADA"),
    "ave": ("02071200", None, "FRANGO CONGELADO"),
    "fruta": ("08039000", None, "BANANAS FRESCAS"),
    "verdura": ("07051900", None, "ALFACE"),
    "pao": ("19059090", "1706200", "PÃES E PRODUTOS DE PADARIA"),
    "detergente": ("34022000", "1100100", "DETERGENTES"),
    "sabao": ("34011900", "2003300", "SABÕES"),
    "creme dental": ("33061000", "2002800", "DENTIFRÍCIOS"),
    "shampoo": ("33051000", "2003600", "XAMPUS"),
    "embutido": ("16010000", "1702900", "EMBUTIDOS"),
    "sorvete": ("21050010", "2300100", "SORVETES"),
    "tempero": ("21039021", "1703300", "TEMPEROS"),
}
IDNCM = {}
for i, (k, (codigo, cest, desc)) in enumerate(NCMS.items(), 1):
    ins("NCM", IDNCM=i, CODIGONCM=codigo, DESCRICAO=desc, IDNCMGRUPO=1, CEST=cest)
    IDNCM[k] = i

ALIQUOTAS = [(1, "FF", 0, "ISENTO"), (2, "07,00", 7, "Porcentagem: 7,00"),
             (3, "12,00", 12, "Porcentagem: 12,00"), (4, "18,00", 18, "Porcentagem: 18,00"),
             (5, "25,00", 25, "Porcentagem: 25,00")]
for i, letra, porc, desc in ALIQUOTAS:
    ins("ECFLETRA", IDECFLETRA=i, LETRAIMPRESSAO=letra, PORCICF=porc, DESCRICAO=desc)
for i, (cod, desc) in enumerate([("102", "CSN:102"), ("500", "CSN:500"), ("060", "CST 060")], 1):
    ins("CST", IDCST=i, CODIGOCST=cod, CST=desc)

CFOPS = [  # id, code, CSOSN, CST SAT, description, nature
    (1, "5102", "102", None, "CFOP 5102 CSOSN 102", "VENDA DE MERCADORIA"),
    (2, "5405", "500", "60", "CFOP 5405 CSOSN 500 CST 60", "VENDA MERCADORIA COM ST"),
    (3, "1102", None, None, "CFOP Entrada 1102", "NAT 1102"),
    (4, "1403", None, None, "CFOP Entrada 1403", "NAT 1403"),
]
for i, cf, csosn, cst, desc, nat in CFOPS:
    ins("TRIBCFOP", IDTRIBCFOP=i, TIPO="S", DESCRICAO=desc, CODFISCAL=cf, CSOSN=csosn, CSTSAT=cst,
        NATUREZAOPERACAO=nat, ORIGEMPRODUTO="0", REGIME=2, ATIVO="S", REDICMS=0, REDIPI=0,
        PORCINSS=0, CALCSUBTRIB="N", TEXTOPADRAOART23="N", IPIMOSTRAVALOR="N",
        CST=cst or "", STF="101" if cf == "5405" else "", CREDICMS="", CREDIPI="", CALCICMS="S")
sql.append("UPDATE CLIDONO SET NOMERAZAO = 'SUPERMERCADO BOM PREÇO LTDA', CIDADE = 'CAMPINAS', "
           "IDTRIBCFOP = 1;")

# ---- products and stock items ----
# (name, unit, group, sub-group, ncm key, manufacturer, base price, variants)
BASE = [
    ("ARROZ TIPO 1", "PT", "MERCEARIA", "GRÃOS", "arroz", 2, 5.2, ["1KG", "2KG", "5KG"]),
    ("ARROZ INTEGRAL", "PT", "MERCEARIA", "GRÃOS", "arroz", 2, 6.9, ["1KG"]),
    ("FEIJÃO CARIOCA", "PT", "MERCEARIA", "GRÃOS", "feijao", 2, 7.8, ["1KG", "2KG"]),
    ("FEIJÃO PRETO", "PT", "MERCEARIA", "GRÃOS", "feijao", 2, 8.4, ["1KG"]),
    ("CAFÉ TORRADO E MOÍDO", "PT", "MERCEARIA", "MATINAIS", "cafe", 2, 14.9, ["250G", "500G"]),
    ("CAFÉ EXTRAFORTE", "PT", "MERCEARIA", "MATINAIS", "cafe", 2, 16.5, ["500G"]),
    ("AÇÚCAR REFINADO", "PT", "MERCEARIA", "MATINAIS", "acucar", 2, 4.6, ["1KG", "5KG"]),
    ("AÇÚCAR CRISTAL", "PT", "MERCEARIA", "MATINAIS", "acucar", 2, 4.1, ["1KG", "5KG"]),
    ("ÓLEO DE SOJA", "UN", "MERCEARIA", "ÓLEOS", "oleo", 2, 7.3, ["900ML"]),
    ("AZEITE EXTRA VIRGEM", "UN", "MERCEARIA", "ÓLEOS", "oleo", 2, 32.9, ["500ML"]),
    ("MACARRÃO ESPAGUETE", "PT", "MERCEARIA", "MASSAS", "massa", 2, 4.2, ["500G"]),
    ("MACARRÃO PARAFUSO", "PT", "MERCEARIA", "MASSAS", "massa", 2, 4.4, ["500G"]),
    ("BISCOITO CREAM CRACKER", "PT", "MERCEARIA", "BISCOITOS", "biscoito", 2, 4.9, ["400G"]),
    ("BISCOITO RECHEADO CHOCOLATE", "PT", "MERCEARIA", "BISCOITOS", "biscoito", 2, 2.8, ["140G"]),
    ("BISCOITO MAISENA", "PT", "MERCEARIA", "BISCOITOS", "biscoito", 2, 4.5, ["400G"]),
    ("SAL REFINADO", "PT", "MERCEARIA", "TEMPEROS", "tempero", 2, 2.3, ["1KG"]),
    ("TEMPERO COMPLETO", "UN", "MERCEARIA", "TEMPEROS", "tempero", 2, 5.6, ["300G"]),
    ("REFRIGERANTE COLA", "UN", "BEBIDAS", "REFRIGERANTES", "refri", 3, 8.9, ["350ML", "2L", "600ML"]),
    ("REFRIGERANTE GUARANÁ", "UN", "BEBIDAS", "REFRIGERANTES", "refri", 3, 7.9, ["350ML", "2L"]),
    ("REFRIGERANTE LARANJA", "UN", "BEBIDAS", "REFRIGERANTES", "refri", 3, 7.5, ["2L"]),
    ("ÁGUA MINERAL SEM GÁS", "UN", "BEBIDAS", "ÁGUAS", "agua", 3, 2.2, ["500ML", "1,5L", "5L"]),
    ("ÁGUA MINERAL COM GÁS", "UN", "BEBIDAS", "ÁGUAS", "agua", 3, 2.6, ["500ML"]),
    ("CERVEJA PILSEN LATA", "UN", "BEBIDAS", "CERVEJAS", "cerveja", 3, 3.9, ["350ML", "473ML"]),
    ("CERVEJA PILSEN FARDO", "FD", "BEBIDAS", "CERVEJAS", "cerveja", 3, 42.0, ["12X350ML"]),
    ("SUCO DE UVA INTEGRAL", "UN", "BEBIDAS", "SUCOS", "suco", 3, 14.9, ["1L"]),
    ("SUCO DE LARANJA", "UN", "BEBIDAS", "SUCOS", "suco", 3, 9.9, ["1L"]),
    ("LEITE UHT INTEGRAL", "LT", "LATICÍNIOS", "LEITES", "leite", 1, 5.3, ["1L"]),
    ("LEITE UHT DESNATADO", "LT", "LATICÍNIOS", "LEITES", "leite", 1, 5.5, ["1L"]),
    ("LEITE UHT INTEGRAL CAIXA", "CX", "LATICÍNIOS", "LEITES", "leite", 1, 59.0, ["12X1L"]),
    ("QUEIJO MUÇARELA FATIADO", "KG", "LATICÍNIOS", "QUEIJOS", "queijo", 1, 49.9, [""]),
    ("QUEIJO PRATO", "KG", "LATICÍNIOS", "QUEIJOS", "queijo", 1, 54.9, [""]),
    ("REQUEIJÃO CREMOSO", "UN", "LATICÍNIOS", "QUEIJOS", "queijo", 1, 8.7, ["200G"]),
    ("IOGURTE NATURAL", "UN", "LATICÍNIOS", "LEITES", "leite", 1, 3.9, ["170G"]),
    ("MANTEIGA COM SAL", "UN", "LATICÍNIOS", "LEITES", "leite", 1, 12.9, ["200G"]),
    ("CONTRAFILÉ", "KG", "AÇOUGUE", "BOVINOS", "bovino", 5, 54.9, [""]),
    ("PATINHO MOÍDO", "KG", "AÇOUGUE", "BOVINOS", "bovino", 5, 39.9, [""]),
    ("ALCATRA", "KG", "AÇOUGUE", "BOVINOS", "bovino", 5, 49.9, [""]),
    ("COSTELA BOVINA", "KG", "AÇOUGUE", "BOVINOS", "bovino", 5, 27.9, [""]),
    ("PICANHA", "KG", "AÇOUGUE", "BOVINOS", "bovino", 5, 79.9, [""]),
    ("LOMBO SUÍNO", "KG", "AÇOUGUE", "SUÍNOS", "suino", 5, 24.9, [""]),
    ("BISTECA SUÍNA", "KG", "AÇOUGUE", "SUÍNOS", "suino", 5, 19.9, [""]),
    ("PEITO DE FRANGO", "KG", "AÇOUGUE", "AVES", "ave", 5, 18.9, [""]),
    ("COXA E SOBRECOXA", "KG", "AÇOUGUE", "AVES", "ave", 5, 13.9, [""]),
    ("BANANA NANICA", "KG", "HORTIFRÚTI", "FRUTAS", "fruta", None, 5.9, [""]),
    ("MAÇÃ GALA", "KG", "HORTIFRÚTI", "FRUTAS", "fruta", None, 9.9, [""]),
    ("LARANJA PERA", "KG", "HORTIFRÚTI", "FRUTAS", "fruta", None, 4.5, [""]),
    ("TOMATE", "KG", "HORTIFRÚTI", "VERDURAS", "verdura", None, 7.9, [""]),
    ("ALFACE CRESPA", "UN", "HORTIFRÚTI", "VERDURAS", "verdura", None, 3.5, [""]),
    ("BATATA", "KG", "HORTIFRÚTI", "VERDURAS", "verdura", None, 5.5, [""]),
    ("CEBOLA", "KG", "HORTIFRÚTI", "VERDURAS", "verdura", None, 4.9, [""]),
    ("PÃO FRANCÊS", "KG", "PADARIA", "PÃES", "pao", None, 16.9, [""]),
    ("PÃO DE FORMA", "PT", "PADARIA", "PÃES", "pao", 2, 8.9, ["500G"]),
    ("BOLO DE FUBÁ", "UN", "PADARIA", "BOLOS", "pao", None, 14.0, [""]),
    ("DETERGENTE LÍQUIDO", "UN", "LIMPEZA", "DETERGENTES", "detergente", 4, 2.5, ["500ML"]),
    ("SABÃO EM PÓ", "CX", "LIMPEZA", "SABÕES", "sabao", 4, 18.9, ["1KG", "2KG"]),
    ("SABÃO EM BARRA", "PT", "LIMPEZA", "SABÕES", "sabao", 4, 9.9, ["5X200G"]),
    ("ÁGUA SANITÁRIA", "UN", "LIMPEZA", "DETERGENTES", "detergente", 4, 4.5, ["1L", "2L"]),
    ("DESINFETANTE LAVANDA", "UN", "LIMPEZA", "DETERGENTES", "detergente", 4, 6.9, ["500ML", "2L"]),
    ("CREME DENTAL", "UN", "HIGIENE PESSOAL", "HIGIENE BUCAL", "creme dental", None, 4.9, ["90G"]),
    ("ESCOVA DENTAL MACIA", "UN", "HIGIENE PESSOAL", "HIGIENE BUCAL", None, None, 7.9, [""]),
    ("XAMPU", "UN", "HIGIENE PESSOAL", "CABELOS", "shampoo", None, 15.9, ["350ML"]),
    ("CONDICIONADOR", "UN", "HIGIENE PESSOAL", "CABELOS", "shampoo", None, 16.9, ["350ML"]),
    ("SABONETE", "UN", "HIGIENE PESSOAL", "SABÕES", "sabao", None, 2.4, ["90G"]),
    ("PRESUNTO COZIDO", "KG", "FRIOS E EMBUTIDOS", "EMBUTIDOS", "embutido", 5, 34.9, [""]),
    ("MORTADELA", "KG", "FRIOS E EMBUTIDOS", "EMBUTIDOS", "embutido", 5, 19.9, [""]),
    ("LINGUIÇA TOSCANA", "KG", "FRIOS E EMBUTIDOS", "EMBUTIDOS", "embutido", 5, 22.9, [""]),
    ("SALSICHA", "KG", "FRIOS E EMBUTIDOS", "EMBUTIDOS", "embutido", 5, 14.9, [""]),
    ("SORVETE DE CREME", "UN", "CONGELADOS", "SORVETES", "sorvete", 1, 21.9, ["1,5L"]),
    ("PIZZA CONGELADA MUÇARELA", "UN", "CONGELADOS", "MASSAS", "massa", 2, 17.9, ["460G"]),
    ("LASANHA BOLONHESA", "UN", "CONGELADOS", "MASSAS", "massa", 2, 19.9, ["600G"]),
]
MARCAS = ["", " SERRA AZUL", " BOA MESA", " DA FAZENDA", " PREMIUM", " ECONÔMICO"]
ST = {"refri", "agua", "cerveja", "suco", "sorvete", "creme dental", "shampoo", "biscoito", "massa"}
ALIQ_POR_GRUPO = {"HORTIFRÚTI": 1, "AÇOUGUE": 2, "LATICÍNIOS": 2, "BEBIDAS": 4, "LIMPEZA": 4,
                  "HIGIENE PESSOAL": 5}

item = 0
hoje = date(2024, 3, 1)
for nome, un, grupo, sub, ncm, fab, preco, variantes in BASE:
    for marca in MARCAS[:rnd.randint(3, 6)]:
        for var in variantes:
            item += 1
            descricao = (nome + marca + (" " + var if var else "")).strip()
            ins("PRODUTO", IDPRODUTO=item, DESCRICAO=descricao[:55], DESCRICAOIMP=descricao[:24])
            pesavel = un == "KG" and not var
            barra = ("2%05d" % item) if pesavel else ean13("789%04d%05d" % (1000 + (fab or 9), item))
            venda = round(preco * rnd.uniform(0.85, 1.25), 2)
            custo = round(venda / rnd.uniform(1.25, 1.6), 2)
            margem = round(venda - custo, 2)
            sem_ncm = item % 37 == 0 or ncm is None
            cfop = 2 if ncm in ST else 1
            ins("PRODUTOESTOQUE", IDITEMPRODUTO=item, IDPRODUTO=item,
                IDPRODGRUPO=GRUPOS.index(grupo) + 1, IDSUBGRUPO=SUB[sub],
                IDFABRICANTE=fab, IDLOCAL=4 if pesavel else 1 + item % 3, IDUNIDADE=UN[un],
                IDTRIBCFOP=cfop, IDTRIBCFOPENTRADADA=4 if cfop == 2 else 3,
                IDECFLETRA=ALIQ_POR_GRUPO.get(grupo, 4), IDNCM=None if sem_ncm else IDNCM[ncm],
                BARRA=barra, BARRAEXTERNO=barra, CUSTOBRUTO=custo, CUSTOLIQUIDO=custo,
                VENDAATUAL=venda, VENDAATUAL2=0, VENDAATACADO=round(venda * 0.93, 2),
                VENDAATACADO2=0, VENDACDESCONTO=0, MARGEMVENDA=margem,
                MARGEMVENDAPORC=round(margem / custo * 100, 4), MARGEMATACADO=0, PORCATACADO=0,
                PORCDESCMAXIMO=0, IPIPORCENTAGEM=0, IPIVALOR=0, ALIQICMS=0, VALORICMS=0,
                PISCSTSAI=49 if cfop == 1 else 4, PISPORCENTAGEMSAI=0.65 if cfop == 1 else 0,
                COFINSCSTSAI=49 if cfop == 1 else 4, COFINSPORCENTAGEMSAI=3.0 if cfop == 1 else 0,
                ESTOQUEATUAL=round(rnd.uniform(0, 80), 3 if pesavel else 0), ESTOQUEMINIMO=5,
                UNIDEMBALAGEM=1, CAPEMBALAGEM=1, TIPOESTOQUE=1,
                ATIVO="N" if item % 29 == 0 else "S", GERARETIQUETA="N",
                BALANCA="S" if pesavel else "N", CALCBALANCA="S" if pesavel else "N",
                DATACADASTRO=hoje - timedelta(days=rnd.randint(0, 900)))
N_ITENS = item

# ---- suppliers ----
FORNECEDORES = [("DISTRIBUIDORA PAULISTA DE ALIMENTOS", "MARCOS"), ("ATACADÃO DO VALE", "CLÁUDIA"),
                ("BEBIDAS CRISTAL DO SUL", "RENATO"), ("LIMPOLAR INDÚSTRIA QUÍMICA", "SUELI")]
for i, (razao, contato) in enumerate(FORNECEDORES, 1):
    ins("FORNECEDOR", IDFORNECEDOR=i, NOMERAZAO=razao[:40], CONTATO=contato,
        CGC="%014d" % rnd.randint(10**12, 10**14 - 1), FONE1="(11) 4002-%04d" % rnd.randint(0, 9999),
        FAX="")

# ---- customers with dependants; customer 2 has a sale and an account ----
PRENOMES = ["JOÃO", "MARIA", "JOSÉ", "ANA", "ANTÔNIO", "FRANCISCA", "CARLOS", "LUÍZA", "PAULO",
            "JÚLIA", "RAIMUNDO", "CONCEIÇÃO", "SEBASTIÃO", "LÚCIA", "MÁRCIO", "ROSÂNGELA"]
SOBRENOMES = ["DA SILVA", "DOS SANTOS", "OLIVEIRA", "SOUZA", "PEREIRA", "LIMA", "CARVALHO",
              "GONÇALVES", "ARAÚJO", "RIBEIRO", "D'ÁVILA", "MAGALHÃES"]
CIDADES = [("CAMPINAS", "SP", "13010"), ("SÃO PAULO", "SP", "01310"), ("SOROCABA", "SP", "18035"),
           ("RIBEIRÃO PRETO", "SP", "14015"), ("BELO HORIZONTE", "MG", "30130"),
           ("CURITIBA", "PR", "80010"), ("GOIÂNIA", "GO", "74015")]
RUAS = ["RUA DAS FLORES", "AV. BRASIL", "RUA SÃO JOÃO", "RUA TIRADENTES", "AV. JOÃO PESSOA",
        "RUA DOM PEDRO II", "TRAVESSA DA CONCEIÇÃO"]
BAIRROS = ["CENTRO", "JARDIM AMÉRICA", "VILA NOVA", "CAMBUÍ", "BOA VISTA", "SANTA CECÍLIA"]


def cpf():
    n = [rnd.randint(0, 9) for _ in range(9)]
    for k in (10, 11):
        s = sum(d * (k - i) for i, d in enumerate(n))
        n.append((s * 10) % 11 % 10)
    return "".join(map(str, n))


N_CLIENTES = 30
for i in range(1, N_CLIENTES + 1):
    cidade, uf, cep = CIDADES[i % len(CIDADES)]
    empresa = i % 6 == 0
    nome = ("%s %s COMÉRCIO LTDA" % (rnd.choice(SOBRENOMES), rnd.choice(["MERCADINHO", "BAR"]))
            if empresa else "%s %s" % (rnd.choice(PRENOMES), rnd.choice(SOBRENOMES)))
    if i == 2:
        nome = "PADARIA CORAÇÃO DE JESUS LTDA"
        empresa = True
    ins("CLIENTE", IDCLIENTE=i, PF="J" if empresa else "F", ATIVO="S", CLIENTE=nome[:60],
        ENDERECO=rnd.choice(RUAS), NRO=str(rnd.randint(1, 2500)), COMPLEMENTO="APTO 12" if i % 5 == 0 else None,
        BAIRRO=rnd.choice(BAIRROS), CIDADE=cidade, ESTADO=uf, CEP=cep + "%03d" % rnd.randint(0, 999),
        FONE="(19) 3%03d-%04d" % (rnd.randint(100, 999), rnd.randint(0, 9999)),
        CELULAR="19 9%04d%04d"[:12] % (rnd.randint(1000, 9999), rnd.randint(0, 9999)),
        CPF=None if empresa else cpf()[:12], RG=None if empresa else "%09d" % rnd.randint(10**7, 10**9),
        CGC="%014d" % rnd.randint(10**12, 10**14 - 1) if empresa else None,
        IE="%012d" % rnd.randint(10**10, 10**12 - 1) if empresa else None,
        EMAIL="CLIENTE%d EXEMPLO.COM.BR" % i, LIMITECREDITO=float(rnd.choice([0, 300, 500, 1000, 2500])),
        DIAVENCIMENTO=rnd.choice([5, 10, 15, 20]),
        DATACADASTRO="%04d-%02d-%02d 10:%02d:00" % (2023, 1 + i % 12, 1 + i % 28, i % 60),
        LIBERAMENSAL="S" if i % 4 == 0 else "N")
    if i <= 8:
        ins("CLIENTECOBRANCA", IDCLIENTECOBRANCA=i, IDCLIENTE=i, ENDERECO=rnd.choice(RUAS), CIDADE=cidade)
        ins("CLIENTEENTREGA", IDCLIENTEENTREGA=i, IDCLIENTE=i, ENDERECO=rnd.choice(RUAS), CIDADE=cidade)
        ins("CLIREF", IDCLIREF=i, IDCLIENTE=i, NOME="%s %s" % (rnd.choice(PRENOMES), rnd.choice(SOBRENOMES)),
            FONE="(19) 9%04d-%04d" % (rnd.randint(1000, 9999), rnd.randint(0, 9999)))
        ins("CLIENTEANOTACAO", IDCLIENTEANOTACAO=i, IDCLIENTE=i, DATAANOTACAO=date(2024, 2, i),
            ANOTACAO="CLIENTE DESDE 2023; PAGA EM DIA")
    if i <= 4:
        ins("CLICONTA", IDCLICONTA=i, IDCLIENTE=i, BANCO="BANCO DO BRASIL", AGENCIA="%04d" % (1000 + i),
            CONTA="%05d-%d" % (rnd.randint(0, 99999), rnd.randint(0, 9)))
        ins("CLITRAB", IDCLITRAB=i, IDCLIENTE=i, EMPRESA="METALÚRGICA PROGRESSO", CARGO="AUXILIAR",
            RENDA=float(rnd.randint(1500, 6000)))
        ins("CONTACLIENTE", IDCONTACLIENTE=i, IDCLIENTE=i, IDCONTA=None)

# An invoiced sale and a receivable of customer 2 (the customer deletion keeps this customer).
ins("NFSAIDA", IDNFSAIDA=1, IDCLIENTE=2, NUMERONF=1001, DATAEMISSAO=date(2024, 2, 20), TOTAL=64.5)
ins("ITEMSAIDA", IDITEMSAIDA=1, IDNFSAIDA=1, IDITEMPRODUTO=1, QUANTIDADE=5, VALOR=25.9)
ins("ITEMSAIDA", IDITEMSAIDA=2, IDNFSAIDA=1, IDITEMPRODUTO=2, QUANTIDADE=3, VALOR=38.6)
ins("CONTA", IDCONTA=1, IDCLIENTE=2, TIPO="R", DATACONTA=date(2024, 2, 20), TOTAL=64.5)
ins("CONTADET", IDCONTADET=1, IDCONTA=1, VENCIMENTO=date(2024, 3, 20), VALOR=32.25, PROVPAGAR=None)
ins("CONTADET", IDCONTADET=2, IDCONTA=1, VENCIMENTO=date(2024, 4, 20), VALOR=32.25, PROVPAGAR=None)
sql.append("COMMIT;")

saida = Path(sys.argv[1])
(saida / "demo_data.sql").write_text("\n".join(sql) + "\n", encoding="utf-8")

# ---- clientes.xlsx: new customers to import, 17 columns ----
from openpyxl import Workbook  # noqa: E402

wb = Workbook()
ws = wb.active
ws.title = "Clientes"
ws.append(["Nome", "Endereço", "Número", "Complemento", "Bairro", "Cidade", "Estado", "CEP", "Fone",
           "Fone 2", "Celular", "PF", "CPF", "RG", "CGC", "IE", "E-mail"])
NOVOS = [
    ["Açougue São Jorge Ltda", "Rua Barão de Jaguara", "1120", "Loja 2", "Centro", "Campinas", "SP",
     "13015-001", "(19) 3231-4455", "", "19998765432", "J", "", "", "12.345.678/0001-95",
     "244.123.456.119", "compras@acouguesaojorge.com.br"],
    ["Maria Conceição d'Ávila", "Av. Francisco Glicério", "455", "Apto 31", "Cambuí", "Campinas", "SP",
     "13.010-100", "(19) 3254-1020", "(19) 3254-1021", "19991234567", "física", "123.456.789-09",
     "12.345.678-9", "", "", "maria.avila@email.com"],
    ["José Antônio Magalhães", "Rua Conceição", "78", "", "Botafogo", "Campinas", "SP.", "13020050",
     "19 3232-0000", "", "", "F", "98765432100", "234567890", "", "", ""],
    ["Mercadinho Boa Esperança", "Estrada Municipal", "s/n", "Km 3", "Zona Rural", "Valinhos", "SP",
     "13270-000", "", "", "", "", "", "", "98.765.432/0001-10", "ISENTO", "boaesperanca@email.com"],
    ["Lúcia Helena Gonçalves", "Rua Dr. Quirino", "1500", "", "Centro", "Campinas", "SP", "13015-082",
     "", "", "19987654321", "X", "111.444.777-35", "", "", "", "lucia@exemplo.com.br"],
    ["Restaurante Sabor & Arte", "Av. Norte-Sul", "2001", "", "Guanabara", "Campinas", "SP",
     "13073-000", "(19) 3241-7788", "", "", "J", "", "", "45.678.901/0001-23", "244.555.666.777",
     "contato@saborearte.com.br"],
    ["Raimundo Nonato da Silva Filho de Albuquerque Cavalcanti Neto", "Rua 7 de Setembro", "12",
     "Fundos", "Vila Industrial", "Campinas", "SP", "13035-350", "", "", "", "F", "222.333.444-05", "",
     "", "", ""],
    ["Padaria Pão Quente", "Rua José Paulino", "990", "", "Centro", "Paulínia", "SP", "13140-000",
     "(19) 3874-1234", "", "", "J", "", "", "11.222.333/0001-81", "513.000.111.222", ""],
]
for linha in NOVOS:
    ws.append(linha)
for col, largura in zip("ABCDEFGHIJKLMNOPQ", [40, 30, 8, 12, 18, 16, 6, 11, 15, 15, 13, 8, 15, 13, 19, 16, 32]):
    ws.column_dimensions[col].width = largura
wb.save(saida / "clientes.xlsx")
print("%d stock items, %d customers, %d new customers in clientes.xlsx" % (N_ITENS, N_CLIENTES, len(NOVOS)))

# ---- fornecedor.XLS: suppliers to import (columns B CGC, D name, O phone, P fax, S contact) ----
# Saved as .xlsx content under the name the ZUV system uses; the reader goes by the content.
wb = Workbook()
ws = wb.active
ws.append(["Código", "CNPJ", "Fantasia", "Razão social"] + [""] * 10 + ["Fone", "Fax", "", "", "Contato"])
for cgc, razao, fone, fax, contato in [
        ("12.345.678/0001-95", "Laticínios Serra Azul Ltda", "(35) 3221-1000", "(35) 3221-1001", "Débora"),
        ("45.678.901/0001-23", "Frigorífico D'Oeste S/A", "(19) 3456-7890", "", "Wagner"),
        (9876543000110, "Hortifruti Bom Preço", "", "", "Sílvia")]:  # a CNPJ typed as a number
    ws.append(["", cgc, "", razao] + [""] * 10 + [fone, fax, "", "", contato])
wb.save(saida / "fornecedor.XLS")

# ---- syspdv_data.sql: products of a SYSPDV database (tests/fixtures/syspdv_schema.sql) ----
syspdv = ["INSERT INTO GRUPO VALUES ('001', '001', 'BEBIDAS');",
          "INSERT INTO GRUPO VALUES ('002', '001', 'LIMPEZA');"]
for cod, des, un, custo, venda, grp, ncm, trb, cest, aux in [
        ("1001", "REFRIGERANTE COLA 2L", "UN", 4.8975, 8.99, "001", "22021000", "F00", "0300700", "7894900011517"),
        ("1002", "AGUA MINERAL 500ML", "UN", 0.9, 1.99, "001", "22011000", "T18", None, "07891234000019"),
        ("2001", "DETERGENTE NEUTRO 500ML", "UN", 1.45, 2.79, "002", "34022000", "T12", None, None),
        ("2002", "SABAO EM PO 1KG", "CX", 7.1, 1234.5, None, "34022000", "I00", None, None),
        ("3001", "SACOLA PLASTICA", "UN", 0.05, 0.1, None, None, "X99", None, None)]:
    syspdv.append("INSERT INTO PRODUTO VALUES (%s);" % ", ".join(
        q(v) for v in (cod, des, un, custo, venda, grp, "001" if grp else None, ncm, trb, cest)))
    if aux:
        syspdv.append("INSERT INTO PRODUTOAUX VALUES (%s, %s);" % (q(aux), q(cod)))
(saida / "syspdv_data.sql").write_text("\n".join(syspdv + ["COMMIT;"]) + "\n", encoding="utf-8")
