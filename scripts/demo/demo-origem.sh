#!/usr/bin/env bash
# Creates the second demo database, a door and hardware shop's VENDAS.FDB, as the origin of the
# database-to-database copy ("Importa Outro Banco ZUV"):
#   scripts/demo/demo-origem.sh <database file>      e.g. demo/DADOS/VENDAS_PORTAS.FDB
# An existing file is replaced. Needs isql-fb, iconv and Debian's python3.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/../.." && pwd)"
banco="$1"
mkdir -p "$(dirname "$banco")"
banco="$(cd "$(dirname "$banco")" && pwd)/$(basename "$banco")"
rm -f "$banco"
trabalho="$(mktemp -d)"
trap 'rm -rf "$trabalho"' EXIT
/usr/bin/python3 "$raiz/scripts/demo/demo_origem.py" "$trabalho"
{
  echo "CREATE DATABASE '$banco' USER 'SYSDBA' PASSWORD 'quartzine' PAGE_SIZE 8192 DEFAULT CHARACTER SET NONE;"
  echo "SET BAIL ON;"
  echo "INPUT '$raiz/tests/fixtures/zuv_schema.sql';"
  iconv -f UTF-8 -t WINDOWS-1252 "$trabalho/demo_origem.sql"
} >"$trabalho/cria.sql"
isql-fb -q -m -ch NONE -i "$trabalho/cria.sql"
echo "demo-origem: origin database $banco"
