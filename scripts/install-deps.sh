#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12; quiet when all is there.
set -euo pipefail

packages=(cmake make g++ googletest g++-mingw-w64-x86-64 wine wine64 xvfb xauth x11-utils
          fonts-liberation fonts-wine faketime imagemagick zip)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
