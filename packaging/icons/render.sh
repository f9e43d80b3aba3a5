#!/bin/sh
# Renders the icon's PNG sizes from ztgl.svg (needs rsvg-convert, Debian package librsvg2-bin).
# The PNGs are kept in the repository, so a build needs no SVG renderer.
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" ztgl.svg --output "ztgl-$size.png"
done
