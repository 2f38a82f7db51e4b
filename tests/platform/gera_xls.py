#!/usr/bin/python3
"""Writes legacy .xls workbooks record by record, to pin each way Excel stores a value and each
container and stream shape the .xls reader must handle. Usage: gera_xls.py DIR"""
import hashlib
import os
import struct
import sys


def cfb(fluxos):
    """A minimal OLE2 compound file (version 3, 512-byte sectors) holding the given streams; every
    stream is padded to at least 4096 bytes so that it lives in the regular FAT."""
    setores = []
    entradas = []
    for nome, corpo in fluxos:
        corpo = corpo.ljust(4096, b"\0")
        inicio = len(setores)
        for i in range(0, len(corpo), 512):
            setores.append(corpo[i:i + 512].ljust(512, b"\0"))
        entradas.append((nome, inicio, len(corpo)))
    dir_setor = len(setores)
    fat_setor = dir_setor + 1
    fat = []
    for nome, inicio, tam in entradas:
        n = (tam + 511) // 512
        fat += [inicio + k + 1 for k in range(n - 1)] + [0xFFFFFFFE]
    fat += [0xFFFFFFFE, 0xFFFFFFFD]  # directory, the FAT itself
    fat += [0xFFFFFFFF] * (128 - len(fat))

    def entrada(nome, tipo, inicio, tam, filho=0xFFFFFFFF, direita=0xFFFFFFFF):
        n = nome.encode("utf-16-le") + b"\0\0"
        return (n.ljust(64, b"\0") + struct.pack("<HBB", len(n), tipo, 1) +
                struct.pack("<III", 0xFFFFFFFF, direita, filho) + b"\0" * 36 + struct.pack("<III", inicio, tam, 0))
    d = entrada("Root Entry", 5, 0xFFFFFFFE, 0, filho=1)
    for i, (nome, inicio, tam) in enumerate(entradas):
        d += entrada(nome, 2, inicio, tam, direita=(i + 2) if i + 1 < len(entradas) else 0xFFFFFFFF)
    d = d.ljust(512, b"\0")
    cab = (bytes.fromhex("D0CF11E0A1B11AE1") + b"\0" * 16 + struct.pack("<HHHH", 0x3E, 3, 0xFFFE, 9) +
           struct.pack("<H", 6) + b"\0" * 10 + struct.pack("<III", 1, dir_setor, 0) +
           struct.pack("<IIIII", 4096, 0xFFFFFFFE, 0, 0xFFFFFFFE, 0) + struct.pack("<I", fat_setor) +
           struct.pack("<I", 0xFFFFFFFF) * 108)
    return cab + b"".join(setores) + d + struct.pack("<128I", *fat)


def reg(tipo, dados=b""):
    return struct.pack("<HH", tipo, len(dados)) + dados


def bof(versao, tipo):
    return reg(0x0809, struct.pack("<HHHHII", versao, tipo, 0x1234, 1997, 0, 0x0600)[:16 if versao == 0x600 else 8])


EOF = reg(0x000A)


def u8(s):
    """A BIFF8 string body: flags and the characters (8-bit when they fit)."""
    try:
        return b"\0" + s.encode("latin-1")
    except UnicodeEncodeError:
        return b"\1" + s.encode("utf-16-le")


def celula(tipo, linha, col, xf, dados):
    return reg(tipo, struct.pack("<HHH", linha, col, xf) + dados)


def rk_int(v, x100=False):
    return ((v << 2) | 2 | (1 if x100 else 0)) & 0xFFFFFFFF


def numero(linha, col, v, xf=0):
    return celula(0x0203, linha, col, xf, struct.pack("<d", v))


def formula(linha, col, resultado, xf=0):
    return celula(0x0006, linha, col, xf, resultado + b"\0\0\0\0\0\0" + struct.pack("<H", 0))


def livro(globais, folhas, ativa=0, biff8=True):
    """A workbook stream: globals (records after BOF and WINDOW1) and sheets, each (type, records)
    with type 0x10 worksheet or 0x20 chart; BOUNDSHEET offsets filled in."""
    versao = 0x600 if biff8 else 0x500
    janela = reg(0x003D, struct.pack("<HHHHHHHHH", 0, 0, 1000, 1000, 0x38, ativa, 0, 1, 0x258))
    nome = (lambda i: struct.pack("<B", 2) + (b"\0" if biff8 else b"") + b"F%d" % i)

    def limites(posicoes):
        return b"".join(reg(0x0085, struct.pack("<IBB", p, 0, 2 if t == 0x20 else 0) + nome(i))
                        for i, ((t, _), p) in enumerate(zip(folhas, posicoes)))
    cabeca = bof(versao, 0x0005) + janela + b"".join(globais)
    tamanho = len(cabeca) + len(limites([0] * len(folhas))) + len(EOF)
    posicoes, corpo = [], b""
    for t, registros in folhas:
        posicoes.append(tamanho + len(corpo))
        corpo += bof(versao, t) + b"".join(registros) + EOF
    return cabeca + limites(posicoes) + EOF + corpo


def unidades(t):
    return len(t.encode("utf-16-le")) // 2


def sst(textos, corta, em):
    """The shared strings; the characters of textos[corta] are cut after `em`: the rest goes on in
    a CONTINUE record that repeats the flags byte (as UTF-16), and so do the strings after it."""
    dados = struct.pack("<II", len(textos), len(textos))
    partes = []
    for i, t in enumerate(textos):
        if i == corta:
            dados += struct.pack("<H", unidades(t)) + u8(t[:em])
            partes.append(dados)
            dados = b"\1" + t[em:].encode("utf-16-le")
        else:
            dados += struct.pack("<H", unidades(t)) + u8(t)
    partes.append(dados)
    return reg(0x00FC, partes[0]) + b"".join(reg(0x003C, p) for p in partes[1:])


def xf(formato):
    return reg(0x00E0, struct.pack("<HHHBBBBIIH", 0, formato, 1, 0x20, 0, 0, 0, 0, 0, 0x20C0))


def formato(ident, codigo):
    return reg(0x041E, struct.pack("<HH", ident, len(codigo)) + u8(codigo))


# Styles: 0 General, 1 a date (built-in 14), 2 a zero-padding code, 3 a date and time code.
ESTILOS = [formato(164, "0000000000000"), formato(165, "dd/mm/yyyy hh:mm"), xf(0), xf(14), xf(164), xf(165)]
TEXTOS = ["Barra", "Feijão Carioca", "Açúcar 🙂 cristal", "", "Sub ção", "fim"]


def dados_biff8():
    """The main sheet: every way a cell's value is stored."""
    grafico_embutido = bof(0x600, 0x20) + numero(50, 0, 99) + EOF
    return [
        celula(0x00FD, 0, 0, 0, struct.pack("<I", 0)),                  # A1 shared string
        celula(0x00FD, 0, 1, 0, struct.pack("<I", 1)),
        celula(0x0204, 0, 2, 0, struct.pack("<H", 7) + u8("Rótulo€")),  # LABEL, UTF-16
        celula(0x00FD, 0, 5, 0, struct.pack("<I", 5)),                  # after the CONTINUE
        celula(0x00FD, 0, 3, 0, struct.pack("<I", 3)),                  # an empty shared string
        celula(0x00FD, 0, 4, 0, struct.pack("<I", 4)),                  # split across CONTINUE
        celula(0x027E, 1, 0, 2, struct.pack("<I", rk_int(7891000))),      # RK int, padded
        numero(1, 1, 789100010011, 2),                                   # padded to 13 digits
        celula(0x027E, 1, 2, 0, struct.pack("<I", rk_int(1250, True))),  # RK of cents: 12,5
        reg(0x00BD, struct.pack("<HH", 1, 3) + struct.pack("<HI", 0, rk_int(-7)) +
            struct.pack("<HI", 0, struct.unpack("<Q", struct.pack("<d", 0.25))[0] >> 32) +
            struct.pack("<H", 4)),                                       # MULRK: -7, 0,25
        numero(2, 0, 45356, 1),                                          # a date
        numero(2, 1, 45356.5, 3),                                        # a date and time
        numero(2, 2, 0.1 + 0.2),                                         # 15 digits
        celula(0x0205, 2, 3, 0, b"\1\0"),                                # TRUE
        celula(0x0205, 2, 4, 0, b"\x07\1"),                              # #DIV/0!
        formula(3, 0, struct.pack("<d", 2.5)),                           # cached number
        formula(3, 1, b"\0\0\0\0\0\0\xff\xff"),                          # text result ...
        reg(0x04BC, b"\0" * 10),                                         # ... after a shared formula
        reg(0x0207, struct.pack("<H", 10) + b"\0" + b"resul"),           # ... and run on
        reg(0x003C, b"\0" + b"tado!"),
        formula(3, 2, b"\1\0\0\0\0\0\xff\xff"),                          # FALSE
        formula(3, 3, b"\2\0\x2a\0\0\0\xff\xff"),                        # #N/A
        formula(3, 4, b"\3\0\0\0\0\0\xff\xff"),                          # an empty text
        reg(0x0201, struct.pack("<HHH", 4, 0, 0)),                       # BLANK: nothing
        celula(0x00FD, 4, 2, 0, struct.pack("<I", 2)),                  # a surrogate pair
        grafico_embutido,                                                # a chart's data: not cells
        numero(5, 1, 1),
        numero(5, 1, 2),                                                 # written twice: the last
    ]


def escreve(pasta, nome, conteudo):
    with open(os.path.join(pasta, nome), "wb") as f:
        f.write(conteudo)


# RC4 encryption with the default password, as Excel writes a workbook protected against changes.
def rc4(chave, dados):
    s = list(range(256))
    j = 0
    for i in range(256):
        j = (j + s[i] + chave[i % len(chave)]) & 0xFF
        s[i], s[j] = s[j], s[i]
    i = j = 0
    saida = bytearray()
    for b in dados:
        i = (i + 1) & 0xFF
        j = (j + s[i]) & 0xFF
        s[i], s[j] = s[j], s[i]
        saida.append(b ^ s[(s[i] + s[j]) & 0xFF])
    return bytes(saida)


def cifra_rc4(fluxo, senha, cryptoapi):
    """Inserts a FILEPASS after the BOF and encrypts the records after it, block by block."""
    sal = bytes(range(16))
    verificador = bytes(range(100, 116))
    senha16 = senha.encode("utf-16-le")
    if cryptoapi:
        h0 = hashlib.sha1(sal + senha16).digest()

        def chave(bloco):
            return hashlib.sha1(h0 + struct.pack("<I", bloco)).digest()[:16]
        k = chave(0)
        cifrado = rc4(k, verificador + hashlib.sha1(verificador).digest())
        cab = struct.pack("<IIiiIIII", 0x04, 0, 0x6801, 0x8004, 128, 1, 0, 0) + "CSP\0".encode("utf-16-le")
        info = (struct.pack("<HHHII", 1, 4, 2, 0x04, len(cab)) + cab + struct.pack("<I", 16) + sal +
                cifrado[:16] + struct.pack("<I", 20) + cifrado[16:])
    else:
        h0 = hashlib.md5(senha16).digest()[:5]
        h1 = hashlib.md5((h0 + sal) * 16).digest()[:5]

        def chave(bloco):
            return hashlib.md5(h1 + struct.pack("<I", bloco)).digest()
        cifrado = rc4(chave(0), verificador + hashlib.md5(verificador).digest())
        info = struct.pack("<HHH", 1, 1, 1) + sal + cifrado
    tam_bof = 4 + struct.unpack("<H", fluxo[2:4])[0]
    filepass = reg(0x002F, info)
    # The sheets move by the FILEPASS's length: BOUNDSHEET offsets follow.
    corpo = bytearray(fluxo[:tam_bof] + filepass + fluxo[tam_bof:])
    pos = 0
    while pos + 4 <= len(corpo):
        tipo, n = struct.unpack("<HH", corpo[pos:pos + 4])
        if tipo == 0x0085:
            struct.pack_into("<I", corpo, pos + 4, struct.unpack("<I", corpo[pos + 4:pos + 8])[0] + len(filepass))
        pos += 4 + n
    pos = tam_bof + len(filepass)
    while pos + 4 <= len(corpo):
        tipo, n = struct.unpack("<HH", corpo[pos:pos + 4])
        desde = 4 if tipo == 0x0085 else 0
        if tipo not in (0x0809, 0x002F, 0x00E1):
            for i in range(desde, n):
                p = pos + 4 + i
                k = chave(p // 1024)
                fluxo_chave = rc4(k, bytes(p % 1024 + 1))
                corpo[p] ^= fluxo_chave[-1]
        pos += 4 + n
    return bytes(corpo)


def biff_nu(versao, registros):
    """A bare BIFF stream of Excel 2 to 4: one worksheet, no container."""
    ident = {2: 0x0009, 3: 0x0209, 4: 0x0409}[versao]
    return reg(ident, struct.pack("<HH", 0, 0x10) + (b"\0\0" if versao > 2 else b"")) + b"".join(registros) + EOF


def main(pasta):
    globais = ESTILOS + [sst(TEXTOS, 4, 4)]
    capa = [celula(0x0204, 0, 0, 0, struct.pack("<H", 4) + u8("capa"))]
    grafico = [numero(0, 0, 1)]
    escreve(pasta, "biff8.xls", cfb([("Workbook", livro(globais, [(0x10, capa), (0x20, grafico),
                                                                  (0x10, dados_biff8())], ativa=2))]))
    # The active sheet is a chart: the first sheet of cells stands in.
    escreve(pasta, "grafico_ativo.xls", cfb([("Workbook", livro([], [(0x10, capa), (0x20, grafico)], ativa=1))]))
    # Rows out of order, and a sheet offset that points past its BOF.
    desordem = [numero(2, 0, 3), numero(0, 0, 1), celula(0x0204, 1, 1, 0, struct.pack("<H", 1) + u8("b")),
                numero(0, 1, 1.5), numero(2, 0, 33)]
    fluxo = bytearray(livro([], [(0x10, desordem)]))
    pos = fluxo.find(struct.pack("<HH", 0x0085, 10))
    struct.pack_into("<I", fluxo, pos + 4, struct.unpack("<I", fluxo[pos + 4:pos + 8])[0] + 3)
    escreve(pasta, "desordenada.xls", cfb([("Workbook", bytes(fluxo))]))
    # Excel 95: a "Book" stream, 8-bit texts in the workbook's code page, dates from 1904.
    cirilico = "Привет".encode("cp1251")
    biff5 = livro([reg(0x0042, struct.pack("<H", 1251)), reg(0x0022, struct.pack("<H", 1)),
                   reg(0x041E, struct.pack("<HB", 164, 10) + b"dd/mm/yyyy"), xf(0), xf(164)],
                  [(0x10, [celula(0x0204, 0, 0, 0, struct.pack("<H", len(cirilico)) + cirilico),
                           numero(0, 1, 0, 1), celula(0x027E, 0, 2, 0, struct.pack("<I", rk_int(42)))])],
                  biff8=False)
    escreve(pasta, "biff5.xls", cfb([("Book", biff5)]))
    # Encrypted with the default password (RC4 and RC4 CryptoAPI), and with a password of its own.
    simples = livro(globais, [(0x10, dados_biff8())])
    escreve(pasta, "rc4.xls", cfb([("Workbook", cifra_rc4(simples, "VelvetSweatshop", False))]))
    escreve(pasta, "cryptoapi.xls", cfb([("Workbook", cifra_rc4(simples, "VelvetSweatshop", True))]))
    escreve(pasta, "senha.xls", cfb([("Workbook", cifra_rc4(simples, "segredo", False))]))
    # Excel 2 and 4 sheets, bare streams: their own records and formats in order of appearance.
    escreve(pasta, "biff2.xls", biff_nu(2, [
        reg(0x001E, b"\x07General"), reg(0x001E, b"\x08dd/mm/yy"),
        reg(0x0002, struct.pack("<HH3sH", 0, 0, b"\0\0\0", 7)),
        reg(0x0003, struct.pack("<HH3sd", 0, 1, b"\0\1\0", 45356)),
        reg(0x0004, struct.pack("<HH3sB", 1, 0, b"\0\0\0", 4) + b"Caf\xe9")]))
    # Damaged or not read: a workbook stream that does not begin with a BOF record, an Excel 4
    # workbook (several sheets in one bare stream).
    escreve(pasta, "sem_bof.xls", cfb([("Workbook", reg(0x0042, b"\xe4\x04") + EOF)]))
    escreve(pasta, "pasta_biff4.xls", reg(0x0409, struct.pack("<HHH", 0, 0x0100, 0)) + EOF)
    escreve(pasta, "biff4.xls", biff_nu(4, [
        reg(0x041E, b"\0\0\x07General"), reg(0x041E, b"\0\0\x0a0000000000"),
        reg(0x0443, b"\0\0" + b"\0" * 10), reg(0x0443, b"\0\1" + b"\0" * 10),
        reg(0x0204, struct.pack("<HHHH", 0, 0, 0, 2) + b"ok"),
        reg(0x027E, struct.pack("<HHHI", 0, 1, 1, rk_int(12345)))]))


if __name__ == "__main__":
    main(sys.argv[1])
