#!/usr/bin/env bash
# Installs (only when missing) every Debian package the project needs, then
# configures and builds. Safe to run again. Must run as root on Debian 12.
#   scripts/setup.sh [preset]      preset: debug (default), release, asan
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake ninja-build pkg-config git clang-format
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server
  libxlsxwriter-dev libzip-dev libexpat1-dev libcurl4-openssl-dev
  qt6-base-dev libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  python3-openpyxl libreoffice-calc-nogui xvfb xauth
  clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  # The server package's scripts must not wait for answers or start a service.
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ "${SETUP_NO_BUILD:-0}" = 1 ]; then exit 0; fi
preset="${1:-debug}"
# ZUV_WERROR=1 (CI) makes every warning an error.
cmake --preset "$preset" -DZUV_WERROR="$([ "${ZUV_WERROR:-0}" = 1 ] && echo ON || echo OFF)" >/dev/null
cmake --build --preset "$preset"
