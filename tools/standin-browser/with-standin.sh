#!/usr/bin/env bash
# Runs a command in a Wine prefix of its own in which the stand-in browser control is registered as
# "Shell.Explorer.2", with the local HTTP servers of tools/with-update-servers.sh around it. The prefix
# it starts from ($WINEPREFIX) keeps the system's control for every other test: the private prefix has
# its own registry and shares only drive C: with it.
# The stand-in is TOLVANE_STANDIN_DLL, or standin_browser.dll beside the command's last argument (the
# test program). Usage: with-standin.sh COMMAND [ARGUMENTS...]; the exit status is the command's.
set -u
here=$(cd "$(dirname "$0")" && pwd)
program="${*: -1}"
dll="${TOLVANE_STANDIN_DLL:-$(dirname "$program")/standin_browser.dll}"
base="${WINEPREFIX:-${TMPDIR:-/tmp}/tolvane-wine-$(id -u)}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-standin.XXXXXX")
export WINEPREFIX="$work/prefix"
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$WINEPREFIX"
if [ -f "$base/system.reg" ]; then
  cp "$base"/*.reg "$WINEPREFIX/"
  cp "$base/.update-timestamp" "$WINEPREFIX/" 2>/dev/null
  cp -a "$base/dosdevices" "$WINEPREFIX/"
  ln -s "$base/drive_c" "$WINEPREFIX/drive_c"
else
  wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
fi
"$here/register.sh" "$dll" || exit 1
bash "$here/../with-update-servers.sh" "$@"
