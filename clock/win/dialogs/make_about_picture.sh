#!/usr/bin/env bash
# Draws the about box artwork about.jpg (446 x 284): a night-blue band with a
# clock face and the program's name above, a plain lower part for the version
# label, the link and the OK button. Needs ImageMagick 6 and the DejaVu fonts.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
sans=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# Hour ticks of the clock face centred at (84, 84), radius 58.
ticks=()
for h in $(seq 0 11); do
  read -r x1 y1 x2 y2 < <(awk -v h="$h" 'BEGIN { a = h * 3.14159265 / 6;
    printf "%.1f %.1f %.1f %.1f\n", 84 + 50 * sin(a), 84 - 50 * cos(a), 84 + 57 * sin(a), 84 - 57 * cos(a) }')
  ticks+=(-draw "line $x1,$y1 $x2,$y2")
done

convert -size 446x168 gradient:'#0d1b3d-#2a5d8f' \
  -fill '#f7f3e3' -stroke '#c9b46a' -strokewidth 4 -draw 'circle 84,84 84,24' \
  -stroke '#1d2f55' -strokewidth 3 "${ticks[@]}" \
  -stroke '#1d2f55' -strokewidth 5 -draw 'line 84,84 84,46' \
  -stroke '#1d2f55' -strokewidth 3 -draw 'line 84,84 116,100' \
  -stroke '#c0392b' -strokewidth 1 -draw 'line 84,84 60,120' \
  -stroke none -fill '#1d2f55' -draw 'circle 84,84 88,84' \
  -fill '#f7f3e3' -font "$bold" -pointsize 64 -annotate +168+92 'QV' \
  -fill '#c9d8ea' -font "$sans" -pointsize 19 -annotate +170+124 'World Clock' \
  -fill '#8fb0d3' -font "$sans" -pointsize 12 -annotate +171+146 'ten places, one glance' \
  \( -size 446x4 xc:'#c9b46a' \) \
  \( -size 446x112 gradient:'#fbf8ee-#ece6d2' \) \
  -append -strip -quality 90 -sampling-factor 4:2:0 about.jpg
identify about.jpg
