# Starts and stops the one headless X server of a script/test or script/run call.
# Sourced, not run. Stops only what it started: its own Xvfb by pid, the
# wineserver of its own prefix (WINEPREFIX as set by wine_env).

start_display() {
  # Xvfb picks a free display number itself and writes it once it accepts
  # clients: two runs starting at once never share a display.
  local numberfile
  numberfile=$(mktemp)
  # -s 0: no screen saver (it blanks the screen after 600 s without input);
  # -noreset: the root window stays as it is when the last client leaves.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac -s 0 -noreset 3>"$numberfile" >/dev/null 2>&1 &
  QV_XVFB_PID=$!
  local i n=""
  for i in $(seq 1 200); do
    n=$(tr -dc 0-9 <"$numberfile")
    [ -n "$n" ] && break
    kill -0 "$QV_XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$numberfile"
  if [ -z "$n" ]; then
    echo "display.sh: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

stop_display() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  if [ -n "${QV_XVFB_PID:-}" ]; then
    kill "$QV_XVFB_PID" 2>/dev/null || true
    wait "$QV_XVFB_PID" 2>/dev/null || true
  fi
}
