#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Times `quilvoro render` writing vectors as whole processes (medians of many runs) and reports
# the files' sizes: the heavy logo as SVG and PDF, and the same text as a deep single-colour
# extrusion as SVG; beside them, in the same pass, a short Cairo script writing the heavy logo as
# stacked glyph copies (bench/anchors/cairo-stacked.py), and poppler drawing each heavy PDF at 4×.
# Usage: bench/vector-process.sh [BUILD_DIR] [RUNS]
# As for render-process.sh, wall times mean something only on an idle machine; the CPU times
# (user + sys) are what load does not change.
set -euo pipefail

# shellcheck source=process-timing.sh
source "$(dirname "$(realpath "$0")")/process-timing.sh"
sed 's/^Shadow3=1/Shadow2=1/' heavy.qvd > deep.qvd
# the heavy logo with three rings, a gradient, a blurred gradation shadow and a glow
{ cat heavy.qvd; printf '%s\n' Edge1Width=4 Edge1Color=16777215 Edge2Width=4 Edge2Color=0 \
    Edge3Width=3 Edge3Color=65535 Fill=1 FillColor2=2139610 FillAngle=90 ShadowBlur=6 \
    GlowSize=16 GlowColor=16776960 GlowOpacity=70; } > decorated.qvd
stacked=$here/anchors/cairo-stacked.py

# times the command after $1 (a label) and prints its medians and the size of file $2
measure() {
  local label=$1 output=$2
  shift 2
  for _ in 1 2 3; do "$@" >/dev/null 2>&1; done # warm the caches
  rm -f times.txt
  for _ in $(seq "$runs"); do timed times.txt "$@"; done
  printf '%s: median %s ms wall, %s ms CPU, %s bytes, over %d runs\n' "$label" \
    "$(median_ms 1 < times.txt)" "$(median_ms 2 < times.txt)" "$(stat -c %s "$output")" "$runs"
}

for case in "heavy.qvd out.svg" "heavy.qvd out.pdf" "deep.qvd deep.svg" "heavy.qvd out.png" \
  "decorated.qvd decorated.svg" "decorated.qvd decorated.pdf"; do
  read -r input output <<< "$case"
  measure "quilvoro render $input -o $output" "$output" run "$input" -o "$output"
done
for output in stacked.svg stacked.pdf; do
  measure "cairo-stacked.py 1 opaque $output" "$output" "$stacked" 1 opaque "$output"
done
# drawn only (a PPM is written as it stands), and written as PNG, which costs poppler more than
# the drawing
for pdf in out.pdf stacked.pdf; do
  measure "pdftoppm -r 288 $pdf (4×), PPM" drawn.ppm pdftoppm -singlefile -r 288 "$pdf" drawn
  measure "pdftoppm -r 288 $pdf (4×), PNG" drawn.png pdftoppm -png -singlefile -r 288 "$pdf" drawn
done
printf 'machine: %s cores, load average %s\n' "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)"
