#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Times `quilvoro render` as whole processes, as a script or a thumbnailer runs it:
#   one heavy logo to PNG at scale 1, 4 and 4 transparent and 8 transparent (median wall and CPU
#   time and peak memory of many runs), and a batch of 200 files on 1 and 2 threads.
# Usage: bench/render-process.sh [BUILD_DIR] [RUNS]
# Wall times mean something only on an idle machine; on a shared one, run it as root under
# `chrt -f 10` so that other work waits, and compare the CPU times, which load does not change.
set -euo pipefail

source "$(dirname "$(realpath "$0")")/process-timing.sh"

for _ in 1 2 3; do run heavy.qvd -o out.png; done # warm the caches
for options in "" "--scale 4" "--scale 4 --transparent" "--scale 8 --transparent"; do
  file="single ${options}.txt"
  # shellcheck disable=SC2086 # the options are words
  for _ in $(seq "$runs"); do measured "$file" "${render[@]}" heavy.qvd $options -o out.png; done
  printf 'quilvoro render heavy.qvd %s: median %s ms wall, %s ms CPU, %s MB peak, over %d runs\n' \
    "${options:-(scale 1)}" "$(median_ms 1 < "$file")" "$(median_ms 2 < "$file")" \
    "$(median_mb 3 < "$file")" "$runs"
done

mkdir -p batch
for i in $(seq -w 1 200); do
  sed "s/^Label=.*/Label=Heavy $i/" heavy.qvd > "batch/heavy$i.qvd"
done
for jobs in 1 2; do
  for _ in 1 2 3; do
    rm -rf out
    timed "batch$jobs.txt" run -d out -j "$jobs" batch/*.qvd
  done
  wall=$(median_ms 1 < "batch$jobs.txt")
  printf 'batch of 200 files, -j %d: median %s ms wall (%s ms per file), %s ms CPU\n' "$jobs" \
    "$wall" "$(awk -v w="$wall" 'BEGIN { printf "%.2f", w / 200 }')" "$(median_ms 2 < "batch$jobs.txt")"
done
printf 'speed-up of -j 2 over -j 1: %s\n' "$(awk -v a="$(median_ms 1 < batch1.txt)" \
  -v b="$(median_ms 1 < batch2.txt)" 'BEGIN { printf "%.2f", a / b }')"
printf 'machine: %s cores, load average %s\n' "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)"
