# Wine settings of QV's private prefixes. Sourced, not run; needs $root.

# win32 or win64 by the PE header's machine field; empty for a non-PE file.
pe_arch() {
  python3 - "$1" <<'PY'
import struct, sys
try:
    with open(sys.argv[1], 'rb') as f:
        head = f.read(4096)
    if head[:2] != b'MZ':
        raise ValueError
    off = struct.unpack_from('<I', head, 0x3c)[0]
    machine = struct.unpack_from('<H', head, off + 4)[0]
    print({0x14c: 'win32', 0x8664: 'win64'}.get(machine, ''))
except Exception:
    print('')
PY
}

# The 32-bit loader. QV_WINE32_LOADER names another: a run given the ELF of a
# foreign machine behaves as on a kernel that refuses 32-bit programs.
QV_WINE32_LOADER=${QV_WINE32_LOADER:-/usr/lib/wine/wine}

# win32_support: prints "yes" where the 32-bit loader runs and "no" where the
# kernel refuses to execute it (ENOEXEC: a kernel built or booted without
# 32-bit programs). A loader that is missing or fails otherwise is a broken
# install, not a kind of host: that says why on stderr and returns 1.
win32_support() {
  python3 - "$QV_WINE32_LOADER" <<'PY'
import errno, subprocess, sys
loader = sys.argv[1]
try:
    run = subprocess.run([loader, '--version'], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, timeout=120)
except OSError as e:
    if e.errno == errno.ENOEXEC:
        print('no')
        sys.exit(0)
    sys.exit(f'{loader}: {e.strerror}')
except subprocess.TimeoutExpired:
    sys.exit(f'{loader} --version did not answer in 120 s')
if run.returncode != 0:
    sys.exit(f'{loader} --version exited {run.returncode}: {run.stderr.decode(errors="replace").strip()}')
print('yes')
PY
}

can_run_win32() {
  [ "$(win32_support 2>/dev/null)" = yes ]
}

default_wine_arch() {
  if can_run_win32; then echo win32; else echo win64; fi
}

wine_env() {
  local arch=$1
  export WINEARCH=$arch
  if [ "$arch" = win64 ]; then
    export WINEPREFIX=${QV_WINEPREFIX64:-$root/build/wine64}
    export WINELOADER=/usr/lib/wine/wine64
  else
    export WINEPREFIX=${QV_WINEPREFIX:-$root/build/wine}
    export WINELOADER=$QV_WINE32_LOADER
  fi
  QV_WINE_LOADER=$WINELOADER
  export WINEDEBUG=${WINEDEBUG:--all}
  export LANG=ja_JP.UTF-8
  unset LC_ALL LANGUAGE
}

# The file that marks a finished prefix; a new name when create_prefix sets up
# something new, so that older prefixes are made again.
QV_PREFIX_MARK=.qv-ready-2

create_prefix() {
  echo "script/wine: creating the Wine prefix $WINEPREFIX ($WINEARCH)" >&2
  mkdir -p "$WINEPREFIX"
  # No Mono or Gecko installer prompts: QV needs neither.
  WINEDLLOVERRIDES="mscoree,mshtml=" "$QV_WINE_LOADER" wineboot --init >/dev/null 2>&1 || true
  local reg="$WINEPREFIX/qv-fonts.reg"
  # Under Xvfb no window manager runs, and Wine waits two seconds for one to
  # take each managed window off the screen; unmanaged, Wine draws the frames
  # itself, as Windows does. A prefix for a real desktop stays managed.
  local managed=()
  [ "${QV_WINE_MANAGED:-N}" = N ] && managed=('[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '')
  # The Windows faces QV names, mapped onto the IPA fonts.
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ ゴシック"="IPAGothic"' '"ＭＳ Ｐゴシック"="IPAPGothic"' \
    '"ＭＳ 明朝"="IPAMincho"' '"ＭＳ Ｐ明朝"="IPAPMincho"' \
    '"MS Gothic"="IPAGothic"' '"MS PGothic"="IPAPGothic"' '"MS UI Gothic"="IPAPGothic"' '' \
    "${managed[@]}" |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  "$QV_WINE_LOADER" regedit /S "$reg" >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/$QV_PREFIX_MARK"
}

ensure_prefix() {
  [ -f "$WINEPREFIX/$QV_PREFIX_MARK" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/$QV_PREFIX_MARK" ] || create_prefix
  ) 9>"$WINEPREFIX.lock"
}

# Starts the persistent wineserver and Wine's own helper processes once, with
# their output going nowhere: a helper started later by a test would inherit
# ctest's output pipe and keep it open after the test ends.
start_wineserver() {
  wineserver -p || return 1
  "$QV_WINE_LOADER" cmd /c exit >/dev/null 2>&1 </dev/null
}

# wine_ready ARCH: the prefix of ARCH made once and its wineserver running; a
# server that already serves the prefix (a run beside this one) is used.
wine_ready() {
  wine_env "$1"
  ensure_prefix || return 1
  start_wineserver 2>/dev/null || true
}
