#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks the Debian package that `make package` built in BUILD (default: build): its control
# data has computed library dependencies and the run-time packages, and it holds every file
# listed in tests/packaging/installed-files.txt (paths under the install prefix, here /usr).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
deb=$(ls -t "$build"/quilvoro_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "no package in $build; run make package" >&2; exit 1; }

status=0
fail() { echo "FAIL: $*" >&2; status=1; }

info=$(dpkg-deb --info "$deb")
echo "$info"
# The package names of Depends, one a line, without versions.
depends=$(dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for dep in libqt6widgets6 libqt6gui6 libqt6core6 libcanberra0 libc6 libstdc++6 \
           fonts-ipafont-gothic sound-theme-freedesktop qt6-translations-l10n; do
  grep -qxF "$dep" <<<"$depends" || fail "Depends lacks $dep"
done

contents=$(dpkg-deb --contents "$deb")
echo "$contents"
while read -r path; do
  [ -z "$path" ] || [[ $path == \#* ]] && continue
  grep -qE " \./usr/${path//./\\.}( |$)" <<<"$contents" || fail "package lacks /usr/$path"
done < tests/packaging/installed-files.txt

[ $status -eq 0 ] && echo "package-check: $deb is complete"
exit $status
