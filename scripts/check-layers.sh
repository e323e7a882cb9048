#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails, naming file and line, on an include in src/ that reaches a folder its library does not
# link (one layer up, or one beside it), or that leaves its folder with "../".
#
# Usage: scripts/check-layers.sh BUILD/layers.txt
# Each line of layers.txt (written by CMake) is a library's folder followed by the folders its
# files may include from.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=${1:?usage: $0 BUILD/layers.txt}
folders=" $(cut -d' ' -f1 "$layers" | tr '\n' ' ')"
status=0
while read -r folder allowed; do
    files=(src/"$folder"/*.h src/"$folder"/*.cpp)
    awk -v folder="$folder" -v allowed=" $folder $allowed " -v folders="$folders" '
        /^[ \t]*#[ \t]*include[ \t]*"/ {
            path = $0
            sub(/^[^"]*"/, "", path)
            sub(/".*$/, "", path)
            top = path
            sub(/\/.*$/, "", top)
            if (path ~ /(^|\/)\.\.\//) {
                printf "%s:%d: \"%s\" leaves the %s folder\n", FILENAME, FNR, path, folder
                bad = 1
            } else if (path ~ /\// && index(folders, " " top " ") && !index(allowed, " " top " ")) {
                printf "%s:%d: \"%s\": %s does not link %s\n", FILENAME, FNR, path, folder, top
                bad = 1
            }
        }
        END { exit bad }' "${files[@]}" || status=1
done <"$layers"
if [ "$status" -ne 0 ]; then
    echo "check-layers: includes must point down the layers (docs/ARCHITECTURE.md)" >&2
fi
exit "$status"
