#!/usr/bin/env bash
# Installs what building, running and testing mapswitch needs on a Debian machine.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libfltk1.3-dev libx11-dev libminizip-dev zlib1g-dev libopencc-dev libopencc-data libssl-dev
  libgtest-dev libbenchmark-dev
  fonts-wqy-microhei
  xvfb xdotool x11-utils imagemagick python3 python3-xlib
  zip unzip nginx-light
)
command -v node >/dev/null 2>&1 || packages+=(nodejs)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_if_needed=()
  [ "$(id -u)" = 0 ] || sudo_if_needed=(sudo)
  "${sudo_if_needed[@]}" apt-get update -qq
  "${sudo_if_needed[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
