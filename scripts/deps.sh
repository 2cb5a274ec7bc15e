#!/usr/bin/env bash
# Installs the Debian packages Vorsal needs to build, test and run, when any
# is missing. Uses sudo when not root. With --fuzz, also what the fuzzing
# build needs (clang with its sanitizer and libFuzzer runtimes).
set -euo pipefail
PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-charts-dev
  libqt6opengl6-dev qt6-translations-l10n libsqlcipher-dev sqlcipher libfreexl-dev
  libquazip1-qt6-dev libgtest-dev libbenchmark-dev xvfb xauth fontconfig fonts-dejavu-core
  desktop-file-utils appstream)
if [ "${1:-}" = "--fuzz" ]; then
  PACKAGES+=(clang libclang-rt-dev)
fi
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Instalando: ${missing[*]}"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
