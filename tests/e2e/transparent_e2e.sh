#!/usr/bin/env bash
# Transparent display with the real QV.exe and the control beside it,
# unregistered: the clock's background vanishes (the X root, black here, shows
# through), the circles and the red letters stay; a real drag on the letters
# moves the window, OP2 switches the style and OP1 ends it, as when opaque.
#   transparent_e2e.sh QV.exe qvprobe.exe SOURCE_ROOT Vitrel32.ocx
set -euo pipefail
qv=$1 probe=$2 root=$3 ocx=$4
source "$(dirname "$0")/e2e_lib.sh"

pixel() { /usr/bin/convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }

new_program_folder
cp "$ocx" "$folder/Vitrel32.ocx"
# Names in red (255), on a window at 3000, 1200 twips (200, 80 pixels).
write_settings STEI1.QV '色' '255' '12648447' '255' '0' 'フォームピクチャー' '' '透明かどうか' '1' \
  '日時表示形式' 'mm/dd hh:mm' '表示内容寸法' ' 180 ' ' 1095 ' 'フォント情報' 'True' 'False' 'ＭＳ ゴシック' ' 9 ' ' 75 '
write_settings STEI2.QV 'フォーム情報' ' 0 ' '位置サイズ情報' ' 1200 ' ' 885 ' ' 1410 ' ' 3000 ' 'フォーム切替情報' ''
pid=$(start_qv)
trap 'cleanup_qv $pid' EXIT

window_of QV1 || fail "QV1 did not open"
wait_pixel $((CX + 4)) $((CY + 4)) FFC0C0
wait_pixel $((CX + 40)) $((CY + 45)) 000000
import -window root "$folder/screen.png"
check_eq "$(pixel "$folder/screen.png" $((CX + 40)) $((CY + 45)))" "000000" "background pixel shows the root"
check_eq "$(pixel "$folder/screen.png" $((CX + 4)) $((CY + 4)))" "FFC0C0" "OP1 circle pixel"

# A pixel of a letter of 日本 (name label at 240, 75 twips: 16, 5 pixels).
letter=""
for y in $(seq $((CY + 5)) $((CY + 16))); do
  for x in $(seq $((CX + 16)) $((CX + 40))); do
    if [ "$(pixel "$folder/screen.png" "$x" "$y")" = "FF0000" ]; then letter="$x $y"; break 2; fi
  done
done
[ -n "$letter" ] || fail "no letter of 日本 on the screen"
read -r lx ly <<<"$letter"

drag "$lx" "$ly" 40 30 QV1 "$L" "$T"
window_of QV1 || fail "QV1 gone after the drag"
check_eq "$L $T" "240 110" "after dragging the name by (40, 30)"

wait_pixel $((CX + 4)) $((CY + 12)) C0FFFF
double_click $((CX + 4)) $((CY + 12))
window_of QV2 10000 || fail "OP2 did not open QV2"
xdotool mousemove 5 5   # no tool tip over the window
wait_pixel $((CX + 4)) $((CY + 12)) C0FFFF
wait_pixel $((CX + 40)) $((CY + 45)) 000000
import -window root "$folder/screen2.png"
check_eq "$(pixel "$folder/screen2.png" $((CX + 40)) $((CY + 45)))" "000000" "QV2 background pixel"
check_eq "$(pixel "$folder/screen2.png" $((CX + 4)) $((CY + 12)))" "C0FFFF" "OP2 circle pixel"
wait_pixel $((CX + 4)) $((CY + 4)) FFC0C0
double_click $((CX + 4)) $((CY + 4))
wait_exit "$pid" 20 || fail "QV.exe still running after OP1"
check_eq "$(settings_text STEI2.QV | sed -n 9p)" " 1 " "layout line after the switch"
echo "transparent_e2e: passed"
