#!/usr/bin/env bash
# Draws the start-up picture (317 x 124 pixels, JPEG): the name QV beside a
# clock face, on a dark blue band that keeps the light version label readable.
# The program icon is cut from the clock face of the same picture.
#   clock/res/make_splash.sh [out.jpg [out.ico]]
set -euo pipefail
out=${1:-$(dirname "$0")/splash.jpg}
icon=${2:-$(dirname "$0")/qv.ico}
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
light=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
convert -size 317x124 gradient:'#0b1f4a'-'#1d4f8f' \
  -fill '#f4f1e6' -stroke '#c9a44c' -strokewidth 4 -draw 'circle 62,62 62,18' \
  -stroke '#22324f' -strokewidth 2 \
  -draw 'line 62,24 62,31' -draw 'line 100,62 93,62' -draw 'line 62,100 62,93' -draw 'line 24,62 31,62' \
  -strokewidth 1 \
  -draw 'line 81,29 79,33' -draw 'line 95,43 91,45' -draw 'line 95,81 91,79' -draw 'line 81,95 79,91' \
  -draw 'line 43,95 45,91' -draw 'line 29,81 33,79' -draw 'line 29,43 33,45' -draw 'line 43,29 45,33' \
  -stroke '#22324f' -strokewidth 4 -draw 'line 62,62 62,36' \
  -strokewidth 3 -draw 'line 62,62 82,72' \
  -stroke '#c0392b' -strokewidth 1 -draw 'line 62,62 44,84' \
  -stroke none -fill '#22324f' -draw 'circle 62,62 62,66' \
  -fill '#f4f1e6' -font "$font" -pointsize 64 -annotate +128+84 'QV' \
  -fill '#9fb8e0' -font "$light" -pointsize 12 -annotate +132+104 'World Clock' \
  -quality 90 -strip "$out"
convert "$out" -crop 124x124+0+0 +repage -resize 32x32 \( -clone 0 -resize 16x16 \) "$icon"
