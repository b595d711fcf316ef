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
path=$(winepath -w "$(cd "$(dirname "$dll")" && pwd)/$(basename "$dll")" 2>/dev/null | sed 's/\\/\\\\/g')
file=$(mktemp "${TMPDIR:-/tmp}/standin-register.XXXXXX")
trap 'rm -f "$file"' EXIT
# The per-user classes come first when a name is looked up: none may lead elsewhere.
cat >"$file" <<REG
REGEDIT4

[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\$clsid]
@="Tolvane stand-in browser control"
[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\$clsid\\InprocServer32]
@="$path"
"ThreadingModel"="Apartment"
[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\$clsid\\ProgID]
@="Shell.Explorer.2"
[HKEY_LOCAL_MACHINE\\Software\\Classes\\Shell.Explorer.2\\CLSID]
@="$clsid"
[-HKEY_CURRENT_USER\\Software\\Classes\\Shell.Explorer.2]
REG
wine regedit /S "$(winepath -w "$file" 2>/dev/null)" >/dev/null 2>&1 </dev/null
wine reg query 'HKLM\Software\Classes\Shell.Explorer.2\CLSID' /ve 2>/dev/null </dev/null | grep -qi "$clsid" ||
  { echo "register.sh: the registration did not take in $WINEPREFIX" >&2; exit 1; }
