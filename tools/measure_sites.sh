#!/bin/sh
# Runs site_check over every folder of SITES (default /work/scratch/sites),
# each folder one site, and prints a table of the figures:
#   tools/measure_sites.sh [SITES] [--folder-root] [--every-procedure]
# --folder-root takes each folder as its site root (for sites without a
# global.asa whose pages include "../" files); --every-procedure edits every
# procedure in turn instead of the first. The full report of each site is
# kept in REPORTS (default a new temporary folder), named after the site.
# site_check comes from $SITE_CHECK, else from build-d/ or build/. Exits 1
# when any site had bytes changed that no edit asked for.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
sites=/work/scratch/sites
folder_root=no
flags=
for arg in "$@"; do
    case "$arg" in
    --folder-root) folder_root=yes ;;
    --every-procedure) flags="$flags --every-procedure" ;;
    -*) echo "usage: $0 [SITES] [--folder-root] [--every-procedure]" >&2; exit 2 ;;
    *) sites=$arg ;;
    esac
done
check=${SITE_CHECK:-}
for candidate in "$root/build-d/tools/site_check/site_check" "$root/build/tools/site_check/site_check"; do
    [ -n "$check" ] || [ ! -x "$candidate" ] || check=$candidate
done
[ -n "$check" ] || { echo "$0: build site_check first (cmake --build BUILD --target site_check)" >&2; exit 2; }
reports=${REPORTS:-$(mktemp -d)}
mkdir -p "$reports"
table=$(mktemp)
header=
faults=0
for site in "$sites"/*/; do
    site=${site%/}
    name=$(basename "$site")
    root_flag=
    [ "$folder_root" = no ] || root_flag="--site-root $site"
    # shellcheck disable=SC2086 # the flags are words
    "$check" "$site" $root_flag $flags >"$reports/$name.txt" 2>&1 || {
        status=$?
        [ "$status" = 1 ] || { echo "$0: site_check failed on $name (status $status)" >&2; tail -5 "$reports/$name.txt" >&2; }
        faults=1
    }
    [ -n "$header" ] || header=$(grep '^columns' "$reports/$name.txt" | cut -f2- || true)
    grep '^summary' "$reports/$name.txt" | cut -f2- >>"$table" || true
done
{
    echo "$header"
    cat "$table"
} | column -t -s "$(printf '\t')"
rm -f "$table"
echo "reports: $reports"
exit "$faults"
