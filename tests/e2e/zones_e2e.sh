#!/usr/bin/env bash
# The real QV.exe with five places that follow zones, the computer in two
# zones (Wine takes the host's TZ): OP3 -> 初期設定 -> OK writes the 66-line
# places file whose time differences and summer-time lines give each place's
# offset from the computer's clock now, as the host's tz database has it.
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
