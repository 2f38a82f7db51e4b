#!/usr/bin/env bash
# Runs a test program of the sanitizer build. LeakSanitizer's stop-the-world step at exit sometimes
# crashes on its own ("Tracer caught signal 11", in its scan of the threads' dynamic TLS while the
# Firebird engine's threads end), after every test has passed. Such a run is repeated: first as it
# was, then with the threads' TLS left out of the scan (use_tls=0), where what GLib and the loader
# keep only in TLS is suppressed too (lsan-sem-tls.supp). Test failures and leak reports are never
# repeated.
aqui=$(cd "$(dirname "$0")" && pwd)
tracer_caiu() {
  grep -q 'Tracer caught signal' "$1" && grep -q 'LeakSanitizer has encountered a fatal error' "$1" &&
    grep -q '^\[  PASSED  \]' "$1" && ! grep -q -E '^\[  FAILED  \]|ERROR: (Leak|Address|Undefined)' "$1"
}
out=$(mktemp)
supp=$(mktemp)
trap 'rm -f "$out" "$supp"' EXIT
cat "$aqui/lsan.supp" "$aqui/lsan-sem-tls.supp" >"$supp"
"$@" >"$out" 2>&1
rc=$?
cat "$out"
for opcoes in "${LSAN_OPTIONS:-}" "${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$supp:use_tls=0"; do
  [ "$rc" -ne 0 ] && tracer_caiu "$out" || break
  echo "relanca-se-lsan-falhar: LeakSanitizer's tracer crashed after the tests passed; running once more (LSAN_OPTIONS=$opcoes)"
  LSAN_OPTIONS="$opcoes" "$@" >"$out" 2>&1
  rc=$?
  cat "$out"
done
exit "$rc"
