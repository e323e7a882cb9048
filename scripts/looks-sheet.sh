#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Draws every look with a sample text, Latin and Japanese, into one contact sheet (docs/looks.png),
# through `quilvoro render --text --look` and ImageMagick's montage.
# Usage: scripts/looks-sheet.sh [BUILD_DIR] [OUT]
set -euo pipefail
build=${1:-build}
out=${2:-docs/looks.png}
program=$(realpath "$build/quilvoro")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tiles=()
while IFS=$'\t' read -r id name _; do
  "$program" render --text "Quilvoro 看板" --points 44 --look "$id" --region 46,110,500,140 \
    --size 300 -o "$work/$id.png"
  tiles+=(-label "$id  $name" "$work/$id.png")
done < <(QT_QPA_PLATFORM=offscreen "$program" looks)
montage -font IPAPGothic -pointsize 13 "${tiles[@]}" -tile 4x -geometry +6+6 -background '#f4f4f4' "$out"
echo "wrote $out"
