#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Parses every source of the tree with clang++ (-fsyntax-only, the build's own flags), so that
# clang-based tools (clangd, clang-tidy, clazy) read the code the build compiles. Needs a built
# tree: tests include the moc files the build writes. Fails, naming each file, on any error or
# warning.
set -euo pipefail
commands="${1:-build}/compile_commands.json"
top="$(cd "$(dirname "$0")/.." && pwd)"
[ -f "$commands" ] || { echo "no $commands: configure the build first" >&2; exit 2; }

python3 - "$commands" "$top" <<'PY' | xargs -0 -P "$(nproc)" -n 1 bash -c 'eval "$0"'
import json, shlex, sys
commands, top = sys.argv[1], sys.argv[2]
for entry in json.load(open(commands)):
    source = entry["file"]
    if not source.startswith(top + "/") or "_autogen/" in source:
        continue
    words = shlex.split(entry["command"])
    kept, skip = ["clang++", "-fsyntax-only"], False
    for word in words[1:]:
        if skip:
            skip = False
        elif word == "-o":
            skip = True
        elif word != "-c" and not word.startswith("-fvect-cost-model"):  # GCC's own tuning
            kept.append(word)
    line = "cd " + shlex.quote(entry["directory"]) + " && " + shlex.join(kept)
    sys.stdout.write(line + " || { echo 'clang: " + source.replace("'", "") + "' >&2; exit 1; }\0")
PY
echo "clang++ parses every source"
