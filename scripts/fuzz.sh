#!/usr/bin/env bash
# Runs the workbook fuzz target for a while and reports what it found.
#   scripts/fuzz.sh [seconds]      (default 3600)
# Builds the "fuzz" preset (clang, AddressSanitizer + UndefinedBehaviorSanitizer, libFuzzer) into
# build/fuzz, fuzzes with the seeds of fuzz/sementes and a working corpus in build/fuzz/corpus,
# and writes what it finds (crash-*, leak-*, oom-*, timeout-*, slow-unit-*) to build/fuzz/achados.
# Exit status: 0 nothing found, 1 findings, 2 the build or the fuzzer itself failed.
set -u
cd "$(dirname "$0")/.."
segundos=${1:-3600}
case $segundos in '' | *[!0-9]*) echo "uso: scripts/fuzz.sh [segundos]" >&2; exit 2 ;; esac

if [ ! -f build/fuzz/build.ninja ]; then
  cmake --preset fuzz >/dev/null || { echo "fuzz: configure failed" >&2; exit 2; }
fi
cmake --build --preset fuzz || { echo "fuzz: build failed" >&2; exit 2; }

alvo=build/fuzz/fuzz/fuzz_planilha
corpus=build/fuzz/corpus
achados=build/fuzz/achados
mkdir -p "$corpus" "$achados"
antes=$(ls "$achados" | wc -l)
log=build/fuzz/ultimo.log
echo "fuzz: $segundos s with $(ls fuzz/sementes | wc -l) seeds; log in $log"

# Every reader runs in this process: an allocation past 1 GiB, or RSS past it, is a finding.
"$alvo" -max_total_time="$segundos" -timeout=10 -rss_limit_mb=1024 \
  -dict=fuzz/planilha.dict -artifact_prefix="$achados/" -print_final_stats=1 \
  "$corpus" fuzz/sementes >"$log" 2>&1
estado=$?

execucoes=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
novos=$(($(ls "$achados" | wc -l) - antes))
echo "fuzz: exit status $estado, ${execucoes:-?} executions, corpus $(ls "$corpus" | wc -l) files," \
  "$novos new findings in $achados"
grep -E '^(==[0-9]+==|SUMMARY|ERROR|INFO: a leak)' "$log" | head -20
if [ "$novos" -gt 0 ]; then
  ls -t "$achados" | head -"$novos" | sed 's/^/  /'
  exit 1
fi
[ "$estado" -eq 0 ] || exit 2
exit 0
