#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo program folder (zuv.ini + VENDAS.FDB with a small
# catalogue and clientes.xlsx) and runs the main job on it with the embedded engine (no server).
#   scripts/demo.sh [folder]      folder: where the demo program folder goes (default: ./demo)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh debug
bin=build/debug/src/importadorzuv
"$bin" --help
