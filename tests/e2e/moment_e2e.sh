#!/usr/bin/env bash
# The real QV.exe at another moment: New York, London, Sydney and Tokyo by
# their zones and Honolulu by its numbers, the computer in Tokyo. Wheel
# notches from the X server (buttons 5 and 4, Shift for days) and the keys
# move every place; steps across the next change of summer time of New York
# and of Sydney show the tz database's hours and summer time on both sides,
# business hours follow; Home, Esc, a press and the switch button bring back
# now; the places and display files stay byte for byte as they were.
#   moment_e2e.sh QV.exe qvprobe.exe SOURCE_ROOT
set -euo pipefail
qv=$1 probe=$2 root=$3
source "$(dirname "$0")/e2e_lib.sh"

export TZ=Asia/Tokyo
pid=
trap 'cleanup_qv $pid' EXIT
new_program_folder
write_zone_places
write_settings STEI1.QV '色' 0 12648447 16711680 0 'フォームピクチャー' '' '透明かどうか' 0 '日時表示形式' 'mm/dd hh:mm' \
  '表示内容寸法' ' 180 ' ' 1095 ' 'フォント情報' False False 'ＭＳ ゴシック' ' 8 ' ' 75 '
write_settings STEI2.QV 'フォーム情報' ' 0 ' '位置サイズ情報' ' 1200 ' ' 2400 ' ' 1410 ' ' 3000 ' 'フォーム切替情報' ''
before=$(md5sum "$folder/STEI.QV" "$folder/STEI1.QV" | awk '{print $1}' | paste -sd ' ')

pid=$(start_qv)
window_of QV1 20000 || fail "QV1 did not open"
class=QV1
over_window() { xdotool mousemove $((CX + 40)) $((CY + 20)); }

# What the clock shows, read as a screen reader reads it, checked against the
# tz database: `check now` or `check shifted [ZONE-ROW SUMMER]`. Shifted, the
# shown instant is Tokyo's time label; every zone place shows its zone's time
# and summer time then, Honolulu 19 hours behind Tokyo, names in the work
# colour exactly from 09:00 to 17:00 of the hour shown, and the clock's value
# says the computer's date and time then. Prints the shown instant (UTC).
check() {
  local labels status=0
  for _ in $(seq 1 100); do
    status=0
    labels=$(probe read-labels "$class" 10000) || status=$?
    [ "$status" = 3 ] && fail "this Wine gives no IAccessible across processes"
    [ -n "$(printf '%s\n' "$labels" | awk -F'\t' '$1 == 13 && $2 != ""')" ] && break
    sleep 0.1
  done
  printf '%s\n' "$labels" >"$folder/shown"
  python3 "$(dirname "$0")/moment_check.py" "$folder/shown" "$@" || fail "shown places ($*)"
}

# How many Shift-notches bring the shown moment to within a day before the
# next change of a zone, then how many notches to cross it.
plan() { python3 "$(dirname "$0")/moment_check.py" --plan "$folder/shown" "$@"; }

wheel() {  # wheel BUTTON COUNT [shift]
  over_window
  [ "$2" -gt 0 ] || return 0
  if [ "${3:-}" = shift ]; then xdotool keydown shift click --repeat "$2" --delay 15 "$1" keyup shift
  else xdotool click --repeat "$2" --delay 15 "$1"; fi
}

# Waits until the clock shows a time label of Tokyo other than $1.
wait_change() {
  for _ in $(seq 1 100); do
    [ "$(probe read-labels "$class" 5000 | awk -F'\t' '$1 == 11 {print $2}')" != "$1" ] && return 0
    sleep 0.1
  done
  fail "the clock did not move from $1"
}
tokyo() { probe read-labels "$class" 5000 | awk -F'\t' '$1 == 11 {print $2}'; }

check now >/dev/null
# One notch towards the user: the next half hour; two more.
t=$(tokyo); wheel 5 1; wait_change "$t"
check shifted >/dev/null
t=$(tokyo); wheel 5 2; wait_change "$t"
check shifted >/dev/null
# Away from the user: earlier.
t=$(tokyo); wheel 4 1; wait_change "$t"
check shifted >/dev/null

# Across New York's next change (row 1), then Sydney's (row 3).
for row in 1 3; do
  read -r days notches < <(plan "$row")
  t=$(tokyo); wheel 5 "$days" shift; [ "$days" -gt 0 ] && wait_change "$t"
  check shifted >/dev/null
  read -r days notches < <(plan "$row")
  check_eq "$days" 0 "a day or less before the change of row $row"
  t=$(tokyo); wheel 5 $((notches - 1)); [ "$notches" -gt 1 ] && wait_change "$t"
  check shifted "$row" before >/dev/null
  t=$(tokyo); wheel 5 1; wait_change "$t"
  check shifted "$row" after >/dev/null
  echo "moment_e2e: row $row crossed its change"
done

# Keys, with the clock focused: Up a notch and PageUp a day earlier, Home
# back to now; Down, then Esc.
key() { local t; t=$(tokyo); xdotool key "$1"; wait_change "$t"; }
key Up
check shifted >/dev/null
key Prior
check shifted >/dev/null
key Home
check now >/dev/null
key Down
check shifted >/dev/null
key Escape
check now >/dev/null

# A right press on a label, then the switch button: each brings back now.
t=$(tokyo); wheel 5 3; wait_change "$t"
t=$(tokyo); press_hides $((CX + 21)) $((CY + 10)) 3; wait_change "$t"
check now >/dev/null
t=$(tokyo); wheel 5 3; wait_change "$t"
double_click $((CX + 4)) $((CY + 12))
window_of QV2 10000 || fail "OP2 did not open QV2"
class=QV2
check now >/dev/null

# End: the places and display files are as they were.
double_click $((CX + 4)) $((CY + 4))
wait_exit "$pid" 20 || fail "QV.exe still running after OP1"
check_eq "$(md5sum "$folder/STEI.QV" "$folder/STEI1.QV" | awk '{print $1}' | paste -sd ' ')" "$before" "places and display files"
check_eq "$(settings_text STEI2.QV | wc -l)" 9 "window file lines"
echo "moment_e2e: passed"
