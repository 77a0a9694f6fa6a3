#!/usr/bin/env bash
# Screenshots of the clock for docs/: the splash, QV1 with ten places in one,
# two and three columns, and QV2. Runs the real QV.exe on the current display.
#   tests/e2e/make_screenshots.sh QV.exe qvprobe.exe SOURCE_ROOT OUT_DIR
set -euo pipefail
qv=$1 probe=$2 root=$3 out=$4
source "$(dirname "$0")/e2e_lib.sh"
mkdir -p "$out"

places() {
  write_settings STEI.QV '名称' 東京 ロンドン ニューヨーク ホノルル シドニー パリ ムンバイ 北京 サンパウロ モスクワ \
    '時差' ' 9 ' ' 0 ' '-5 ' '-10 ' ' 10 ' ' 1 ' ' 5.5 ' ' 8 ' '-3 ' ' 3 ' \
    '始業時間' '9:00' '9:00' '9:00' '9:00' '9:00' '9:00' '9:00' '9:00' '9:00' '9:00' \
    '終業時間' '17:00' '17:00' '17:00' '17:00' '17:00' '17:00' '17:00' '17:00' '17:00' '17:00' \
    'サマータイム情報' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 1 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 '
}

pid=
trap 'cleanup_qv $pid' EXIT

capture() { import -window root png:- | convert - -crop "$1" +repage "$2"; }

# shot NAME CLASS WIDTH HEIGHT LAYOUT: the window at (1500, 1500) twips.
shot() {
  local name=$1 class=$2 width=$3 height=$4 layout=$5
  new_program_folder
  places
  # A complete display file: without its transparency line the first run
  # would reset the window size.
  write_settings STEI1.QV '色' 0 12648447 16711680 0 'フォームピクチャー' '' '透明かどうか' 0 '日時表示形式' 'mm/dd hh:mm' \
    '表示内容寸法' ' 180 ' ' 1095 ' 'フォント情報' False False 'ＭＳ ゴシック' ' 8 ' ' 75 '
  write_settings STEI2.QV 'フォーム情報' ' 0 ' '位置サイズ情報' ' 1500 ' " $height " " $width " ' 1500 ' 'フォーム切替情報' "$layout"
  # The pointer away from the window: over a button it would bring up its tool tip.
  xdotool mousemove 0 0
  pid=$(start_qv)
  if [ "$name" = qv1-1col ]; then
    # The splash shows for two seconds, centred (317 x 123 pixels at 96 dpi):
    # capture until it is there, without waiting for a probe to start.
    local sw sh x y try
    read -r sw sh < <(xdotool getdisplaygeometry)
    x=$(((sw - 317) / 2)) y=$(((sh - 123) / 2))
    for try in $(seq 1 30); do
      capture "317x123+$x+$y" "$out/splash.png"
      [ "$(identify -format '%k' "$out/splash.png")" -gt 100 ] && break
      sleep 0.1
    done
  fi
  window_of "$class" || fail "$class did not open"
  sleep 0.6
  capture "$((R - L + 8))x$((B - T + 8))+$((L - 4))+$((T - 4))" "$out/$name.png"
  double_click $((CX + 4)) $((CY + 4))
  wait_exit "$pid" 20 || kill "$pid"
  rm -rf "$folder"
}

shot qv1-1col QV1 1410 4700 ''
shot qv1-2col QV1 2640 2450 ''
shot qv1-3col QV1 3750 2000 ''
shot qv2 QV2 2640 2450 ' 1 '
echo "screenshots in $out"
