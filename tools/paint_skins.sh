#!/usr/bin/env bash
# Draws the skins' pictures again from tools/skin_painter. Read the diff of
# resources/skin/ before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
painter=build/tools/skin_painter/skin_painter
[ -x "$painter" ] || { echo "build first: ./x build" >&2; exit 1; }
for skin in light dark program; do
    "$painter" "resources/skin/$skin" "$skin"
done
