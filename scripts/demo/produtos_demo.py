"""Writes produto.xlsx for the demo: a supermarket catalogue of a few thousand rows in the product
workbook layout (15 columns, headings in row 1, every cell a text as the program's own export
writes them: prices like 1.234,50), with what real workbooks bring along: codes typed as numbers,
prices with a decimal point, accents and apostrophes, empty cells, a product listed again later
with a new price, and a few rows a person has to fix.

    /usr/bin/python3 scripts/demo/produtos_demo.py <program folder> [rows]

The rows come from a fixed seed, so every run gives the same workbook."""
import random
import sys
from pathlib import Path

import openpyxl
from openpyxl.styles import Font

rnd = random.Random(2026)

CABECALHO = ["Barra", "Nome Produto", "Unidade", "Preço Custo", "Preço Venda", "Estoque Atual",
             "Nome Grupo", "Sub Grupo", "NCM", "Aliq. ECF SAT", "CFOP VendaSat",
             "Trib.Simples Nacional", "Cód.Trib.ICMS CST", "Código CEST", "Preço Atacado"]

# (name, unit, group, sub-group, NCM, CEST, ECF rate, base price, sizes)
BASE = [
    ("ARROZ TIPO 1", "PT", "MERCEARIA", "GRÃOS", "10063021", "", "7", 5.2, ["1KG", "2KG", "5KG"]),
    ("FEIJÃO CARIOCA", "PT", "MERCEARIA", "GRÃOS", "07133319", "", "7", 7.8, ["1KG", "2KG"]),
    ("FEIJÃO PRETO", "PT", "MERCEARIA", "GRÃOS", "07133390", "", "7", 8.4, ["1KG"]),
    ("CAFÉ TORRADO E MOÍDO", "PT", "MERCEARIA", "MATINAIS", "09012100", "1709600", "18", 14.9, ["250G", "500G"]),
    ("AÇÚCAR REFINADO", "PT", "MERCEARIA", "MATINAIS", "17019900", "", "7", 4.6, ["1KG", "5KG"]),
    ("ÓLEO DE SOJA", "UN", "MERCEARIA", "ÓLEOS", "15079011", "", "7", 7.3, ["900ML"]),
    ("AZEITE EXTRA VIRGEM", "UN", "MERCEARIA", "ÓLEOS", "15091000", "", "18", 32.9, ["250ML", "500ML"]),
    ("MACARRÃO ESPAGUETE", "PT", "MERCEARIA", "MASSAS", "19021900", "1704900", "18", 4.2, ["500G"]),
    ("BISCOITO CREAM CRACKER", "PT", "MERCEARIA", "BISCOITOS", "19053100", "1705700", "18", 4.9, ["400G"]),
    ("BISCOITO RECHEADO", "PT", "MERCEARIA", "BISCOITOS", "19053100", "1705700", "18", 2.8, ["140G"]),
    ("MOLHO DE TOMATE", "UN", "MERCEARIA", "MOLHOS", "21032010", "1703100", "18", 2.9, ["340G"]),
    ("SAL REFINADO", "PT", "MERCEARIA", "TEMPEROS", "25010020", "", "7", 2.3, ["1KG"]),
    ("FARINHA DE TRIGO", "PT", "MERCEARIA", "FARINHAS", "11010010", "", "7", 5.9, ["1KG", "5KG"]),
    ("REFRIGERANTE COLA", "UN", "BEBIDAS", "REFRIGERANTES", "22021000", "0300700", "18", 8.9, ["350ML", "2L"]),
    ("REFRIGERANTE GUARANÁ", "UN", "BEBIDAS", "REFRIGERANTES", "22021000", "0300700", "18", 7.9, ["350ML", "2L"]),
    ("ÁGUA MINERAL SEM GÁS", "UN", "BEBIDAS", "ÁGUAS", "22011000", "0300400", "18", 2.2, ["500ML", "1,5L"]),
    ("CERVEJA PILSEN LATA", "UN", "BEBIDAS", "CERVEJAS", "22030000", "0302100", "25", 3.9, ["350ML", "473ML"]),
    ("SUCO DE UVA INTEGRAL", "UN", "BEBIDAS", "SUCOS", "20096100", "1701000", "18", 14.9, ["1L"]),
    ("VINHO TINTO SECO", "UN", "BEBIDAS", "VINHOS", "22042100", "0201000", "25", 39.9, ["750ML"]),
    ("LEITE UHT INTEGRAL", "LT", "LATICÍNIOS", "LEITES", "04012010", "1701600", "7", 5.3, ["1L"]),
    ("QUEIJO MUÇARELA", "KG", "LATICÍNIOS", "QUEIJOS", "04069090", "1702400", "7", 49.9, [""]),
    ("IOGURTE NATURAL", "UN", "LATICÍNIOS", "IOGURTES", "04032000", "1701900", "18", 3.9, ["170G"]),
    ("MANTEIGA COM SAL", "UN", "LATICÍNIOS", "MANTEIGAS", "04051000", "1702100", "18", 12.9, ["200G"]),
    ("CONTRAFILÉ", "KG", "AÇOUGUE", "BOVINOS", "02013000", "", "7", 54.9, [""]),
    ("PATINHO MOÍDO", "KG", "AÇOUGUE", "BOVINOS", "02013000", "", "7", 39.9, [""]),
    ("LOMBO SUÍNO", "KG", "AÇOUGUE", "SUÍNOS", "02032900", "", "7", 24.9, [""]),
    ("PEITO DE FRANGO", "KG", "AÇOUGUE", "AVES", "02071400", "", "7", 18.9, [""]),
    ("BANANA NANICA", "KG", "HORTIFRÚTI", "FRUTAS", "08039000", "", "0", 5.9, [""]),
    ("MAÇÃ GALA", "KG", "HORTIFRÚTI", "FRUTAS", "08081000", "", "0", 9.9, [""]),
    ("TOMATE", "KG", "HORTIFRÚTI", "VERDURAS", "07020000", "", "0", 7.9, [""]),
    ("PÃO FRANCÊS", "KG", "PADARIA", "PÃES", "19059090", "1706200", "7", 16.9, [""]),
    ("PÃO DE FORMA", "PT", "PADARIA", "PÃES", "19059010", "1706200", "7", 8.9, ["500G"]),
    ("DETERGENTE LÍQUIDO", "UN", "LIMPEZA", "DETERGENTES", "34022000", "1100100", "18", 2.5, ["500ML"]),
    ("SABÃO EM PÓ", "CX", "LIMPEZA", "SABÕES", "34025000", "1100200", "18", 18.9, ["1KG", "2KG"]),
    ("ÁGUA SANITÁRIA", "UN", "LIMPEZA", "ALVEJANTES", "28289011", "", "18", 4.5, ["1L", "2L"]),
    ("CREME DENTAL", "UN", "HIGIENE PESSOAL", "HIGIENE BUCAL", "33061000", "2002800", "18", 4.9, ["90G"]),
    ("XAMPU", "UN", "HIGIENE PESSOAL", "CABELOS", "33051000", "2003600", "18", 15.9, ["350ML"]),
    ("SABONETE", "UN", "HIGIENE PESSOAL", "SABONETES", "34011190", "2003300", "18", 2.4, ["90G"]),
    ("PRESUNTO COZIDO", "KG", "FRIOS E EMBUTIDOS", "EMBUTIDOS", "16024100", "1702900", "18", 34.9, [""]),
    ("LINGUIÇA TOSCANA", "KG", "FRIOS E EMBUTIDOS", "EMBUTIDOS", "16010000", "1702900", "18", 22.9, [""]),
    ("SORVETE DE CREME", "UN", "CONGELADOS", "SORVETES", "21050010", "2300100", "18", 21.9, ["1,5L"]),
    ("PIZZA CONGELADA", "UN", "CONGELADOS", "PRATOS PRONTOS", "19022000", "1704800", "18", 17.9, ["460G"]),
]
MARCAS = ["", " SERRA AZUL", " BOA MESA", " DA FAZENDA", " PREMIUM", " D'OURO", " SÃO JOÃO", " ECONÔMICO",
          " VALE VERDE", " TIO ZÉ", " DONA ANA", " CRISTAL"]
CFOP_ST = {"0300700", "0300400", "0302100", "1701000", "0201000", "2300100"}


def ean13(corpo12):
    s = sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(corpo12))
    return corpo12 + str((10 - s % 10) % 10)


def preco(v, estilo):
    texto = "{:,.2f}".format(v)  # 1,234.50
    if estilo == "br":
        return texto.replace(",", "_").replace(".", ",").replace("_", ".")
    return texto.replace(",", "")  # 1234.50: typed with a decimal point


def linhas(total):
    r = []
    n = 0
    while len(r) < total:
        for nome, un, grupo, sub, ncm, cest, aliq, base, tamanhos in BASE:
            for marca in MARCAS:
                for tam in tamanhos:
                    if len(r) >= total:
                        return r
                    n += 1
                    pesavel = un == "KG" and not tam
                    barra = "2%05d" % n if pesavel else ean13("789%04d%05d" % (1000 + len(marca), n))
                    descricao = (nome + marca + (" " + tam if tam else "")).strip()
                    if n % 7 == 0:
                        descricao = descricao.title()  # typed in mixed case
                    venda = round(base * rnd.uniform(0.85, 1.35) * (1 + n // 600 * 0.03), 2)
                    custo = round(venda / rnd.uniform(1.2, 1.6), 2)
                    estoque = round(rnd.uniform(0, 80), 3) if pesavel else rnd.randint(0, 240)
                    estilo = "ponto" if n % 11 == 0 else "br"
                    st = cest in CFOP_ST
                    r.append([
                        barra, descricao, un, preco(custo, estilo), preco(venda, estilo),
                        str(estoque).replace(".", ","), grupo, sub,
                        ncm if n % 41 else "",  # some rows without NCM
                        aliq, "5405" if st else "5102", "500" if st else "102", "", cest,
                        preco(round(venda * 0.93, 2), "br") if n % 3 else "",
                    ])
    return r


def main():
    pasta = Path(sys.argv[1])
    total = int(sys.argv[2]) if len(sys.argv) > 2 else 3000
    dados = linhas(total)
    # Products listed again further down with a corrected price: the import rewrites them.
    for k in range(0, min(len(dados), 2400), 12):
        repetida = list(dados[k])
        repetida[4] = preco(round(float(repetida[4].replace(".", "").replace(",", ".")) * 1.05, 2), "br")
        dados.append(repetida)
    # Rows a person has to look at: a price that is no number, a character the database cannot hold.
    dados.insert(len(dados) // 3, ["7890000000017", "OVOS BRANCOS DÚZIA", "DZ", "9,90", "A COMBINAR", "30"])
    dados.insert(len(dados) // 2, ["7890000000024", "CHÁ VERDE 抹茶", "UN", "3,10", "5,49", "12"])
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.append(CABECALHO)
    for c in ws[1]:
        c.font = Font(bold=True)
    for linha in dados:
        ws.append(linha)
    for linha in ws.iter_rows(min_row=2):
        for c in linha:
            c.number_format = "@"
    # Codes typed as numbers in some rows: leading zeros lost, as spreadsheets do.
    for i in range(2, ws.max_row + 1, 17):
        for col in (9, 14):
            v = ws.cell(i, col).value
            if v:
                ws.cell(i, col).value = int(v)
                ws.cell(i, col).number_format = "General"
    wb.save(pasta / "produto.xlsx")
    print("produtos_demo: %s/produto.xlsx with %d rows" % (pasta, len(dados)))


if __name__ == "__main__":
    main()
