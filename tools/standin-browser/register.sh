#!/usr/bin/env bash
# Registers the stand-in browser control in the current $WINEPREFIX as an in-process server (apartment
# threaded) under its own class id and makes the programmatic name "Shell.Explorer.2" lead to it, so
# that an unchanged launcher creates it. Running it again changes nothing.
# Usage: register.sh DLL_PATH
set -eu
dll=${1:?usage: register.sh DLL_PATH}
[ -f "$dll" ] || { echo "register.sh: no such file: $dll" >&2; exit 1; }
: "${WINEPREFIX:?register.sh: WINEPREFIX is not set}"
clsid='{3C1E5A77-9B2D-4F10-8C64-7D2E91A0B5F3}'
path=$(winepath -w "$(cd "$(dirname "$dll")" && pwd)/$(basename "$dll")" 2>/dev/null)
classes='HKLM\Software\Classes'
add() { wine reg add "$@" /f >/dev/null 2>&1; }
add "$classes\\CLSID\\$clsid" /ve /d "Tolvane stand-in browser control"
add "$classes\\CLSID\\$clsid\\InprocServer32" /ve /d "$path"
add "$classes\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel /d Apartment
add "$classes\\CLSID\\$clsid\\ProgID" /ve /d Shell.Explorer.2
add "$classes\\Shell.Explorer.2" /ve /d "Tolvane stand-in browser control"
add "$classes\\Shell.Explorer.2\\CLSID" /ve /d "$clsid"
# The per-user classes come first when a name is looked up; none may point elsewhere.
wine reg delete 'HKCU\Software\Classes\Shell.Explorer.2' /f >/dev/null 2>&1 || true
wine reg query "$classes\\Shell.Explorer.2\\CLSID" /ve 2>/dev/null | grep -qi "$clsid" ||
  { echo "register.sh: the registration did not take" >&2; exit 1; }
