#!/usr/bin/env bash
# Pictures of every window of the program as a 1366x768 desktop draws them, and the two tax forms'
# cycle on a demo folder through the command line.
#   scripts/capturas.sh [folder]     folder: default ./capturas in the repository
# Writes <folder>/<window>.png (FrmMenu, FrmClientes, FrmAtuProdutoNCMCFOP, FrmAtuProdutoNFE,
# FrmMigracaoPadrao, FrmZUVdeZUVProduto, FrmVerificacaoFiscal, Qt's question box, file dialog and a
# message with a hint) and <folder>/demo, where "sat" and "nfe" export, get an NCM typed as a
# number and import again. Needs xvfb-run (xvfb), Debian's python3-openpyxl and a debug build.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="${1:-$raiz/capturas}"
mkdir -p "$pasta"
pasta="$(cd "$pasta" && pwd)"
cd "$raiz"
cmake --preset debug >/dev/null
cmake --build --preset debug --target test_gui_gui importadorzuv >/dev/null

# The window test opens each window, checks that it fits the screen and, with ZUV_CAPTURAS, saves
# the whole screen with the window at its top left corner.
rm -f "$pasta"/*.png
ZUV_CAPTURAS="$pasta" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1366x768x24" \
  build/debug/tests/test_gui_gui \
  --gtest_filter='FormularioBaseTest.EveryWindowFits*:FormularioBaseTest.QtsOwnButtons*'
ls "$pasta"/*.png

# The tax forms' cycle on a demo folder: export, an NCM typed as a number in row 2, import.
demo="$pasta/demo"
scripts/demo-data.sh "$demo" >/dev/null
programa=(build/debug/src/importadorzuv --pasta-programa "$demo")
for tarefa in sat nfe; do
  "${programa[@]}" "$tarefa" exportar
  /usr/bin/python3 -c 'import openpyxl, sys
wb = openpyxl.load_workbook(sys.argv[1]); wb.active.cell(2, 5).value = 7133319; wb.save(sys.argv[1])' \
    "$demo/produtosat.xlsx"
  saida="$("${programa[@]}" "$tarefa" importar --sim)"
  echo "$saida"
  grep -qx FIM <<<"$saida" || { echo "capturas: $tarefa importar did not end with FIM" >&2; exit 1; }
done
