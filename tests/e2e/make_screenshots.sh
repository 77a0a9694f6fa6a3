#!/usr/bin/env bash
# Screenshots of the clock for docs/: the splash, QV1 with ten places in one,
# two and three columns, and QV2. Runs the real QV.exe on the current display.
#   tests/e2e/make_screenshots.sh QV.exe qvprobe.exe SOURCE_ROOT OUT_DIR
set -euo pipefail
qv=$1 probe=$2 root=$3 out=$4
source "$(dirname "$0")/e2e_lib.sh"
mkdir -p "$out"

pid=
trap 'cleanup_qv $pid' EXIT

# shot NAME CLASS WIDTH HEIGHT LAYOUT: the window at (1500, 1500) twips.
shot() {
  local name=$1 class=$2 width=$3 height=$4 layout=$5
  new_program_folder
  write_ten_places
  write_settings STEI2.QV 'フォーム情報' ' 0 ' '位置サイズ情報' ' 1500 ' " $height " " $width " ' 1500 ' 'フォーム切替情報' "$layout"
  # The pointer away from the window: over a button it would bring up its tool tip.
  xdotool mousemove 0 0
  pid=$(start_qv)
  if [ "$name" = qv1-1col ]; then
    # The splash shows for two seconds (317 x 123 pixels at 96 dpi).
    capture_centred 317 123 "$out/splash.png" 30
  fi
  window_of "$class" || fail "$class did not open"
  sleep 0.6
  capture_window "$out/$name.png"
  double_click $((CX + 4)) $((CY + 4))
  wait_exit "$pid" 20 || kill "$pid"
  rm -rf "$folder"
}

shot qv1-1col QV1 1410 4700 ''
shot qv1-2col QV1 2640 2450 ''
shot qv1-3col QV1 3750 2000 ''
shot qv2 QV2 2640 2450 ' 1 '
echo "screenshots in $out"
