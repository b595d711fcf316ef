#!/usr/bin/env bash
# The shipped executable is a 32-bit GUI program that imports nothing but Windows' own DLLs, so it runs
# on a player's machine without any runtime beside it.
set -euo pipefail
exe=$1
fail() { echo "check-shipped-exe: $*" >&2; exit 1; }
[ -f "$exe" ] || fail "missing $exe"
headers=$(i686-w64-mingw32-objdump -f -p "$exe")
grep -q 'file format pei-i386' <<<"$headers" || fail "not a PE32 i386 image"
grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers" || fail "not a Windows GUI program"
allowed='^(kernel32|user32|gdi32|msimg32|gdiplus|comctl32|comdlg32|ole32|oleaut32|shell32|shlwapi|advapi32|wininet|urlmon|dbghelp|version|ws2_32|crypt32|bcrypt|secur32|msvcrt|imm32|uxtheme|winmm|rpcrt4)\.dll$'
while read -r dll; do
  lower=$(tr 'A-Z' 'a-z' <<<"$dll")
  grep -Eq "$allowed" <<<"$lower" || fail "imports $dll, which is not part of Windows"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
echo "check-shipped-exe: $exe is a PE32 GUI program importing only Windows DLLs"
