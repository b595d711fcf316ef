# Shared by scripts/test and scripts/run: a Wine prefix of the run's own, a persistent wineserver and,
# when there is no display, a private Xvfb.

TOLVANE_XVFB_PID=""

start_display_if_needed() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 140); do
    # A display that answers belongs to someone else, even without files here (another root's Xvfb
    # listens on the same abstract socket).
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] && ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
      Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
      TOLVANE_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        kill -0 "$TOLVANE_XVFB_PID" 2>/dev/null || break
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
      done
      kill "$TOLVANE_XVFB_PID" 2>/dev/null
      TOLVANE_XVFB_PID=""
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

# Makes the prefix in WINEPREFIX one in which the launcher shows its pages and a player's view:
#   the stand-in browser control (no HTML engine comes with Wine here) registered as "Shell.Explorer.2";
#   a fallback to Noto Sans CJK for the fonts that skins and dialogs draw with, so Chinese text shows;
#   a virtual desktop, so windows are laid out and captured as a window manager would show them.
prepare_demo_prefix() {
  local standin=$1
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
  fi
  local face link
  # REG_MULTI_SZ in a .reg file: UTF-16 code units as hex bytes, ending with two terminators.
  link=$(printf 'NotoSansCJK-Regular.ttc,Noto Sans CJK SC' | iconv -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',')
  {
    echo 'Windows Registry Editor Version 5.00'
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Explorer]'
    echo '"Desktop"="Default"'
    echo '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]'
    echo '"Default"="1920x1080"'
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]'
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI"; do
      echo "\"$face\"=hex(7):${link#,}00,00,00,00"
    done
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]'
    echo '"微软雅黑"="Noto Sans CJK SC"'
    echo '"Microsoft YaHei"="Noto Sans CJK SC"'
  } | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$WINEPREFIX/tolvane-demo.reg"
  wine regedit /S "$WINEPREFIX/tolvane-demo.reg" >/dev/null 2>&1 </dev/null
  # The desktop is chosen when Wine's session starts: end the one that wrote the settings.
  wineserver -k >/dev/null 2>&1
  wineserver -w
  if [ ! -f "$standin" ]; then
    echo "the stand-in browser control is missing: $standin" >&2
    return 1
  fi
  "$root/tools/standin-browser/register.sh" "$standin" >/dev/null 2>&1 </dev/null ||
    { echo "cannot register $standin in $WINEPREFIX" >&2; return 1; }
}
