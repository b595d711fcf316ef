#!/usr/bin/env bash
# Time from process start to the first painted frame, and private memory after start-up, of the launcher
# (64-bit build under Wine) beside a bare window that paints one bitmap, in the same run.
# Usage: tools/measure-startup.sh [runs]   (after the win64 preset is built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/win64/bin"
runs="${1:-7}"
. "$root/scripts/lib-display.sh"
start_display_if_needed
start_wine "${WINEPREFIX:-/tmp/tolvane-measure-$(id -u)}"
cd "$bin"
wine measure_startup.exe "$runs" bare_bitmap_window.exe TolvaneRunecourt.exe bare_bitmap_window.exe
wineserver -k || true
[ -n "$TOLVANE_XVFB_PID" ] && kill "$TOLVANE_XVFB_PID" 2>/dev/null || true
