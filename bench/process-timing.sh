# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash

# Shared by the whole-process benchmarks: sourced with the build folder and run count as $1 and
# $2, it makes a scratch folder holding heavy.qvd, enters it and defines the timing helpers.

build=${1:-build}
# shellcheck disable=SC2034 # read by the scripts that source this one
runs=${2:-41}
program=$(realpath "$build/quilvoro")
here=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit
cp "$here/heavy.qvd" heavy.qvd

# `quilvoro render` with no display server, as on a build machine
render=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" render)
run() { "${render[@]}" "$@"; }

# median of column $1 as it stands (no unit change)
median() {
  awk -v c="$1" '{ print $c }' | sort -n |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# median of column $1 (seconds) in milliseconds
median_ms() { awk -v c="$1" '{ print $c * 1000 }' | median 1; }

# median of column $1 (KiB) in whole MB
median_mb() { median "$1" | awk '{ printf "%.0f", $1 / 1024 }'; }

# runs the command after $1 and appends "wall CPU peak-KiB" (seconds, seconds, KiB) to the file
# $1. /usr/bin/time gives the peak memory but reads its clocks in hundredths; bash's `time` around
# it reads milliseconds (and counts /usr/bin/time's own millisecond or two).
measured() {
  local out=$1
  shift
  local TIMEFORMAT='%3R %3U %3S'
  { time /usr/bin/time -f %M -o "$work/peak.txt" "$@" >/dev/null 2>&1; } 2> "$work/clock.txt"
  awk -v peak="$(cat "$work/peak.txt")" '{ print $1, $2 + $3, peak }' "$work/clock.txt" >> "$out"
}

# appends "wall user+sys" in seconds to the file $1
timed() {
  local out=$1
  shift
  local TIMEFORMAT='%3R %3U %3S'
  { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1, $2 + $3 }' >> "$out"
}
