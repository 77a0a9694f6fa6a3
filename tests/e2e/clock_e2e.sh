#!/usr/bin/env bash
# The real QV.exe: start-up where the window file says, a real double-click on
# the switch button, real drags on the surface, a name and a time, a right
# press that must not move it, and the end button; the window file records
# where the window went.
#   clock_e2e.sh QV.exe qvprobe.exe SOURCE_ROOT
set -euo pipefail
qv=$1 probe=$2 root=$3
source "$(dirname "$0")/e2e_lib.sh"

new_program_folder
write_settings STEI2.QV 'フォーム情報' ' 0 ' '位置サイズ情報' ' 1200 ' ' 885 ' ' 1410 ' ' 3000 ' 'フォーム切替情報' ''
pid=$(start_qv)
trap 'cleanup_qv $pid' EXIT

window_of QV1 || fail "QV1 did not open"
check_eq "$L $T $((R - L)) $((B - T))" "200 80 94 59" "QV1 outer rectangle (3000, 1200, 1410 x 885 twips)"
first="$L $T $R $B"

# Switch: double-click the middle circle (OP2).
wait_pixel $((CX + 4)) $((CY + 12)) C0FFFF
double_click $((CX + 4)) $((CY + 12))
window_of QV2 10000 || fail "OP2 did not open QV2"
check_eq "$L $T $R $B" "$first" "QV2 opens at QV1's outer rectangle"
probe wait-gone QV1 5000 || fail "QV1 still there after the switch"
check_eq "$(settings_text STEI2.QV | sed -n 9p)" " 1 " "layout line after the switch"

# Drag on the surface (left of the rows, below the buttons), on L1 and on T1.
wait_pixel $((CX + 4)) $((CY + 4)) FFC0C0
drag $((CX + 12)) $((CY + 40)) 60 40 QV2 "$L" "$T"
window_of QV2 || fail "QV2 gone after the drag"
check_eq "$L $T" "260 120" "after dragging the surface by (60, 40)"
drag $((CX + 21)) $((CY + 10)) 30 20 QV2 "$L" "$T"
window_of QV2 || fail "QV2 gone after the drag"
check_eq "$L $T" "290 140" "after dragging L1 by (30, 20)"
drag $((CX + 21)) $((CY + 23)) -50 10 QV2 "$L" "$T"
window_of QV2 || fail "QV2 gone after the drag"
check_eq "$L $T" "240 150" "after dragging T1 by (-50, 10)"

# A right press and a middle press on a label do not move the window.
# Each press hides the window and shows it again; the check waits for that.
press_hides $((CX + 21)) $((CY + 10)) 3
press_hides $((CX + 21)) $((CY + 23)) 2
window_of QV2 || fail "QV2 gone after the right press"
check_eq "$L $T" "240 150" "after right and middle presses"

# End: double-click the top circle (OP1); the process ends, the file says where.
wait_pixel $((CX + 4)) $((CY + 4)) FFC0C0
double_click $((CX + 4)) $((CY + 4))
wait_exit "$pid" 20 || fail "QV.exe still running after OP1"
check_eq "$(settings_text STEI2.QV | paste -sd '|')" \
  "フォーム情報| 0 |位置サイズ情報| 2250 | 885 | 1410 | 3600 |フォーム切替情報| 1 " "window file after the end"
echo "clock_e2e: passed"
