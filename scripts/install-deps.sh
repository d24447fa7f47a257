#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Uses sudo only when not already root. Does nothing when all are present.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev libqt6sql6-sqlite libgl-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  mdbtools-dev mdbtools
  xvfb xauth poppler-utils fonts-dejavu-core
  libxlsxwriter-dev unzip desktop-file-utils appstream file
  libqrencode-dev zbar-tools
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
