# Shared by scripts/test and scripts/run: a Wine prefix of the run's own, a persistent wineserver and,
# when there is no display, a private Xvfb.

TOLVANE_XVFB_PID=""

start_display_if_needed() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
      TOLVANE_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
      done
      break
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

# Wine state lives in a prefix of this run; the wineserver stays up between test programs.
start_wine() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  wineserver -p >/dev/null 2>&1 </dev/null || true
  # Start Wine's background services now, away from any output pipe of a test runner.
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_wine_and_display() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$TOLVANE_XVFB_PID" ]; then
    kill "$TOLVANE_XVFB_PID" >/dev/null 2>&1 || true
  fi
}
