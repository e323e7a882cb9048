#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Times `quilvoro render` writing vectors as whole processes (medians of many runs) and reports
# the files' sizes: the heavy logo as SVG and PDF, and the same text as a deep single-colour
# extrusion as SVG. Usage: bench/vector-process.sh [BUILD_DIR] [RUNS]
# As for render-process.sh, wall times mean something only on an idle machine; the CPU times
# (user + sys) are what load does not change.
set -euo pipefail

source "$(dirname "$(realpath "$0")")/process-timing.sh"
sed 's/^Shadow3=1/Shadow2=1/' heavy.qvd > deep.qvd

for case in "heavy.qvd out.svg" "heavy.qvd out.pdf" "deep.qvd deep.svg" "heavy.qvd out.png"; do
  read -r input output <<< "$case"
  for _ in 1 2 3; do run "$input" -o "$output"; done # warm the caches
  rm -f times.txt
  for _ in $(seq "$runs"); do timed times.txt run "$input" -o "$output"; done
  printf 'quilvoro render %s -o %s: median %s ms wall, %s ms CPU, %s bytes, over %d runs\n' \
    "$input" "$output" "$(median_ms 1 < times.txt)" "$(median_ms 2 < times.txt)" \
    "$(stat -c %s "$output")" "$runs"
done
printf 'machine: %s cores, load average %s\n' "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)"
