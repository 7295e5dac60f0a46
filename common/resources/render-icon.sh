#!/bin/sh
# Renders the icon source to the 64 x 64, 16-colour picture that the
# programs carry. Needs rsvg-convert (librsvg2-bin) and ImageMagick; the
# pictures are kept in the repository, so building needs neither.
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
rsvg-convert -w 64 -h 64 marlo-icon.svg -o "$tmp/64.png"
convert "$tmp/64.png" -dither None -colors 16 -type PaletteAlpha -strip marlo-icon.png
# The Windows programs carry an .ico with every size that Windows shows at
# the usual scales (100 % to 250 %): title bars and the taskbar take 16 to
# 40, the Alt+Tab list and desktop icons 32 to 64, large views 256. Each is
# drawn from the source at its own size, so that no size is a blurred
# scaling of another.
sizes="16 20 24 32 40 48 64 256"
pictures=""
for size in $sizes; do
    rsvg-convert -w "$size" -h "$size" marlo-icon.svg -o "$tmp/$size.png"
    pictures="$pictures $tmp/$size.png"
done
# 256 is stored as PNG, the others as bitmaps, which every Windows reads.
# shellcheck disable=SC2086 # one argument per picture
convert $pictures -define icon:format=bmp marlo-icon.ico
