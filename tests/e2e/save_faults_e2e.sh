#!/usr/bin/env bash
# The real QV.exe in a program folder on a small tmpfs whose saves fail: read-only
# (the style switch), full (the settings command and "終了"), and a settings
# file held open by another program ("終了"). Each time the
# real message box names the file, the old files stay byte for byte, no
# temporary file is left, and QV goes on; once the file is free again "終了"
# saves and the clock comes back, and the end button ends QV.
#   save_faults_e2e.sh QV.exe qvprobe.exe SOURCE_ROOT hold_file.exe
set -euo pipefail
qv=$1 probe=$2 root=$3 hold=$4
here=$(dirname "$0")
source "$here/e2e_lib.sh"
source "$here/../win/fault_fs.sh"

pid= holder= holdin=
release_hold() {
  if [ -n "$holdin" ]; then exec 7>&-; holdin=; fi
  [ -z "$holder" ] || wait "$holder" 2>/dev/null || true
  holder=
}
finish() {
  set +e
  release_hold
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null
    wait_exit "$pid" 10  # Wine lets go of the folder once QV has gone
  fi
  fault_fs_cleanup
  rm -rf "${snapshot:-}"
}
trap finish EXIT
trap 'exit 143' TERM INT HUP  # so that the EXIT trap unmounts

fault_fs_mount $(($(stat -c %s "$qv") / 1024 + 128))k
folder=$fault_dir
cp "$qv" "$folder/QV.exe"
fault_fs_old_settings "$folder"
snapshot=$(mktemp -d /tmp/qv-e2e-old.XXXXXX)
cp "$folder"/STEI*.QV "$snapshot/"

expect_folder_as_it_was() {
  local f
  for f in STEI.QV STEI1.QV STEI2.QV; do
    cmp -s "$snapshot/$f" "$folder/$f" || fail "$1: $f changed"
  done
  check_eq "$(cd "$folder" && ls -A | grep -vx filler | sort | paste -sd ' ')" \
    "QV.exe STEI.QV STEI1.QV STEI2.QV" "$1: files in the program folder"
}

# The message box QV shows now: it names the file; OK closes it.
expect_box_for() {
  local text
  text=$(probe answer-box QV 10000) || fail "$2: no message box"
  echo "$2: [$text]" | paste -sd ' '
  case $text in
    *設定を保存できませんでした*"$1"*) ;;
    *) fail "$2: the message does not name $1: [$text]" ;;
  esac
  kill -0 "$pid" 2>/dev/null || fail "$2: QV.exe ended"
}

# A left click at a twips position of the settings dialog's client area (96 dpi).
# HENKO does not move while it is open: its place is looked up once.
henko_at=
click_henko() {
  if [ -z "$henko_at" ]; then
    window_of QV.HENKO 10000 || fail "HENKO is not open"
    henko_at="$CX $CY"
  fi
  local hx hy
  read -r hx hy <<<"$henko_at"
  xdotool mousemove $((hx + $1 / 15)) $((hy + $2 / 15)) click 1
}

# 1. Read-only folder: the style switch (OP2) reports STEI2.QV and switches.
fault_fs_readonly
pid=$(start_qv)
window_of QV1 || fail "QV1 did not open"
double_click $((CX + 4)) $((CY + 12))
expect_box_for STEI2.QV "switch on a read-only folder"
window_of QV2 10000 || fail "the switch did not go on after the failed save"
expect_folder_as_it_was "switch on a read-only folder"

# 2. Full disk: the settings command (OP3) saves twice, one message; then
# "終了" reports STEI1.QV and keeps the dialog.
fault_fs_writable
fault_fs_fill
double_click $((CX + 4)) $((CY + 21))
expect_box_for STEI2.QV "settings command on a full disk"
! probe answer-box QV 1000 >/dev/null || fail "a second message box for one command"
click_henko 7687 3547   # 終了
expect_box_for STEI1.QV "終了 on a full disk"
window_of QV.HENKO 2000 || fail "HENKO closed after its failed save"
expect_folder_as_it_was "full disk"

# 3. The display file held open by another program: "終了" reports it.
fault_fs_writable
mkfifo "$snapshot/hold.in"
"$root/script/wine" "$hold" "$(fault_fs_windows_path "$folder/STEI1.QV")" <"$snapshot/hold.in" >"$snapshot/hold.out" 2>&1 &
holder=$!
exec 7>"$snapshot/hold.in"
holdin=1
for _ in $(seq 1 100); do grep -q held "$snapshot/hold.out" 2>/dev/null && break; sleep 0.1; done
grep -q held "$snapshot/hold.out" || fail "hold_file did not take STEI1.QV: $(cat "$snapshot/hold.out")"
click_henko 7687 3547   # 終了
expect_box_for STEI1.QV "終了 with the file held"
window_of QV.HENKO 2000 || fail "HENKO closed after its failed save"
expect_folder_as_it_was "file held"

# Let go: "終了" saves, the clock comes back, the end button ends QV.
release_hold
click_henko 7687 3547
window_of QV2 10000 || fail "no clock after 終了"
! probe answer-box QV 1000 >/dev/null || fail "a message after a save that worked"
double_click $((CX + 4)) $((CY + 4))
wait_exit "$pid" 20 || fail "QV.exe still running after OP1"
check_eq "$(settings_text STEI2.QV | sed -n 9p)" " 1 " "the switch saved at the end"
[ -z "$(cd "$folder" && ls -A | grep -i '\.tmp$')" ] || fail "a temporary file was left"
echo "save_faults_e2e: passed in ${SECONDS}s"
