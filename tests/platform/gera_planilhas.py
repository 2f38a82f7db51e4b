#!/usr/bin/python3
"""Writes the workbooks the reader tests open: some with hand-written XML (to pin each storage
form a spreadsheet may use), some with openpyxl, and hostile ones. Usage: gera_planilhas.py DIR"""
import os
import sys
import zipfile

from gera_xls import cfb

OUT = sys.argv[1]
NS = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" ' \
     'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"


def caminho(nome):
    return os.path.join(OUT, nome)


def xlsx(nome, folhas, ativa=0, textos=None, estilos=None, date1904=False, antes=""):
    """folhas: list of sheetData inner XML. textos: list of <si> inner XML."""
    with zipfile.ZipFile(caminho(nome), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>')
        z.writestr("_rels/.rels", f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                   f'<Relationship Id="rId1" Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>')
        sheets = "".join(f'<sheet name="F{i+1}" sheetId="{i+1}" r:id="rId{i+1}"/>' for i in range(len(folhas)))
        pr = '<workbookPr date1904="1"/>' if date1904 else ""
        z.writestr("xl/workbook.xml", f'<workbook {NS}>{pr}<bookViews><workbookView activeTab="{ativa}"/></bookViews>'
                   f'<sheets>{sheets}</sheets></workbook>')
        rels = "".join(f'<Relationship Id="rId{i+1}" Type="{REL}/worksheet" Target="worksheets/sheet{i+1}.xml"/>'
                       for i in range(len(folhas)))
        n = len(folhas)
        if textos is not None:
            rels += f'<Relationship Id="rId{n+1}" Type="{REL}/sharedStrings" Target="sharedStrings.xml"/>'
            z.writestr("xl/sharedStrings.xml", f'<sst {NS} count="{len(textos)}">' +
                       "".join(f"<si>{t}</si>" for t in textos) + "</sst>")
        if estilos is not None:
            rels += f'<Relationship Id="rId{n+2}" Type="{REL}/styles" Target="/xl/styles.xml"/>'
            z.writestr("xl/styles.xml", f'<styleSheet {NS}>{estilos}</styleSheet>')
        z.writestr("xl/_rels/workbook.xml.rels",
                   f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">{rels}</Relationships>')
        for i, f in enumerate(folhas):
            z.writestr(f"xl/worksheets/sheet{i+1}.xml", f'<worksheet {NS}>{antes}<sheetData>{f}</sheetData></worksheet>')


# Every storage form of a value, and the styles that make numbers dates or times.
ESTILOS = ('<numFmts count="4"><numFmt numFmtId="164" formatCode="[$-416]dd/mm/yyyy"/>'
           '<numFmt numFmtId="165" formatCode="dd/mm/yyyy\\ hh:mm"/><numFmt numFmtId="166" formatCode="[h]:mm:ss"/>'
           '<numFmt numFmtId="167" formatCode="&quot;dias&quot;\\ 0.00;[Red]0"/></numFmts>'
           '<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>'
           '<cellXfs count="7"><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="165"/>'
           '<xf numFmtId="166"/><xf numFmtId="167"/><xf numFmtId="49"/></cellXfs>')
xlsx("formas.xlsx", [
    '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="inlineStr"><is><t>em linha</t></is></c>'
    '<c r="C1" t="s"><v>1</v></c><c r="D1" t="inlineStr"><is><r><t>ri</t></r><r><t xml:space="preserve">co </t></r></is></c>'
    '<c r="E1" t="s"><v>2</v></c></row>'
    '<row r="2"><c r="A2"><v>7891234567890</v></c><c r="B2"><v>3.5</v></c><c r="C2"><v>-0.1</v></c>'
    '<c r="D2"><v>1.2345678901234567E+16</v></c><c r="E2"><v>0.30000000000000004</v></c><c r="F2"><v>1E-7</v></c></row>'
    '<row r="3"><c r="A3" s="1"><v>45356</v></c><c r="B3" s="2"><v>45356.75</v></c><c r="C3" s="3"><v>45356.5</v></c>'
    '<c r="D3" s="4"><v>1.5</v></c><c r="E3" s="5"><v>45356</v></c><c r="F3" s="6"><v>12</v></c><c r="G3" s="1"><v>-1</v></c></row>'
    '<row r="4"><c r="A4" t="b"><v>1</v></c><c r="B4" t="b"><v>0</v></c><c r="C4" t="e"><v>#N/A</v></c>'
    '<c r="D4" t="e"><f>1/0</f><v>#DIV/0!</v></c><c r="E4"><f>A2*2</f><v>15782469135780</v></c>'
    '<c r="F4" t="str"><f>"a"&amp;"b"</f><v>ab</v></c><c r="G4" t="d"><v>2024-03-05T00:00:00</v></c></row>'
    # Row 5 is missing; row 6 has cells without references, one empty cell and one explicit column.
    '<row r="6"><c><v>1</v></c><c/><c t="inlineStr"><is><t>c6</t></is></c><c r="F6"><v>6</v></c><c><v>7</v></c></row>'
    '<row><c r="A7" t="inlineStr"><is><t>linha sem r</t></is></c></row>'
    '<row r="9" spans="1:3"><c r="B9" t="s"><v>3</v></c><c r="C9" s="1"/></row>'
    '<row r="10" ht="20" customHeight="1"/>',
], textos=["<t>compartilhado</t>", "<r><rPr><b/></rPr><t>Ne</t></r><r><t>grito</t></r><rPh sb=\"0\" eb=\"1\"><t>fonetico</t></rPh>",
           "<t>quebra_x000D__x000A_linha</t>", "<t>Açúcar &amp; Café</t>"], estilos=ESTILOS)

# The active sheet is the second; its part is not the first one listed.
xlsx("ativa.xlsx", ['<row r="1"><c r="A1" t="inlineStr"><is><t>primeira</t></is></c></row>',
                    '<row r="1"><c r="A1" t="inlineStr"><is><t>segunda</t></is></c></row>'], ativa=1)
xlsx("data1904.xlsx", ['<row r="1"><c r="A1" s="1"><v>0</v></c><c r="B1" s="1"><v>43890</v></c></row>'],
     estilos=ESTILOS, date1904=True)
xlsx("vazia.xlsx", [''])
# Prefixed element names, as some generators write them.
with zipfile.ZipFile(caminho("prefixos.xlsx"), "w") as z:
    z.writestr("_rels/.rels", f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               f'<Relationship Id="r1" Type="{REL}/officeDocument" Target="pasta/livro.xml"/></Relationships>')
    z.writestr("pasta/livro.xml", '<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
               'xmlns:rel="' + REL + '"><x:sheets><x:sheet name="A" sheetId="1" rel:id="f"/></x:sheets></x:workbook>')
    z.writestr("pasta/_rels/livro.xml.rels", '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               f'<Relationship Id="f" Type="{REL}/worksheet" Target="folhas/um.xml"/></Relationships>')
    z.writestr("pasta/folhas/um.xml", '<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
               '<x:sheetData><x:row r="2"><x:c r="C2" t="inlineStr"><x:is><x:t>prefixado</x:t></x:is></x:c></x:row>'
               '</x:sheetData></x:worksheet>')

# openpyxl: shared strings, numbers typed as numbers, dates, empty rows and columns, second sheet active.
import datetime
import openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Capa"
ws["A1"] = "capa"
ws2 = wb.create_sheet("Produtos")
ws2.append(["Barra", "Nome", "Preço", "Cadastro", "Ativo"])
ws2.append([7891234567890, "Feijão", 12.9, datetime.date(2024, 3, 5), True])
ws2.append([])
ws2.append([None, None, "1.234,50", datetime.datetime(2024, 12, 31, 23, 59, 0), False])
ws2["H2"] = 0.1
ws2["H2"].number_format = "0.00%"
# Barcodes typed as numbers keep the zeros their format shows; a number that is not whole keeps
# its decimals.
ws2["A4"] = 789100010011
ws2["A4"].number_format = "0000000000000"
ws2["A6"] = 42.5
ws2["A6"].number_format = "00000"
ws2["I6"] = "longe"
ws2["J2"] = "=A2*2"
wb.active = 1
wb.save(caminho("openpyxl.xlsx"))

# Hostile files.
with open(caminho("texto.xlsx"), "w") as f:
    f.write("isto não é uma planilha\n")
with open(caminho("vazio.xlsx"), "w"):
    pass
with zipfile.ZipFile(caminho("zip_sem_livro.xlsx"), "w") as z:
    z.writestr("leia.txt", "nada")
dados = open(caminho("formas.xlsx"), "rb").read()
with open(caminho("truncada.xlsx"), "wb") as f:
    f.write(dados[: len(dados) // 2])
# A sheet part that inflates to 300 MB of blanks (a few hundred KB compressed).
xlsx("bomba.xlsx", ['<row r="1"><c r="A1"><v>1</v></c></row>' + " " * (80 << 20)])
xlsx("xml_ruim.xlsx", ['<row r="1"><c r="A1"><v>1</v></c></row><row r="2"><c r="A2"><v>2</c></row>'])
xlsx("colunas_demais.xlsx", ['<row r="1"><c r="A1"><v>1</v></c><c r="ZZZZ1"><v>2</v></c></row>'])
xlsx("dimensao_enorme.xlsx", ['<row r="1"><c r="A1"><v>1</v></c></row>'],
     antes='<dimension ref="A1:XFD1048576"/><cols><col min="1" max="16384" width="9"/></cols>')
xlsx("linhas_fora_de_ordem.xlsx", ['<row r="5"><c r="A5"><v>1</v></c></row><row r="2"><c r="A2"><v>2</v></c></row>'])
xlsx("texto_inexistente.xlsx", ['<row r="1"><c r="A1" t="s"><v>7</v></c></row>'], textos=["<t>a</t>"])
with zipfile.ZipFile(caminho("dtd.xlsx"), "w") as z:
    z.writestr("xl/workbook.xml", '<!DOCTYPE w [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;">]>'
               f'<workbook {NS}><sheets><sheet name="A" sheetId="1" r:id="x"/></sheets></workbook>')


with open(caminho("protegida.xlsx"), "wb") as f:
    f.write(cfb([("EncryptionInfo", b"\x04\x00\x04\x00\x40\x00\x00\x00"), ("EncryptedPackage", os.urandom(5000))]))
with open(caminho("ole_sem_livro.xls"), "wb") as f:
    f.write(cfb([("Outra", b"nada")]))
os.makedirs(caminho("pasta.xlsx"))
