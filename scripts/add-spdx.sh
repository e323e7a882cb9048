#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Puts the copyright and licence lines at the top of every tracked file that can hold a comment,
# in that file type's comment style, after a shebang or an XML declaration. A file that already
# starts with them is left alone, so a second run changes nothing. Files that cannot hold a
# comment (pictures, sounds, logo files, the shipped read-me) are covered by .reuse/dep5.
# Usage: scripts/add-spdx.sh [file...]   (default: every file git tracks)
set -euo pipefail
cd "$(dirname "$0")/.."

# REUSE-IgnoreStart
copyright_tag="SPDX-FileCopyrightText: 2026 The Quilvoro developers"
licence_tag="SPDX-License-Identifier"
# REUSE-IgnoreEnd

# The comment style of a path: cpp, hash, xml or md; nothing for a file that takes no comment.
style_of() {
  case "$1" in
    *.cpp | *.h) echo cpp ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | Makefile | */Makefile | *.sh | .ci/run | \
      .gitignore | */.gitignore | .clang-format | *.desktop | *.thumbnailer | \
      tests/packaging/installed-files.txt) echo hash ;;
    *.xml | *.qrc | fonts.conf | */fonts.conf) echo xml ;;
    *.md) echo md ;;
  esac
}

# AppStream wants the metadata itself under a permissive licence; the program is GPL.
licence_of() {
  case "$1" in
    *.metainfo.xml) echo CC0-1.0 ;;
    *) echo GPL-3.0-or-later ;;
  esac
}

# The two header lines in the given style.
header() {
  local style=$1 licence=$2
  case "$style" in
    cpp) printf '// %s\n// %s: %s\n' "$copyright_tag" "$licence_tag" "$licence" ;;
    hash) printf '# %s\n# %s: %s\n' "$copyright_tag" "$licence_tag" "$licence" ;;
    xml | md) printf '<!-- %s -->\n<!-- %s: %s -->\n' "$copyright_tag" "$licence_tag" "$licence" ;;
  esac
}

# Whether the first lines already carry a licence identifier.
has_header() {
  head -n 4 "$1" | grep -q "$licence_tag:"
}

annotate() {
  local path=$1 style licence first tmp
  style=$(style_of "$path")
  [ -n "$style" ] || return 0
  [ -f "$path" ] && [ ! -L "$path" ] || return 0
  has_header "$path" && return 0
  licence=$(licence_of "$path")
  first=$(head -n 1 "$path")
  local keep=0
  # A shebang and an XML declaration must stay on the first line.
  [[ $first == '#!'* || $first == '<?xml'* ]] && keep=1
  tmp=$(mktemp "$path.spdx.XXXXXX")
  {
    head -n "$keep" "$path"
    header "$style" "$licence"
    # A blank line keeps the header apart from a first comment of the file's own.
    if [ "$style" != xml ] && [ -n "$(tail -n +$((keep + 1)) "$path" | head -n 1)" ]; then
      echo
    fi
    tail -n +$((keep + 1)) "$path"
  } >"$tmp"
  chmod --reference="$path" "$tmp"
  mv "$tmp" "$path"
  echo "$path"
}

if [ $# -gt 0 ]; then
  for path in "$@"; do annotate "$path"; done
else
  git ls-files -z | while IFS= read -r -d '' path; do annotate "$path"; done
fi
