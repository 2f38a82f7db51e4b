#!/usr/bin/env bash
# Creates a demo program folder for ImportadorZUV: zuv.ini, DADOS/VENDAS.FDB (the ZUV schema
# with a small supermarket catalogue, customers and one invoiced sale), clientes.xlsx, fornecedor.XLS
# and a SYSPDV database BancoOrigem/syspdv_srv.fdb.
#   scripts/demo-data.sh [folder]        folder: default ./demo in the repository
# Running it again re-creates the folder. Needs isql-fb (firebird3.0-utils), iconv and
# Debian's python3-openpyxl.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="${1:-$raiz/demo}"
mkdir -p "$pasta"
pasta="$(cd "$pasta" && pwd)"

# Only a folder this script made (or an empty one) is replaced.
if [ -n "$(ls -A "$pasta")" ] && [ ! -f "$pasta/.zuv-demo" ]; then
  echo "demo-data: $pasta is not empty and was not made by this script; choose another folder" >&2
  exit 2
fi
find "$pasta" -mindepth 1 -delete
mkdir -p "$pasta/DADOS"
touch "$pasta/.zuv-demo"

trabalho="$(mktemp -d)"
trap 'rm -rf "$trabalho"' EXIT
# Debian's interpreter, which has openpyxl (a python3 earlier on PATH may not).
/usr/bin/python3 "$raiz/scripts/demo/demo_data.py" "$trabalho"
mv "$trabalho/clientes.xlsx" "$pasta/"

# The ZUV system keeps texts as Windows-1252 bytes in a database of character set NONE.
banco="$pasta/DADOS/VENDAS.FDB"
{
  echo "CREATE DATABASE '$banco' USER 'SYSDBA' PASSWORD 'quartzine' PAGE_SIZE 8192 DEFAULT CHARACTER SET NONE;"
  echo "SET BAIL ON;"
  echo "INPUT '$raiz/tests/fixtures/zuv_schema.sql';"
  iconv -f UTF-8 -t WINDOWS-1252 "$trabalho/demo_data.sql"
  iconv -f UTF-8 -t WINDOWS-1252 "$raiz/scripts/demo/tributos_demo.sql"
} >"$trabalho/cria.sql"
isql-fb -q -m -ch NONE -i "$trabalho/cria.sql"
"$raiz/scripts/demo/demo-origem.sh" "$pasta/DADOS/VENDAS_PORTAS.FDB"  # origin of "Importa Outro Banco ZUV"

printf '%s\r\n' "$pasta/DADOS" >"$pasta/zuv.ini"

# The standard migration's sources: fornecedor.XLS and a SYSPDV database in BancoOrigem.
mv "$trabalho/fornecedor.XLS" "$pasta/"
mkdir -p "$pasta/BancoOrigem"
{
  echo "CREATE DATABASE '$pasta/BancoOrigem/syspdv_srv.fdb' USER 'SYSDBA' PASSWORD 'quartzine' DEFAULT CHARACTER SET NONE;"
  echo "SET BAIL ON;"
  echo "INPUT '$raiz/tests/fixtures/syspdv_schema.sql';"
  iconv -f UTF-8 -t WINDOWS-1252 "$trabalho/syspdv_data.sql"
} >"$trabalho/syspdv.sql"
isql-fb -q -m -ch NONE -i "$trabalho/syspdv.sql"
# The folder must hold what the demo and the README promise: hundreds of stock items, 30 customers
# stored one byte per character, and customer 2 with an invoice (the customer deletion keeps it).
achado=$(printf '%s\n' "set heading off;" \
  "select iif(count(*) >= 300, 'S', 'N') || '|' || (select count(*) from CLIENTE) || '|' ||
     (select octet_length(CLIENTE) from CLIENTE where IDCLIENTE = 2) || '|' ||
     (select count(*) from NFSAIDA where IDCLIENTE = 2) from PRODUTOESTOQUE;" |
  isql-fb -q -ch NONE -u SYSDBA -p quartzine "$banco" | tr -d ' \r\n')
if [ "$achado" != "S|30|29|1" ]; then
  echo "demo-data: the demo database is not as expected ($achado instead of S|30|29|1)" >&2
  exit 1
fi
echo "demo-data: program folder $pasta (zuv.ini -> $pasta/DADOS, VENDAS.FDB, clientes.xlsx, fornecedor.XLS, BancoOrigem/syspdv_srv.fdb)"
