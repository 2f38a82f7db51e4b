#!/usr/bin/env bash
# Runs a test program of the sanitizer build. LeakSanitizer's stop-the-world step at exit sometimes
# crashes on its own ("Tracer caught signal 11", in its scan of the threads' dynamic TLS while the
# Firebird engine's threads end), after every test has passed. Such a run is repeated, at most
# twice, with the threads' TLS left out of the scan (use_tls=0; the engine's own allocations are
# suppressed anyway). Test failures and leak reports are never repeated.
tracer_caiu() {
  grep -q 'Tracer caught signal' "$1" && grep -q 'LeakSanitizer has encountered a fatal error' "$1" &&
    grep -q '^\[  PASSED  \]' "$1" && ! grep -q -E '^\[  FAILED  \]|ERROR: (Leak|Address|Undefined)' "$1"
}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$@" >"$out" 2>&1
rc=$?
cat "$out"
for _ in 1 2; do
  [ "$rc" -ne 0 ] && tracer_caiu "$out" || break
  echo "relanca-se-lsan-falhar: LeakSanitizer's tracer crashed after the tests passed; running once more without TLS in its scan"
  LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}use_tls=0" "$@" >"$out" 2>&1
  rc=$?
  cat "$out"
done
exit "$rc"
