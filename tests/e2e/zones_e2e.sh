#!/usr/bin/env bash
# The real QV.exe with five places that follow zones, the computer in two
# zones (Wine takes the host's TZ): OP3 -> 初期設定 -> OK writes the 66-line
# places file whose time differences and summer-time lines give each place's
# offset from the computer's clock now, as the host's tz database has it; and
# before that, the times and summer time the clock shows.
#   zones_e2e.sh QV.exe qvprobe.exe SOURCE_ROOT
set -euo pipefail
qv=$1 probe=$2 root=$3
source "$(dirname "$0")/e2e_lib.sh"

keys=("Eastern Standard Time" "GMT Standard Time" "AUS Eastern Standard Time" "Tokyo Standard Time" "India Standard Time")
iana="America/New_York Europe/London Australia/Sydney Asia/Tokyo Asia/Kolkata"
pid=
trap 'cleanup_qv $pid' EXIT

click_in() {  # click_in CLASS LEFT TOP WIDTH HEIGHT (twips of the client area)
  window_of "$1" 10000 || fail "$1 is not open"
  xdotool mousemove $((CX + ($2 + $4 / 2) / 15)) $((CY + ($3 + $5 / 2) / 15)) click 1
}

# What the clock shows, as a screen reader reads it from another process:
# each place's time now by the tz database ("mm/dd hh:mm", the default
# picture; the minute may turn while it is read) and "サマータイム" on exactly
# the places whose zone keeps summer time now.
check_shown() {
  local labels status
  # The labels fill at the first tick after the window shows.
  for _ in $(seq 1 100); do
    status=0
    labels=$(probe read-labels QV1 10000) || status=$?
    [ "$status" = 3 ] && break
    [ -n "$(printf '%s\n' "$labels" | awk -F'\t' '$1 == 5 && $2 != ""')" ] && break
    sleep 0.1
  done
  if [ "$status" = 3 ]; then
    # 64-bit Wine 8 hands no IAccessible across processes (even its own
    # standard one fails); on Windows, and in 32-bit Wine, the clock gives one.
    echo "zones_e2e: shown times not read ($1): this Wine gives no IAccessible"
    return 0
  fi
  printf '%s\n' "$labels" >"$folder/shown"
  python3 - "$1" "$folder/shown" $iana <<'PY' || fail "shown times against the tz database ($1)"
import sys
from datetime import datetime, timedelta, timezone
from zoneinfo import ZoneInfo
host, shown, zones = sys.argv[1], sys.argv[2], sys.argv[3:]
labels = {}
for line in open(shown, encoding="utf-8").read().splitlines():
    child, name, description = (line.split("\t") + ["", ""])[:3]
    labels[int(child)] = (name, description)
now = datetime.now(timezone.utc)
bad = 0
for row, zone in enumerate(zones, start=1):
    text, description = labels[2 * row + 3]
    tz = ZoneInfo(zone)
    near = {(now + timedelta(minutes=m)).astimezone(tz).strftime("%m/%d %H:%M") for m in (-1, 0)}
    summer = "サマータイム" if now.astimezone(tz).dst() else ""
    ok = text in near and description == summer
    print(f"{host} {zone}: shows {text} [{description}], tz database {sorted(near)} [{summer}]", "ok" if ok else "WRONG")
    bad += not ok
sys.exit(bad)
PY
}

for host in Asia/Tokyo America/New_York; do
  new_program_folder
  write_settings STEI.QV '名称' ニューヨーク ロンドン シドニー 東京 デリー '' '' '' '' '' \
    '時差' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' '' '' '' '' '' \
    '始業時間' '' '' '' '' '' '' '' '' '' '' '終業時間' '' '' '' '' '' '' '' '' '' '' \
    'サマータイム情報' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' \
    'タイムゾーン' "${keys[@]}" '' '' '' '' ''
  export TZ=$host
  pid=$(start_qv)
  window_of QV1 20000 || fail "QV1 did not open ($host)"
  check_shown "$host"
  double_click $((CX + 4)) $((CY + 21))   # OP3
  click_in QV.HENKO 7080 2400 1215 375    # 初期設定
  click_in QV.SYOKI 3600 3240 855 375     # OK
  window_of QV.HENKO 10000 || fail "OK did not hand over to HENKO ($host)"
  for _ in $(seq 1 50); do [ "$(settings_text STEI.QV | wc -l)" = 66 ] && break; sleep 0.1; done
  settings_text STEI.QV >"$folder/saved"
  check_eq "$(wc -l <"$folder/saved")" 66 "lines of the saved places file ($host)"
  check_eq "$(sed -n 56p "$folder/saved")" "タイムゾーン" "zone title ($host)"
  check_eq "$(sed -n 57,61p "$folder/saved" | paste -sd '|')" "$(IFS='|'; echo "${keys[*]}")" "zone names ($host)"
  # Each place: time difference + summer time = its offset from the computer's
  # clock now in hours, summer time 1 exactly while its zone keeps it.
  python3 - "$host" "$folder/saved" $iana <<'PY' || fail "offsets against the tz database ($host)"
import sys
from datetime import datetime, timezone
from zoneinfo import ZoneInfo
host, saved, zones = sys.argv[1], sys.argv[2], sys.argv[3:]
lines = open(saved, encoding="utf-8").read().split("\n")
now = datetime.now(timezone.utc)
computer = now.astimezone(ZoneInfo(host)).utcoffset().total_seconds() / 3600
bad = 0
for row, name in enumerate(zones):
    local = now.astimezone(ZoneInfo(name))
    summer = 1 if local.dst().total_seconds() else 0
    diff, st = float(lines[12 + row]), float(lines[45 + row])
    want = local.utcoffset().total_seconds() / 3600 - computer
    ok = st == summer and abs(diff + st - want) < 1e-6
    print(f"{host} {name}: file {diff:+g} + {st:g}, tz database {want:+g} (summer {summer})", "ok" if ok else "WRONG")
    bad += not ok
sys.exit(bad)
PY
  # 終了, then the end button: the next run starts no second copy.
  xdotool mousemove $((CX + 7687 / 15)) $((CY + 3547 / 15)) click 1
  window_of QV1 10000 || fail "no clock after 終了 ($host)"
  double_click $((CX + 4)) $((CY + 4))
  wait_exit "$pid" 20 || fail "QV.exe still running after OP1 ($host)"
  cleanup_qv
  pid=
done
echo "zones_e2e: passed"
