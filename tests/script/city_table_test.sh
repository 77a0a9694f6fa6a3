#!/usr/bin/env bash
# The committed city table is what script/gen-city-table makes from this
# host's ICU, byte for byte; the generator refuses repeated and empty rows
# and counts the cities it leaves out.
#   city_table_test.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
work=$(mktemp -d -t qv-city-test.XXXXXX)
trap 'rm -rf -- "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! "$source_dir/script/gen-city-table" > "$work/table.cpp" 2> "$work/err"; then
  cat "$work/err"
  fail "the generator did not run"
elif ! diff -u "$source_dir/clock/core/city_table.cpp" "$work/table.cpp" > "$work/diff"; then
  head -40 "$work/diff"
  fail "clock/core/city_table.cpp differs from what script/gen-city-table makes: run it and commit the result"
fi
grep -Eq '^gen-city-table: [0-9]+ cities, [0-9]+ without a Windows key left out$' "$work/err" ||
  fail "no count of the cities left out: $(cat "$work/err")"

# A row the CLDR data already has, and rows with an empty field.
tab=$'\t'
refused() {
  printf '%s\n' "$2" > "$work/rows.tsv"
  if "$source_dir/script/gen-city-table" --also "$work/rows.tsv" > "$work/out" 2> "$work/err"; then
    fail "$1: accepted"
  elif ! grep -q "$3" "$work/err"; then
    fail "$1: refused without saying why: $(cat "$work/err")"
  elif [ -s "$work/out" ]; then
    fail "$1: wrote a table"
  fi
}
refused "a repeated city" "ニューヨーク${tab}New York${tab}アメリカ合衆国${tab}United States${tab}Eastern Standard Time" "repeated"
refused "an empty English name" "どこか${tab}${tab}日本${tab}Japan${tab}Tokyo Standard Time" "empty"
refused "an empty key" "どこか${tab}Somewhere${tab}日本${tab}Japan${tab}" "empty"
refused "a name the files cannot hold" "Zürich${tab}Zurich2${tab}スイス${tab}Switzerland${tab}W. Europe Standard Time" "Shift-JIS"

[ "$failures" -eq 0 ] && echo "city table: current, and bad rows refused"
exit $((failures > 0))
