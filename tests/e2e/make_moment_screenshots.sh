#!/usr/bin/env bash
# Screenshots of the clock at another moment for docs/: QV1 opaque and
# transparent (the control beside QV.exe), a day and some notches of the
# wheel later, with the markers and the moment's tool tip; and a place's
# hover text. At 96 dpi, or at the DPI given (the user's LogPixels in the
# test prefix, put back at the end).
#   tests/e2e/make_moment_screenshots.sh QV.exe qvprobe.exe SOURCE_ROOT Vitrel32.ocx OUT_DIR [DPI]
set -euo pipefail
qv=$1 probe=$2 root=$3 ocx=$4 out=$5 dpi=${6:-96}
source "$(dirname "$0")/e2e_lib.sh"
mkdir -p "$out"
suffix=$([ "$dpi" = 96 ] && echo "" || echo "-${dpi}dpi")

pid=
trap 'restore_dpi; cleanup_qv $pid' EXIT
use_dpi "$dpi"
px() { echo $(((($1) * dpi + 720) / 1440)); }

# shot NAME TRANSPARENT: the five places of moment_e2e.sh, shifted.
shot() {
  local name=$1 transparent=$2
  new_program_folder
  cp "$ocx" "$folder/Vitrel32.ocx"
  write_zone_places
  # Transparent over the black root: white names and times, green at work.
  local colours=(0 12648447 16711680 0)
  [ "$transparent" = 1 ] && colours=(16777215 8454143 65280 16777215)
  write_settings STEI1.QV '色' "${colours[@]}" 'フォームピクチャー' '' '透明かどうか' "$transparent" '日時表示形式' 'mm/dd hh:mm' \
    '表示内容寸法' ' 180 ' ' 1095 ' 'フォント情報' False False 'ＭＳ ゴシック' ' 8 ' ' 75 '
  write_settings STEI2.QV 'フォーム情報' ' 0 ' '位置サイズ情報' ' 1500 ' ' 1900 ' ' 2640 ' ' 1500 ' 'フォーム切替情報' ''
  xdotool mousemove 0 0
  pid=$(TZ=Asia/Tokyo start_qv)
  window_of QV1 40000 || fail "QV1 did not open"
  sleep 0.6
  if [ "$transparent" = 0 ]; then
    # A day later with Shift, then five notches towards the user.
    xdotool mousemove $((CX + $(px 1200))) $((CY + $(px 600)))
    xdotool keydown shift click 5 keyup shift
    xdotool click --repeat 5 --delay 40 5
  else
    # The wheel reaches a colour-keyed window only over what it draws (the
    # key colour lets the mouse through, as on Windows): the keys instead.
    xdotool key Next
    xdotool key --repeat 5 --delay 40 Down
  fi
  xdotool mousemove $((R + 40)) $((B + $(px 900)))
  sleep 0.8
  capture "$((R - L + $(px 2400)))x$((B - T + $(px 500)))+$((L - 4))+$((T - 4))" "$out/moment-$name$suffix.png"
  if [ "$name" = opaque ] && [ "$dpi" = 96 ]; then
    # Back to now, then the pointer resting on New York's name.
    xdotool key Home
    xdotool mousemove $((CX + $(px 400))) $((CY + $(px 130)))
    sleep 2
    capture "$((R - L + $(px 3600)))x$((B - T + $(px 1000)))+$((L - 4))+$((T - 4))" "$out/place-hover.png"
  fi
  double_click $((CX + $(px 60))) $((CY + $(px 60)))
  wait_exit "$pid" 20 || kill "$pid"
  pid=
  rm -rf "$folder"
}

shot opaque 0
shot transparent 1
echo "screenshots in $out"
