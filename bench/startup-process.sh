#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Start-up is most of a thumbnail: times `quilvoro render heavy.qvd` at scale 1 beside the
# minimal Qt program that loads a face, draws one glyph and writes a 1 x 1 PNG (floor/), and
# `quilvoro --version`, interleaved, as whole processes; CPU medians, which load moves least.
# Usage: bench/startup-process.sh [BUILD_DIR] [RUNS] [OTHER_QUILVORO]
# OTHER_QUILVORO, when given, is timed beside as well (an older build, say).
set -euo pipefail

source "$(dirname "$(realpath "$0")")/process-timing.sh"
floor=$(realpath "$build/bench/minimal-qt-floor")
other=${3:-}

for _ in 1 2 3; do run heavy.qvd -o out.png; "$floor" floor.png; done # warm the caches
for _ in $(seq "$runs"); do
  timed floor.txt env -u DISPLAY -u WAYLAND_DISPLAY "$floor" floor.png
  timed render.txt run heavy.qvd -o out.png
  timed version.txt "$program" --version
  [ -z "$other" ] || timed other.txt env -u DISPLAY -u WAYLAND_DISPLAY "$other" render heavy.qvd -o out.png
done
floor_ms=$(median_ms 2 < floor.txt)
render_ms=$(median_ms 2 < render.txt)
printf 'minimal Qt floor: %s ms CPU\n' "$floor_ms"
printf 'quilvoro render heavy.qvd (scale 1): %s ms CPU, %s x the floor\n' "$render_ms" \
  "$(awk -v a="$render_ms" -v b="$floor_ms" 'BEGIN { printf "%.2f", a / b }')"
printf 'quilvoro --version: %s ms CPU\n' "$(median_ms 2 < version.txt)"
[ -z "$other" ] || printf '%s render heavy.qvd: %s ms CPU\n' "$other" "$(median_ms 2 < other.txt)"
printf 'over %d runs; machine: %s cores, load average %s\n' "$runs" "$(nproc)" \
  "$(cut -d' ' -f1-3 /proc/loadavg)"
