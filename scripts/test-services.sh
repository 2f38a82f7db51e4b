#!/usr/bin/env bash
# Sourced by scripts/test.sh. Starts Debian's Firebird server on 127.0.0.1 for the tests that open
# a database a live server holds, and stops exactly the processes it started.
#   zuv_start_services   starts fbguard + firebird, exports ZUV_TEST_SERVIDOR=127.0.0.1
#   zuv_stop_services    stops them again (by pid)
# Without root, without the server package, or with a server already listening on port 3050, the
# server tests are skipped (ZUV_TEST_SERVIDOR stays unset).

ZUV_FB_RUN=/run/firebird3.0
ZUV_FB_PIDFILE=$ZUV_FB_RUN/zuv-test-fbguard.pid
ZUV_FB_GUARD_PID=""
ZUV_FB_SERVER_PID=""

zuv_porta_firebird_aberta() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

zuv_start_services() {
  if [ "$(id -u)" -ne 0 ] || [ ! -x /usr/sbin/fbguard ] || ! id firebird >/dev/null 2>&1; then
    echo "test-services: Firebird server not started (needs root and firebird3.0-server); server tests skip" >&2
    return 0
  fi
  if zuv_porta_firebird_aberta; then
    echo "test-services: something already listens on 127.0.0.1:3050; server tests skip" >&2
    return 0
  fi
  # The connection strings carry SYSDBA/quartzine; set it in the security database (embedded
  # access, as the firebird user so that every file the engine touches stays the server's).
  if ! echo "create or alter user SYSDBA password 'quartzine'; commit;" |
    su firebird -s /bin/sh -c "isql-fb -q -user SYSDBA /var/lib/firebird/3.0/system/security3.fdb" >&2; then
    echo "test-services: could not set the SYSDBA password; server tests skip" >&2
    return 0
  fi
  mkdir -p "$ZUV_FB_RUN" && chown firebird:firebird "$ZUV_FB_RUN"
  rm -f "$ZUV_FB_PIDFILE"
  su firebird -s /bin/sh -c "/usr/sbin/fbguard -daemon -forever -pidfile $ZUV_FB_PIDFILE"
  local i
  for i in $(seq 1 100); do
    if [ -s "$ZUV_FB_PIDFILE" ] && zuv_porta_firebird_aberta; then break; fi
    sleep 0.1
  done
  # fbguard writes its server's pid to the pid file; the guard is that process's parent.
  ZUV_FB_SERVER_PID=$(cat "$ZUV_FB_PIDFILE" 2>/dev/null || true)
  if [ -n "$ZUV_FB_SERVER_PID" ]; then
    ZUV_FB_GUARD_PID=$(ps -o ppid= -p "$ZUV_FB_SERVER_PID" 2>/dev/null | tr -d ' ' || true)
    [ "$(ps -o comm= -p "${ZUV_FB_GUARD_PID:-0}" 2>/dev/null)" = fbguard ] || ZUV_FB_GUARD_PID=""
  fi
  if [ -z "$ZUV_FB_SERVER_PID" ] || ! zuv_porta_firebird_aberta; then
    echo "test-services: the Firebird server did not start; server tests skip" >&2
    zuv_stop_services
    return 0
  fi
  export ZUV_TEST_SERVIDOR=127.0.0.1
  echo "test-services: Firebird server on 127.0.0.1:3050 (fbguard $ZUV_FB_GUARD_PID, firebird $ZUV_FB_SERVER_PID)" >&2
}

zuv_stop_services() {
  local pid i
  # fbguard stops its server when told to end; the server's own pid is waited for as well.
  for pid in $ZUV_FB_GUARD_PID $ZUV_FB_SERVER_PID; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in $ZUV_FB_GUARD_PID $ZUV_FB_SERVER_PID; do
    for i in $(seq 1 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
  done
  [ -n "$ZUV_FB_GUARD_PID" ] && rm -f "$ZUV_FB_PIDFILE"
  ZUV_FB_GUARD_PID=""
  ZUV_FB_SERVER_PID=""
  unset ZUV_TEST_SERVIDOR
}
