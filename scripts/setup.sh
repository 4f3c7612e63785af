#!/usr/bin/env bash
# Installs, through apt-get, the Debian packages that building and testing
# need and that are missing. Safe to run again; needs root when something is
# missing.
set -euo pipefail
packages=(
  cmake make g++ pkg-config clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core libpng-dev libsdl2-dev libx11-dev
  xvfb xdotool x11-apps xxd
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
