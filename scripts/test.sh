#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh [preset]      preset: debug (default), asan, release
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
scripts/setup.sh "$preset"
if [ -x scripts/check-format.sh ]; then scripts/check-format.sh; fi
# Services some tests need (a Firebird server on 127.0.0.1); stopped again when the tests end.
if [ -x scripts/test-services.sh ]; then
  # shellcheck disable=SC1091
  source scripts/test-services.sh
  trap zuv_stop_services EXIT
  zuv_start_services
fi
ctest --preset "$preset"
# The demo folder script checks what it made; run it once into a scratch folder.
demo="$(mktemp -d)"
scripts/demo-data.sh "$demo" >/dev/null
rm -rf "$demo"
