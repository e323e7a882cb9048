#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Times `quilvoro render` on logo files built to be slow, as whole processes: the longest label
# of "W" at size 200 with a deep shadow of 200, straight and under every warp at 100; emoji around
# a circle; 表 under a bulge; long gradation and deep logos; long right-to-left labels; and two
# 5792 x 5792 pictures; and the same "W" label of 1 024 characters. Each goes to a PNG thumbnail
# (--size 256), SVG and PDF, and is shown in the window (quilvoro-snap --load: start, load, lay
# out, paint, write the picture); the CPU time (user + sys) and peak memory of each process are
# printed, one line each.
# Usage: bench/hostile-process.sh [BUILD_DIR] [SECONDS] [PATTERN]
# A process is stopped after SECONDS (120 unless given) and reported as such; PATTERN (an
# extended regular expression) picks the files and outputs ("wide-warp4.qvd png") to run.
set -euo pipefail

source "$(dirname "$(realpath "$0")")/process-timing.sh" "${1:-build}" 1
TIMEFORMAT='%3U %3S'
limit=${2:-120}
pattern=${3:-.}

# logo FILE LABEL-TEXT [KEY=VALUE ...]: a UTF-8 logo file
logo() {
  local file=$1 text=$2
  shift 2
  { printf '\xEF\xBB\xBF[SET]\nLabel=%s\n' "$text"; printf '%s\n' "$@"; } > "$file"
}
repeat() { python3 -c 'import sys; print((sys.argv[1] * int(sys.argv[2]))[:int(sys.argv[2])], end="")' "$1" "$2"; }

wide=$(repeat W 32767)
deep=(Size=200 Depth=200 Shadow2=1 WarpAmount=100)
for warp in 0 1 2 3 4 5 6 7 8 9; do logo "wide-warp$warp.qvd" "$wide" "${deep[@]}" "Warp=$warp"; done
for warp in 0 4 6 8; do
  logo "wide1024-warp$warp.qvd" "$(repeat W 1024)" "${deep[@]}" "Warp=$warp"
done
logo emoji-circle.qvd "$(repeat $'\U0001F600' 16383)" Size=120 Warp=3 WarpAmount=100
logo kanji-bulge.qvd "$(repeat 表 32767)" Size=200 Warp=6 WarpAmount=100
logo gradation-1000.qvd "$(repeat 'Quilvoro ' 1000)" Size=100 Depth=200 Shadow3=1
logo gradation-32767.qvd "$(repeat 'Quilvoro ' 32767)" Size=100 Depth=200 Shadow3=1
logo deep-32767.qvd "$(repeat 'Quilvoro ' 32767)" Size=100 Depth=200 Shadow2=1
logo hebrew-1025.qvd "$(repeat 'שלום עולם ' 1025)" Size=60 Depth=20 Shadow2=1
logo hebrew-32767.qvd "$(repeat 'שלום עולם ' 32767)" Size=60 Depth=20 Shadow2=1
python3 - <<'EOF'
import struct
def bmp(name, side, seed):
    stride = (side * 3 + 3) // 4 * 4
    row = bytes((x * seed + y) & 255 for y in range(3) for x in range(side))[:side * 3]
    with open(name, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 54 + stride * side, 0, 0, 54))
        f.write(struct.pack('<IiiHHIIiiII', 40, side, side, 1, 24, 0, stride * side, 3780, 3780, 0, 0))
        line = row + bytes(stride - side * 3)
        for _ in range(side):
            f.write(line)
bmp('texture.bmp', 5792, 3)
bmp('background.bmp', 5792, 7)
EOF
logo pictures.qvd "Quilvoro" Size=120 Image1=texture.bmp Image2=background.bmp

printf '%-22s %-4s %8s %8s\n' file out 'CPU s' 'peak MB'
for input in wide-warp{0..9}.qvd wide1024-warp{0,4,6,8}.qvd emoji-circle.qvd kanji-bulge.qvd gradation-1000.qvd \
  gradation-32767.qvd deep-32767.qvd hebrew-1025.qvd hebrew-32767.qvd pictures.qvd; do
  for out in png svg pdf window; do
    [[ "$input $out" =~ $pattern ]] || continue
    file="out.$out"
    if [ "$out" = window ]; then
      file=window.png
      command=(env QT_QPA_PLATFORM=offscreen "$(dirname "$program")/quilvoro-snap" --load "$input"
        "$file")
    else
      command=("${render[@]}" "$input" -o "$file")
      [ "$out" = png ] && command+=(--size 256)
    fi
    status=0
    { time /usr/bin/time -f %M -o peak.txt timeout "$limit" "${command[@]}" > /dev/null 2>&1; } \
      2> clock.txt || status=$?
    cpu=$(awk '{ print $1 + $2 }' clock.txt)
    peak=$(tail -n 1 peak.txt)
    note=""
    [ "$status" = 0 ] || note="(exit $status)"
    [ "$status" = 124 ] && note="(stopped after $limit s)"
    [ -s "$file" ] || note="$note (no output)"
    printf '%-22s %-4s %8.2f %8.0f %s\n' "$input" "$out" "$cpu" "$((peak / 1024))" "$note"
    rm -f "$file"
  done
done
printf 'machine: %s cores, load average %s\n' "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)"
