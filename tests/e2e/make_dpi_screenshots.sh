#!/usr/bin/env bash
# Screenshots at a higher system DPI for docs/: the splash, QV1 with ten
# places in two columns, and the three settings windows. Sets the user's
# LogPixels in the test prefix for the programs it starts and puts the old
# value back at the end. Prints the measured window sizes.
#   tests/e2e/make_dpi_screenshots.sh QV.exe qvprobe.exe dialogs_preview.exe SOURCE_ROOT OUT_DIR [DPI]
set -euo pipefail
qv=$1 probe=$2 preview=$3 root=$4 out=$5 dpi=${6:-144}
source "$(dirname "$0")/e2e_lib.sh"
mkdir -p "$out"

pid= preview_pid=
trap 'restore_dpi; cleanup_qv $pid $preview_pid' EXIT
use_dpi "$dpi"

px() { echo $(((($1) * dpi + 720) / 1440)); }

new_program_folder
write_ten_places
write_settings STEI2.QV 'フォーム情報' ' 0 ' '位置サイズ情報' ' 1500 ' ' 2450 ' ' 2640 ' ' 1500 ' 'フォーム切替情報' ''
pid=$(start_qv)

# The splash (4755 x 1845 twips) shows for two seconds, centred.
vw=$(px 4755) vh=$(px 1845)
probe client-size Vr 10000 >"$folder/vr-size" &
capture_centred "$vw" "$vh" "$out/splash-${dpi}dpi.png" 40

wait
echo "Vr at $dpi dpi: client $(tr ' ' x <"$folder/vr-size"); 4755 x 1845 twips are $vw x $vh"
window_of QV1 40000 || fail "QV1 did not open"
sleep 0.6
echo "QV1 at $dpi dpi: outer $((R - L)) x $((B - T)) at ($L, $T); 2640 x 2450 twips at (1500, 1500) are $(px 2640) x $(px 2450) at ($(px 1500), $(px 1500))"
capture_window "$out/clock-${dpi}dpi.png"
double_click $((CX + $(px 60))) $((CY + $(px 60)))
wait_exit "$pid" 20 || kill "$pid"
pid=

# preview_shot WINDOW CLASS WIDTH HEIGHT: a settings window with its client area in twips.
preview_shot() {
  "$root/script/wine" "$preview" "$1" >/dev/null 2>&1 &
  preview_pid=$!
  window_of "$2" 40000 || fail "$2 did not open"
  sleep 0.8
  echo "$2 at $dpi dpi: outer $((R - L)) x $((B - T)), client $(probe client-size "$2" 5000 | tr ' ' x); $3 x $4 twips are $(px "$3") x $(px "$4")"
  capture "$((R - L))x$((B - T))+$L+$T" "$out/$1-${dpi}dpi.png"
  kill "$preview_pid" 2>/dev/null || true
  wait_exit "$preview_pid" 10 || true
  probe wait-gone "$2" 5000 >/dev/null || true
  preview_pid=
}
preview_shot henko QV.HENKO 8385 3810
preview_shot syoki QV.SYOKI 5790 3705
preview_shot verinfo QV.VerInfo 6690 4260
echo "screenshots in $out"
