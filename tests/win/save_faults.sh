#!/usr/bin/env bash
# The save-fault tests of save_faults_tests.exe under Wine, for one fault:
# files held by another process (a temporary folder), or a program folder on a
# tmpfs that is read-only or full (mounted here, unmounted at exit).
#   save_faults.sh locked|readonly|diskfull save_faults_tests.exe SOURCE_ROOT
set -euo pipefail
kind=$1 exe=$2 root=$3
source "$(dirname "$0")/fault_fs.sh"

# Runs the tests of a filter; both must have run and passed (not skipped).
run_tests() {
  local out rc=0
  out=$("$root/script/wine" "$exe" --gtest_filter="$1" 2>&1) || rc=$?
  printf '%s\n' "$out"
  [ "$rc" -eq 0 ] || exit "$rc"
  grep -q '\[  PASSED  \] 2 tests' <<<"$out" || { echo "FAIL: two tests should have passed"; exit 1; }
}

if [ "$kind" = locked ]; then
  run_tests 'SaveFaultsLocked.*'
  exit 0
fi

trap fault_fs_cleanup EXIT
trap 'exit 143' TERM INT HUP  # so that the EXIT trap unmounts
fault_fs_mount 64k
fault_fs_old_settings "$fault_dir"
case $kind in
  readonly) fault_fs_readonly ;;
  diskfull) fault_fs_fill ;;
  *) echo "usage: save_faults.sh locked|readonly|diskfull EXE ROOT" >&2; exit 2 ;;
esac
QV_TEST_FAULT=$kind QV_TEST_PROGRAM_FOLDER=$(fault_fs_windows_path "$fault_dir") run_tests 'SaveFaultsUnwritable.*'
