# Helpers of the end-to-end scripts (sourced): a temporary program folder
# with QV.exe, settings files in Shift-JIS, the probe, checks.
# Needs: qv, probe, root set by the caller; DISPLAY and WINEPREFIX from the test run.

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

# A real drag with the left button from (x, y) by (dx, dy), in steps.
drag() {
  local x=$1 y=$2 dx=$3 dy=$4
  xdotool mousemove "$x" "$y" mousedown 1 sleep 0.3 \
    mousemove $((x + dx / 4)) $((y + dy / 4)) sleep 0.15 \
    mousemove $((x + dx / 2)) $((y + dy / 2)) sleep 0.15 \
    mousemove $((x + dx)) $((y + dy)) sleep 0.3 mouseup 1
  sleep 0.4
}

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
