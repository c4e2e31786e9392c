#!/usr/bin/env bash
# Renders the skins' pieces again into tests/skin/golden/ from the current
# build. Read the diff (and look at the pictures) before committing it: it
# is the change in how the skins look.
set -euo pipefail
cd "$(dirname "$0")/.."
tests=${SKIN_TESTS:-build/tests/skin_data_tests}  # SKIN_TESTS=path for another build tree
[ -x "$tests" ] || { echo "build first: ./x build" >&2; exit 1; }
QASP_UPDATE_SKIN_GOLDENS=1 "$tests" --gtest_filter='BothSkins/SkinGoldens.*'
rm -f tests/skin/golden/*.actual.png
git --no-pager diff --stat -- tests/skin/golden || true
git status --short -- tests/skin/golden
