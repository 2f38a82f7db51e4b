#!/usr/bin/env bash
# Replays every fuzz seed once through its fuzz target (no mutation): the seeds are the damaged,
# hostile and unusual files the readers must survive, so each must end without a sanitizer report.
#   scripts/fuzz-sementes.sh
# fuzz/sementes: workbooks for fuzz_planilha; fuzz/sementes-tabelas: official-table files for
# fuzz_tabelas. Builds the "fuzz" preset (clang) into build/fuzz. Exit status 0 when every seed
# passes.
set -euo pipefail
cd "$(dirname "$0")/.."
SETUP_NO_BUILD=1 scripts/setup.sh
cmake --preset fuzz -DZUV_WERROR="$([ "${ZUV_WERROR:-0}" = 1 ] && echo ON || echo OFF)" >/dev/null
cmake --build --preset fuzz
export ASAN_OPTIONS=${ASAN_OPTIONS:-max_allocation_size_mb=1024:allocator_may_return_null=0}
for par in fuzz_planilha:fuzz/sementes fuzz_tabelas:fuzz/sementes-tabelas; do
  alvo=build/fuzz/fuzz/${par%%:*}
  pasta=${par#*:}
  echo "fuzz-sementes: $(ls "$pasta" | wc -l) seeds through ${par%%:*}"
  "$alvo" -runs=0 -timeout=30 -rss_limit_mb=1024 "$pasta"/* 2>&1 | grep -E '^(==|SUMMARY|ERROR|Executed)' | tail -n 5
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzz-sementes: ${par%%:*} failed" >&2; exit 1; }
done
