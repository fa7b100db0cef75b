#!/bin/sh
# Renders the PNG sizes of the icon from telekado.svg. Run by hand after changing the drawing
# (needs rsvg-convert from librsvg2-bin); the PNGs are committed so that building needs nothing.
set -eu
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" telekado.svg -o "telekado-$size.png"
done
