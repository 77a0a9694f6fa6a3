#!/usr/bin/env bash
# A second copy of QV.exe shows its splash, then "既に起動されています" and ends;
# the first copy keeps running, untouched.
#   second_copy_e2e.sh QV.exe qvprobe.exe SOURCE_ROOT
set -euo pipefail
qv=$1 probe=$2 root=$3
source "$(dirname "$0")/e2e_lib.sh"

new_program_folder
first=$(start_qv)
second=
trap 'cleanup_qv $first $second' EXIT
window_of QV1 || fail "the first copy's clock did not open"
before="$L $T $R $B"

second=$(start_qv)
text=$(probe answer-box QV 20000) || fail "the second copy showed no message"
check_eq "$text" "既に起動されています" "the second copy's message"
wait_exit "$second" 15 || fail "the second copy still runs after its message"
second=

window_of QV1 5000 || fail "the first copy's clock has gone"
check_eq "$L $T $R $B" "$before" "the first copy's window"
kill -0 "$first" || fail "the first copy has ended"

double_click $((CX + 4)) $((CY + 4))
wait_exit "$first" 20 || fail "the first copy still runs after OP1"
echo "second_copy_e2e: passed"
