#!/usr/bin/env bash
# Regenerates the golden files of the command-line tests from the current
# build. Read the diff before committing it: it is the change in behaviour.
set -euo pipefail
cd "$(dirname "$0")/.."
qasp=${QASP:-build/src/cli/qasp}  # QASP=path/to/qasp for another build tree
[ -x "$qasp" ] || { echo "build first: ./x build" >&2; exit 1; }
golden=tests/cli/golden
"$qasp" colour examples/demo/index.asp > "$golden/index.asp.colour.jsonl"
"$qasp" scan examples/demo/inc/conn.asp > "$golden/conn.asp.scan.tsv"
"$qasp" tree examples/demo/index.asp > "$golden/index.asp.tree.txt"
"$qasp" tree tests/cli/data/中文/页面.asp > "$golden/chinese-names.tree.txt"
"$qasp" flatten examples/demo/index.asp -o "$golden/index.asp.flat.asp"
scratch=$(mktemp -d)
"$qasp" save examples/demo/index.asp --to "$scratch" --layout --option-explicit
"$qasp" tree "$scratch/index.asp" > "$golden/saved-index.asp.tree.txt"
rm -rf "$scratch"
rm -f "$golden"/*.actual
git --no-pager diff --stat -- "$golden" || true
