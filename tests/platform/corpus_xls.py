#!/usr/bin/python3
"""The cells LibreOffice reads in the legacy .xls corpus (../shared/corpus), as the expected values
of the corpus test (CorpusXls_test.cpp).

Each workbook is converted with LibreOffice (soffice --headless --convert-to xlsx); the active sheet
of the conversion is read with openpyxl and every non-empty cell is written as the program's readers
show it under the Brazilian style (texts as stored, numbers with up to 15 significant digits and a
decimal comma, whole numbers in full, zero-padding formats applied to whole numbers, dates
DD/MM/YYYY [HH:MM:SS], booleans VERDADEIRO/FALSO, errors as their text), one line per cell:
"row<TAB>column<TAB>text", as `importadorzuv planilha ler` prints them.

  corpus_xls.py CORPUS SAIDA.json [--conversoes PASTA] [--listas PASTA]

CORPUS is the folder holding xls/ and xls-manifest.tsv. SAIDA.json gets, for every file LibreOffice
opens, the count of its cells and a hash of all of them (FNV-1a 64 of the listing), or "texto" when
LibreOffice showed the file's bytes as text, or why the file's values differ (DIFERENCAS). --conversoes keeps the .xlsx conversions in PASTA
(reused when run again); --listas writes the full listing of every file to PASTA/<file>.txt, to
compare by hand with `importadorzuv planilha ler`.

Regenerate tests/platform/corpus_xls.json after a change of the rules (from the repository root):
  /usr/bin/python3 tests/platform/corpus_xls.py ../shared/corpus tests/platform/corpus_xls.json
"""
import datetime
import json
import math
import os
import re
import subprocess
import sys
import tempfile

import openpyxl
import openpyxl.reader.excel
import openpyxl.styles.stylesheet
import openpyxl.worksheet._reader as leitor_folha

# Date-formatted numbers stay numbers: the serial is shown by the rules below, not openpyxl's.
leitor_folha.from_excel = lambda valor, *a, **k: valor
# Document properties are not needed, and some (dates out of range) stop openpyxl.
openpyxl.reader.excel.ExcelReader.read_properties = lambda self: None
# Named styles do not change values; one that points past the style list stops openpyxl.
_estilo_nomeado = openpyxl.styles.stylesheet.Stylesheet._expand_named_style


def _estilo_tolerante(self, estilo):
    try:
        _estilo_nomeado(self, estilo)
    except IndexError:
        pass


openpyxl.styles.stylesheet.Stylesheet._expand_named_style = _estilo_tolerante
# A number LibreOffice writes as "NaN" (a NUMBER record holding one) is a float, not an error.
_numero_openpyxl = leitor_folha._cast_number
leitor_folha._cast_number = lambda v: float(v) if v in ("NaN", "inf", "-inf") else _numero_openpyxl(v)

# Files whose cells are not compared, and why. LibreOffice
# recalculates the formulas whose cached result is a text, a boolean or an error, those it cannot
# convert and the ones that depend on them (TODAY() gives the day of the conversion), stores
# boolean results as 0 and 1, and writes some numbers with a different 15th digit; the readers
# give what the workbook holds.
_RECALCULA = "fórmulas que o LibreOffice recalcula, ou números que grava com outro 15º dígito"
DIFERENCAS = dict.fromkeys([
    "poi-examples__src__main__java__org__apache__poi__examples__ss__formula__mortgage-calculation.xls",
    "test-data__spreadsheet__12843-1.xls", "test-data__spreadsheet__27272_2.xls",
    "test-data__spreadsheet__27852.xls", "test-data__spreadsheet__29982.xls", "test-data__spreadsheet__30070.xls",
    "test-data__spreadsheet__34775.xls", "test-data__spreadsheet__43623.xls", "test-data__spreadsheet__44861.xls",
    "test-data__spreadsheet__44958.xls", "test-data__spreadsheet__44958_1.xls",
    "test-data__spreadsheet__45538_classic_Footer.xls", "test-data__spreadsheet__45538_classic_Header.xls",
    "test-data__spreadsheet__48968.xls", "test-data__spreadsheet__49219.xls", "test-data__spreadsheet__50426.xls",
    "test-data__spreadsheet__51498.xls", "test-data__spreadsheet__52575_main.xls",
    "test-data__spreadsheet__53446.xls", "test-data__spreadsheet__54686_fraction_formats.xls",
    "test-data__spreadsheet__57231_MixedGasReport.xls", "test-data__spreadsheet__60284.xls",
    "test-data__spreadsheet__60460.xls", "test-data__spreadsheet__61116.xls", "test-data__spreadsheet__63819.xls",
    "test-data__spreadsheet__BooleanFunctionsTestCaseData.xls", "test-data__spreadsheet__CodeFunctionTestCaseData.xls",
    "test-data__spreadsheet__DGet.xls", "test-data__spreadsheet__DateTimeToNumberTestCases.xls",
    "test-data__spreadsheet__ErrPtg.xls", "test-data__spreadsheet__FactDoubleFunctionTestCaseData.xls",
    "test-data__spreadsheet__FormulaEvalTestData.xls", "test-data__spreadsheet__IfFunctionTestCaseData.xls",
    "test-data__spreadsheet__ImRealFunctionTestCaseData.xls", "test-data__spreadsheet__ImaginaryFunctionTestCaseData.xls",
    "test-data__spreadsheet__IndexFunctionTestCaseData.xls", "test-data__spreadsheet__IndirectFunctionTestCaseData.xls",
    "test-data__spreadsheet__IrrNpvTestCaseData.xls", "test-data__spreadsheet__LogicalFunctionsTestCaseData.xls",
    "test-data__spreadsheet__LookupFunctionsTestCaseData.xls", "test-data__spreadsheet__QuotientFunctionTestCaseData.xls",
    "test-data__spreadsheet__ReptFunctionTestCaseData.xls", "test-data__spreadsheet__SquareMacro.xls",
    "test-data__spreadsheet__StringContinueRecords.xls", "test-data__spreadsheet__Trend.xls",
    "test-data__spreadsheet__TwoOperandNumericFunctionTestCaseData.xls",
    "test-data__spreadsheet__WeekNumFunctionTestCaseData.xls", "test-data__spreadsheet__XRefCalc.xls",
    "test-data__spreadsheet__at.gv.land-oberoesterreich.www_cps_rde_xbcr_SID-4A1B954F-5C07F98E_ooe_stat_download_bp10.xls",
    "test-data__spreadsheet__atp.xls", "test-data__spreadsheet__countifExamples.xls",
    "test-data__spreadsheet__ex44921-21902.xls", "test-data__spreadsheet__ex45046-21984.xls",
    "test-data__spreadsheet__excelant.xls", "test-data__spreadsheet__externalFunctionExample.xls",
    "test-data__spreadsheet__external_image.xls", "test-data__spreadsheet__finance.xls",
    "test-data__spreadsheet__intercept.xls", "test-data__spreadsheet__maxindextest.xls",
    "test-data__spreadsheet__mirrTest.xls", "test-data__spreadsheet__missingFuncs44675.xls",
    "test-data__spreadsheet__mortgage-calculation.xls", "test-data__spreadsheet__styles-3563.xls",
    "test-data__spreadsheet__testEXCEL_4.xls", "test-data__spreadsheet__testNames.xls",
    "test-data__spreadsheet__testRVA.xls"], _RECALCULA)
DIFERENCAS.update({
    "test-data__spreadsheet__44010-TwoCharts.xls": "a aba ativa é um gráfico: lê-se a primeira planilha de células",
    "test-data__spreadsheet__ex42570-20305.xls": "a aba ativa é um gráfico: lê-se a primeira planilha de células",
    "test-data__spreadsheet__46368.xls": "o LibreOffice corta um texto de mais de 32767 caracteres",
})


def le_manifesto(corpus):
    """{file: True when LibreOffice reads it}."""
    le = {}
    with open(os.path.join(corpus, "xls-manifest.tsv"), encoding="utf-8") as f:
        next(f)
        for linha in f:
            campos = linha.rstrip("\n").split("\t")
            le[campos[0]] = "cannot" not in (campos[2] if len(campos) > 2 else "")
    return le


def converte(corpus, arquivos, pasta):
    """Converts the files that have no conversion yet, a few at a time (a crash costs one batch)."""
    perfil = tempfile.mkdtemp(prefix="perfil-lo-")
    faltam = [a for a in arquivos if not os.path.exists(os.path.join(pasta, a[:-4] + ".xlsx"))]
    for i in range(0, len(faltam), 15):
        lote = [os.path.join(corpus, "xls", a) for a in faltam[i:i + 15]]
        subprocess.run(["soffice", "-env:UserInstallation=file://" + perfil, "--headless", "--convert-to",
                        "xlsx", "--outdir", pasta] + lote, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=900, check=False)


# Format codes: the kind of the first section (mirrors the rules of the readers).
def secao(codigo):
    fora, aspas = [], False
    i = 0
    while i < len(codigo):
        c = codigo[i]
        if c == '"':
            aspas = not aspas
        elif not aspas:
            if c == ";":
                break
            if c in "\\_*":
                i += 2
                continue
            if c == "[":
                f = codigo.find("]", i)
                if f < 0:
                    break
                dentro = codigo[i + 1:f]
                if dentro and all(x in "hHmMsS" for x in dentro):
                    fora.append("h")
                i = f + 1
                continue
            fora.append(c)
        i += 1
    return "".join(fora)


def tipo_formato(codigo):
    s = secao(codigo or "General")
    hora = bool(re.search(r"[hHsS]", s)) or "AM/PM" in s or "am/pm" in s or "A/P" in s or "a/p" in s
    s = s.replace("AM/PM", "").replace("am/pm", "").replace("A/P", "").replace("a/p", "")
    data = bool(re.search(r"[dDyYmM]", s))
    if hora and data and not re.search(r"[dDyY]", s):
        data = False  # "mm" beside hours or seconds is minutes
    return "datahora" if data and hora else "data" if data else "hora" if hora else "numero"


def zeros(codigo):
    """Digits a zero-padding format shows a whole number with (0 when it is not one)."""
    primeira = (codigo or "").split(";")[0]
    if primeira and re.fullmatch(r"[0#]+", primeira):
        return primeira.count("0")
    return 0


def numero(v):
    v = float(v)
    if math.isnan(v):
        return "NaN"
    if v == 0:
        v = 0.0
    s = format(v, ".15g")
    return s.replace("e", "E").replace(".", ",")


def serial(v, tipo, base1904):
    if not math.isfinite(v) or v < 0 or v >= 2958466:
        return None
    dias = math.floor(v)
    segundos = round((v - dias) * 86400)
    if segundos >= 86400:
        segundos -= 86400
        dias += 1
    hora = "%02d:%02d:%02d" % (segundos // 3600, segundos // 60 % 60, segundos % 60)
    if tipo == "hora":
        return hora
    if base1904:
        d = datetime.date(1904, 1, 1) + datetime.timedelta(days=dias)
        data = d.strftime("%d/%m/") + "%04d" % d.year
    elif dias == 0:
        data = "00/01/1900"
    elif dias == 60:
        data = "29/02/1900"
    else:
        d = datetime.date(1899, 12, 30) + datetime.timedelta(days=dias + (1 if dias < 60 else 0))
        data = d.strftime("%d/%m/") + "%04d" % d.year
    return data + " " + hora if tipo == "datahora" else data


def desfaz_escapes(s):
    """The _xHHHH_ escapes of stored strings (UTF-16 units, pairs joined)."""
    partes = re.split(r"(_x[0-9A-Fa-f]{4}_)", s)
    unidades = []
    saida = ""
    for p in partes:
        if re.fullmatch(r"_x[0-9A-Fa-f]{4}_", p):
            unidades.append(int(p[2:6], 16))
            continue
        if unidades:
            saida += b"".join(u.to_bytes(2, "little") for u in unidades).decode("utf-16-le", "surrogatepass")
            unidades = []
        saida += p
    if unidades:
        saida += b"".join(u.to_bytes(2, "little") for u in unidades).decode("utf-16-le", "surrogatepass")
    return saida


def visivel(s):
    """As the command line prints a cell: \\t \\n \\r \\\\, other control characters \\uXXXX."""
    r = []
    for c in s:
        o = ord(c)
        if c == "\t":
            r.append("\\t")
        elif c == "\n":
            r.append("\\n")
        elif c == "\r":
            r.append("\\r")
        elif c == "\\":
            r.append("\\\\")
        elif o < 0x20 or 0x7F <= o <= 0x9F or 0xD800 <= o <= 0xDFFF:
            r.append("\\u%04X" % o)
        else:
            r.append(c)
    return "".join(r)


def texto(celula, base1904):
    v = celula.value
    if v is None:
        return ""
    if isinstance(v, bool):
        return "VERDADEIRO" if v else "FALSO"
    if isinstance(v, str):
        return v if celula.data_type == "e" else desfaz_escapes(v)
    if isinstance(v, (datetime.datetime, datetime.date, datetime.time)):
        raise ValueError("data não convertida")
    tipo = tipo_formato(celula.number_format)
    if tipo != "numero":
        t = serial(float(v), tipo, base1904)
        if t is not None:
            return t
    t = numero(v)
    n = zeros(celula.number_format)
    if n and float(v).is_integer() and "E" not in t:
        sinal = "-" if t.startswith("-") else ""
        t = sinal + t.lstrip("-").rjust(n, "0")
    return t


def celulas(xlsx):
    """The listing of the active sheet of a conversion."""
    wb = openpyxl.load_workbook(xlsx, data_only=True, keep_links=False)
    folha = wb.active
    linhas = []
    if not hasattr(folha, "iter_rows"):
        return linhas  # a chart sheet
    base1904 = wb.epoch != openpyxl.utils.datetime.WINDOWS_EPOCH
    for (l, c), celula in sorted(folha._cells.items()):
        t = texto(celula, base1904)
        if t:
            linhas.append("%d\t%d\t%s" % (l, c, visivel(t)))
    return linhas


def fnv(linhas):
    h = 0xCBF29CE484222325
    for b in "".join(x + "\n" for x in linhas).encode("utf-8", "surrogatepass"):
        h = ((h ^ b) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return "%016x" % h


def main():
    args = sys.argv[1:]
    opcoes = {}
    while len(args) > 2 and args[-2].startswith("--"):
        opcoes[args[-2]] = args[-1]
        args = args[:-2]
    if len(args) != 2:
        sys.exit(__doc__)
    corpus, saida = args
    le = le_manifesto(corpus)
    lidos = sorted(a for a, sim in le.items() if sim)
    pasta = opcoes.get("--conversoes") or tempfile.mkdtemp(prefix="corpus-xls-")
    os.makedirs(pasta, exist_ok=True)
    converte(corpus, lidos, pasta)
    versao = subprocess.run(["soffice", "--version"], capture_output=True, text=True).stdout.split()
    resultado = {"libreoffice": " ".join(versao[1:2]), "arquivos": {}}
    for a in lidos:
        xlsx = os.path.join(pasta, a[:-4] + ".xlsx")
        if not os.path.exists(xlsx):
            sys.exit("LibreOffice não converteu " + a)
        linhas = celulas(xlsx)
        if any("ÐÏ\\u0011à" in x for x in linhas):
            # LibreOffice did not recognise the workbook and showed its bytes as text.
            resultado["arquivos"][a] = "texto"
        elif a in DIFERENCAS:
            resultado["arquivos"][a] = "diferente: " + DIFERENCAS[a]
        else:
            resultado["arquivos"][a] = "%d %s" % (len(linhas), fnv(linhas))
        if "--listas" in opcoes:
            os.makedirs(opcoes["--listas"], exist_ok=True)
            with open(os.path.join(opcoes["--listas"], a + ".txt"), "w", encoding="utf-8",
                      errors="surrogatepass") as f:
                f.writelines(x + "\n" for x in linhas)
    with open(saida, "w", encoding="utf-8") as f:
        json.dump(resultado, f, ensure_ascii=False, indent=0, sort_keys=True)
        f.write("\n")


if __name__ == "__main__":
    main()
