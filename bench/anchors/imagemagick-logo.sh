#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Draws the heavy logo with one ImageMagick command as a script would: the text into a mask once,
# turned, then the shadow's layers stacked by doubling (a block of layers and itself moved by its
# own length, log2 of the depth times) and the face, written as PNG at zlib level 1.
# The gradation fades toward the background, so the shadow is a weight image: a layer's weight is
# its coverage less a step per layer of distance, and the nearest layer wins (lighten).
# Usage: imagemagick-logo.sh SCALE opaque|transparent OUT.png [DEPTH]
set -euo pipefail

if [ $# -lt 3 ] || [ $# -gt 4 ] || { [ "$2" != opaque ] && [ "$2" != transparent ]; }; then
  echo "usage: $0 SCALE opaque|transparent OUT.png [DEPTH]" >&2
  exit 2
fi
scale=$1 mode=$2 output=$3
logo=$(dirname "$(realpath "$0")")/../heavy.qvd
face=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
# Debian's ImageMagick, whatever else the PATH holds
convert=${CONVERT:-/usr/bin/convert}

value() { sed -n "s/^$1=//p" "$logo" | tr -d '\r'; }
# a logo file's colour (0x00BBGGRR in decimal) as #RRGGBB
colour() { printf '#%02x%02x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)); }

text=$(value Label)
angle=$(value Angle)
layers=$((${4:-$(value Depth)} * scale))
# points on a 96 dpi screen, rounded
pixels=$(((($(value Size) * 96 + 36) / 72) * scale))
width=$((592 * scale)) height=$((360 * scale))
face_colour=$(colour "$(value Color1)")
shadow_colour=$(colour "$(value Color2)")
background=$(colour "$(value Color3)")

# The mask on the picture grown by the depth up and left, whence the layers come; the caption's
# centre on the picture's centre, turned counter-clockwise. The face is its part on the picture.
args=(-size $((width + layers))x$((height + layers)) xc:black -font "$face" -pointsize "$pixels"
  -fill white -gravity center -annotate "-${angle}x-${angle}+$((layers / 2))+$((layers / 2))"
  "$text" -gravity northwest
  "(" +clone -crop "${width}x${height}+${layers}+${layers}" +repage -write mpr:face +delete ")"
  -write mpr:block +delete)

# weight(k) = 100 - 100 (k - 1) / layers percent; a block moved by m layers loses m steps
step() { awk -v m="$1" -v n="$layers" 'BEGIN { printf "%.4f", 100 * m / n }'; }
# The block holds layers 1 .. length at their distance from layer 1 and the shadow only the
# picture, so that the block goes on it at layer 1's offset less the growth of the mask.
args+=(-size "${width}x${height}" xc:black -write mpr:shadow +delete)
placed=0 length=1
while [ "$layers" -gt 0 ]; do
  if ((layers & length)); then
    at=$(printf '%+d%+d' $((placed + 1 - layers)) $((placed + 1 - layers)))
    args+=(mpr:shadow "(" mpr:block -evaluate subtract "$(step "$placed")%" ")"
      -geometry "$at" -compose lighten -composite -write mpr:shadow +delete)
    placed=$((placed + length))
  fi
  ((placed == layers)) && break
  args+=(mpr:block "(" mpr:block -evaluate subtract "$(step "$length")%" ")"
    -geometry "+${length}+${length}" -compose lighten -composite -write mpr:block +delete)
  length=$((length * 2))
done

# the shadow colour over the background by the weight (or with it as alpha), the face on top;
# -geometry would still move them by the last block's length
args+=(-geometry +0+0)
if [ "$mode" = transparent ]; then
  args+=(-size "${width}x${height}" "xc:$shadow_colour" mpr:shadow
    -alpha off -compose copyopacity -composite)
else
  args+=(-size "${width}x${height}" "xc:$background" "xc:$shadow_colour"
    mpr:shadow -compose over -composite)
fi
args+=(-size "${width}x${height}" "xc:$face_colour" mpr:face
  -compose over -composite)
# 8-bit RGB or RGBA as the other tools write, not the grey 16 bits ImageMagick would choose
format=PNG32
[ "$mode" = opaque ] && format=PNG24
exec "$convert" "${args[@]}" -define png:compression-level=1 "$format:$output"
