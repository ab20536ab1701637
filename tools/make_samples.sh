#!/usr/bin/env bash
# Draws the sample pictures in samples/ with ImageMagick: landscape,
# portrait and square JPEGs, a GIF, a BMP, and one picture below the default
# minimum size of 96 pixels, which the folder load leaves out.
set -euo pipefail
cd "$(dirname "$0")/../samples"
convert -size 1200x800 gradient:'#87ceeb'-'#f4e1c1' -fill '#2e5e2e' \
  -draw "polygon 0,800 0,560 300,420 620,600 900,470 1200,620 1200,800" \
  -fill '#ffd24a' -draw "circle 950,200 1010,200" \
  -fill '#1d3d1d' -draw "polygon 150,800 200,560 250,800" -quality 90 landscape.jpg
convert -size 800x1200 gradient:'#203a60'-'#e08a4a' -fill '#f6f0d8' -draw "circle 400,300 470,300" \
  -fill '#3a2a1a' -draw "rectangle 340,700 460,1200" \
  -fill '#2f6b2f' -draw "circle 400,640 600,640" -quality 90 portrait.jpg
convert -size 900x900 radial-gradient:'#fff6c0'-'#c04040' -fill none -stroke '#402020' \
  -strokewidth 12 -draw "circle 450,450 450,150" -stroke '#204060' -draw "line 150,750 750,150" \
  -quality 90 square.jpg
convert -size 640x480 pattern:checkerboard -fill '#3070b0' -draw "rectangle 120,90 520,390" \
  -fill '#f0c040' -draw "circle 320,240 320,160" -colors 32 pattern.gif
convert -size 480x360 gradient:'#406040'-'#c0e0c0' -fill '#803020' -draw "rectangle 60,200 420,330" \
  -fill '#f0f0f0' -draw "polygon 40,200 240,60 440,200" -type TrueColor BMP3:house.bmp
convert -size 80x80 gradient:red-blue -quality 90 tiny.jpg
