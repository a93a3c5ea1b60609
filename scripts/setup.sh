#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages vork needs to build, run and test, when missing.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-image-formats-plugins
          libgl-dev fonts-liberation xvfb xauth libgtest-dev libgmock-dev
          libbenchmark-dev x11-apps x11-utils imagemagick libstb-dev libgif-dev
          libimagequant-dev libwebp-dev clang libclang-rt-dev clang-format desktop-file-utils appstream file
          fakeroot dpkg-dev xdotool)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
