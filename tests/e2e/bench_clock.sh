#!/usr/bin/env bash
# Measures the real QV.exe under Wine: time from process start to a visible
# clock window (less the two-second splash), and the CPU time of the running
# clock with ten places over a span (default 60 s). Not a test: prints figures.
#   tests/e2e/bench_clock.sh QV.exe qvprobe.exe SOURCE_ROOT [SECONDS]
set -euo pipefail
qv=$1 probe=$2 root=$3 span=${4:-60}
source "$(dirname "$0")/e2e_lib.sh"

new_program_folder
pid=
trap 'cleanup_qv $pid' EXIT
write_ten_places
write_settings STEI2.QV 'フォーム情報' ' 0 ' '位置サイズ情報' ' 1500 ' ' 4700 ' ' 1410 ' ' 1500 ' 'フォーム切替情報' ''

now_ms() { date +%s%3N; }

# Wine's own start-up, for comparison: a console program that returns at once.
t0=$(now_ms)
"$root/script/wine" "$probe" >/dev/null 2>&1 || true
wine_start=$(($(now_ms) - t0))

# The clock: 1410 x 4700 twips is 94 x 313 pixels at 96 dpi; poll X for it.
t0=$(now_ms)
pid=$(start_qv)
visible=
for i in $(seq 1 3000); do
  for w in $(xdotool search --onlyvisible --classname 'qv.exe' 2>/dev/null); do
    if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q 'Geometry: 94x313'; then visible=$(now_ms); break 2; fi
  done
  sleep 0.01
done
[ -n "$visible" ] || fail "the clock window did not appear"
startup=$((visible - t0))
echo "start-up to visible clock: ${startup} ms; less the 2000 ms splash: $((startup - 2000)) ms (a bare Wine program takes ${wine_start} ms to start and end here)"

sleep 2
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# The wineserver of this prefix (other prefixes may have their own).
server=
for p in $(pgrep wineserver); do
  tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && server=$p
done
hz=$(getconf CLK_TCK)
c0=$(ticks "$pid"); s0=$([ -n "$server" ] && ticks "$server" || echo 0)
sleep "$span"
c1=$(ticks "$pid"); s1=$([ -n "$server" ] && ticks "$server" || echo 0)
awk -v c=$((c1 - c0)) -v s=$((s1 - s0)) -v hz="$hz" -v t="$span" 'BEGIN {
  printf "CPU of QV.exe over %d s: %.2f s (%.3f %% of one core); the wineserver meanwhile: %.2f s (%.3f %%)\n",
    t, c / hz, 100 * c / hz / t, s / hz, 100 * s / hz / t }'
