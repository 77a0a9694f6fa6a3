#!/usr/bin/env bash
# The decisions script/bootstrap makes, run against stub apt-get, dpkg-query,
# dpkg, locale, localedef, id, sudo and sleep first on PATH: no network, no
# root, nothing installed. Each stub logs its arguments to the case's calls file.
#   bootstrap_test.sh PATH/TO/script/bootstrap
set -uo pipefail
bootstrap=$(realpath "$1")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
passed=0 failed=0

write_stubs() {  # DIR
  local name
  for name in apt-get dpkg-query dpkg locale localedef id sudo sleep; do
    printf '#!/usr/bin/env bash\necho "%s $*" >>"$STUB/calls"\n' "$name" >"$1/$name"
    chmod +x "$1/$name"
  done
  # STUB_UPDATE and STUB_INSTALL list each call's outcome (the last repeats):
  # ok; fail; fail:SUITE,... (an index of each suite fails, as on a mirror
  # mid-sync); warn:SUITE,... (as fail, but exit 0, as older apt does).
  cat >>"$1/apt-get" <<'STUB'
kind=$1
case $kind in update) plan=($STUB_UPDATE) ;; install) plan=($STUB_INSTALL) ;; *) exit 0 ;; esac
n=$(grep -c "^apt-get $kind " "$STUB/calls")
step=${plan[n < ${#plan[@]} ? n - 1 : ${#plan[@]} - 1]}
if [ "$n" -gt 10 ]; then  # a script that never stops trying: end it, so the case fails
  echo "apt-get stub: $kind called $n times" >&2; kill -TERM "$PPID"; exit 100
fi
for a; do  # the preferences file is gone once the script ends: keep a copy
  case $a in Dir::Etc::Preferences=*) echo "${a#*=}" >"$STUB/prefs.path"; cp "${a#*=}" "$STUB/prefs.$n" ;; esac
done
case $step in
  ok) exit 0 ;;
  fail) echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100 ;;
  fail:) echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 4242 (apt-get)" >&2; exit 100 ;;
esac
level=E; [ "${step%%:*}" = warn ] && level=W
suites=${step#*:}
for suite in ${suites//,/ }; do
  base=http://deb.debian.org/debian; [[ $suite = *-security ]] && base+=-security
  for arch in i386 amd64; do
    echo "Err:6 $base $suite/main $arch Packages"
    echo "$level: Failed to fetch $base/dists/$suite/main/binary-$arch/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]" >&2
  done
done
[ $level = W ] && exit 0
echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
exit 100
STUB
  cat >>"$1/dpkg-query" <<'STUB'
for m in $STUB_MISSING; do [ "$m" = "${!#}" ] && exit 1; done
printf 'install ok installed'
STUB
  echo '[ "$1" = --print-foreign-architectures ] && printf "%s\n" $STUB_ARCHS; exit 0' >>"$1/dpkg"
  echo 'printf "%b\n" "$STUB_LOCALES"' >>"$1/locale"
  echo 'echo "$STUB_UID"' >>"$1/id"
  echo 'exec "$@"' >>"$1/sudo"
}

# Runs the script in a fresh folder, with the stubs behaving as the VAR=VALUE
# arguments say; sets case, dir, out (stdout and stderr) and rc.
run() {  # NAME [VAR=VALUE...]
  case=$1; shift
  dir=$root/$case
  mkdir -p "$dir/bin" "$dir/tmp" && write_stubs "$dir/bin" && touch "$dir/calls"
  rc=0
  out=$(cd "$dir" && env -i HOME="$dir" PATH="$dir/bin:$PATH" TMPDIR="$dir/tmp" STUB="$dir" \
    STUB_MISSING='wine32:i386 nsis' STUB_UPDATE=ok STUB_INSTALL=ok STUB_ARCHS=i386 STUB_UID=0 \
    STUB_LOCALES='C\nja_JP.utf8' QV_APT_RETRY_PAUSE=7 "$@" bash "$bootstrap" 2>&1) || rc=$?
}

pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL [$case]: $*"; }
calls() { grep -c -E -- "$1" "$dir/calls"; }  # how many logged calls match
expect_eq() { [ "$2" = "$3" ] && pass || fail "$1: got '$2', want '$3'"; }  # WHAT GOT WANT
expect_out() { grep -q -E -- "$1" <<<"$out" && pass || fail "output lacks /$1/"; }
expect_no_temp_files() { [ -z "$(ls -A "$dir/tmp")" ] && pass || fail "left behind: $(ls "$dir/tmp")"; }
install='apt-get install -y -q --no-install-recommends'

run nothing_missing STUB_MISSING= STUB_LOCALES='C\nC.utf8'
expect_eq "exit status" "$rc" 0
expect_eq "stubs asked about a package" "$(calls '^dpkg-query -W -f=\$\{Status\} nsis$')" 1
expect_out '^bootstrap: all packages present$'
expect_eq "apt-get calls" "$(calls '^apt-get')" 0
expect_eq "dpkg calls" "$(calls '^dpkg ')" 0
expect_eq "locale generated" "$(calls '^localedef -i ja_JP -f UTF-8 ja_JP\.UTF-8$')" 1

run only_the_missing
expect_eq "exit status" "$rc" 0
expect_eq "updates" "$(calls '^apt-get update -q$')" 1
expect_eq "installs of just the missing" "$(calls "^$install wine32:i386 nsis\$")" 1
expect_eq "apt-get calls" "$(calls '^apt-get')" 2
expect_eq "pauses, sudo, architectures added, locales generated" "$(calls '^(sleep|sudo|dpkg --add|localedef)')" 0

run not_root STUB_UID=1000 STUB_ARCHS=
expect_eq "exit status" "$rc" 0
expect_eq "calls through sudo" "$(grep -E '^sudo' "$dir/calls" | tr '\n' '|')" \
  "sudo dpkg --add-architecture i386|sudo apt-get update -q|sudo env DEBIAN_FRONTEND=noninteractive $install wine32:i386 nsis|"

run update_fails_once STUB_UPDATE='fail:bookworm-security ok'
expect_eq "exit status" "$rc" 0
expect_eq "updates" "$(calls '^apt-get update')" 2
expect_eq "pauses of QV_APT_RETRY_PAUSE" "$(calls '^sleep 7$')/$(calls '^sleep')" 1/1
expect_eq "installs" "$(calls "^$install wine32:i386 nsis\$")/$(calls '^apt-get install')" 1/1

run old_apt_warns STUB_UPDATE=warn:bookworm-security
expect_eq "exit status" "$rc" 0
expect_eq "updates" "$(calls '^apt-get update')" 3
expect_eq "installs, none with preferences" "$(calls '^apt-get install')/$(calls Preferences)" 1/0

run mirror_mid_sync STUB_UPDATE=fail:bookworm-security STUB_INSTALL='fail ok'
expect_eq "exit status" "$rc" 0
expect_eq "updates (bounded)" "$(calls '^apt-get update')" 3
expect_eq "pauses between them" "$(calls '^sleep 7$')/$(calls '^sleep')" 2/2
expect_eq "installs" "$(calls '^apt-get install')" 2
prefs=$(cat "$dir/prefs.path" 2>/dev/null)
expect_eq "second install" "$(sed -n 's/^apt-get install //p' "$dir/calls" | sed -n 2p)" \
  "-y -q --no-install-recommends -o Dir::Etc::Preferences=$prefs wine32:i386 nsis"
for pin in n a; do
  expect_eq "pin by $pin=" "$(grep -A1 -x "Pin: release $pin=bookworm-security" "$dir/prefs.2" 2>/dev/null)" \
    "Pin: release $pin=bookworm-security"$'\n'"Pin-Priority: 100"
done
[ -n "$prefs" ] && [ ! -e "$prefs" ] && pass || fail "preferences file '$prefs' not removed"
expect_no_temp_files

run pins_what_the_last_try_failed \
  STUB_UPDATE='fail:bookworm-proposed-updates fail:bookworm-security,bookworm-updates' STUB_INSTALL='fail ok'
expect_eq "exit status" "$rc" 0
expect_eq "suites pinned" "$(sed -n 's/^Pin: release //p' "$dir/prefs.2" | sort | tr '\n' ' ')" \
  "a=bookworm-security a=bookworm-updates n=bookworm-security n=bookworm-updates "

run both_installs_fail STUB_UPDATE=fail:bookworm-security STUB_INSTALL=fail
[ "$rc" -ne 0 ] && pass || fail "exit status 0"
expect_eq "installs" "$(calls '^apt-get install')" 2
expect_out '^bootstrap: could not install wine32:i386 nsis\b.*bookworm-security.*http://deb\.debian\.org/debian-security/dists/bookworm-security/main/binary-i386/Packages\.xz'
expect_no_temp_files

run install_fails_nothing_to_blame STUB_INSTALL=fail
[ "$rc" -ne 0 ] && pass || fail "exit status 0"
expect_eq "installs" "$(calls '^apt-get install')" 1
expect_out '^bootstrap: could not install wine32:i386 nsis; apt-get install exited 100 with every index fetched'

run update_fails_naming_no_index STUB_UPDATE=fail: STUB_INSTALL=fail
[ "$rc" -ne 0 ] && pass || fail "exit status 0"
expect_eq "updates/installs" "$(calls '^apt-get update')/$(calls '^apt-get install')" 3/1
expect_out '^bootstrap: could not install wine32:i386 nsis; apt-get update failed too'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
