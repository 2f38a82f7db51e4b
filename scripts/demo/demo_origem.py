"""Writes the demo data of a second ZUV store, a door and hardware shop, for the database-to-database
copy: demo_origem.sql (UTF-8 INSERTs for a database made from tests/fixtures/zuv_schema.sql).
Units and groups partly share descriptions with the main demo store, so a keep-products copy finds
some and creates others; customers are keyed 1 to N, as the customer table copy expects.
    demo_origem.py <output folder>
"""
import os
import random
import sys

random.seed(945)
sql = []


def q(v):
    if v is None:
        return "NULL"
    if isinstance(v, str):
        return "'" + v.replace("'", "''") + "'"
    return str(v)


def ins(tabela, **cols):
    sql.append("INSERT INTO %s (%s) VALUES (%s);" % (tabela, ", ".join(cols), ", ".join(q(v) for v in cols.values())))


UNIDADES = [(1, "UN", "N", "N", 0), (2, "PC", "N", "N", 0), (3, "M", "S", "S", 2), (4, "KG", "S", "N", 3),
            (5, "CX", "N", "N", 0)]
for u in UNIDADES:
    ins("UNIDADE", IDUNIDADE=u[0], DESCRICAO=u[1], MEDIDAFRACAO=u[2], METRAGEM=u[3], QTDECIMAL=u[4])

GRUPOS = ["PORTAS", "FECHADURAS", "DOBRADIÇAS", "FERRAGENS", "TINTAS", "MADEIRA D'ÁGUA"]
for i, g in enumerate(GRUPOS, 1):
    ins("PRODUTOGRUPO", IDPRODGRUPO=i, DESCRICAO=g, PORCAUTO="N", PORCMARGEMVENDA="%d.%04d" % (20 + i, i * 37))

ins("TRIBCFOP", IDTRIBCFOP=1, DESCRICAO="VENDA DENTRO DO ESTADO", CODFISCAL="5102", CSOSN="102", CSTSAT="00")
ins("TRIBCFOP", IDTRIBCFOP=2, DESCRICAO="SUBSTITUIÇÃO TRIBUTÁRIA", CODFISCAL="5405", CSOSN="500", CSTSAT="60")

ITENS = [("PORTA MADEIRA", "PORTAS", "UN"), ("PORTA DE CORRER", "PORTAS", "UN"), ("FECHADURA EXTERNA", "FECHADURAS", "PC"),
         ("FECHADURA D'BANHEIRO", "FECHADURAS", "PC"), ("DOBRADIÇA 3\"", "DOBRADIÇAS", "PC"), ("PARAFUSO", "FERRAGENS", "KG"),
         ("PREGO", "FERRAGENS", "KG"), ("TINTA ESMALTE", "TINTAS", "UN"), ("VERNIZ", "TINTAS", "UN"),
         ("BATENTE", "MADEIRA D'ÁGUA", "M"), ("GUARNIÇÃO", "MADEIRA D'ÁGUA", "M"), ("PUXADOR INOX", "FERRAGENS", "CX")]
MEDIDAS = ["60CM", "70CM", "80CM", "90CM", "1/2", "3/4", "BRANCO", "IMBUIA", "PRETO", "CROMADO"]
n = 0
for nome, grupo, unidade in ITENS:
    for medida in random.sample(MEDIDAS, 5):
        n += 1
        descricao = "%s %s" % (nome, medida)
        ins("PRODUTO", IDPRODUTO=n, DESCRICAO=descricao, DESCRICAOIMP=descricao[:24])
        custo = random.randint(150, 90000)
        ins("PRODUTOESTOQUE", IDITEMPRODUTO=n, IDPRODUTO=n, IDPRODGRUPO=GRUPOS.index(grupo) + 1,
            IDUNIDADE=[u[1] for u in UNIDADES].index(unidade) + 1, IDTRIBCFOP=1 + n % 2,
            BARRA="789%010d" % (55000 + n), CUSTOBRUTO="%d.%02d" % divmod(custo, 100),
            VENDAATUAL="%d.%02d" % divmod(custo * 17 // 10, 100), ESTOQUEATUAL="%d.%03d" % (random.randint(0, 80), n),
            MARGEMVENDAPORC="70.0000", ALIQICMS="18.0000", ATIVO="S", GERARETIQUETA="S", BALANCA="N",
            DATACADASTRO="2023-%02d-%02d %02d:%02d:%02d" % (1 + n % 12, 1 + n % 28, 8 + n % 10, n % 60, (n * 7) % 60),
            VALIDADEPRECO="2025-12-31")

NOMES = ["JOÃO", "MARIA", "JOSÉ", "ANA", "ANTÔNIO", "FRANCISCA", "CARLOS", "PAULA", "LUÍS", "ADRIANA"]
SOBRENOMES = ["SILVA", "SANTOS", "OLIVEIRA", "SOUZA", "D'ÁVILA", "PEREIRA", "LIMA", "GONÇALVES"]
CIDADES = [("SOROCABA", "SP"), ("CAMPINAS", "SP"), ("JUNDIAÍ", "SP"), ("ITU", "SP")]
for i in range(1, 41):
    cidade, uf = random.choice(CIDADES)
    pj = i % 7 == 0
    ins("CLIENTE", IDCLIENTE=i, PF="J" if pj else "F", ATIVO="S",
        CLIENTE=("MARCENARIA %s LTDA" % random.choice(SOBRENOMES)) if pj else
        "%s %s" % (random.choice(NOMES), random.choice(SOBRENOMES)),
        ENDERECO="RUA DAS PORTAS, %d" % (10 * i), CIDADE=cidade, ESTADO=uf,
        CPF=None if pj else "%011d" % (31415926000 + i * 97), CGC="%014d" % (27182818000100 + i) if pj else None,
        LIMITECREDITO="%d.%02d" % (random.randint(100, 5000), random.randint(0, 99)), DIAVENCIMENTO=1 + i % 28,
        DATACADASTRO="2022-%02d-%02d 14:%02d:00" % (1 + i % 12, 1 + i % 28, i % 60))

with open(os.path.join(sys.argv[1], "demo_origem.sql"), "w", encoding="utf-8") as f:
    f.write("\n".join(sql) + "\nCOMMIT;\n")
print("%d stock items, %d customers in the origin database" % (n, 40))
