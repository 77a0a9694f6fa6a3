# Helpers of the end-to-end scripts (sourced): a temporary program folder
# with QV.exe, settings files in Shift-JIS, the probe, checks.
# Needs: qv, probe, root set by the caller; DISPLAY and WINEPREFIX from the test run.

# The system's own programs (reg) run in the prefix of the QV.exe under test,
# not in the one this machine would pick: the two suites run side by side.
source "$root/script/lib/wine-env.sh"
QV_WINE_ARCH=$(pe_arch "$qv")
export QV_WINE_ARCH

fail() { echo "FAIL: $*" >&2; exit 1; }
check_eq() { [ "$1" = "$2" ] || fail "$3: expected [$2], got [$1]"; }

new_program_folder() {
  folder=$(mktemp -d /tmp/qv-e2e.XXXXXX)
  cp "$qv" "$folder/QV.exe"
}

# Lines given as arguments, each ended with CR LF, in code page 932.
write_settings() {
  local file=$1; shift
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932 >"$folder/$file"
}

settings_text() { iconv -f CP932 -t UTF-8 "$folder/$1" | tr -d '\r'; }

start_qv() {
  "$root/script/wine" "$folder/QV.exe" >/dev/null 2>&1 &
  echo $!
}

probe() { "$root/script/wine" "$probe" "$@" 2>/dev/null | tr -d '\r'; }

# Sets L T R B CX CY (outer rectangle, client origin) of the visible window of a class.
window_of() {
  local out
  out=$(probe wait-window "$1" "${2:-20000}") || return 1
  read -r L T R B CX CY <<<"$out"
}

double_click() { xdotool mousemove "$1" "$2" click --repeat 2 --delay 80 1; }

# The colour (RRGGBB) of one screen pixel.
screen_pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr a-f A-F; }

# Waits until the pixel at (x, y) has the colour: the window is on the screen,
# drawn, and X input there reaches it.
wait_pixel() {
  local x=$1 y=$2 colour=$3 i
  for i in $(seq 1 200); do
    [ "$(screen_pixel "$x" "$y")" = "$colour" ] && return 0
    sleep 0.05
  done
  fail "pixel ($x, $y) never became $colour (it is $(screen_pixel "$x" "$y"))"
}

# A real drag with the left button from (x, y) by (dx, dy) on the window of
# class CLASS, whose outer rectangle starts at (left, top): it waits for the
# window's move loop to begin, for the window to arrive, and for the loop to end.
drag() {
  local x=$1 y=$2 dx=$3 dy=$4 class=$5 left=$6 top=$7 at
  xdotool mousemove "$x" "$y" mousedown 1
  probe wait-moving "$class" 10000 || { xdotool mouseup 1; fail "no move loop after pressing at ($x, $y)"; }
  xdotool mousemove $((x + dx / 4)) $((y + dy / 4)) mousemove $((x + dx / 2)) $((y + dy / 2)) \
    mousemove $((x + dx)) $((y + dy))
  at=$(probe wait-at "$class" 10000 $((left + dx)) $((top + dy))) || true
  xdotool mouseup 1
  probe wait-still "$class" 10000 || fail "the move loop did not end after the button came up"
  [ "$at" = "$((left + dx)) $((top + dy))" ] || fail "the drag by ($dx, $dy) left the window at ($at)"
}

# press_hides X Y BUTTON: a press and release of BUTTON (not the left one) at
# (x, y) on a clock window, which hides the window and shows it again; returns
# once its X window has been unmapped and mapped again.
press_hides() {
  local x=$1 y=$2 button=$3 wid log i
  xdotool mousemove "$x" "$y"
  wid=$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')
  log=$(mktemp)
  stdbuf -oL xev -id "$wid" -event structure -event property >"$log" 2>&1 &
  local xev_pid=$!
  # xev listens once it reports a property change of the window's (one of
  # our own, which nothing else reads).
  for i in $(seq 1 100); do
    xprop -id "$wid" -f QV_E2E_SYNC 8s -set QV_E2E_SYNC x 2>/dev/null
    grep -q PropertyNotify "$log" && break
    sleep 0.05
  done
  grep -q PropertyNotify "$log" || fail "xev does not watch the window $wid"
  xdotool mousedown "$button" mousemove $((x + 60)) $((y + 50)) mouseup "$button"
  for i in $(seq 1 200); do
    if grep -q UnmapNotify "$log" && sed -n '/UnmapNotify/,$p' "$log" | grep -q MapNotify; then
      kill "$xev_pid" 2>/dev/null
      rm -f "$log"
      return 0
    fi
    sleep 0.05
  done
  kill "$xev_pid" 2>/dev/null
  fail "button $button at ($x, $y) did not hide and show the window again: $(tr '\n' ' ' <"$log")"
}

# The settings of the figures and screenshots: ten places (STEI.QV) and a
# complete display file (STEI1.QV; without its transparency line the first
# run would reset the window size).
write_ten_places() {
  write_settings STEI.QV '名称' 東京 ロンドン ニューヨーク ホノルル シドニー パリ ムンバイ 北京 サンパウロ モスクワ \
    '時差' ' 9 ' ' 0 ' '-5 ' '-10 ' ' 10 ' ' 1 ' ' 5.5 ' ' 8 ' '-3 ' ' 3 ' \
    '始業時間' '9:00' '9:00' '9:00' '9:00' '9:00' '9:00' '9:00' '9:00' '9:00' '9:00' \
    '終業時間' '17:00' '17:00' '17:00' '17:00' '17:00' '17:00' '17:00' '17:00' '17:00' '17:00' \
    'サマータイム情報' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 1 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 '
  write_settings STEI1.QV '色' 0 12648447 16711680 0 'フォームピクチャー' '' '透明かどうか' 0 '日時表示形式' 'mm/dd hh:mm' \
    '表示内容寸法' ' 180 ' ' 1095 ' 'フォント情報' False False 'ＭＳ ゴシック' ' 8 ' ' 75 '
}

# The places of the moment test and its screenshots: New York, London, Sydney
# and Tokyo by their zones, Honolulu 19 hours behind the computer, each at
# work from 9:00 to 17:00.
write_zone_places() {
  write_settings STEI.QV '名称' ニューヨーク ロンドン シドニー 東京 ホノルル '' '' '' '' '' \
    '時差' ' 0 ' ' 0 ' ' 0 ' ' 0 ' '-19 ' '' '' '' '' '' \
    '始業時間' '9:00' '9:00' '9:00' '9:00' '9:00' '' '' '' '' '' \
    '終業時間' '17:00' '17:00' '17:00' '17:00' '17:00' '' '' '' '' '' \
    'サマータイム情報' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' \
    'タイムゾーン' 'Eastern Standard Time' 'GMT Standard Time' 'AUS Eastern Standard Time' 'Tokyo Standard Time' '' '' '' '' '' ''
}

# capture GEOMETRY FILE: that part of the screen, every pixel as it is (the
# real ImageMagick, not a stand-in convert).
capture() { import -window root png:- | /usr/bin/convert - -crop "$1" +repage "$2"; }

# capture_centred WIDTH HEIGHT FILE TRIES: the splash, centred on the screen,
# captured until it is there (more than 100 colours) without waiting for a
# probe to start.
capture_centred() {
  local w=$1 h=$2 file=$3 tries=$4 sw sh try
  read -r sw sh < <(xdotool getdisplaygeometry)
  for try in $(seq 1 "$tries"); do
    capture "${w}x${h}+$(((sw - w) / 2))+$(((sh - h) / 2))" "$file"
    [ "$(identify -format '%k' "$file")" -gt 100 ] && return 0
    sleep 0.1
  done
}

# The window of the last window_of with four pixels around it.
capture_window() { capture "$((R - L + 8))x$((B - T + 8))+$((L - 4))+$((T - 4))" "$1"; }

# Waits for a process to end; false after the timeout (seconds).
wait_exit() {
  local pid=$1 t=${2:-15} i
  for i in $(seq 1 $((t * 10))); do
    # Gone, or a zombie nobody has reaped yet.
    case "$(ps -o stat= -p "$pid" 2>/dev/null)" in
      '' | Z*) return 0 ;;
    esac
    sleep 0.1
  done
  return 1
}

cleanup_qv() {
  local pid
  for pid in "$@"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${folder:-}" ] && [ -z "${QV_KEEP:-}" ] && rm -rf "$folder"
}

# use_dpi DPI: the user's LogPixels in the test prefix for the programs
# started from now on (nothing changes at 96 with none set); restore_dpi
# puts the old value back.
dpi_key='HKCU\Control Panel\Desktop'
dpi_reg() { "$root/script/wine" reg "$@" >/dev/null 2>&1; }
use_dpi() {
  dpi_before=$("$root/script/wine" reg query "$dpi_key" /v LogPixels 2>/dev/null | tr -d '\r' | awk '/LogPixels/ {print $3}') || true
  dpi_set=1
  dpi_reg add "$dpi_key" /v LogPixels /t REG_DWORD /d "$1" /f
}
restore_dpi() {
  [ -n "${dpi_set:-}" ] || return 0
  if [ -n "$dpi_before" ]; then dpi_reg add "$dpi_key" /v LogPixels /t REG_DWORD /d "$((dpi_before))" /f
  else dpi_reg delete "$dpi_key" /v LogPixels /f; fi
}
