#!/bin/sh
# Renders the icon source to the 64 x 64, 16-colour picture that the
# programs carry. Needs rsvg-convert (librsvg2-bin) and ImageMagick; the
# pictures are kept in the repository, so building needs neither.
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp --suffix=.png)
trap 'rm -f "$tmp"' EXIT
rsvg-convert -w 64 -h 64 marlo-icon.svg -o "$tmp"
convert "$tmp" -dither None -colors 16 -type PaletteAlpha -strip marlo-icon.png
# The Windows programs carry it as an .ico, with the smaller sizes that
# title bars and lists show.
convert marlo-icon.png -define icon:auto-resize=64,48,32,16 marlo-icon.ico
