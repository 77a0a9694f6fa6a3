# Starts and stops the one headless X server of a script/test or script/run call.
# Sourced, not run. Stops only what it started: its own Xvfb by pid, the
# wineserver of its own prefix (WINEPREFIX as set by wine_env).

start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  # -s 0: no screen saver (it blanks the screen after 600 s without input);
  # -noreset: the root window stays as it is when the last client leaves.
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac -s 0 -noreset >/dev/null 2>&1 &
  QV_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    kill -0 "$QV_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "display.sh: Xvfb :$n did not start" >&2
  return 1
}

stop_display() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  if [ -n "${QV_XVFB_PID:-}" ]; then
    kill "$QV_XVFB_PID" 2>/dev/null || true
    wait "$QV_XVFB_PID" 2>/dev/null || true
  fi
}
