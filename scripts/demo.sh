#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo program folder (zuv.ini + DADOS/VENDAS.FDB with a
# small catalogue and customers, clientes.xlsx and a produto.xlsx of a few thousand supermarket rows)
# and runs the main job on it: the product import, then the customer import, with the embedded
# engine (no server). Shows the catalogue and the customers before and after.
#   scripts/demo.sh [folder]      folder: where the demo program folder goes (default: ./demo)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh debug
bin=build/debug/src/importadorzuv
pasta="${1:-demo}"
scripts/demo-data.sh "$pasta"
pasta="$(cd "$pasta" && pwd)"
/usr/bin/python3 scripts/demo/produtos_demo.py "$pasta"

catalogo() {
  echo "select count(*) as ITENS, max(IDITEMPRODUTO) as ULTIMO_ID, count(distinct IDNCM) as NCMS from PRODUTOESTOQUE;" |
    isql-fb -q -u SYSDBA -p quartzine -ch NONE "$pasta/DADOS/VENDAS.FDB"
}
echo "== Before the product import"
catalogo
echo "== importadorzuv produtos importar --todos --pasta-programa $pasta"
"$bin" produtos importar --todos --pasta-programa "$pasta"
echo "== After the product import"
catalogo

clientes() {
  echo "select count(*) as CLIENTES, max(IDCLIENTE) as ULTIMO_ID from CLIENTE;" |
    isql-fb -q -u SYSDBA -p quartzine -ch NONE "$pasta/DADOS/VENDAS.FDB"
}
echo "== Before the import"
clientes
echo "== importadorzuv clientes importar --sim --pasta-programa $pasta"
"$bin" clientes importar --sim --pasta-programa "$pasta"
echo "== After the import"
clientes
echo "select first 8 IDCLIENTE, PF, CLIENTE, CIDADE, ESTADO, CPF, CGC from CLIENTE order by IDCLIENTE desc;" |
  isql-fb -q -u SYSDBA -p quartzine -ch NONE "$pasta/DADOS/VENDAS.FDB" | iconv -f WINDOWS-1252 -t UTF-8
