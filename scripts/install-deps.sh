#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages that Quilvoro needs to build, run, test and benchmark.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config make
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcanberra-dev
  libbenchmark-dev
  fonts-ipafont-gothic fonts-dejavu-core
  sound-theme-freedesktop
  qt6-wayland
  qt6-translations-l10n
  desktop-file-utils libxml2-utils appstream shared-mime-info dpkg-dev
  clang-format clang
  qt6-image-formats-plugins
  ccache
  libpolyclipping-dev libharfbuzz-dev libpng-dev zlib1g-dev libdeflate-dev pkg-config
  librsvg2-bin poppler-utils mupdf-tools ghostscript chromium inkscape
  tumbler dbus dbus-daemon libglib2.0-bin xvfb openbox x11-utils xdotool
  reuse
  time
  python3-cairo python3-pil imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
