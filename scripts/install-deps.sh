#!/usr/bin/env bash
# Installs the Debian packages the project needs that are missing.
# Usage: scripts/install-deps.sh [bench]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev
  googletest libgtest-dev
  xvfb xauth x11-utils imagemagick
  fonts-wqy-zenhei
  locales xdg-utils
)
if [[ "${1:-}" == bench ]]; then
  packages+=(fd-find hyperfine findutils bc)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
