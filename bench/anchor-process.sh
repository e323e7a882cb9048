#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Times the heavy logo drawn by short scripts on general graphics libraries (bench/anchors: Cairo,
# Pillow, ImageMagick) as whole processes, next to `quilvoro render heavy.qvd` at the same scale
# and transparency: median wall and CPU time, least CPU time and median peak memory of many runs,
# as a Markdown table.
# The depth 0 rows are each tool's floor: process start, the text and the PNG, without a shadow.
# Usage: bench/anchor-process.sh [BUILD_DIR] [RUNS]
# TOOLS (environment) picks the tools, "quilvoro cairo pillow imagemagick" by default; BEFORE, a
# second build folder, adds its `quilvoro render` as the tool "before" for a change's own pass.
# FIFO=1 runs every measured command first in line for the processor (chrt -f 10, as root): on a
# host shared with other work the wall time of a process with two threads otherwise says more
# about that work than about the process.
# On a shared machine the CPU times (user + sys) move far less with load than the wall times,
# but still move (other work on the second core slows memory and caches); the least CPU time of
# the runs is the steadiest figure.
set -euo pipefail

before_program=${BEFORE:+$(realpath "$BEFORE/quilvoro")}
# shellcheck source=process-timing.sh
source "$(dirname "$(realpath "$0")")/process-timing.sh"
anchors=$here/anchors
# the same logo without its shadow
sed 's/^Depth=.*/Depth=0/' heavy.qvd > flat.qvd

# sets `words` to the command line of tool $1 drawing the heavy logo at scale $2, opaque or
# transparent ($3), with no shadow when $4 is 0 (heavy.qvd's when empty), into out.png
command_of() {
  local tool=$1 scale=$2 mode=$3 depth=$4
  case $tool in
    quilvoro)
      words=("${render[@]}" "$([ -n "$depth" ] && echo flat || echo heavy).qvd" --scale "$scale")
      [ "$mode" = transparent ] && words+=(--transparent)
      words+=(-o out.png) ;;
    before) words=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM
                   "$before_program" render
                   "$([ -n "$depth" ] && echo flat || echo heavy).qvd" --scale "$scale")
      [ "$mode" = transparent ] && words+=(--transparent)
      words+=(-o out.png) ;;
    cairo) words=("$anchors/cairo-logo.py") ;;
    pillow) words=("$anchors/pillow-logo.py") ;;
    imagemagick) words=("$anchors/imagemagick-logo.sh") ;;
  esac
  [ "$tool" = quilvoro ] || [ "$tool" = before ] || words+=("$scale" "$mode" out.png ${depth:+"$depth"})
}

tools=${TOOLS:-quilvoro cairo pillow imagemagick}
first=()
[ -n "${FIFO:-}" ] && first=(chrt -f 10)
[ -n "$before_program" ] && tools="before $tools"

printf 'machine: %s cores, load average %s at the start\n\n' "$(nproc)" \
  "$(cut -d' ' -f1-3 /proc/loadavg)"
# the least of column $1 (seconds) in milliseconds: the run that other work disturbed least
least_ms() { awk -v c="$1" '{ print $c * 1000 }' | sort -n | head -1; }

echo '| picture | tool | wall ms | CPU ms | least CPU ms | peak MB |'
echo '|---|---|---|---|---|---|'
# the floor of the measurement itself
for _ in $(seq "$runs"); do measured nothing.txt /bin/true; done
printf '| an empty process (/bin/true) | - | %s | %s | %s | %s |\n' "$(median_ms 1 < nothing.txt)" \
  "$(median_ms 2 < nothing.txt)" "$(least_ms 2 < nothing.txt)" "$(median_mb 3 < nothing.txt)"
# scale, mode, depth (empty: heavy.qvd's 200; 0: no shadow)
for case in "1 opaque 0" "4 opaque 0" "1 opaque" "4 opaque" "4 transparent" "8 transparent"; do
  read -r scale mode depth <<< "$case"
  for tool in $tools; do
    command_of "$tool" "$scale" "$mode" "${depth:-}"
    for _ in 1 2; do "${words[@]}" >/dev/null 2>&1; done # warm the caches
    file="$tool $scale $mode ${depth:-200}.txt"
    for _ in $(seq "$runs"); do measured "$file" ${first[@]+"${first[@]}"} "${words[@]}"; done
    printf '| %s× %s, depth %s | %s | %s | %s | %s | %s |\n' "$scale" "$mode" "${depth:-200}" \
      "$tool" "$(median_ms 1 < "$file")" "$(median_ms 2 < "$file")" "$(least_ms 2 < "$file")" \
      "$(median_mb 3 < "$file")"
  done
done
printf '\nmachine: %s cores, load average %s at the end; medians of %d runs\n' "$(nproc)" \
  "$(cut -d' ' -f1-3 /proc/loadavg)" "$runs"
