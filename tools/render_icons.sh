#!/bin/sh
# Render the toolbar/tree icons (cico, 16x16) and the completion-list icons
# (hlistico, 18x12) and the program's icon from their SVG sources to PNG at
# their exact pixel sizes.
#
#   tools/render_icons.sh                  render every icon
#   tools/render_icons.sh --preview FILE   also write an 8x enlarged contact
#                                          sheet on the toolbar colour (needs
#                                          ImageMagick)
#
# Needs rsvg-convert (Debian: librsvg2-bin).

set -eu

here=$(cd "$(dirname "$0")" && pwd)
icons="$here/../resources/icons"
preview=""

while [ $# -gt 0 ]; do
    case "$1" in
        --preview) preview="${2:?--preview needs a file name}"; shift 2 ;;
        -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
        *) echo "render_icons.sh: unknown argument: $1" >&2; exit 2 ;;
    esac
done

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "render_icons.sh: rsvg-convert not found (install librsvg2-bin)" >&2
    exit 1
fi

# render SET WIDTH HEIGHT
render() {
    set_name=$1 w=$2 h=$3
    mkdir -p "$icons/$set_name"
    count=0
    for svg in "$icons/src/$set_name"/*.svg; do
        [ -e "$svg" ] || continue
        png="$icons/$set_name/$(basename "$svg" .svg).png"
        rsvg-convert --format=png --width="$w" --height="$h" \
            --output="$png" "$svg"
        count=$((count + 1))
    done
    echo "$set_name: $count icons, ${w}x${h}"
}

render cico 16 16
render hlistico 18 12

# The program's own icon at every size a desktop asks for.
mkdir -p "$icons/app"
for size in 16 32 48 64 128 256; do
    rsvg-convert --format=png --width=$size --height=$size \
        --output="$icons/app/quillmere-asp-$size.png" "$icons/src/app/quillmere-asp.svg"
done
echo "app: 6 sizes"

[ -n "$preview" ] || exit 0

if ! command -v convert >/dev/null 2>&1; then
    echo "render_icons.sh: ImageMagick 'convert' not found, no preview" >&2
    exit 1
fi

# Toolbar background of the main window.
bg='rgb(247,246,238)'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# One strip per group of icons: 8x enlarged with nearest-neighbour sampling,
# with the same icons at 1:1 underneath so the real size can be judged too.
strip() {
    out=$1; shift
    convert -background "$bg" "$@" -bordercolor "$bg" -border 3 +append +repage \
        "$tmp/1x.png"
    convert -background "$bg" "$@" -filter point -resize 800% \
        -bordercolor "$bg" -border 8 +append +repage "$tmp/8x.png"
    convert -background "$bg" "$tmp/8x.png" "$tmp/1x.png" -gravity west \
        -append -gravity south -splice 0x16 +repage "$out"
}

c="$icons/cico"
strip "$tmp/a.png" "$c"/0[0-9].png
strip "$tmp/b.png" "$c"/1[0-9].png
strip "$tmp/c.png" "$icons/hlistico"/*.png
convert -background "$bg" "$tmp/a.png" "$tmp/b.png" "$tmp/c.png" \
    -gravity west -append +repage -background "$bg" -flatten "$preview"
echo "preview: $preview"
