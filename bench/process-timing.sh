# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Shared by the whole-process benchmarks: sourced with the build folder and run count as $1 and
# $2, it makes a scratch folder holding heavy.qvd, enters it and defines the timing helpers.

build=${1:-build}
runs=${2:-41}
program=$(realpath "$build/quilvoro")
here=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$here/heavy.qvd" heavy.qvd

# env -u: no display server, as on a build machine
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" render "$@"; }

# median of column $1 (seconds) in milliseconds
median_ms() {
  awk -v c="$1" '{ print $c * 1000 }' | sort -n |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# appends "wall user+sys" in seconds to the file $1
timed() {
  local out=$1
  shift
  local TIMEFORMAT='%3R %3U %3S'
  { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1, $2 + $3 }' >> "$out"
}
